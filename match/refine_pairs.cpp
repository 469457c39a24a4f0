// Refinement at full size: pyramidal Lucas-Kanade tracking (21 x 21 window,
// two pyramid levels, so it corrects what the reduced copies could not
// see) of each rounded first position, started at its matched second
// position, then tracked back; a point is moved only when the way back
// ends within half a pixel of its start and the move stays within what the
// reduction could have missed. Tracking compares equal windows, so pictures
// of different sizes keep the matched positions.
#include <algorithm>
#include <cmath>
#include <opencv2/video/tracking.hpp>

#include "match/match_steps.h"

namespace vesk::match_steps {
namespace {

constexpr int kLevels = 2;
constexpr double kRoundTrip = 0.5;

cv::Mat View(const GreyPicture& picture) {
  return cv::Mat(picture.height, picture.width, CV_8UC1,
                 const_cast<std::uint8_t*>(picture.pixels.data()));
}

}  // namespace

void RefineAtFullSize(const WorkPicture& first, const WorkPicture& second,
                      std::vector<PointPair>& pairs) {
  std::vector<cv::Point2f> start, guess;
  for (PointPair& pair : pairs) {
    const double x = std::round(pair.first.x), y = std::round(pair.first.y);
    pair.second = {pair.second.x + x - pair.first.x, pair.second.y + y - pair.first.y};
    pair.first = {x, y};
    start.emplace_back(float(x), float(y));
    guess.emplace_back(float(pair.second.x), float(pair.second.y));
  }
  const bool same_size =
      first.full.width == second.full.width && first.full.height == second.full.height;
  if (pairs.empty() || !same_size) return;
  const cv::Size window(21, 21);
  const cv::TermCriteria until(cv::TermCriteria::COUNT | cv::TermCriteria::EPS, 30, 0.01);
  std::vector<cv::Mat> pyramid1, pyramid2;
  cv::buildOpticalFlowPyramid(View(first.full), pyramid1, window, kLevels);
  cv::buildOpticalFlowPyramid(View(second.full), pyramid2, window, kLevels);
  std::vector<cv::Point2f> there = guess, back = start;
  std::vector<std::uint8_t> found, returned;
  std::vector<float> error;
  cv::calcOpticalFlowPyrLK(pyramid1, pyramid2, start, there, found, error, window, kLevels, until,
                           cv::OPTFLOW_USE_INITIAL_FLOW);
  cv::calcOpticalFlowPyrLK(pyramid2, pyramid1, there, back, returned, error, window, kLevels, until,
                           cv::OPTFLOW_USE_INITIAL_FLOW);
  // What the reduced copies could have missed, in full-size pixels.
  const double reach =
      2 + 2 / std::min({first.scale_x, first.scale_y, second.scale_x, second.scale_y});
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    if (!found[i] || !returned[i]) continue;
    if (cv::norm(back[i] - start[i]) > kRoundTrip || cv::norm(there[i] - guess[i]) > reach) {
      continue;
    }
    pairs[i].second = {there[i].x, there[i].y};
  }
}

}  // namespace vesk::match_steps
