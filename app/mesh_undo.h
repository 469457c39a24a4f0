// Undo and redo of mesh changes on a QUndoStack. Each step keeps the whole
// mesh before and after it (a MeshSnapshot) and, when the step changed them,
// the mesh file name and the two image file names (Open Morph Mesh), so undo
// puts back exactly what there was: list orders and selection included, and
// a mesh saved after undoing is byte for byte the file it was. A step may
// also hold what it replaced beyond the mesh (Fit Second Image to First: the
// second picture) as a StepExchange.
//
// Every command that changes the mesh goes through Record; a mouse gesture
// whose change is known only afterwards uses Capture and Push, and a node
// drag, which spans press, moves and release, BeginDrag and EndDrag. A step
// that changes nothing is not recorded.
#pragma once

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "core/mesh/mesh_gestures.h"
#include "core/mesh/mesh_snapshot.h"

namespace vesk {

// What one undo step restores.
struct MeshUndoState {
  MeshSnapshot mesh;
  // The mesh file name, the first and the second image file name.
  std::array<QString, 3> names;
  // What the status bar says of the mesh (Auto Mesh's summary), so undo and
  // redo put back the words with the mesh they describe.
  QString report;

  bool operator==(const MeshUndoState&) const = default;
};

// What a step changes beside the mesh and the names: it holds the other
// value (the picture the step replaced, or put in) and Exchange swaps it
// with the one in place. Undo and redo call it before the mesh is put back.
class StepExchange {
 public:
  virtual ~StepExchange() = default;
  virtual void Exchange() = 0;
};

class MeshUndo : public QObject {
  Q_OBJECT

 public:
  using CaptureFn = std::function<MeshUndoState()>;
  // Puts `state` in place; also ends any node drag in progress.
  using RestoreFn = std::function<void(const MeshUndoState& state)>;

  MeshUndo(CaptureFn capture, RestoreFn restore, QObject* parent = nullptr);

  QUndoStack& Stack() { return stack_; }

  // Runs `edit` as one step named `name` ("new morph mesh" reads "Undo new
  // morph mesh" in the tool tip). Calls made while an edit runs (a command
  // that uses another command) join the outer step.
  void Record(const QString& name, const std::function<void()>& edit);
  // The same for a step that also swaps in what `exchange` holds, first,
  // before `edit` runs; it is recorded even when the mesh stays. Not to be
  // called while another edit runs.
  void Record(const QString& name, std::unique_ptr<StepExchange> exchange,
              const std::function<void()>& edit);

  MeshUndoState Capture() const { return capture_(); }
  // Records the change from `before` to the present state as one step.
  void Push(const QString& name, const MeshUndoState& before);

  // A drag: `before` is the state before the press that started it. The step
  // is recorded at EndDrag when the mesh then differs from its state at
  // BeginDrag (selecting a node without moving it is no step).
  void BeginDrag(MeshUndoState before);
  void EndDrag();

  // The present state is the one in the mesh file (after a save or an open).
  void MarkSaved() { stack_.setClean(); }

  // The step name of a mouse-down edit; `before` and `after` tell a deleted
  // node from a deleted triangle.
  static QString GestureStepName(MeshEdit edit, const MeshSnapshot& before,
                                 const MeshSnapshot& after);

 private:
  friend class MeshStepCommand;
  void Apply(const MeshUndoState& state);
  void PushStep(const QString& name, const MeshUndoState& before,
                std::unique_ptr<StepExchange> exchange);

  CaptureFn capture_;
  RestoreFn restore_;
  QUndoStack stack_;
  int depth_ = 0;
  struct Drag {
    MeshUndoState before;
    MeshUndoState pressed;
  };
  std::optional<Drag> drag_;
};

}  // namespace vesk
