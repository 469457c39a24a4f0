#include "app/face_jobs.h"

#include <QFileInfo>
#include <atomic>
#include <chrono>
#include <future>

#include "app/kancel_form.h"
#include "match/face_points_finder.h"
#include "pictures/picture_reader.h"

namespace vesk {
namespace {

// The job's side of the run: it leaves the counter where the interface
// thread reads it and reads the cancel request the interface thread sets.
class ThreadSide : public RunProtocol {
 public:
  void Counter(int k, int n) override {
    n_ = n;
    k_ = k;
  }
  bool CancelRequested() override { return stop_; }

  std::atomic<int> k_{0};
  std::atomic<int> n_{0};
  std::atomic<bool> stop_{false};
};

}  // namespace

FacePictures FacePicturesOf(const QStringList& files) {
  FacePictures pictures;
  std::vector<std::string> paths;
  for (const QString& file : files) {
    paths.push_back(file.toStdString());
    pictures.names.push_back(QFileInfo(file).fileName().toStdString());
  }
  pictures.read = [paths, names = pictures.names](std::size_t i) -> Result<Bitmap> {
    Result<Bitmap> picture = ReadPicture(paths[i]);
    if (!picture) return Failure{names[i] + ": " + picture.Message()};
    return picture;
  };
  pictures.find_face = [names = pictures.names](const Bitmap& picture, std::size_t i) {
    return FaceOfPicture(picture, names[i]);
  };
  return pictures;
}

Result<FacePoints> FaceOfPicture(const Bitmap& picture, const std::string& name) {
  FaceOptions options;
  options.picture_name = name;
  return FindFacePoints(picture, options);
}

void RunFaceJob(TKancelForm& form, QWidget& main_window, bool& run_active,
                const std::function<void(RunProtocol&)>& job) {
  run_active = true;
  struct RunEnd {
    bool& flag;
    ~RunEnd() { flag = false; }
  } run_end{run_active};
  KancelRun run(form, main_window, nullptr, nullptr);
  run.Begin();
  ThreadSide side;
  std::future<void> done = std::async(std::launch::async, [&] { job(side); });
  while (done.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {
    side.stop_ = KancelFlag != 0;
    if (side.n_ > 0) run.Counter(side.k_, side.n_);
    run.ProcessMessages();
  }
  run.End();
  done.get();
}

}  // namespace vesk
