#include "core/generate/piece_frame.h"

#include <algorithm>

#include "core/generate/band_painting.h"
#include "core/generate/leaf_painter.h"

namespace vesk {
namespace {

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

// The fast form of MorphTriangle / DistortTriangle for corners that keep
// every coordinate sum within 32 bits (all corners within +-(2^30 - 1)): the
// same pieces in the same order. Clipping is decided per sub-triangle: once
// a piece lies wholly on the painter's rows inside the bitmap, nothing cut
// from it is clipped, and pieces of up to kBatchPieces leaves are done in two
// light passes (colours, then shapes) with the last two halvings written out.
//
// kSourcesInside: the source triangles lie inside their pictures, so every
// sample point does (it lies between corners) and halving non-negative
// coordinates truncates like a shift. In-between corners of a piece inside
// the bitmap are non-negative anyway.
//
// kMasked: only the pixels of the wanted blocks matter, so a piece that
// meets none of them is left out with all that is cut from it (pieces only
// overwrite, so this changes no wanted pixel), and pieces are halved down to
// kMaskedBatchPieces leaves before they are painted in two passes.
template <PieceKind kKind, bool kSourcesInside, bool kMasked>
class FastPieces {
 public:
  FastPieces(LeafPainter& painter, const Bitmap& first, const Bitmap& second,
             const BlendTable& blend, const BlockMask* wanted)
      : painter_(painter),
        wanted_(wanted),
        first_(first.Row(0)),
        first_width_(static_cast<std::size_t>(first.Width())),
        first_height_(static_cast<std::size_t>(first.Height())),
        second_(second.Row(0)),
        second_width_(static_cast<std::size_t>(second.Width())),
        second_height_(static_cast<std::size_t>(second.Height())),
        blend_(blend) {}

  // True when the fast form may take the triangle.
  static bool Fits(const Corners& s, const Corners& d, const Corners& g) {
    constexpr int kLimit = (1 << 30) - 1;
    for (const Corners* c : {&s, &d, &g}) {
      for (const Point& p : {c->p0, c->p1, c->p2}) {
        if (p.x < -kLimit || p.x > kLimit || p.y < -kLimit || p.y > kLimit) return false;
      }
    }
    return true;
  }

  void Triangle(const Corners& s, const Corners& d, const Corners& g, std::uint32_t depth) {
    Clipped(Three{s, kKind == PieceKind::kMorph ? d : s, g}, depth);
  }

 private:
  struct Three {
    Corners s;
    Corners d;
    Corners g;
  };

  static Point Mid(Point p, Point q) { return Point{(p.x + q.x) / 2, (p.y + q.y) / 2}; }
  static Point MidInside(Point p, Point q) { return Point{(p.x + q.x) >> 1, (p.y + q.y) >> 1}; }
  static Point MidSource(Point p, Point q) {
    if constexpr (kSourcesInside) {
      return MidInside(p, q);
    } else {
      return Mid(p, q);
    }
  }

  // The halves of t: (m, 0, 1) and (m, 0, 2), m the midpoint of edge 1-2.
  static Three FirstHalf(const Three& t, Point ms, Point md, Point mg) {
    return Three{Corners{ms, t.s.p0, t.s.p1}, Corners{md, t.d.p0, t.d.p1},
                 Corners{mg, t.g.p0, t.g.p1}};
  }
  static Three SecondHalf(const Three& t, Point ms, Point md, Point mg) {
    return Three{Corners{ms, t.s.p0, t.s.p2}, Corners{md, t.d.p0, t.d.p2},
                 Corners{mg, t.g.p0, t.g.p2}};
  }

  // Sizes are pointer-sized so that the colour stores cannot alias them.
  static Color Read(const Color* pixels, std::size_t width, std::size_t height, Point p) {
    if constexpr (!kSourcesInside) {
      if (static_cast<std::size_t>(static_cast<unsigned>(p.x)) >= width ||
          static_cast<std::size_t>(static_cast<unsigned>(p.y)) >= height) {
        return kInvalidColor;
      }
    } else {
      (void)height;
    }
    return pixels[static_cast<std::size_t>(p.y) * width + static_cast<std::size_t>(p.x)];
  }

  Color Sample(Point s, Point d) const {
    const Color c1 = Read(first_, first_width_, first_height_, s);
    if constexpr (kKind == PieceKind::kMorph) {
      return BlendWithTable(blend_, c1, Read(second_, second_width_, second_height_, d));
    } else {
      (void)d;
      return c1 == kInvalidColor ? kBlack : c1;
    }
  }

  // Sub-triangles that may reach over the bitmap's border or other rows.
  void Clipped(const Three& t, std::uint32_t depth) {
    const Coverage coverage = painter_.Cover(t.g);
    if (coverage == Coverage::kNone) return;
    if (coverage == Coverage::kWhole) {
      Whole(t, depth);
      return;
    }
    if (!Wanted(t.g)) return;
    const Point ms = MidSource(t.s.p1, t.s.p2);
    const Point md = MidSource(t.d.p1, t.d.p2);
    if (depth == 0) {
      painter_.Paint(t.g, Sample(ms, md));
      return;
    }
    const Point mg = Mid(t.g.p1, t.g.p2);
    Clipped(FirstHalf(t, ms, md, mg), depth / 2);
    Clipped(SecondHalf(t, ms, md, mg), depth / 2);
  }

  // Sub-triangles wholly on this painter's rows inside the bitmap. Large
  // ones are halved here; one of at most kBatchPieces pieces is done in two
  // passes over the same halving, each light enough for the registers: the
  // leaf colours from both sources, then the leaf shapes, painted in order.
  void Whole(const Three& t, std::uint32_t depth) {
    if (!Wanted(t.g)) return;
    if (depth >= (kMasked ? kMaskedBatchPieces : kBatchPieces)) {
      const Point ms = MidSource(t.s.p1, t.s.p2);
      const Point md = MidSource(t.d.p1, t.d.p2);
      const Point mg = MidInside(t.g.p1, t.g.p2);
      Whole(FirstHalf(t, ms, md, mg), depth / 2);
      Whole(SecondHalf(t, ms, md, mg), depth / 2);
      return;
    }
    Color* colours = colours_;
    Colours(Quad{t.s.p0.x, t.s.p0.y, t.d.p0.x, t.d.p0.y},
            Quad{t.s.p1.x, t.s.p1.y, t.d.p1.x, t.d.p1.y},
            Quad{t.s.p2.x, t.s.p2.y, t.d.p2.x, t.d.p2.y}, depth, colours);
    const Color* next = colours_;
    Shapes(t.g.p0, t.g.p1, t.g.p2, depth, next);
  }

  bool Wanted(const Corners& g) const {
    if constexpr (kMasked) {
      return wanted_->Meets(std::min({g.p0.x, g.p1.x, g.p2.x}), std::min({g.p0.y, g.p1.y, g.p2.y}),
                            std::max({g.p0.x, g.p1.x, g.p2.x}), std::max({g.p0.y, g.p1.y, g.p2.y}));
    } else {
      return true;
    }
  }

  // A point of both sources at once: (s.x, s.y, d.x, d.y).
  typedef int Quad __attribute__((vector_size(16)));

  static Quad MidQuad(Quad p, Quad q) {
    if constexpr (kSourcesInside) {
      return (p + q) >> 1;
    } else {
      return (p + q) / 2;
    }
  }

  Color SampleQuad(Quad p) const { return Sample(Point{p[0], p[1]}, Point{p[2], p[3]}); }

  // The leaf colours of the halving of (q0, q1, q2), in painting order. The
  // last two halvings are written out: depth 1 gives the leaves (m, 0, 1)
  // and (m, 0, 2), sampled at mid(0, 1) and mid(0, 2); depth 2 or 3 splits
  // those once more at a = mid(0, 1) and b = mid(0, 2) into (a, m, 0),
  // (a, m, 1), (b, m, 0), (b, m, 2), sampled at mid(m, 0), mid(m, 1),
  // mid(m, 0), mid(m, 2).
  void Colours(Quad q0, Quad q1, Quad q2, std::uint32_t depth, Color*& out) const {
    const Quad m = MidQuad(q1, q2);
    if (depth >= 4) {
      Colours(m, q0, q1, depth / 2, out);
      Colours(m, q0, q2, depth / 2, out);
    } else if (depth == 0) {
      *out++ = SampleQuad(m);
    } else if (depth == 1) {
      out[0] = SampleQuad(MidQuad(q0, q1));
      out[1] = SampleQuad(MidQuad(q0, q2));
      out += 2;
    } else {
      const Color c0 = SampleQuad(MidQuad(m, q0));
      out[0] = c0;
      out[1] = SampleQuad(MidQuad(m, q1));
      out[2] = c0;
      out[3] = SampleQuad(MidQuad(m, q2));
      out += 4;
    }
  }

  // The leaf shapes of the same halving, painted with the colours in order.
  void Shapes(Point g0, Point g1, Point g2, std::uint32_t depth, const Color*& in) {
    const Point m = MidInside(g1, g2);
    if (depth >= 4) {
      Shapes(m, g0, g1, depth / 2, in);
      Shapes(m, g0, g2, depth / 2, in);
    } else if (depth == 0) {
      painter_.PaintWhole(Corners{g0, g1, g2}, *in++);
    } else if (depth == 1) {
      painter_.PaintWhole(Corners{m, g0, g1}, in[0]);
      painter_.PaintWhole(Corners{m, g0, g2}, in[1]);
      in += 2;
    } else {
      const Point a = MidInside(g0, g1);
      const Point b = MidInside(g0, g2);
      painter_.PaintWhole(Corners{a, m, g0}, in[0]);
      painter_.PaintWhole(Corners{a, m, g1}, in[1]);
      painter_.PaintWhole(Corners{b, m, g0}, in[2]);
      painter_.PaintWhole(Corners{b, m, g2}, in[3]);
      in += 4;
    }
  }

  // Largest piece count done in two passes: depth below kBatchPieces has at
  // most kBatchPieces leaves.
  static constexpr std::uint32_t kBatchPieces = 1024;
  static constexpr std::uint32_t kMaskedBatchPieces = 64;

  LeafPainter& painter_;
  const BlockMask* wanted_;
  const Color* first_;
  std::size_t first_width_;
  std::size_t first_height_;
  const Color* second_;
  std::size_t second_width_;
  std::size_t second_height_;
  const BlendTable& blend_;
  Color colours_[kBatchPieces];
};

struct TriangleWork {
  Corners g;
  std::uint32_t depth;
};

TriangleWork WorkOf(const PieceFrame& frame, const TrianglePositions& tri) {
  const Corners& s = tri.first;
  const Corners& d = tri.second;
  TriangleWork work;
  const int t = frame.shape_t;
  work.g = Corners{InBetween(s.p0, d.p0, t, frame.n), InBetween(s.p1, d.p1, t, frame.n),
                   InBetween(s.p2, d.p2, t, frame.n)};
  const std::int32_t area = TriangleArea(work.g.p0, work.g.p1, work.g.p2);
  work.depth = static_cast<std::uint32_t>(area / frame.precision);
  return work;
}

bool Inside(const Corners& c, const Bitmap& picture) {
  for (const Point& p : {c.p0, c.p1, c.p2}) {
    if (!picture.Contains(p.x, p.y)) return false;
  }
  return true;
}

// One triangle by the fast form; `sources_inside` when the source triangles
// the engine samples lie inside their pictures.
template <PieceKind kKind, bool kMasked>
void PaintFast(bool sources_inside, LeafPainter& painter, const PieceFrame& frame,
               const Bitmap& second, const BlendTable& blend, const TrianglePositions& tri,
               const TriangleWork& work) {
  if (sources_inside) {
    FastPieces<kKind, true, kMasked>(painter, *frame.first, second, blend, frame.wanted)
        .Triangle(tri.first, tri.second, work.g, work.depth);
  } else {
    FastPieces<kKind, false, kMasked>(painter, *frame.first, second, blend, frame.wanted)
        .Triangle(tri.first, tri.second, work.g, work.depth);
  }
}

template <PieceKind kKind>
void PaintFast(bool sources_inside, LeafPainter& painter, const PieceFrame& frame,
               const Bitmap& second, const BlendTable& blend, const TrianglePositions& tri,
               const TriangleWork& work) {
  if (frame.wanted != nullptr) {
    PaintFast<kKind, true>(sources_inside, painter, frame, second, blend, tri, work);
  } else {
    PaintFast<kKind, false>(sources_inside, painter, frame, second, blend, tri, work);
  }
}

// Paints triangle k of the frame on one painter's rows.
void PaintTriangle(const PieceFrame& frame, const BlendTable& blend, LeafPainter& painter,
                   std::size_t k) {
  const TrianglePositions& tri = frame.triangles[k];
  const TriangleWork work = WorkOf(frame, tri);
  const Bitmap& second = frame.second != nullptr ? *frame.second : *frame.first;
  if (FastPieces<PieceKind::kMorph, false, false>::Fits(tri.first, tri.second, work.g)) {
    if (frame.kind == PieceKind::kMorph) {
      PaintFast<PieceKind::kMorph>(Inside(tri.first, *frame.first) && Inside(tri.second, second),
                                   painter, frame, second, blend, tri, work);
    } else {
      // The distortion's second-image corners only move the pieces.
      PaintFast<PieceKind::kDistortion>(Inside(tri.first, *frame.first), painter, frame, second,
                                        blend, tri, work);
    }
    return;
  }
  if (frame.kind == PieceKind::kMorph) {
    PieceSink<PieceKind::kMorph> sink(painter, *frame.first, second, blend);
    MorphTriangle(tri.first, tri.second, work.g, work.depth, sink);
  } else {
    PieceSink<PieceKind::kDistortion> sink(painter, *frame.first, second, blend);
    DistortTriangle(tri.first, work.g, work.depth, sink);
  }
}

// The painter of one band of rows.
class PieceBand {
 public:
  PieceBand(const PieceFrame& frame, const BlendTable& blend, Bitmap& vesk, int first_row,
            int end_row)
      : frame_(frame), blend_(blend), painter_(vesk, first_row, end_row) {}
  void Begin() {}
  void Paint(std::size_t k) { PaintTriangle(frame_, blend_, painter_, k); }
  void End() {}

 private:
  const PieceFrame& frame_;
  const BlendTable& blend_;
  LeafPainter painter_;
};

}  // namespace

PieceFrame PieceFrameAt(PieceFrame frame, const TimingCurves& curves, int t) {
  const FramePosition at = PositionOfFrame(curves, t, frame.n);
  frame.shape_t = NearestStep(at.shape, frame.n);
  frame.colour_t = NearestStep(at.colour, frame.n);
  return frame;
}

BlendTable MakeBlendTable(int t, int n) {
  BlendTable table;
  for (int d = -255; d <= 255; ++d) {
    table.delta[d + 255] = static_cast<int>(std::int64_t{d} * t / n);
  }
  return table;
}

int PaintPieceFrame(const PieceFrame& frame, Bitmap& vesk, RunProtocol& protocol) {
  if (frame.n < 1 || frame.precision < 1 || frame.first == nullptr) return 0;
  const BlendTable blend = MakeBlendTable(frame.colour_t, frame.n);
  const std::size_t count = frame.triangles.size();
  return PaintTriangles(
      vesk.Height(), count, frame.painting_threads,
      [&](int first_row, int end_row) { return PieceBand(frame, blend, vesk, first_row, end_row); },
      protocol, [&](std::size_t k) {
        // One message processing per split of the triangle.
        const std::uint64_t splits = SplitCount(WorkOf(frame, frame.triangles[k]).depth);
        for (std::uint64_t i = 0; i < splits; ++i) protocol.ProcessMessages();
      });
}

}  // namespace vesk
