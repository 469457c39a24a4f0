#include "core/mesh/flow_samples.h"

#include <cmath>
#include <cstddef>

namespace vesk {

std::vector<PointPair> ConsistentFlowPairs(FlowView forward, FlowView backward, int step,
                                           double tolerance, std::span<const std::uint8_t> usable) {
  std::vector<PointPair> pairs;
  if (step < 1) return pairs;
  auto at = [](FlowView flow, int x, int y) {
    return flow.xy + 2 * (static_cast<std::size_t>(y) * flow.width + x);
  };
  for (int y = step / 2; y < forward.height; y += step) {
    for (int x = step / 2; x < forward.width; x += step) {
      if (!usable.empty() && usable[static_cast<std::size_t>(y) * forward.width + x] == 0) {
        continue;
      }
      const float* there = at(forward, x, y);
      const double qx = x + there[0], qy = y + there[1];
      const long bx = std::lround(qx), by = std::lround(qy);
      if (bx < 0 || by < 0 || bx >= backward.width || by >= backward.height) continue;
      const float* back = at(backward, static_cast<int>(bx), static_cast<int>(by));
      if (std::hypot(there[0] + back[0], there[1] + back[1]) > tolerance) continue;
      pairs.push_back({{double(x), double(y)}, {qx, qy}});
    }
  }
  return pairs;
}

}  // namespace vesk
