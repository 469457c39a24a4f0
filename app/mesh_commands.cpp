// The main window's commands that open the two images and keep the mesh:
// Open First and Second image, New, Open, Save, Save as and Swap Morph Mesh.
#include <QMdiArea>

#include "app/child_form.h"
#include "app/file_name_bytes.h"
#include "app/main_window.h"
#include "app/user_dialogs.h"
#include "core/common/file_io.h"
#include "core/mesh/mesh_file.h"

namespace vesk {
namespace {

constexpr char kBitmapFilter[] = "Bitmap|*.BMP|All Files|*.*";

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
  DestroyChild(slot);
  auto* child = new TChildForm(*this, dialogs_);
  child->setObjectName(SlotName(kind));
  slot = child;
  mdi_area_->addSubWindow(child);
  child->show();
  if (child->LoadImage(file_name)) {
    child->ImageKind = kind;
    child->DrawMesh();
  } else {
    DestroyChild(slot);
  }
}

void TMDIForm::OpenImageCommand(TChildForm*& slot, QString& file_name_field, int kind) {
  std::optional<QString> chosen = dialogs_.OpenFileName(this, QString(), kBitmapFilter);
  if (!chosen) return;
  if (!FileFound(chosen->toStdString())) {
    dialogs_.Message(this, ApplicationTitle(), *chosen + " file already not exist");
    return;
  }
  file_name_field = *chosen;
  OpenImageWindow(slot, kind, *chosen);
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

void TMDIForm::NewMeshClick() {
  ShowMeshCaption();
  mesh_.FreeMesh();
  for (TChildForm* child : {first_child_, second_child_}) {
    if (child) child->DragNode = nullptr;
  }
  RedrawImageWindows();
  mesh_.InitMesh();
  UpdateCommandState();
}

bool TMDIForm::SavemeshClick() {
  const std::string name = MeshFileName.toStdString();
  if (FileFound(name) &&
      dialogs_.Confirm(this, "Confirm", kOverwriteQuestion, false) != Answer::Yes) {
    return true;
  }
  Status saved =
      WriteMeshFile(name, mesh_, FileNameBytes(FirstFileName), FileNameBytes(SecondFileName));
  if (!saved) {
    ReportError(saved.Message());
    return false;
  }
  MeshSaved = true;
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
  std::optional<QString> chosen = dialogs_.OpenFileName(this, QString(), kMeshFileFilter);
  if (!chosen) return;
  const std::string name = chosen->toStdString();
  if (!FileFound(name)) return;
  MeshFileName = *chosen;
  NewMeshClick();

  Result<MeshFileContent> read = ReadMeshFile(name);
  if (!read) {
    dialogs_.Message(this, ApplicationTitle(), QString::fromStdString(read.Message()));
    // A wrong signature leaves the empty mesh; a read error starts over.
    if (read.Message() != kMeshFormatMessage) NewMeshClick();
    return;
  }
  MeshFileContent content = std::move(read).Value();
  mesh_ = std::move(content.mesh);
  // The stored names are bytes, UTF-8 or not; they open and save unchanged.
  FirstFileName = FileNameFromBytes(content.first_file_name);
  SecondFileName = FileNameFromBytes(content.second_file_name);

  // An image that is found replaces its window; one that is not found
  // leaves the window as it was.
  if (FileFound(content.first_file_name)) {
    OpenImageWindow(first_child_, kFirstImage, FirstFileName);
  }
  if (FileFound(content.second_file_name)) {
    OpenImageWindow(second_child_, kSecondImage, SecondFileName);
  }
  RedrawImageWindows();
  UpdateCommandState();
  Tile1Click();
}

void TMDIForm::SwapMorphMeshClick() {
  mesh_.SwapMorphMesh();
  RedrawImageWindows();
}

}  // namespace vesk
