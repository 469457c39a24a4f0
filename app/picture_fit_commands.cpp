// The main window's commands for pictures of different sizes: Fit Second
// Image to First, the offer to fit before Auto Mesh, and saving the fitted
// picture when the mesh is saved, so a mesh file always names pictures that
// hold what its nodes point at.
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <utility>

#include "app/child_form.h"
#include "app/file_name_bytes.h"
#include "app/main_window.h"
#include "app/mesh_undo.h"
#include "app/user_dialogs.h"
#include "core/image/bmp_codec.h"
#include "core/image/bmp_save_name.h"
#include "core/image/picture_file.h"
#include "core/mesh/mesh_snapshot.h"
#include "core/sequence/pair_fit.h"

namespace vesk {
namespace {

ImageSize SizeOf(const Bitmap& picture) { return {picture.Width(), picture.Height()}; }

QString SizeText(ImageSize size) { return QString("%1 x %2").arg(size.width).arg(size.height); }

void ShowCaption(TChildForm& window, const QString& file_name) {
  const QString caption = QString::fromStdString(CaptionOfFileName(FileNameBytes(file_name)));
  window.setWindowTitle(window.FittedPicture ? caption + " (fitted)" : caption);
}

// The second window's picture, the second image's file name and whether the
// picture is a fit not yet saved: what a fit replaced, swapped with what is
// in place at each undo and redo. Once another second image has been opened
// (a new window) the step leaves the pictures alone and undoes the mesh only.
class SecondPictureExchange : public StepExchange {
 public:
  SecondPictureExchange(TMDIForm& form, Bitmap picture)
      : form_(form),
        window_(form.SecondChild()),
        picture_(std::move(picture)),
        name_(form.SecondFileName),
        fitted_(true) {}

  void Exchange() override {
    TChildForm* window = window_.data();
    if (window == nullptr || window != form_.SecondChild()) return;
    Bitmap shown = window->GetBitmap();
    window->SetBitmap(std::move(picture_));
    picture_ = std::move(shown);
    std::swap(form_.SecondFileName, name_);
    std::swap(window->FittedPicture, fitted_);
    ShowCaption(*window, form_.SecondFileName);
  }

 private:
  TMDIForm& form_;
  QPointer<TChildForm> window_;
  Bitmap picture_;
  QString name_;
  bool fitted_;
};

// "portrait-fitted.bmp" beside "portrait.jpg".
QString FittedFileName(const QString& file_name) {
  const QFileInfo original(file_name);
  const QString stem =
      original.completeBaseName().isEmpty() ? "second" : original.completeBaseName();
  return original.dir().filePath(stem + "-fitted.bmp");
}

}  // namespace

bool TMDIForm::PictureSizesDiffer() const {
  return first_child_ && second_child_ &&
         SizeOf(first_child_->GetBitmap()) != SizeOf(second_child_->GetBitmap());
}

void TMDIForm::FitSecondToFirstClick() {
  if (!PictureSizesDiffer()) return;
  FittedPair fitted = FitSecondToFirst(second_child_->GetBitmap(),
                                       SizeOf(first_child_->GetBitmap()), TakeMeshSnapshot(mesh_));
  ApplyMeshEdit("fit second image to first",
                std::make_unique<SecondPictureExchange>(*this, std::move(fitted.second)),
                [&fitted](Mesh& mesh) { mesh = RestoreMeshSnapshot(fitted.mesh); });
}

Answer TMDIForm::AskFitBeforeAutoMesh() {
  if (!PictureSizesDiffer()) return Answer::No;
  const ImageSize first = SizeOf(first_child_->GetBitmap());
  const ImageSize second = SizeOf(second_child_->GetBitmap());
  return dialogs_.Confirm(this, "Auto Mesh",
                          "The second image is " + SizeText(second) + ", the first " +
                              SizeText(first) +
                              ". Fit the second image to the first image's size before "
                              "meshing?\n\nWithout it the in-between frames take the first "
                              "image's size and the last frame the second's.",
                          true);
}

std::optional<bool> TMDIForm::SaveFittedSecondImage() {
  if (second_child_ == nullptr || !second_child_->FittedPicture) return true;
  std::optional<QString> chosen =
      dialogs_.SaveFileName(this, "Save Fitted Second Image as", "Bitmap Files|*.bmp|All Files|*.*",
                            FittedFileName(SecondFileName));
  if (!chosen) return std::nullopt;
  const std::string name = BmpSaveName(FileNameBytes(*chosen));
  Status saved = SaveBmpFile(name, second_child_->GetBitmap());
  if (!saved) {
    ReportError(saved.Message());
    return false;
  }
  SecondFileName = FileNameFromBytes(name);
  second_child_->FittedPicture = false;
  ShowCaption(*second_child_, SecondFileName);
  return true;
}

}  // namespace vesk
