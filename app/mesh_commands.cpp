// The main window's commands that open the two images and keep the mesh:
// Open First and Second image, New, Open, Save, Save as and Swap Morph Mesh.
#include <QMdiArea>

#include "app/child_form.h"
#include "app/file_name_bytes.h"
#include "app/main_window.h"
#include "app/mesh_undo.h"
#include "app/user_dialogs.h"
#include "core/common/file_io.h"
#include "core/image/picture_file.h"
#include "core/mesh/mesh_file.h"

namespace vesk {
namespace {

// Every picture read first, then the program's own "Bitmap|*.BMP" as always.
QString PictureFilter() {
  return "Pictures|" + QString::fromStdString(PicturePatterns()) + "|Bitmap|*.BMP|All Files|*.*";
}

const char* SlotName(int kind) {
  switch (kind) {
    case kFirstImage:
      return "FirstChild";
    case kSecondImage:
      return "SecondChild";
    default:
      return "VeskChild";
  }
}

}  // namespace

void TMDIForm::OpenImageWindow(TChildForm*& slot, int kind, const QString& file_name) {
  OpenImageWindow(slot, kind,
                  [&file_name](TChildForm& child) { return child.LoadImage(file_name); });
}

void TMDIForm::OpenImageWindow(TChildForm*& slot, int kind,
                               const std::function<bool(TChildForm&)>& load) {
  DestroyChild(slot);
  auto* child = new TChildForm(*this, dialogs_);
  child->setObjectName(SlotName(kind));
  slot = child;
  mdi_area_->addSubWindow(child);
  child->show();
  if (load(*child)) {
    child->ImageKind = kind;
    child->DrawMesh();
  } else {
    DestroyChild(slot);
  }
}

void TMDIForm::OpenImageCommand(TChildForm*& slot, QString& file_name_field, int kind) {
  std::optional<QString> chosen = dialogs_.OpenFileName(this, QString(), PictureFilter());
  if (!chosen) return;
  OpenImageFile(slot, file_name_field, kind, *chosen);
}

void TMDIForm::OpenImageFile(TChildForm*& slot, QString& file_name_field, int kind,
                             const QString& file_name) {
  if (!FileReadable(file_name.toStdString())) {
    dialogs_.Message(this, ApplicationTitle(), file_name + " file already not exist");
    return;
  }
  file_name_field = file_name;
  sequence_pair_owner_ = nullptr;  // the image windows hold no sequence's pair now
  OpenImageWindow(slot, kind, file_name);
  UpdateCommandState();
  Tile1Click();
}

void TMDIForm::OpenFirstClick() { OpenImageCommand(first_child_, FirstFileName, kFirstImage); }

void TMDIForm::OpenSecondClick() {
  OpenImageCommand(second_child_, SecondFileName, kSecondImage);
}

void TMDIForm::ShowMeshCaption() {
  setWindowTitle(QString::fromStdString(
      MeshWindowCaption(TitleText.toStdString(), MeshFileName.toStdString())));
}

bool TMDIForm::MeshMayBeDropped() {
  if (MeshSaved) return true;
  switch (dialogs_.Confirm(this, "Confirm", QString::fromLatin1(kSaveMeshQuestion), true)) {
    case Answer::Yes:
      // A save that fails, or whose overwrite question is declined, keeps
      // the mesh.
      SavemeshClick();
      return MeshSaved;
    case Answer::No:
      return true;
    case Answer::Cancel:
      break;
  }
  return false;
}

void TMDIForm::NewMeshClick() {
  if (!MeshMayBeDropped()) return;
  undo_->Record("new morph mesh", [this] { ClearMeshAndRedraw(); });
  // The old mesh was saved or given up: the empty one has nothing to save.
  undo_->MarkSaved();
}

void TMDIForm::ClearMeshAndRedraw() {
  sequence_pair_owner_ = nullptr;
  ShowMeshCaption();
  ShowMeshReport(QString());
  mesh_.FreeMesh();
  for (TChildForm* child : {first_child_, second_child_}) {
    if (child) child->DragNode = nullptr;
  }
  RedrawImageWindows();
  mesh_.InitMesh();
  // The user was asked before an edited mesh went; the empty one is unchanged.
  MeshSaved = true;
  UpdateCommandState();
}

bool TMDIForm::SavemeshClick() {
  const std::string name = MeshFileName.toStdString();
  if (FileFound(name) &&
      dialogs_.Confirm(this, "Confirm", kOverwriteQuestion, false) != Answer::Yes) {
    return true;
  }
  // A fitted second picture is saved first, so the mesh names a file that
  // holds it; cancelling is no error, as declining to overwrite is not.
  const std::optional<bool> picture = SaveFittedSecondImage();
  if (!picture) return true;
  if (!*picture) return false;
  Status saved =
      WriteMeshFile(name, mesh_, FileNameBytes(FirstFileName), FileNameBytes(SecondFileName));
  if (!saved) {
    ReportError(saved.Message());
    return false;
  }
  undo_->MarkSaved();
  MeshSaved = true;
  RememberMesh(MeshFileName);
  UpdateCommandState();
  return true;
}

void TMDIForm::SaveMashAsClick() {
  std::optional<QString> chosen =
      dialogs_.SaveFileName(this, QString(), kMeshFileFilter, MeshFileName);
  if (!chosen) return;
  MeshFileName = QString::fromStdString(SaveAsMeshFileName(chosen->toStdString()));
  SavemeshClick();
  // The caption takes the new name even when overwriting was declined.
  ShowMeshCaption();
  UpdateCommandState();
}

void TMDIForm::OpenMeshClick() {
  if (!MeshMayBeDropped()) return;
  std::optional<QString> chosen = dialogs_.OpenFileName(this, QString(), kMeshFileFilter);
  if (chosen) OpenMeshStep(*chosen);
}

void TMDIForm::OpenMeshFile(const QString& file_name) {
  if (MeshMayBeDropped()) OpenMeshStep(file_name);
}

void TMDIForm::OpenMeshStep(const QString& file_name) {
  bool read = false;
  undo_->Record("open morph mesh", [this, &read, &file_name] { read = LoadMeshFile(file_name); });
  // The mesh is the file's now.
  if (read) undo_->MarkSaved();
}

bool TMDIForm::LoadMeshFile(const QString& file_name) {
  const std::string name = file_name.toStdString();
  if (!FileReadable(name)) return false;
  MeshFileName = file_name;
  ClearMeshAndRedraw();

  Result<MeshFileContent> read = ReadMeshFile(name);
  if (!read) {
    dialogs_.Message(this, ApplicationTitle(), QString::fromStdString(read.Message()));
    // A wrong signature leaves the empty mesh; a read error starts over.
    if (read.Message() != kMeshFormatMessage) ClearMeshAndRedraw();
    return false;
  }
  MeshFileContent content = std::move(read).Value();
  mesh_ = std::move(content.mesh);
  RememberMesh(MeshFileName);
  // The stored names are bytes, UTF-8 or not; they open and save unchanged.
  FirstFileName = FileNameFromBytes(content.first_file_name);
  SecondFileName = FileNameFromBytes(content.second_file_name);

  // An image that is found replaces its window; one that is not found
  // leaves the window as it was.
  if (FileReadable(content.first_file_name)) {
    OpenImageWindow(first_child_, kFirstImage, FirstFileName);
  }
  if (FileReadable(content.second_file_name)) {
    OpenImageWindow(second_child_, kSecondImage, SecondFileName);
  }
  RedrawImageWindows();
  UpdateCommandState();
  Tile1Click();
  return true;
}

void TMDIForm::SwapMorphMeshClick() {
  undo_->Record("swap morph mesh", [this] { mesh_.SwapMorphMesh(); });
  RedrawImageWindows();
}

}  // namespace vesk
