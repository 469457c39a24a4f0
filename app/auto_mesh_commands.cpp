// The main window's Auto Mesh: on pictures of different sizes first offers
// to fit the second to the first (a step of its own), asks for the method
// and the spacing, finds the corresponding points of the first and the
// second image on a thread of its own while the progress window shows how
// far it got, and replaces the mesh with the result as one undo step. Kancel
// stops the search at its next step and leaves the mesh as it was; so does
// an error, which the error box shows.
#include <QFileInfo>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>

#include "app/child_form.h"
#include "app/kancel_form.h"
#include "app/main_window.h"
#include "app/user_dialogs.h"
#include "match/auto_match.h"

namespace vesk {
namespace {

std::string PictureName(const QString& file_name, const char* otherwise) {
  const QString name = QFileInfo(file_name).fileName();
  return name.isEmpty() ? otherwise : name.toStdString();
}

}  // namespace

void TMDIForm::AutoMeshClick() {
  if (!BothImagesOpen()) return;
  const Answer fit = AskFitBeforeAutoMesh();
  if (fit == Answer::Cancel) return;
  QStringList methods;
  for (AutoMeshMethod method : kAutoMeshMethods) {
    methods << QString::fromStdString(std::string(MethodCaption(method)));
  }
  std::optional<AutoMeshChoice> choice =
      dialogs_.AskAutoMesh(this, methods, {auto_mesh_method_, auto_mesh_spacing_}, kMaxSpacing);
  if (!choice) return;
  auto_mesh_method_ = std::clamp(choice->method, 0, int(std::size(kAutoMeshMethods)) - 1);
  auto_mesh_spacing_ = std::clamp(choice->spacing, 0, kMaxSpacing);
  if (fit == Answer::Yes) FitSecondToFirstClick();  // its own step

  MatchOptions options;
  options.method = kAutoMeshMethods[auto_mesh_method_];
  options.mesh.spacing = auto_mesh_spacing_;
  options.first_name = PictureName(FirstFileName, "the first image");
  options.second_name = PictureName(SecondFileName, "the second image");
  std::atomic<int> percent{0};
  std::atomic<bool> stop{false};
  options.progress = [&percent](int done) { percent = done; };
  options.cancelled = [&stop] { return stop.load(); };

  // The main window is disabled and cannot close until the search has
  // ended, so the pictures stay as they are while the thread reads them.
  run_active_ = true;
  struct RunEnd {
    bool& flag;
    ~RunEnd() { flag = false; }
  } run_end{run_active_};
  KancelRun run(*kancel_form_, *this, nullptr, nullptr);
  run.Begin();
  const Bitmap& first = first_child_->GetBitmap();
  const Bitmap& second = second_child_->GetBitmap();
  std::future<Result<AutoMeshOutcome>> search =
      std::async(std::launch::async, [&] { return AutoMeshOfPictures(first, second, options); });
  while (search.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {
    stop = KancelFlag != 0;
    run.InnerBar(percent);
    run.ProcessMessages();
  }
  run.End();
  Result<AutoMeshOutcome> outcome = search.get();
  if (KancelFlag != 0) return;
  if (!outcome) {
    ReportError(outcome.Message());
    return;
  }
  ApplyMeshEdit("auto mesh", [this, &outcome](Mesh& mesh) {
    mesh = std::move(outcome.Value().mesh);
    ShowMeshReport(QString::fromStdString(outcome.Value().report));
  });
}

}  // namespace vesk
