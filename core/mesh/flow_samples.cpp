#include "core/mesh/flow_samples.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace vesk {
namespace {

// The places along one side of `extent` pixels.
std::vector<int> Places(int extent, int step, int inset) {
  const int from = inset, to = extent - 1 - inset;
  if (to - from < std::max(step, 1)) return {(extent - 1) / 2};
  const int gaps = (to - from) / std::max(step, 1);
  std::vector<int> places;
  for (int k = 0; k <= gaps; ++k) {
    places.push_back(from + static_cast<int>(std::lround(double(to - from) * k / gaps)));
  }
  return places;
}

}  // namespace

SampleGrid SampleGridOf(ImageSize size, int step, int inset) {
  SampleGrid grid;
  if (size.width < 1 || size.height < 1) return grid;
  const std::vector<int> xs = Places(size.width, step, inset);
  const std::vector<int> ys = Places(size.height, step, inset);
  for (std::size_t j = 0; j < ys.size(); ++j) {
    for (std::size_t i = 0; i < xs.size(); ++i) {
      const bool edge = j == 0 || j + 1 == ys.size() || i == 0 || i + 1 == xs.size();
      (edge ? grid.edges : grid.inner).push_back({double(xs[i]), double(ys[j])});
    }
  }
  return grid;
}

std::vector<PicturePoint> TowardsHighest(std::span<const PicturePoint> samples, FieldView field,
                                         int radius) {
  std::vector<PicturePoint> moved;
  moved.reserve(samples.size());
  for (const PicturePoint& p : samples) {
    const long x = std::lround(p.x), y = std::lround(p.y);
    if (x < 0 || y < 0 || x >= field.width || y >= field.height) {
      moved.push_back(p);
      continue;
    }
    long best_x = x, best_y = y;
    auto value = [&](long u, long v) {
      return field.values[static_cast<std::size_t>(v) * field.width + u];
    };
    const long top = std::max(0L, y - radius), bottom = std::min<long>(field.height - 1, y + radius);
    const long left = std::max(0L, x - radius), right = std::min<long>(field.width - 1, x + radius);
    for (long v = top; v <= bottom; ++v) {
      for (long u = left; u <= right; ++u) {
        const float here = value(u, v), best = value(best_x, best_y);
        const bool nearer = (u - x) * (u - x) + (v - y) * (v - y) <
                            (best_x - x) * (best_x - x) + (best_y - y) * (best_y - y);
        if (here > best || (here == best && nearer)) best_x = u, best_y = v;
      }
    }
    moved.push_back({double(best_x), double(best_y)});
  }
  return moved;
}

std::vector<PointPair> ConsistentFlowPairs(FlowView forward, FlowView backward,
                                           std::span<const PicturePoint> samples,
                                           double tolerance) {
  std::vector<PointPair> pairs;
  auto at = [](FlowView flow, long x, long y) {
    return flow.xy + 2 * (static_cast<std::size_t>(y) * flow.width + x);
  };
  for (const PicturePoint& p : samples) {
    const long x = std::lround(p.x), y = std::lround(p.y);
    if (x < 0 || y < 0 || x >= forward.width || y >= forward.height) continue;
    const float* there = at(forward, x, y);
    const double qx = p.x + there[0], qy = p.y + there[1];
    const long bx = std::lround(qx), by = std::lround(qy);
    if (bx < 0 || by < 0 || bx >= backward.width || by >= backward.height) continue;
    const float* back = at(backward, bx, by);
    if (std::hypot(there[0] + back[0], there[1] + back[1]) > tolerance) continue;
    pairs.push_back({p, {qx, qy}});
  }
  return pairs;
}

}  // namespace vesk
