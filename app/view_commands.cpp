// The main window's Undo and Redo items and the View menu: zoom of the
// active image window and the link between the first and second image
// windows; and the two halves of an undo step, capturing and restoring the
// mesh with the file names it came with.
#include <QAction>
#include <QMenu>
#include <QUndoStack>

#include "app/child_form.h"
#include "app/image_view.h"
#include "app/main_window.h"
#include "app/mesh_undo.h"

namespace vesk {
namespace {

void FollowStep(QAction* action, QUndoStack& stack, const QString& verb, bool redo) {
  auto update = [action, &stack, verb, redo] {
    const QString step = redo ? stack.redoText() : stack.undoText();
    action->setEnabled(redo ? stack.canRedo() : stack.canUndo());
    action->setToolTip(step.isEmpty() ? verb : verb + " " + step);
  };
  QObject::connect(&stack, &QUndoStack::indexChanged, action, update);
  QObject::connect(&stack, &QUndoStack::cleanChanged, action, update);
  update();
}

}  // namespace

void TMDIForm::BuildUndoItems(QMenu* edit) {
  edit->setToolTipsVisible(true);
  QAction* undo = AddItem(edit, "Undo1", "&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z),
                          &TMDIForm::UndoClick);
  QAction* redo = AddItem(edit, "Redo1", "&Redo", QKeySequence(Qt::CTRL | Qt::Key_Y),
                          &TMDIForm::RedoClick);
  redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y),
                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  AddDivider(edit, "N10");
  QUndoStack& stack = undo_->Stack();
  FollowStep(undo, stack, "Undo", false);
  FollowStep(redo, stack, "Redo", true);
  // The save question follows the history: back at the saved step there is
  // nothing to save.
  auto follow_clean = [this] { MeshSaved = undo_->Stack().isClean(); };
  connect(&stack, &QUndoStack::indexChanged, this, follow_clean);
  connect(&stack, &QUndoStack::cleanChanged, this, follow_clean);
}

void TMDIForm::UndoClick() { undo_->Stack().undo(); }
void TMDIForm::RedoClick() { undo_->Stack().redo(); }

MeshUndoState TMDIForm::CaptureMeshState() const {
  return MeshUndoState{TakeMeshSnapshot(mesh_), {MeshFileName, FirstFileName, SecondFileName},
                       mesh_report_};
}

void TMDIForm::RestoreMeshState(const MeshUndoState& state) {
  // Every node is new: no window may keep dragging an old one.
  for (TChildForm* child : {first_child_, second_child_}) {
    if (child) child->DragNode = nullptr;
  }
  mesh_ = RestoreMeshSnapshot(state.mesh);
  const bool renamed = MeshFileName != state.names[0];
  MeshFileName = state.names[0];
  FirstFileName = state.names[1];
  SecondFileName = state.names[2];
  if (renamed) ShowMeshCaption();
  ShowMeshReport(state.report);
  RedrawImageWindows();
  UpdateCommandState();
}

void TMDIForm::BuildViewMenu(QMenu* view) {
  QAction* in = AddItem(view, "ZoomIn1", "Zoom &In", QKeySequence(Qt::CTRL | Qt::Key_Plus),
                        &TMDIForm::ZoomIn1Click);
  in->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  AddItem(view, "ZoomOut1", "Zoom &Out", QKeySequence(Qt::CTRL | Qt::Key_Minus),
          &TMDIForm::ZoomOut1Click);
  AddItem(view, "FitWindow1", "&Fit Window", QKeySequence(Qt::CTRL | Qt::Key_0),
          &TMDIForm::FitWindow1Click);
  AddItem(view, "ActualPixels1", "&Actual Pixels", QKeySequence(Qt::CTRL | Qt::Key_1),
          &TMDIForm::ActualPixels1Click);
  AddDivider(view, "N11");
  AddItem(view, "LinkWindows1", "&Link Image Windows", QKeySequence(), &TMDIForm::LinkWindows1Click)
      ->setCheckable(true);
}

void TMDIForm::ZoomIn1Click() {
  if (TChildForm* child = ActiveChild()) child->View().ZoomIn();
}
void TMDIForm::ZoomOut1Click() {
  if (TChildForm* child = ActiveChild()) child->View().ZoomOut();
}
void TMDIForm::FitWindow1Click() {
  if (TChildForm* child = ActiveChild()) child->View().FitWindow();
}
void TMDIForm::ActualPixels1Click() {
  if (TChildForm* child = ActiveChild()) child->View().ActualPixels();
}

void TMDIForm::LinkWindows1Click() {
  // The second window takes the first one's view when the link is made.
  if (first_child_) ImageViewChanged(first_child_);
}

void TMDIForm::ImageViewChanged(TChildForm* child) {
  if (!items_.at("LinkWindows1")->isChecked()) return;
  if (child != first_child_ && child != second_child_) return;
  if (TChildForm* other = OtherImageWindow(child->ImageKind)) {
    other->View().SetState(child->View().CurrentState());
  }
}

}  // namespace vesk
