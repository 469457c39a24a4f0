// Test helpers for the morph and the distortion: a run protocol that records
// every call and can request the cancel at an exact point or fail a write,
// plain references of the leaf rule and of both recursions (written from the
// rules, sharing no code with the engines), and seeded random scenes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/generate/equalize.h"
#include "core/generate/generation_input.h"
#include "core/generate/piece_frame.h"
#include "core/generate/run_protocol.h"
#include "core/image/bitmap.h"
#include "core/image/raster.h"

namespace vesk::testing {

// ---- Recording protocol ---------------------------------------------------

class RecordingProtocol : public RunProtocol {
 public:
  // Events in call order; runs of ProcessMessages are kept as one "Msg xN".
  std::vector<std::string> events;
  std::vector<Bitmap> shown;
  std::vector<Bitmap> written;
  int message_calls = 0;

  // The user presses Kancel during the message processing that follows
  // InnerBar number `inner_call` (1-based, counted over the whole run) of
  // the frame whose counter is `frame`; the flag then stays set.
  void CancelDuring(int frame, int inner_call) {
    cancel_frame_ = frame;
    cancel_inner_ = inner_call;
  }
  // WriteFrame number `write_call` (1-based) fails with `message`.
  void FailWrite(int write_call, std::string message) {
    fail_write_ = write_call;
    fail_message_ = std::move(message);
  }

  void Begin() override {
    cancelled_ = false;
    Add("Begin");
  }
  void Counter(int k, int n) override {
    frame_ = k;
    inner_in_frame_ = 0;
    Add("Counter " + std::to_string(k) + "/" + std::to_string(n));
  }
  void InnerBar(int percent) override {
    ++inner_in_frame_;
    Add("Inner " + std::to_string(percent));
  }
  void ProcessMessages() override {
    ++message_calls;
    if (!events.empty() && events.back().rfind("Msg x", 0) == 0) {
      events.back() = "Msg x" + std::to_string(std::stoi(events.back().substr(5)) + 1);
    } else {
      events.push_back("Msg x1");
    }
    if (frame_ == cancel_frame_ && inner_in_frame_ == cancel_inner_) cancelled_ = true;
  }
  bool CancelRequested() override { return cancelled_; }
  void EqualizationBegin() override { Add("EqualizationBegin"); }
  void EqualizationEnd() override { Add("EqualizationEnd"); }
  void ShowFrame(const Bitmap& frame) override {
    shown.push_back(frame);
    Add("Show");
  }
  Status WriteFrame(const Bitmap& frame) override {
    ++write_calls_;
    Add("Write");
    if (write_calls_ == fail_write_) return Failure{fail_message_};
    written.push_back(frame);
    return Status::Success();
  }
  void End() override { Add("End"); }

  // Events without the equalization pass's own per-column InnerBar and Msg.
  std::vector<std::string> EventsOutsideEqualization() const {
    std::vector<std::string> out;
    bool inside = false;
    for (const std::string& e : events) {
      if (e == "EqualizationBegin") {
        inside = true;
        out.push_back(e);
      }
      if (!inside) out.push_back(e);
      if (e == "EqualizationEnd") {
        inside = false;
        out.push_back(e);
      }
    }
    return out;
  }
  // Only the events whose text starts with `prefix` (outside equalization
  // passes, whose own progress is left out).
  std::vector<std::string> Only(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& e : EventsOutsideEqualization()) {
      if (e.rfind(prefix, 0) == 0) out.push_back(e);
    }
    return out;
  }

 private:
  void Add(std::string e) { events.push_back(std::move(e)); }
  int frame_ = -1;
  int inner_in_frame_ = 0;
  int cancel_frame_ = -1000;
  int cancel_inner_ = -1;
  bool cancelled_ = false;
  int write_calls_ = 0;
  int fail_write_ = -1;
  std::string fail_message_;
};

// The settings of a run.
inline GenerationSetup RunSetup(int frames, int precision, bool equalize, int threads = 0) {
  GenerationSetup setup;
  setup.frame_count = frames;
  setup.precision = precision;
  setup.equalize = equalize;
  setup.painting_threads = threads;
  return setup;
}

// ---- Plain references ---------------------------------------------------

inline std::int64_t RefFloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if (a % b != 0 && ((a < 0) != (b < 0))) --q;
  return q;
}

// The leaf rule, pixel by pixel: the closed triangle within the corners'
// bounding box, plus the three edges as nearest-pixel lines (halves upward).
inline void RefLeaf(Bitmap& target, Point g0, Point g1, Point g2, Color c) {
  const Point g[3] = {g0, g1, g2};
  auto side = [](Point p, Point u, Point v) {
    return (std::int64_t{v.x} - p.x) * (std::int64_t{v.y} - u.y) -
           (std::int64_t{v.x} - u.x) * (std::int64_t{v.y} - p.y);
  };
  const int x_lo = std::max(std::min({g0.x, g1.x, g2.x}), 0);
  const int x_hi = std::min(std::max({g0.x, g1.x, g2.x}), target.Width() - 1);
  const int y_lo = std::max(std::min({g0.y, g1.y, g2.y}), 0);
  const int y_hi = std::min(std::max({g0.y, g1.y, g2.y}), target.Height() - 1);
  for (int y = y_lo; y <= y_hi; ++y) {
    for (int x = x_lo; x <= x_hi; ++x) {
      const Point p{x, y};
      const std::int64_t e0 = side(p, g0, g1);
      const std::int64_t e1 = side(p, g1, g2);
      const std::int64_t e2 = side(p, g2, g0);
      if ((e0 >= 0 && e1 >= 0 && e2 >= 0) || (e0 <= 0 && e1 <= 0 && e2 <= 0)) {
        target.SetPixel(x, y, c);
      }
    }
  }
  for (int i = 0; i < 3; ++i) {
    Point a = g[i];
    Point b = g[(i + 1) % 3];
    const std::int64_t dx = std::int64_t{b.x} - a.x;
    const std::int64_t dy = std::int64_t{b.y} - a.y;
    if (dx == 0 && dy == 0) {
      target.SetPixel(a.x, a.y, c);
    } else if ((dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy)) {
      if (a.x > b.x) std::swap(a, b);
      const std::int64_t ddx = std::int64_t{b.x} - a.x;
      for (std::int64_t x = a.x; x <= b.x; ++x) {
        const std::int64_t y =
            a.y + RefFloorDiv(2 * (x - a.x) * (std::int64_t{b.y} - a.y) + ddx, 2 * ddx);
        if (x >= 0 && x < target.Width() && y >= 0 && y < target.Height()) {
          target.SetPixel(static_cast<int>(x), static_cast<int>(y), c);
        }
      }
    } else {
      if (a.y > b.y) std::swap(a, b);
      const std::int64_t ddy = std::int64_t{b.y} - a.y;
      for (std::int64_t y = a.y; y <= b.y; ++y) {
        const std::int64_t x =
            a.x + RefFloorDiv(2 * (y - a.y) * (std::int64_t{b.x} - a.x) + ddy, 2 * ddy);
        if (x >= 0 && x < target.Width() && y >= 0 && y < target.Height()) {
          target.SetPixel(static_cast<int>(x), static_cast<int>(y), c);
        }
      }
    }
  }
}

inline Color RefBlend(Color c1, Color c2, int t, int n) {
  auto channel = [&](int shift) {
    const int a = static_cast<int>((c1 >> shift) & 0xFF);
    const int b = static_cast<int>((c2 >> shift) & 0xFF);
    return static_cast<Color>((a + (b - a) * t / n) & 0xFF) << shift;
  };
  return channel(0) | channel(8) | channel(16);
}

inline Point RefMid(Point p, Point q) {
  return Point{static_cast<int>((std::int64_t{p.x} + q.x) / 2),
               static_cast<int>((std::int64_t{p.y} + q.y) / 2)};
}

inline int RefArea(Point a, Point b, Point c) {
  const std::int64_t twice = std::int64_t{a.x} * b.y + std::int64_t{b.x} * c.y +
                             std::int64_t{c.x} * a.y - std::int64_t{b.y} * c.x -
                             std::int64_t{a.y} * b.x - std::int64_t{a.x} * c.y;
  return static_cast<int>((twice < 0 ? -twice : twice) / 2);
}

inline Point RefBetween(Point s, Point d, int t, int n) {
  return Point{static_cast<int>(s.x + (std::int64_t{d.x} - s.x) * t / n),
               static_cast<int>(s.y + (std::int64_t{d.y} - s.y) * t / n)};
}

// The recorder's entry for the messages processed for one triangle of frame
// t of n: one before it and one per split, so as many as it has pieces.
inline std::string TriangleMessages(const TrianglePositions& tri, int t, int n, int precision) {
  const Corners& s = tri.first;
  const Corners& d = tri.second;
  int depth = RefArea(RefBetween(s.p0, d.p0, t, n), RefBetween(s.p1, d.p1, t, n),
                      RefBetween(s.p2, d.p2, t, n)) /
              precision;
  long long pieces = 1;
  for (; depth > 0; depth /= 2) pieces *= 2;
  return "Msg x" + std::to_string(pieces);
}

// The recursion of both engines, written out plainly. Messages processed
// inside are counted in `splits`.
struct RefPainter {
  const Bitmap& first;
  const Bitmap& second;
  int t;
  int n;
  bool distortion;
  Bitmap& vesk;
  long long splits = 0;

  void Triangle(Point s0, Point s1, Point s2, Point d0, Point d1, Point d2, Point g0, Point g1,
                Point g2, int depth) {
    const Point ms = RefMid(s1, s2);
    const Point md = RefMid(d1, d2);
    const Point mg = RefMid(g1, g2);
    if (depth == 0) {
      Color c;
      if (distortion) {
        c = first.Pixel(ms.x, ms.y);
        if (c == kInvalidColor) c = kBlack;
      } else {
        c = RefBlend(first.Pixel(ms.x, ms.y), second.Pixel(md.x, md.y), t, n);
      }
      RefLeaf(vesk, g0, g1, g2, c);
      return;
    }
    Triangle(ms, s0, s1, md, d0, d1, mg, g0, g1, depth / 2);
    Triangle(ms, s0, s2, md, d0, d2, mg, g0, g2, depth / 2);
    ++splits;
  }

  // All triangles of frame t in list order (the first `count` of them).
  void Frame(const std::vector<TrianglePositions>& triangles, int precision,
             std::size_t count = static_cast<std::size_t>(-1)) {
    for (std::size_t k = 0; k < triangles.size() && k < count; ++k) {
      const Corners& s = triangles[k].first;
      const Corners& d = triangles[k].second;
      const Point g0 = RefBetween(s.p0, d.p0, t, n);
      const Point g1 = RefBetween(s.p1, d.p1, t, n);
      const Point g2 = RefBetween(s.p2, d.p2, t, n);
      Triangle(s.p0, s.p1, s.p2, d.p0, d.p1, d.p2, g0, g1, g2, RefArea(g0, g1, g2) / precision);
    }
  }
};

// What the plain reference paints for frames first_t .. last_t of n, each
// over the previous one, starting from the first image, equalized when asked.
inline std::vector<Bitmap> ReferenceFrames(PieceKind kind, const Bitmap& first,
                                           const Bitmap& second,
                                           const std::vector<TrianglePositions>& triangles, int n,
                                           int precision, bool equalize, int first_t, int last_t) {
  std::vector<Bitmap> frames;
  Bitmap vesk = first;
  RunProtocol quiet;
  for (int t = first_t; t <= last_t; ++t) {
    RefPainter ref{first, second, t, n, kind == PieceKind::kDistortion, vesk};
    ref.Frame(triangles, precision);
    if (equalize) EqualizePicture(vesk, quiet);
    frames.push_back(vesk);
  }
  return frames;
}

// ---- Scenes ---------------------------------------------------------------

// A picture with gradients and a few random rectangles, different per seed.
inline Bitmap RandomPicture(std::mt19937& rng, int width, int height) {
  Bitmap picture(width, height, kBlack);
  std::uniform_int_distribution<int> byte(0, 255);
  const int r0 = byte(rng), g0 = byte(rng), b0 = byte(rng);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      picture.SetPixel(x, y, MakeColor(r0 + x * 3, g0 + y * 5, b0 + (x ^ y)));
    }
  }
  for (int i = 0; i < 6; ++i) {
    std::uniform_int_distribution<int> px(0, std::max(width - 1, 0));
    std::uniform_int_distribution<int> py(0, std::max(height - 1, 0));
    const int x0 = px(rng), y0 = py(rng), x1 = px(rng), y1 = py(rng);
    const Color c = MakeColor(byte(rng), byte(rng), byte(rng));
    for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y) {
      for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x) picture.SetPixel(x, y, c);
    }
  }
  return picture;
}

// A grid mesh over width x height (cols x rows nodes, listed as two
// triangles per cell), second positions jittered by up to `jitter` pixels;
// corners may also lie outside the pictures.
inline std::vector<TrianglePositions> GridTriangles(std::mt19937& rng, int width, int height,
                                                    int cols, int rows, int jitter,
                                                    int margin = 0) {
  std::uniform_int_distribution<int> shake(-jitter, jitter);
  std::vector<Point> first;
  std::vector<Point> second;
  for (int j = 0; j < rows; ++j) {
    for (int i = 0; i < cols; ++i) {
      const Point p{-margin + i * (width - 1 + 2 * margin) / (cols - 1),
                    -margin + j * (height - 1 + 2 * margin) / (rows - 1)};
      first.push_back(p);
      second.push_back(Point{p.x + shake(rng), p.y + shake(rng)});
    }
  }
  std::vector<TrianglePositions> triangles;
  auto add = [&](int a, int b, int c) {
    triangles.push_back(TrianglePositions{Corners{first[a], first[b], first[c]},
                                          Corners{second[a], second[b], second[c]}});
  };
  for (int j = 0; j + 1 < rows; ++j) {
    for (int i = 0; i + 1 < cols; ++i) {
      const int a = j * cols + i;
      add(a, a + 1, a + cols);
      add(a + 1, a + cols + 1, a + cols);
    }
  }
  return triangles;
}

// Triangles with corners anywhere in (and somewhat around) the pictures,
// overlapping each other, some degenerate.
inline std::vector<TrianglePositions> ScatteredTriangles(std::mt19937& rng, int width, int height,
                                                         int count) {
  std::uniform_int_distribution<int> px(-width / 4, width + width / 4);
  std::uniform_int_distribution<int> py(-height / 4, height + height / 4);
  std::vector<TrianglePositions> triangles;
  for (int i = 0; i < count; ++i) {
    TrianglePositions t;
    t.first = Corners{Point{px(rng), py(rng)}, Point{px(rng), py(rng)}, Point{px(rng), py(rng)}};
    t.second = Corners{Point{px(rng), py(rng)}, Point{px(rng), py(rng)}, Point{px(rng), py(rng)}};
    if (i % 7 == 3) t.first.p2 = t.first.p1;  // degenerate on the first image
    triangles.push_back(t);
  }
  return triangles;
}

}  // namespace vesk::testing
