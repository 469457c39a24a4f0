// Tools > Average Faces...: asks for the pictures and the output, averages
// them on a thread of its own while the progress window counts the
// pictures (Kancel stops at the next picture), and shows the average in a
// new Vesk window, from where it is saved or copied into the first or
// second image like any Vesk image. Pictures left out are listed; an error
// goes to the error box and changes nothing.
#include <QStatusBar>

#include "app/child_form.h"
#include "app/face_jobs.h"
#include "app/kancel_form.h"
#include "app/main_window.h"
#include "app/user_dialogs.h"
#include "core/faces/mean_shape_file.h"

namespace vesk {

void TMDIForm::AverageFacesClick() {
  std::optional<AverageFacesChoice> choice = dialogs_.AskAverageFaces(this, average_choice_);
  if (!choice) return;
  average_choice_ = *choice;
  AverageOptions options;
  options.size = {choice->width, choice->height};
  options.skip_failed = choice->skip_failed;
  const FacePictures pictures = FacePicturesOf(choice->pictures);

  std::optional<Result<FaceAverage>> average;
  RunFaceJob(*kancel_form_, *this, run_active_,
             [&](RunProtocol& side) { average = AverageFaces(pictures, options, side); });
  if (KancelFlag != 0) return;
  if (!*average) {
    ReportError(average->Message());
    return;
  }
  const FaceShapes& shapes = average->Value().shapes;
  if (!choice->mean_shape_file.isEmpty()) {
    Status saved = WriteMeanShapeFile(choice->mean_shape_file.toStdString(), shapes.mean);
    if (!saved) ReportError(saved.Message());
  }
  NewVeskChild()->SetBitmap(std::move(average->Value().picture));
  QString report = QString("Average of %1 faces").arg(shapes.used.size());
  if (!shapes.skipped.empty()) {
    QString left_out;
    for (const SkippedPicture& skipped : shapes.skipped) {
      left_out += "\n" + QString::fromStdString(skipped.reason);
    }
    report += QString(", %1 left out").arg(shapes.skipped.size());
    dialogs_.Message(this, ApplicationTitle(), "Pictures left out of the average:" + left_out);
  }
  statusBar()->showMessage(report);
  UpdateCommandState();
}

}  // namespace vesk
