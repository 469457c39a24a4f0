#include "app/mesh_undo.h"

#include <QUndoCommand>
#include <utility>

namespace vesk {

// One step: the states before and after it, and what else it exchanged. Only
// the names the step changed are put back, so an image opened after the step
// keeps its name on undo.
class MeshStepCommand : public QUndoCommand {
 public:
  MeshStepCommand(MeshUndo& owner, const QString& name, MeshUndoState before,
                  MeshUndoState after, std::unique_ptr<StepExchange> exchange)
      : QUndoCommand(name),
        owner_(owner),
        before_(std::move(before)),
        after_(std::move(after)),
        exchange_(std::move(exchange)) {}

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
    if (exchange_) exchange_->Exchange();
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
  std::unique_ptr<StepExchange> exchange_;
  bool pushed_ = true;
};

MeshUndo::MeshUndo(CaptureFn capture, RestoreFn restore, QObject* parent)
    : QObject(parent), capture_(std::move(capture)), restore_(std::move(restore)) {}

void MeshUndo::Record(const QString& name, const std::function<void()>& edit) {
  Record(name, nullptr, edit);
}

void MeshUndo::Record(const QString& name, std::unique_ptr<StepExchange> exchange,
                      const std::function<void()>& edit) {
  Q_ASSERT(depth_ == 0 || !exchange);
  if (depth_ > 0) {
    edit();
    return;
  }
  MeshUndoState before = Capture();
  ++depth_;
  if (exchange) exchange->Exchange();
  edit();
  --depth_;
  PushStep(name, before, std::move(exchange));
}

void MeshUndo::Push(const QString& name, const MeshUndoState& before) {
  PushStep(name, before, nullptr);
}

void MeshUndo::PushStep(const QString& name, const MeshUndoState& before,
                        std::unique_ptr<StepExchange> exchange) {
  MeshUndoState after = Capture();
  if (after == before && !exchange) return;
  stack_.push(new MeshStepCommand(*this, name, before, std::move(after), std::move(exchange)));
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
