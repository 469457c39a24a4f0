// The main window's quick-mesh commands, New Grid Mesh and Triangulate
// Nodes, the one path every such mesh change takes, and the fold-over count
// in the status bar.
#include <QLabel>
#include <QStatusBar>

#include "app/child_form.h"
#include "app/main_window.h"
#include "app/mesh_undo.h"
#include "app/user_dialogs.h"
#include "core/mesh/delaunay.h"
#include "core/mesh/fold_over.h"
#include "core/mesh/grid_mesh.h"

namespace vesk {
namespace {

ImageSize SizeOf(const TChildForm& window) {
  return ImageSize{window.GetBitmap().Width(), window.GetBitmap().Height()};
}

}  // namespace

void TMDIForm::BuildStatusBar() {
  fold_over_label_ = new QLabel(this);
  fold_over_label_->setObjectName("FoldOverLabel");
  fold_over_label_->setToolTip("Triangles that turn over between the first and the second image");
  statusBar()->setObjectName("StatusBar");
  statusBar()->addPermanentWidget(fold_over_label_);
  ShowFoldOverCount();
}

void TMDIForm::ShowFoldOverCount() {
  if (!fold_over_label_) return;
  fold_over_label_->setText(
      QString("Folded triangles: %1").arg(static_cast<qulonglong>(FoldedTriangleCount(mesh_))));
}

void TMDIForm::ShowMeshReport(const QString& report) {
  mesh_report_ = report;
  statusBar()->showMessage(report);
}

void TMDIForm::ApplyMeshEdit(const QString& step_name,
                             const std::function<void(Mesh&)>& edit) {
  ApplyMeshEdit(step_name, nullptr, edit);
}

void TMDIForm::ApplyMeshEdit(const QString& step_name, std::unique_ptr<StepExchange> exchange,
                             const std::function<void(Mesh&)>& edit) {
  // The nodes a drag could hold may go with the edit.
  for (TChildForm* child : {first_child_, second_child_}) {
    if (child) child->DragNode = nullptr;
  }
  undo_->Record(step_name, std::move(exchange), [this, &edit] { edit(mesh_); });
  RedrawImageWindows();
  UpdateCommandState();
}

void TMDIForm::NewGridMeshClick() {
  if (!BothImagesOpen()) return;
  std::optional<QList<int>> numbers =
      dialogs_.AskNumbers(this, "New Grid Mesh", {"Columns:", "Rows:"},
                          {grid_columns_, grid_rows_}, kMinGridCount, kMaxGridCount);
  if (!numbers || numbers->size() != 2) return;
  Result<Mesh> grid =
      GridMesh((*numbers)[0], (*numbers)[1], SizeOf(*first_child_), SizeOf(*second_child_));
  if (!grid) {
    ReportError(grid.Message());
    return;
  }
  grid_columns_ = (*numbers)[0];
  grid_rows_ = (*numbers)[1];
  ApplyMeshEdit("new grid mesh", [&grid](Mesh& mesh) { mesh = std::move(grid).Value(); });
}

void TMDIForm::TriangulateNodesClick() {
  ApplyMeshEdit("triangulate nodes", [](Mesh& mesh) { mesh = TriangulateNodes(mesh); });
}

}  // namespace vesk
