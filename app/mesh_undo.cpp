#include "app/mesh_undo.h"

#include <QUndoCommand>
#include <utility>

namespace vesk {

// One step: the states before and after it. Only the names the step changed
// are put back, so an image opened after the step keeps its name on undo.
class MeshStepCommand : public QUndoCommand {
 public:
  MeshStepCommand(MeshUndo& owner, const QString& name, MeshUndoState before,
                  MeshUndoState after)
      : QUndoCommand(name), owner_(owner), before_(std::move(before)), after_(std::move(after)) {}

  void undo() override { Go(before_, after_); }
  void redo() override {
    // The first redo is the push itself: the change is already made.
    if (pushed_) {
      pushed_ = false;
      return;
    }
    Go(after_, before_);
  }

 private:
  void Go(const MeshUndoState& to, const MeshUndoState& from) {
    MeshUndoState target = to;
    const MeshUndoState now = owner_.Capture();
    for (std::size_t i = 0; i < target.names.size(); ++i) {
      if (to.names[i] == from.names[i]) target.names[i] = now.names[i];
    }
    owner_.Apply(target);
  }

  MeshUndo& owner_;
  MeshUndoState before_;
  MeshUndoState after_;
  bool pushed_ = true;
};

MeshUndo::MeshUndo(CaptureFn capture, RestoreFn restore, QObject* parent)
    : QObject(parent), capture_(std::move(capture)), restore_(std::move(restore)) {}

void MeshUndo::Record(const QString& name, const std::function<void()>& edit) {
  if (depth_ > 0) {
    edit();
    return;
  }
  MeshUndoState before = Capture();
  ++depth_;
  edit();
  --depth_;
  Push(name, before);
}

void MeshUndo::Push(const QString& name, const MeshUndoState& before) {
  MeshUndoState after = Capture();
  if (after == before) return;
  stack_.push(new MeshStepCommand(*this, name, before, std::move(after)));
}

void MeshUndo::BeginDrag(MeshUndoState before) { drag_ = Drag{std::move(before), Capture()}; }

void MeshUndo::EndDrag() {
  if (!drag_) return;
  Drag drag = std::move(*drag_);
  drag_.reset();
  if (Capture() != drag.pressed) Push("move node", drag.before);
}

void MeshUndo::Apply(const MeshUndoState& state) {
  // Node addresses change with the restored mesh: a drag in progress ends.
  drag_.reset();
  restore_(state);
}

QString MeshUndo::GestureStepName(MeshEdit edit, const MeshSnapshot& before,
                                  const MeshSnapshot& after) {
  switch (edit) {
    case MeshEdit::DeleteNodeAndTriangles:
      return "delete node";
    case MeshEdit::DeleteTriangleOrNode:
      return after.nodes.size() < before.nodes.size() ? "delete node" : "delete triangle";
    case MeshEdit::CopyPositionToOther:
      return "copy node position";
    case MeshEdit::SplitTriangle:
      return "split triangle";
    case MeshEdit::AddTriangle:
      return "add triangle";
    case MeshEdit::AddNode:
      return "place node";
    case MeshEdit::SelectNode:
    case MeshEdit::None:
      break;
  }
  return "move node";
}

}  // namespace vesk
