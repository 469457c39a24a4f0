// Tools > Caricature...: the face of the first image pushed away from an
// average face or drawn toward it. Asks for the average (pictures to
// average, or one saved mean shape file), finds the faces on a thread of
// its own with the progress window, then asks for the amount in the
// Caricature dialog, whose preview follows it, and shows the caricature in
// a new Vesk window. An error goes to the error box and changes nothing.
#include <QFileInfo>
#include <QStatusBar>

#include "app/child_form.h"
#include "app/face_jobs.h"
#include "app/kancel_form.h"
#include "app/main_window.h"
#include "app/user_dialogs.h"
#include "core/faces/caricature.h"
#include "core/faces/mean_shape_file.h"

namespace vesk {
namespace {

constexpr char kAverageFilter[] =
    "Pictures or a mean shape|*.bmp;*.png;*.jpg;*.jpeg;*.pts|All Files|*.*";

bool IsMeanShapeFile(const QString& name) { return IsMeanShapeFileName(name.toStdString()); }

// The first image's face and the average's shape, or why not.
struct Faces {
  FacePoints own{};
  FacePoints average{};
};

Result<Faces> FindFaces(const Bitmap& picture, const std::string& name, const QStringList& files,
                        RunProtocol& run) {
  Faces faces;
  Result<FacePoints> own = FaceOfPicture(picture, name);
  if (!own) return Failure{own.Message()};
  faces.own = own.Value();
  if (files.size() == 1 && IsMeanShapeFile(files[0])) {
    Result<FacePoints> shape = ReadMeanShapeFile(files[0].toStdString());
    if (!shape)
      return Failure{QFileInfo(files[0]).fileName().toStdString() + ": " + shape.Message()};
    faces.average = shape.Value();
    return faces;
  }
  Result<FaceShapes> shapes = FindFaceShapes(FacePicturesOf(files), {}, run);
  if (!shapes) return Failure{shapes.Message()};
  faces.average = shapes.Value().mean;
  return faces;
}

}  // namespace

void TMDIForm::CaricatureClick() {
  if (!first_child_) return;
  std::optional<QStringList> files =
      dialogs_.OpenFileNames(this, "Average to Compare With", kAverageFilter);
  if (!files) return;
  if (files->size() > 1 && std::any_of(files->begin(), files->end(), IsMeanShapeFile)) {
    ReportError("A mean shape file is chosen alone");
    return;
  }
  const Bitmap& picture = first_child_->GetBitmap();
  const QString name = QFileInfo(FirstFileName).fileName();
  std::optional<Result<Faces>> faces;
  RunFaceJob(*kancel_form_, *this, run_active_, [&](RunProtocol& side) {
    faces =
        FindFaces(picture, name.isEmpty() ? "the first image" : name.toStdString(), *files, side);
  });
  if (KancelFlag != 0) return;
  if (!*faces) {
    ReportError(faces->Message());
    return;
  }
  const Faces& found = faces->Value();
  std::optional<double> amount =
      dialogs_.AskCaricatureAmount(this, {&picture, found.own, found.average}, caricature_amount_);
  if (!amount) return;
  caricature_amount_ = *amount;
  const std::optional<FacePoints> target = CaricaturePoints(found.own, found.average, *amount);
  if (!target) {
    ReportError("The eyes found in the first image are one point");
    return;
  }
  RunProtocol quiet;  // one warp of the picture: a moment, not a run
  Bitmap caricature = PaintCaricature(picture, found.own, *target, Renderer::kSmooth, quiet);
  NewVeskChild()->SetBitmap(std::move(caricature));
  statusBar()->showMessage(QString("Caricature, amount %1").arg(*amount, 0, 'f', 2));
  UpdateCommandState();
}

}  // namespace vesk
