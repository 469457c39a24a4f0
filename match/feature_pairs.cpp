// Features: SIFT keypoints and descriptors of both reduced pictures, each
// feature of the first matched to its two nearest on the second (exhaustive
// search, so the result does not vary from run to run), kept when the
// nearest is clearly nearer than the second (Lowe's ratio test), then a
// RANSAC homography whose threshold, 3 % of the picture's diagonal, throws
// out matches that point somewhere else entirely but keeps those of a
// smoothly bent or slightly turned view.
#include <algorithm>
#include <cmath>
#include <opencv2/calib3d.hpp>
#include <opencv2/features2d.hpp>

#include "match/match_steps.h"

namespace vesk::match_steps {
namespace {

constexpr int kMaxFeatures = 2000;
constexpr float kRatio = 0.75f;
constexpr double kThresholdOfDiagonal = 0.03;
constexpr std::size_t kMinMatches = 12;

cv::Mat View(const GreyPicture& picture) {
  return cv::Mat(picture.height, picture.width, CV_8UC1,
                 const_cast<std::uint8_t*>(picture.pixels.data()));
}

struct Candidate {
  cv::Point2f first;
  cv::Point2f second;
  float ratio = 0;
};

}  // namespace

Result<std::vector<PointPair>> FeaturePairs(const WorkPicture& first, const WorkPicture& second,
                                            const MatchOptions& options) {
  cv::Ptr<cv::SIFT> sift = cv::SIFT::create(kMaxFeatures);
  std::vector<cv::KeyPoint> keys1, keys2;
  cv::Mat descriptors1, descriptors2;
  sift->detectAndCompute(View(first.reduced), cv::noArray(), keys1, descriptors1);
  if (!Continue(options, 40)) return Failure{kMatchCancelled};
  sift->detectAndCompute(View(second.reduced), cv::noArray(), keys2, descriptors2);
  if (!Continue(options, 60)) return Failure{kMatchCancelled};

  std::vector<Candidate> candidates;
  if (keys1.size() >= 2 && keys2.size() >= 2) {
    std::vector<std::vector<cv::DMatch>> nearest;
    cv::BFMatcher(cv::NORM_L2).knnMatch(descriptors1, descriptors2, nearest, 2);
    for (const auto& two : nearest) {
      if (two.size() == 2 && two[0].distance < kRatio * two[1].distance) {
        candidates.push_back({keys1[two[0].queryIdx].pt, keys2[two[0].trainIdx].pt,
                              two[0].distance / std::max(two[1].distance, 1e-6f)});
      }
    }
  }
  std::vector<Candidate> kept;
  if (candidates.size() >= kMinMatches) {
    std::vector<cv::Point2f> points1, points2;
    for (const Candidate& c : candidates) {
      points1.push_back(c.first);
      points2.push_back(c.second);
    }
    const double diagonal = std::hypot(first.reduced.width, first.reduced.height);
    std::vector<std::uint8_t> inlier;
    cv::findHomography(points1, points2, cv::RANSAC, kThresholdOfDiagonal * diagonal, inlier, 2000,
                       0.995);
    for (std::size_t i = 0; i < candidates.size() && i < inlier.size(); ++i) {
      if (inlier[i]) kept.push_back(candidates[i]);
    }
  }
  if (kept.size() < kMinMatches) {
    return Failure{"Too few matching features between " + options.first_name + " and " +
                   options.second_name + " (" + std::to_string(kept.size()) + "; " +
                   std::to_string(kMinMatches) + " are needed)"};
  }
  std::stable_sort(kept.begin(), kept.end(),
                   [](const Candidate& a, const Candidate& b) { return a.ratio < b.ratio; });
  std::vector<PointPair> pairs;
  for (const Candidate& c : kept) {
    pairs.push_back({{c.first.x / first.scale_x, c.first.y / first.scale_y},
                     {c.second.x / second.scale_x, c.second.y / second.scale_y}});
  }
  return pairs;
}

}  // namespace vesk::match_steps
