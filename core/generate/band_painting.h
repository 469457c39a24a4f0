// Painting one frame in bands of rows shared out among threads, for the
// frame painters (piece_frame.cpp, smooth_frame.cpp).
//
// Each band keeps how far it got; a thread locks a band, paints the released
// triangles it has not painted yet, in order, on that band's rows, and
// moves on to the next band with work. Triangles are released one by one by
// the thread that runs the protocol, once the cancel poll before each has
// passed, so helpers paint while it is still busy with the protocol. A
// thread the system puts aside holds up nothing but the one band it holds.
// Every row sees the triangles in list order, so the frame does not depend
// on the number of threads.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "core/generate/run_protocol.h"

namespace vesk {

// When threads share a frame, it is cut into kBandsPerThread bands of rows
// per thread: enough for a free thread to take over the bands of one the
// system puts aside, few enough that little work goes to triangles crossing
// a band's edge (those are clipped by both bands).
inline constexpr int kBandsPerThread = 3;

// Threads that paint a frame: `requested`, or with 0 one per processor core
// (at most 4), at most 16. Frames lower than 128 rows or with fewer than two
// triangles are painted by one thread.
inline int PaintingThreads(int requested, int height, std::size_t triangles) {
  constexpr int kMinRowsForThreads = 128;
  constexpr unsigned kMaxAutoThreads = 4;
  constexpr int kMaxPaintingThreads = 16;
  int threads = requested;
  if (threads <= 0) {
    threads = static_cast<int>(std::min(std::thread::hardware_concurrency(), kMaxAutoThreads));
  }
  threads = std::clamp(threads, 1, kMaxPaintingThreads);
  if (height < kMinRowsForThreads || triangles < 2) return 1;
  return threads;
}

// `Painter` paints on one band's rows: Begin() once before anything else,
// Paint(k) for triangles k = 0, 1, ... in order, End() once after the last.
template <class Painter>
class BandPainting {
 public:
  // `make(first_row, end_row)` gives the painter of each band.
  template <class Make>
  BandPainting(int height, int threads, Make make)
      : bands_(static_cast<std::size_t>(
            std::clamp(threads * kBandsPerThread, 1, std::max(height, 1)))) {
    // Rows shared out evenly, so every band starts and ends inside the frame.
    const int count = static_cast<int>(bands_.size());
    for (int b = 0; b < count; ++b) {
      bands_[static_cast<std::size_t>(b)].painter.emplace(
          make(static_cast<int>(std::int64_t{b} * height / count),
               static_cast<int>(std::int64_t{b + 1} * height / count)));
    }
    try {
      for (int i = 1; i < threads; ++i) {
        threads_.emplace_back([this, i] { Sweep(i); });
      }
    } catch (const std::system_error&) {
      // Fewer helpers: the others paint their share.
    }
  }
  ~BandPainting() {
    Close();
    Join();
  }
  BandPainting(const BandPainting&) = delete;
  BandPainting& operator=(const BandPainting&) = delete;

  // Triangles 0 .. count - 1 may be painted.
  void Release(int count) { released_.store(count, std::memory_order_release); }
  // No more triangles come.
  void Close() { closed_.store(true, std::memory_order_release); }
  // The calling thread helps until every band is done, then waits for the rest.
  void Finish() {
    Close();
    Sweep(0);
    Join();
  }

 private:
  struct Band {
    std::optional<Painter> painter;
    bool started = false;
    int painted = 0;  // triangles 0 .. painted - 1 are on this band
    bool done = false;
    std::atomic<bool> busy{false};
  };

  void Join() {
    for (std::thread& thread : threads_) thread.join();
    threads_.clear();
  }

  // Goes round the bands, starting at a place of its own, until all are done.
  void Sweep(int start) {
    const int count = static_cast<int>(bands_.size());
    int idle = 0;
    for (;;) {
      bool all_done = true;
      bool worked = false;
      for (int i = 0; i < count; ++i) {
        Band& band = bands_[(start + i) % count];
        if (band.busy.exchange(true, std::memory_order_acquire)) {
          all_done = false;
          continue;
        }
        // Read closed first: once it is set, released is final.
        const bool closed = closed_.load(std::memory_order_acquire);
        const int released = released_.load(std::memory_order_acquire);
        if (!band.done) {
          if (!band.started) {
            band.painter->Begin();
            band.started = true;
            worked = true;
          }
          while (band.painted < released) {
            band.painter->Paint(static_cast<std::size_t>(band.painted));
            ++band.painted;
            worked = true;
          }
          band.done = closed;
          if (band.done) band.painter->End();
        }
        all_done = all_done && band.done;
        band.busy.store(false, std::memory_order_release);
      }
      if (all_done) return;
      if (worked) {
        idle = 0;
      } else if (++idle > 16) {
        std::this_thread::yield();
      }
    }
  }

  std::vector<Band> bands_;
  std::atomic<int> released_{0};
  std::atomic<bool> closed_{false};
  std::vector<std::thread> threads_;
};

// Paints a frame's `count` triangles with the frame painters' protocol: for
// each triangle k the calling thread stops the frame if CancelRequested(),
// then calls InnerBar((k + 1) * 100 / count), ProcessMessages() and
// `messages(k)` (the painter's own further message processing). A triangle
// is painted only once its poll has passed: by bands of rows on the
// PaintingThreads(`threads`, ...) threads, or with one thread by the
// calling thread right after its messages. `make(first_row, end_row)` gives
// a band's painter. Returns the number of triangles painted.
template <class Make, class Messages>
int PaintTriangles(int height, std::size_t count, int requested_threads, Make make,
                   RunProtocol& protocol, Messages messages) {
  using Painter = decltype(make(0, 0));
  const int threads = PaintingThreads(requested_threads, height, count);
  std::optional<BandPainting<Painter>> bands;
  std::optional<Painter> whole;
  if (threads > 1) {
    bands.emplace(height, threads, make);
  } else {
    whole.emplace(make(0, height));
    whole->Begin();
  }
  int painted = 0;
  for (std::size_t k = 0; k < count; ++k) {
    if (protocol.CancelRequested()) break;
    if (bands) bands->Release(static_cast<int>(k + 1));
    protocol.InnerBar(static_cast<int>((k + 1) * 100 / count));
    protocol.ProcessMessages();
    messages(k);
    if (whole) whole->Paint(k);
    ++painted;
  }
  if (bands) bands->Finish();
  if (whole) whole->End();
  return painted;
}

}  // namespace vesk
