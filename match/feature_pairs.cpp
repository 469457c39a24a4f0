// Features: SIFT keypoints and descriptors of both reduced pictures (halved
// once more, see FeatureCopy), each feature of the first matched to its two
// nearest on the second (exhaustive search, so the result does not vary
// from run to run), kept when the nearest is clearly nearer than the
// second (Lowe's ratio test) and when the feature of the second, matched
// back, finds the one it came from; then a RANSAC homography whose
// threshold, 3 % of the picture's diagonal, throws out matches that point
// somewhere else entirely but keeps those of a smoothly bent or slightly
// turned view.
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

cv::Mat View(const GreyPicture& picture) {
  return cv::Mat(picture.height, picture.width, CV_8UC1,
                 const_cast<std::uint8_t*>(picture.pixels.data()));
}

// SIFT doubles a picture for its first octave, so features found on a copy
// of half the reduced size come from the same detail at a quarter of the
// work (automesh_bench, features of a shifted 1024 x 768 view: 0.18 s of
// CPU time instead of 0.68 s at load 7, and the tests' meshes as accurate).
constexpr int kFeatureSide = kWorkSide / 2;

GreyPicture FeatureCopy(const GreyPicture& picture) {
  const int side = std::max(picture.width, picture.height);
  if (side <= kFeatureSide) return picture;
  const double scale = double(kFeatureSide) / side;
  return Resized(picture, std::max(1, int(std::lround(picture.width * scale))),
                 std::max(1, int(std::lround(picture.height * scale))));
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
  const GreyPicture copy1 = FeatureCopy(first.reduced), copy2 = FeatureCopy(second.reduced);
  sift->detectAndCompute(View(copy1), cv::noArray(), keys1, descriptors1);
  if (!Continue(options, 73)) return Failure{kMatchCancelled};
  sift->detectAndCompute(View(copy2), cv::noArray(), keys2, descriptors2);
  if (!Continue(options, 76)) return Failure{kMatchCancelled};
  // Back onto the full pictures.
  auto full = [](const cv::Point2f& at, const GreyPicture& copy, const WorkPicture& picture) {
    return PicturePoint{at.x * picture.full.width / copy.width,
                        at.y * picture.full.height / copy.height};
  };

  std::vector<Candidate> candidates;
  if (keys1.size() >= 2 && keys2.size() >= 2) {
    std::vector<std::vector<cv::DMatch>> nearest;
    const cv::BFMatcher matcher(cv::NORM_L2);
    matcher.knnMatch(descriptors1, descriptors2, nearest, 2);
    std::vector<cv::DMatch> passed;
    for (const auto& two : nearest) {
      if (two.size() == 2 && two[0].distance < kRatio * two[1].distance) passed.push_back(two[0]);
    }
    // Back the other way, only for the features of the second that passed.
    cv::Mat targets;
    for (const cv::DMatch& m : passed) targets.push_back(descriptors2.row(m.trainIdx));
    std::vector<cv::DMatch> back;
    if (!passed.empty()) matcher.match(targets, descriptors1, back);
    for (std::size_t i = 0; i < passed.size() && i < back.size(); ++i) {
      const cv::DMatch& m = passed[i];
      if (back[i].trainIdx != m.queryIdx) continue;
      candidates.push_back({keys1[m.queryIdx].pt, keys2[m.trainIdx].pt,
                            m.distance / std::max(nearest[m.queryIdx][1].distance, 1e-6f)});
    }
  }
  std::vector<Candidate> kept;
  if (candidates.size() >= kMinAutoMeshPoints) {
    std::vector<cv::Point2f> points1, points2;
    for (const Candidate& c : candidates) {
      points1.push_back(c.first);
      points2.push_back(c.second);
    }
    const double diagonal = std::hypot(copy1.width, copy1.height);
    std::vector<std::uint8_t> inlier;
    cv::findHomography(points1, points2, cv::RANSAC, kThresholdOfDiagonal * diagonal, inlier, 2000,
                       0.995);
    for (std::size_t i = 0; i < candidates.size() && i < inlier.size(); ++i) {
      if (inlier[i]) kept.push_back(candidates[i]);
    }
  }
  if (kept.size() < kMinAutoMeshPoints) {
    return Failure{"Too few matching features between " + options.first_name + " and " +
                   options.second_name + " (" + std::to_string(kept.size()) + "; " +
                   std::to_string(kMinAutoMeshPoints) + " are needed)"};
  }
  std::stable_sort(kept.begin(), kept.end(),
                   [](const Candidate& a, const Candidate& b) { return a.ratio < b.ratio; });
  std::vector<PointPair> pairs;
  for (const Candidate& c : kept) {
    pairs.push_back({full(c.first, copy1, first), full(c.second, copy2, second)});
  }
  return pairs;
}

}  // namespace vesk::match_steps
