// vesk-batch caricature PIC --average AVG.pts|PIC... --amount K --out OUT
// [options]: the portrait's face moved away from an average face (K > 1)
// or toward it (K < 1), core/faces/caricature.h. The average is a mean
// shape saved by `average --points` (--average with one .pts file, or
// --average-points FILE) or the mean shape of pictures named after
// --average (PIC itself comes first). --out names a PNG or BMP picture, or
// a video (.mp4, .webm, .gif) of --frames N frames in which the amount goes
// from 1 to K, streamed frame by frame.
#include <charconv>
#include <cmath>
#include <iostream>
#include <string>
#include <vector>

#include "batch/batch_support.h"
#include "batch/face_pictures.h"
#include "batch/video_options.h"
#include "core/faces/caricature.h"
#include "core/faces/mean_shape_file.h"
#include "video/video_stream.h"

namespace vesk::batch {
namespace {

constexpr const char* kUsage =
    "caricature PIC --average AVG.pts|PIC... --amount K --out OUT.png|OUT.bmp|OUT.mp4|OUT.webm|"
    "OUT.gif [--average-points AVG.pts] [--frames N] [--fps F] [--quality Q] [--lossless] "
    "[--render smooth|classic] [--skip-failed]";

constexpr int kVideoFrames = 25;  // one second at the video rate below
constexpr int kVideoFps = 25;
constexpr int kVideoQuality = 80;  // as the sequence's: every pixel moves every frame
constexpr int kMaxFrames = 1000;

struct CaricatureOptions {
  double amount = 1;
  Renderer renderer = Renderer::kSmooth;
  std::optional<VideoOptions> video;  // none: a picture
  int frames = 1;
  std::string mean_shape_file;  // or else the pictures to average
  std::vector<std::string> average_pictures;
  bool skip_failed = false;
};

Result<double> AmountOf(const std::string& text) {
  double amount = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), amount);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(amount) ||
      amount < kMinCaricatureAmount || amount > kMaxCaricatureAmount) {
    return Failure{"--amount must be a number from -2 to 5, not \"" + text + "\""};
  }
  return amount;
}

// The options, or the usage problem.
Result<CaricatureOptions> OptionsOf(const CommandLine& line) {
  CaricatureOptions options;
  if (!line.Has("--amount")) return Failure{"option --amount is missing"};
  Result<double> amount = AmountOf(line.Value("--amount"));
  if (!amount) return Failure{amount.Message()};
  options.amount = amount.Value();
  const std::string& out = line.Value("--out");
  if (VideoFormatOf(out)) {
    Result<VideoOptions> video = VideoOptionsOf(line, out, kVideoFps, kVideoQuality);
    if (!video) return Failure{video.Message()};
    options.video = video.Value();
    Result<int> frames = line.IntValue("--frames", kVideoFrames, 2, kMaxFrames);
    if (!frames) return Failure{frames.Message()};
    options.frames = frames.Value();
  } else if (!IsPictureOutput(out)) {
    return Failure{"--out must end in .png, .bmp, .mp4, .webm or .gif"};
  } else if (line.Has("--frames")) {
    return Failure{"--frames needs a video --out (.mp4, .webm or .gif)"};
  }
  GenerationSetup setup;
  setup.renderer = Renderer::kSmooth;
  if (Status read = ReadRenderOption(line, setup); !read) return Failure{read.Message()};
  options.renderer = setup.renderer;

  // --average's first value, then every word after PIC.
  const std::vector<std::string>& words = line.Positional();
  const bool pictures = line.Has("--average");
  if (pictures == line.Has("--average-points")) {
    return Failure{"give either --average or --average-points"};
  }
  if (!pictures && words.size() > 1) return Failure{"unexpected word " + words[1]};
  if (!pictures) {
    options.mean_shape_file = line.Value("--average-points");
  } else if (IsMeanShapeFileName(line.Value("--average")) && words.size() == 1) {
    options.mean_shape_file = line.Value("--average");
  } else {
    options.average_pictures.push_back(line.Value("--average"));
    options.average_pictures.insert(options.average_pictures.end(), words.begin() + 1, words.end());
    for (const std::string& picture : options.average_pictures) {
      if (IsMeanShapeFileName(picture)) return Failure{"a mean shape file comes alone: " + picture};
    }
  }
  options.skip_failed = line.Has("--skip-failed");
  return options;
}

// The average's mean shape: read from its file or made from its pictures.
Result<FacePoints> AverageShape(const CaricatureOptions& options, BatchRun& run) {
  if (!options.mean_shape_file.empty()) {
    Result<FacePoints> shape = ReadMeanShapeFile(options.mean_shape_file);
    if (!shape) return Failure{options.mean_shape_file + ": " + shape.Message()};
    return shape;
  }
  AverageOptions average;
  average.skip_failed = options.skip_failed;
  Result<FaceShapes> shapes =
      FindFaceShapes(FacePicturesOf(options.average_pictures), average, run);
  if (!shapes) return Failure{shapes.Message()};
  ReportSkipped(options.average_pictures, shapes.Value().skipped);
  return shapes.Value().mean;
}

int RunCaricature(const std::vector<std::string>& args) {
  auto line = CommandLine::Parse(args, 1,
                                 {{"--average", 1},
                                  {"--average-points", 1},
                                  {"--amount", 1},
                                  {"--out", 1},
                                  {"--frames", 1},
                                  kFpsOption,
                                  kQualityOption,
                                  kLosslessOption,
                                  {"--render", 1},
                                  {"--skip-failed", 0}},
                                 true);
  if (!line) return ReportUsage(kUsage, line.Message());
  if (!line.Value().Has("--out")) return ReportUsage(kUsage, "option --out is missing");
  Result<CaricatureOptions> read_options = OptionsOf(line.Value());
  if (!read_options) return ReportUsage(kUsage, read_options.Message());
  const CaricatureOptions& options = read_options.Value();
  const std::string& name = line.Value().Positional()[0];
  const std::string& out = line.Value().Value("--out");

  BatchRun run("caricature");
  run.Begin();
  Result<Bitmap> picture = ReadPortrait(name);
  if (!picture) return ReportBadInput(picture.Message());
  Result<FacePoints> own = FaceOfPortrait(picture.Value(), name);
  if (!own) return ReportBadInput(own.Message());
  Result<FacePoints> average = AverageShape(options, run);
  if (Interrupted()) return ReportCancelled("caricature", "; nothing written");
  if (!average) return ReportBadInput(average.Message());

  // Frame i of n has the amount 1 + (K - 1) i / (n - 1); a picture is the last frame.
  const auto paint = [&](int i) -> Result<Bitmap> {
    const double amount =
        options.frames == 1 ? options.amount : 1 + (options.amount - 1) * i / (options.frames - 1);
    const std::optional<FacePoints> target = CaricaturePoints(own.Value(), average.Value(), amount);
    if (!target) return Failure{"The eyes found in " + name + " are one point"};
    return PaintCaricature(picture.Value(), own.Value(), *target, options.renderer, run);
  };
  if (!options.video) {
    Result<Bitmap> caricature = paint(0);
    run.End();
    if (Interrupted()) return ReportCancelled("caricature", "; nothing written");
    if (!caricature) return ReportBadInput(caricature.Message());
    Status saved = SavePicture(caricature.Value(), out, "caricature");
    if (!saved) return ReportBadInput(saved.Message());
    std::cout << "caricature: amount " << options.amount << " written to " << out << std::endl;
    return kExitDone;
  }
  VideoStream video;
  Status status =
      video.Open(out, picture.Value().Width(), picture.Value().Height(), *options.video);
  for (int i = 0; status && i < options.frames && !run.Cancelled(); ++i) {
    run.Counter(i + 1, options.frames);
    Result<Bitmap> frame = paint(i);
    status = frame ? video.Add(frame.Value()) : Status(Failure{frame.Message()});
  }
  run.End();
  if (Interrupted()) return ReportCancelled("caricature", "; nothing written");
  if (status) status = video.Finish();
  if (!status) return ReportBadInput(out + ": " + status.Message());
  std::cout << "caricature: " << options.frames << " frames, amount 1 to " << options.amount
            << ", written to " << out << std::endl;
  return kExitDone;
}

}  // namespace

VESK_BATCH_COMMAND({"caricature", kUsage, &RunCaricature});

}  // namespace vesk::batch
