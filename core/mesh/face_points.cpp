#include "core/mesh/face_points.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <utility>

namespace vesk {

std::array<PicturePoint, kForeheadPointCount> ForeheadPoints(FaceShape face) {
  PicturePoint centre;
  for (std::size_t i = 17; i <= 26; ++i) {
    centre.x += face[i].x / 10;
    centre.y += face[i].y / 10;
  }
  const PicturePoint chin = face[8];
  const double height = std::hypot(centre.x - chin.x, centre.y - chin.y);
  const PicturePoint up = height > 0 ? PicturePoint{(centre.x - chin.x) / height,
                                                    (centre.y - chin.y) / height}
                                     : PicturePoint{0, -1};
  // Towards the jaw's end 16 when the face is upright: up turned a quarter.
  const PicturePoint across{-up.y, up.x};
  const double half_width =
      std::abs((face[16].x - face[0].x) * across.x + (face[16].y - face[0].y) * across.y) / 2;

  std::array<PicturePoint, kForeheadPointCount> points;
  std::size_t n = 0;
  auto arc = [&](int count, double first_degrees, double width, double rise) {
    for (int k = 0; k < count; ++k) {
      // From the jaw's end 0 (180 degrees) over the top to its end 16.
      const double angle = (180 - first_degrees - k * 30) * std::numbers::pi / 180;
      const double a = width * std::cos(angle), b = rise * std::sin(angle);
      points[n++] = {centre.x + across.x * a + up.x * b, centre.y + across.y * a + up.y * b};
    }
  };
  arc(5, 30, 0.8 * half_width, 0.35 * height);
  arc(7, 0, 1.05 * half_width, 0.7 * height);
  return points;
}

std::vector<PointPair> FacePointPairs(FaceShape first, FaceShape second) {
  std::vector<PointPair> pairs;
  for (auto [from, to] : {std::pair{36, 47}, {17, 26}, {27, 35}, {48, 59}, {0, 16}, {60, 67}}) {
    for (int i = from; i <= to; ++i) pairs.push_back({first[i], second[i]});
  }
  const auto forehead1 = ForeheadPoints(first), forehead2 = ForeheadPoints(second);
  for (std::size_t i = 0; i < kForeheadPointCount; ++i) {
    pairs.push_back({forehead1[i], forehead2[i]});
  }
  return pairs;
}

int MirroredLandmark(int i) {
  // Runs numbered one way round on one side of the face and the other way
  // on the other: landmark i of a run pairs with sum - i (0: with itself).
  constexpr std::pair<int, int> kRuns[] = {{16, 16}, {26, 43},  {30, 0},   {35, 66},
                                           {39, 81}, {41, 87},  {45, 81},  {47, 87},
                                           {54, 102}, {59, 114}, {64, 124}, {67, 132}};
  for (auto [last, sum] : kRuns) {
    if (i <= last) return sum != 0 ? sum - i : i;
  }
  return i;
}

Result<std::size_t> FaceOfRank(std::span<const double> scores, int rank,
                               const std::string& picture_name) {
  if (scores.empty()) return Failure{"No face found in " + picture_name};
  if (rank < 1 || static_cast<std::size_t>(rank) > scores.size()) {
    return Failure{"Only " + std::to_string(scores.size()) +
                   (scores.size() == 1 ? " face" : " faces") + " found in " + picture_name +
                   "; face " + std::to_string(rank) + " was asked for"};
  }
  std::vector<std::size_t> order(scores.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return scores[a] > scores[b]; });
  return order[static_cast<std::size_t>(rank) - 1];
}

std::string FaceModelPath(const std::string& option, const char* variable) {
  if (!option.empty()) return option;
  if (variable != nullptr && *variable != '\0') return variable;
  return kDefaultFaceModel;
}

}  // namespace vesk
