#include "core/generate/subdivision.h"

namespace vesk {

std::int32_t TriangleArea(Point p0, Point p1, Point p2) {
  __extension__ typedef __int128 i128;
  const i128 twice = i128{p0.x} * p1.y + i128{p1.x} * p2.y + i128{p2.x} * p0.y - i128{p1.y} * p2.x -
                     i128{p0.y} * p1.x - i128{p0.x} * p2.y;
  const i128 area = (twice < 0 ? -twice : twice) / 2;
  return area > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<std::int32_t>(area);
}

}  // namespace vesk
