#include "sequencing/sequence_render.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "core/generate/morph.h"
#include "core/image/area_shrink.h"
#include "core/sequence/sequence_options.h"
#include "core/sequence/sequence_timeline.h"

namespace vesk {
namespace {

// One pair's run as the sequence sees it: the caller's protocol, the
// frames to `write`, leaving out the first `skip`.
class PairRun : public RunProtocol {
 public:
  PairRun(RunProtocol& run, const FrameWriter& write, int skip)
      : run_(run), write_(write), skip_(skip) {}
  void Begin() override { run_.Begin(); }
  void Counter(int k, int n) override { run_.Counter(k, n); }
  void InnerBar(int percent) override { run_.InnerBar(percent); }
  void ProcessMessages() override { run_.ProcessMessages(); }
  bool CancelRequested() override { return run_.CancelRequested(); }
  Status WriteFrame(const Bitmap& frame) override {
    if (skip_ > 0) {
      --skip_;
      return Status::Success();
    }
    return write_(frame);
  }
  void End() override { run_.End(); }

 private:
  RunProtocol& run_;
  const FrameWriter& write_;
  int skip_;
};

}  // namespace

std::string PairName(const Sequence& sequence, int pair,
                     const std::function<std::string(int)>& name) {
  const PairKey key = sequence.PairAt(pair);
  return "pair " + std::to_string(pair + 1) + " (" + name(sequence.IndexOf(key.first)) +
         " and " + name(sequence.IndexOf(key.second)) + ")";
}

Result<SequenceTriangles> TrianglesOfPairs(const Sequence& sequence,
                                           const std::function<std::string(int)>& name) {
  SequenceTriangles triangles;
  const std::optional<MeshFrame> frame = sequence.Frame();
  for (int k = 0; k < sequence.PairCount(); ++k) {
    const PairMesh& mesh = sequence.MeshOf(sequence.PairAt(k));
    std::string missing;
    if (mesh.state == PairState::kNone) {
      missing = "not meshed yet";
    } else if (mesh.state == PairState::kFailed) {
      missing = mesh.text;
    } else if (!frame || mesh.frame != *frame) {
      missing = "its mesh was edited on the pictures placed for " +
                std::to_string(mesh.frame.size.width) + " x " +
                std::to_string(mesh.frame.size.height) + " and has not been moved to " +
                (frame ? std::to_string(frame->size.width) + " x " +
                             std::to_string(frame->size.height)
                       : std::string("the present frame"));
    }
    if (!missing.empty()) return Failure{PairName(sequence, k, name) + ": " + missing};
    triangles.push_back(TrianglePositionsOf(RestoreMeshSnapshot(mesh.mesh)));
  }
  return triangles;
}

Status RenderSequence(const Sequence& sequence, SequencePictures& pictures,
                      const SequenceTriangles& triangles, RunProtocol& run,
                      const FrameWriter& write, const std::function<void(int, int)>& pair_begins) {
  const GenerationSetup setup = SequenceGenerationSetup(sequence.Options());
  const int pairs = sequence.PairCount();
  if (pairs == 0) return Status::Success();
  Result<Bitmap> from = pictures.Picture(0);
  for (int k = 0; k < pairs && from && !run.CancelRequested(); ++k) {
    if (pair_begins) pair_begins(k, pairs);
    Result<Bitmap> to = pictures.Picture((k + 1) % pictures.Count());
    if (!to) return Failure{to.Message()};
    PairRun pair(run, write, k == 0 ? 0 : 1 + setup.hold);
    Bitmap vesk;
    Status done = RunMorph(from.Value(), to.Value(), triangles[static_cast<std::size_t>(k)],
                           setup, vesk, pair);
    if (!done) return done;
    from = std::move(to);
  }
  if (!from) return Failure{from.Message()};
  return Status::Success();
}

Result<Bitmap> ReducedPictures::Picture(int i) {
  if (auto kept = kept_.find(i); kept != kept_.end()) return kept->second;
  Result<Bitmap> placed = pictures_.Picture(i);
  if (!placed) return placed;
  const Bitmap& full = placed.Value();
  const double scale = std::min({1.0, double(max_side_) / full.Width(),
                                 double(max_side_) / full.Height()});
  Bitmap reduced = scale < 1 ? AreaShrink(full, std::max(1, int(full.Width() * scale)),
                                          std::max(1, int(full.Height() * scale)))
                             : full;
  return kept_.emplace(i, std::move(reduced)).first->second;
}

namespace {

// `triangles` of pictures of `from` size moved onto pictures of `to` size.
std::vector<TrianglePositions> Scaled(std::span<const TrianglePositions> triangles,
                                      ImageSize from, ImageSize to) {
  const double sx = double(to.width) / from.width, sy = double(to.height) / from.height;
  const auto point = [&](Point p) {
    return Point{static_cast<int>(std::lround(p.x * sx)), static_cast<int>(std::lround(p.y * sy))};
  };
  const auto corners = [&](const Corners& c) {
    return Corners{point(c.p0), point(c.p1), point(c.p2)};
  };
  std::vector<TrianglePositions> scaled;
  scaled.reserve(triangles.size());
  for (const TrianglePositions& t : triangles) {
    scaled.push_back({corners(t.first), corners(t.second)});
  }
  return scaled;
}

}  // namespace

Result<Bitmap> RenderSequenceFrame(const Sequence& sequence, ReducedPictures& pictures,
                                   const SequenceTriangles& triangles, int index,
                                   PreviewPainter& painter) {
  const GenerationSetup setup = SequenceGenerationSetup(sequence.Options());
  if (sequence.PairCount() == 0) return Failure{"A sequence needs two pictures"};
  const int pair = LocateSequenceFrame(index, setup.frame_count, setup.hold).pair;
  Result<Bitmap> from = pictures.Picture(pair);
  if (!from) return from;
  Result<Bitmap> to = pictures.Picture((pair + 1) % pictures.Count());
  if (!to) return to;
  const std::vector<TrianglePositions>& mesh = triangles[static_cast<std::size_t>(pair)];
  const ImageSize full = pictures.FullSize(), reduced{from.Value().Width(), from.Value().Height()};
  const std::vector<TrianglePositions> scaled =
      reduced == full ? std::vector<TrianglePositions>{} : Scaled(mesh, full, reduced);
  PreviewInputs inputs;
  inputs.first = &from.Value();
  inputs.second = &to.Value();
  inputs.triangles = reduced == full ? std::span<const TrianglePositions>(mesh) : scaled;
  inputs.setup = setup;
  // Pair k's run frame t stands at index k (N + H) + t (sequence_timeline.h).
  return painter.Frame(inputs, index - pair * (setup.frame_count + setup.hold));
}

}  // namespace vesk
