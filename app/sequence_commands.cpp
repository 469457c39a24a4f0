// The main window's side of sequences: File > New Sequence and Open
// Sequence, the sequence window opened on pictures or a sequence file, and
// a sequence's pair put into the first and second image windows, where
// every mesh tool works on it and the sequence window takes its edits.
#include <QFileInfo>

#include "app/child_form.h"
#include "app/main_window.h"
#include "app/mesh_undo.h"
#include "app/sequence_window.h"
#include "app/user_dialogs.h"
#include "core/image/picture_file.h"
#include "core/sequence/sequence_file.h"

namespace vesk {

void TMDIForm::NewSequenceClick() { OpenSequenceWindow({}); }

void TMDIForm::OpenSequenceClick() {
  std::optional<QStringList> chosen = dialogs_.OpenFileNames(
      this, "Open Sequence",
      "Sequences and pictures|*.vseq;" + QString::fromStdString(PicturePatterns()) +
          "|Sequences|*.vseq|All Files|*.*");
  if (!chosen || chosen->isEmpty()) return;
  QStringList pictures;
  for (const QString& file : *chosen) {
    if (file.endsWith(kSequenceExtension, Qt::CaseInsensitive)) {
      OpenSequenceFile(file);
    } else {
      pictures << file;
    }
  }
  if (!pictures.isEmpty()) OpenSequenceWindow(pictures);
}

SequenceWindow* TMDIForm::OpenSequenceWindow(const QStringList& pictures) {
  auto* window = new SequenceWindow(*this, dialogs_);
  window->AddPictures(pictures);
  window->show();
  return window;
}

SequenceWindow* TMDIForm::OpenSequenceFile(const QString& file_name) {
  auto* window = new SequenceWindow(*this, dialogs_);
  if (!window->OpenFile(file_name)) {
    delete window;
    return nullptr;
  }
  RememberMesh(QFileInfo(file_name).absoluteFilePath());
  window->show();
  return window;
}

bool TMDIForm::SequenceWindowsClosed() {
  for (SequenceWindow* window : findChildren<SequenceWindow*>()) {
    if (!window->close()) return false;
  }
  return true;
}

SequenceWindow* TMDIForm::SequencePairOwner() const {
  return qobject_cast<SequenceWindow*>(sequence_pair_owner_.data());
}

bool TMDIForm::EditSequencePair(SequenceWindow* sequence, const PairInPlace& pair) {
  // A mesh of a sequence's pair is kept by its sequence; any other may
  // need saving first.
  if (!sequence_pair_owner_ && !MeshMayBeDropped()) return false;
  sequence_pair_owner_ = nullptr;  // no edit is taken while the pair goes in
  FirstFileName = pair.first_name;
  SecondFileName = pair.second_name;
  MeshFileName.clear();
  const auto put = [](const Bitmap& picture) {
    return [&picture](TChildForm& child) {
      child.SetBitmap(picture);
      return true;
    };
  };
  OpenImageWindow(first_child_, kFirstImage, put(pair.first));
  OpenImageWindow(second_child_, kSecondImage, put(pair.second));
  mesh_ = RestoreMeshSnapshot(pair.mesh);
  // Undo stays within the pair: the steps of another mesh are dropped.
  undo_->Stack().clear();
  undo_->MarkSaved();
  ShowMeshReport(pair.report);
  ShowMeshCaption();
  RedrawImageWindows();
  UpdateCommandState();
  Tile1Click();
  sequence_pair_owner_ = sequence;
  return true;
}

}  // namespace vesk
