#include "core/generate/piece_frame.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

#include "core/generate/leaf_painter.h"

namespace vesk {
namespace {

// Below this height a frame is painted by one thread: too few bands to share.
constexpr int kMinRowsForThreads = 4 * kBandRows;
constexpr int kMaxAutoThreads = 4;

// Takes the leaves of the recursion and paints them on one painter's rows.
template <PieceKind kKind>
class PieceSink {
 public:
  PieceSink(LeafPainter& painter, const Bitmap& first, const Bitmap& second,
            const BlendTable& blend)
      : painter_(painter), first_(first), second_(second), blend_(blend) {}

  bool Skip(const Corners& g) const { return painter_.Skip(g); }

  void Leaf(const Corners& g, Point sample_first, Point sample_second) {
    Color c = first_.Pixel(sample_first.x, sample_first.y);
    if constexpr (kKind == PieceKind::kMorph) {
      // An outside sample (all bits set) enters the blend as white.
      c = BlendWithTable(blend_, c, second_.Pixel(sample_second.x, sample_second.y));
    } else {
      (void)sample_second;
      // The distortion hands an outside sample to the fill unchanged, which
      // the drawing surface reads as the system colour that answers black.
      if (c == kInvalidColor) c = kBlack;
    }
    painter_.Paint(g, c);
  }

  void AfterSplit() {}
  void BeforeSplit() {}

 private:
  LeafPainter& painter_;
  const Bitmap& first_;
  const Bitmap& second_;
  const BlendTable& blend_;
};

struct TriangleWork {
  Corners g;
  std::uint32_t depth;
};

TriangleWork WorkOf(const PieceFrame& frame, const TrianglePositions& tri) {
  const Corners& s = tri.first;
  const Corners& d = tri.second;
  TriangleWork work;
  work.g = Corners{InBetween(s.p0, d.p0, frame.t, frame.n), InBetween(s.p1, d.p1, frame.t, frame.n),
                   InBetween(s.p2, d.p2, frame.t, frame.n)};
  const std::int32_t area = TriangleArea(work.g.p0, work.g.p1, work.g.p2);
  work.depth = static_cast<std::uint32_t>(area / frame.precision);
  return work;
}

// Paints triangle k of the frame on one painter's rows.
void PaintTriangle(const PieceFrame& frame, const BlendTable& blend, LeafPainter& painter,
                   std::size_t k) {
  const TrianglePositions& tri = frame.triangles[k];
  const TriangleWork work = WorkOf(frame, tri);
  const Bitmap& second = frame.second != nullptr ? *frame.second : *frame.first;
  if (frame.kind == PieceKind::kMorph) {
    PieceSink<PieceKind::kMorph> sink(painter, *frame.first, second, blend);
    MorphTriangle(tri.first, tri.second, work.g, work.depth, sink);
  } else {
    PieceSink<PieceKind::kDistortion> sink(painter, *frame.first, second, blend);
    DistortTriangle(tri.first, work.g, work.depth, sink);
  }
}

int ChooseBands(const PieceFrame& frame, const Bitmap& vesk) {
  int threads = frame.painting_threads;
  if (threads <= 0) {
    threads = static_cast<int>(std::min<unsigned>(std::thread::hardware_concurrency(),
                                                  kMaxAutoThreads));
  }
  threads = std::clamp(threads, 1, kMaxPaintingBands);
  if (vesk.Height() < kMinRowsForThreads || frame.triangles.size() < 2) return 1;
  return threads;
}

// Helper threads that paint the triangles the calling thread releases, each
// on its own bands. Joined when the frame ends, whatever way it ends.
class Helpers {
 public:
  Helpers(const PieceFrame& frame, const BlendTable& blend, Bitmap& vesk, int bands)
      : frame_(frame), blend_(blend), vesk_(vesk) {
    try {
      for (int band = 1; band < bands; ++band) {
        threads_.emplace_back([this, band, bands] { Work(band, bands); });
      }
    } catch (const std::system_error&) {
      Finish();  // no helpers after all: the caller paints every row
    }
  }
  ~Helpers() { Finish(); }
  Helpers(const Helpers&) = delete;
  Helpers& operator=(const Helpers&) = delete;

  bool Running() const { return !threads_.empty(); }
  // Triangles 0 .. count - 1 may be painted.
  void Release(int count) { released_.store(count, std::memory_order_release); }
  void Finish() {
    closed_.store(true, std::memory_order_release);
    for (std::thread& thread : threads_) thread.join();
    threads_.clear();
  }

 private:
  void Work(int band, int bands) {
    LeafPainter painter(vesk_, band, bands);
    int k = 0;
    int idle = 0;
    for (;;) {
      if (k < released_.load(std::memory_order_acquire)) {
        PaintTriangle(frame_, blend_, painter, static_cast<std::size_t>(k));
        ++k;
        idle = 0;
        continue;
      }
      if (closed_.load(std::memory_order_acquire)) {
        if (k < released_.load(std::memory_order_acquire)) continue;
        return;
      }
      if (++idle > 64) std::this_thread::yield();
    }
  }

  const PieceFrame& frame_;
  const BlendTable& blend_;
  Bitmap& vesk_;
  std::atomic<int> released_{0};
  std::atomic<bool> closed_{false};
  std::vector<std::thread> threads_;
};

}  // namespace

BlendTable MakeBlendTable(int t, int n) {
  BlendTable table;
  for (int d = -255; d <= 255; ++d) {
    table.delta[d + 255] = static_cast<int>(std::int64_t{d} * t / n);
  }
  return table;
}

int PaintPieceFrame(const PieceFrame& frame, Bitmap& vesk, RunProtocol& protocol) {
  const BlendTable blend = MakeBlendTable(frame.t, frame.n);
  const std::size_t count = frame.triangles.size();
  const int bands = ChooseBands(frame, vesk);
  Helpers helpers(frame, blend, vesk, bands);
  LeafPainter painter = helpers.Running() ? LeafPainter(vesk, 0, bands) : LeafPainter(vesk);

  int painted = 0;
  for (std::size_t k = 0; k < count; ++k) {
    if (protocol.CancelRequested()) break;
    helpers.Release(static_cast<int>(k + 1));
    protocol.InnerBar(static_cast<int>((k + 1) * 100 / count));
    protocol.ProcessMessages();
    const std::uint64_t splits = SplitCount(WorkOf(frame, frame.triangles[k]).depth);
    for (std::uint64_t i = 0; i < splits; ++i) protocol.ProcessMessages();
    PaintTriangle(frame, blend, painter, k);
    ++painted;
  }
  helpers.Finish();
  return painted;
}

}  // namespace vesk
