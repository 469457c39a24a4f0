// Refinement at full size: pyramidal Lucas-Kanade tracking (two pyramid
// levels, so it corrects what the reduced copies could not see) of each
// first position, started at its second position, then tracked back; a
// point moves only when the way back ends within half a pixel of its start
// and the move stays within reach. Tracking compares equal windows, so
// pictures of different sizes keep their positions.
//
// Face points are tracked too: the shape predictor places each face on its
// own, a few tenths of a pixel to a few pixels off where the other picture
// has the same spot, and that shows wherever a face is sharp. Landmarks
// sit on small, sharp features (eye corners, lips) and are tracked with a
// small window, so the window holds the feature and not its neighbours;
// the forehead points are placed from the face's geometry, often several
// pixels off, and need the larger window to find their way. Two different
// faces do not track back (of the 80 points of the two example portraits
// cut to one size, none did), so there the points stay as placed.
#include <algorithm>
#include <cmath>
#include <tuple>
#include <opencv2/video/tracking.hpp>

#include "match/match_steps.h"

namespace vesk::match_steps {
namespace {

constexpr int kLevels = 2;
constexpr double kRoundTrip = 0.5;
constexpr int kWindow = 21;
constexpr int kLandmarkWindow = 11;
// How far a face point may move, in eye-corner distances (landmarks 36 to 45).
constexpr double kLandmarkReach = 0.1;
constexpr double kForeheadReach = 0.4;

cv::Mat View(const GreyPicture& picture) {
  return cv::Mat(picture.height, picture.width, CV_8UC1,
                 const_cast<std::uint8_t*>(picture.pixels.data()));
}

double Distance(PicturePoint a, PicturePoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

// The full-size pictures' pyramids, built once for every tracking.
struct Pyramids {
  std::vector<cv::Mat> first, second;
};

Pyramids PyramidsOf(const WorkPicture& first, const WorkPicture& second) {
  Pyramids pyramids;
  const cv::Size window(kWindow, kWindow);  // the largest window used
  cv::buildOpticalFlowPyramid(View(first.full), pyramids.first, window, kLevels);
  cv::buildOpticalFlowPyramid(View(second.full), pyramids.second, window, kLevels);
  return pyramids;
}

// Where each pair's first position tracks to on the second picture from
// its second position, with a `side` x `side` window; nothing for a point
// lost or not back within kRoundTrip.
std::vector<std::optional<PicturePoint>> Track(const Pyramids& pyramids,
                                               std::span<const PointPair> pairs, int side) {
  std::vector<std::optional<PicturePoint>> tracked(pairs.size());
  if (pairs.empty()) return tracked;
  std::vector<cv::Point2f> start, there;
  for (const PointPair& pair : pairs) {
    start.emplace_back(float(pair.first.x), float(pair.first.y));
    there.emplace_back(float(pair.second.x), float(pair.second.y));
  }
  const cv::Size window(side, side);
  const cv::TermCriteria until(cv::TermCriteria::COUNT | cv::TermCriteria::EPS, 30, 0.01);
  std::vector<cv::Point2f> back = start;
  std::vector<std::uint8_t> found, returned;
  std::vector<float> error;
  cv::calcOpticalFlowPyrLK(pyramids.first, pyramids.second, start, there, found, error, window,
                           kLevels, until, cv::OPTFLOW_USE_INITIAL_FLOW);
  cv::calcOpticalFlowPyrLK(pyramids.second, pyramids.first, there, back, returned, error, window,
                           kLevels, until, cv::OPTFLOW_USE_INITIAL_FLOW);
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    if (found[i] && returned[i] && cv::norm(back[i] - start[i]) <= kRoundTrip) {
      tracked[i] = PicturePoint{there[i].x, there[i].y};
    }
  }
  return tracked;
}

// Each matched point's first position rounded to a pixel (its second moved
// alike), tracked, and moved when it tracks within what the reduced copies
// could have missed.
std::vector<bool> RefineMatched(const WorkPicture& first, const WorkPicture& second,
                                const Pyramids* pyramids, std::vector<PointPair>& pairs) {
  for (PointPair& pair : pairs) {
    const double x = std::round(pair.first.x), y = std::round(pair.first.y);
    pair.second = {pair.second.x + x - pair.first.x, pair.second.y + y - pair.first.y};
    pair.first = {x, y};
  }
  std::vector<bool> confirmed(pairs.size(), false);
  if (!pyramids) return confirmed;
  const double reach =
      2 + 2 / std::min({first.scale_x, first.scale_y, second.scale_x, second.scale_y});
  const auto tracked = Track(*pyramids, pairs, kWindow);
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    if (tracked[i] && Distance(*tracked[i], pairs[i].second) <= reach) {
      pairs[i].second = *tracked[i];
      confirmed[i] = true;
    }
  }
  return confirmed;
}

void RefineFace(const Pyramids& pyramids, double eyes, std::vector<PointPair>& pairs) {
  const std::size_t landmarks = std::min(pairs.size(), kFaceLandmarkCount);
  for (const auto& [from, to, window, reach] :
       {std::tuple{std::size_t{0}, landmarks, kLandmarkWindow, kLandmarkReach},
        std::tuple{landmarks, pairs.size(), kWindow, kForeheadReach}}) {
    const auto part = std::span(pairs).subspan(from, to - from);
    const auto tracked = Track(pyramids, part, window);
    for (std::size_t i = 0; i < part.size(); ++i) {
      if (tracked[i] && Distance(*tracked[i], part[i].second) <= eyes * reach) {
        part[i].second = *tracked[i];
      }
    }
  }
}

}  // namespace

void RefineAtFullSize(const WorkPicture& first, const WorkPicture& second, Refinement& points) {
  std::optional<Pyramids> pyramids;
  if (first.full.width == second.full.width && first.full.height == second.full.height &&
      (!points.face.empty() || !points.matched.empty())) {
    pyramids = PyramidsOf(first, second);
  }
  points.confirmed = RefineMatched(first, second, pyramids ? &*pyramids : nullptr, points.matched);
  if (pyramids && !points.face.empty()) RefineFace(*pyramids, points.eyes, points.face);
}

}  // namespace vesk::match_steps
