// Flow: DIS optical flow (OpenCV's dense inverse search, medium preset) from
// the reduced first picture to the second brought to the same size, and
// back. It is read on an even grid over the first picture (SampleGridOf),
// each inner sample moved to the most textured pixel near it (the smaller
// eigenvalue of the gradients' structure tensor over 7 x 7 pixels, high on
// corners and fine detail), and along the second picture's edges the other
// way round; a sample is kept where the two flows agree. Next to the edges
// the flow is less sure of itself (its patches reach past the picture), so
// the edge samples get a wider tolerance; the refinement at full size then
// puts them right.
#include <algorithm>
#include <cmath>
#include <opencv2/imgproc.hpp>
#include <opencv2/video/tracking.hpp>

#include "core/mesh/flow_samples.h"
#include "match/match_steps.h"

namespace vesk::match_steps {
namespace {

// Round trips in pixels of the reduced picture.
constexpr double kRoundTrip = 1.0;
constexpr double kEdgeRoundTrip = 3.0;
// The outermost samples lie this many pixels of the reduced picture inside
// its edges: close enough that the mesh follows the picture to its edges,
// far enough for the tracking's window.
constexpr int kEdgeInset = 2;
// An inner sample moves at most this part of the grid step towards texture,
// so neighbours stay at least half a step apart.
constexpr double kTowardsTexture = 0.25;

cv::Mat View(const GreyPicture& picture) {
  return cv::Mat(picture.height, picture.width, CV_8UC1,
                 const_cast<std::uint8_t*>(picture.pixels.data()));
}

FlowView FlowOf(const cv::Mat& flow) { return {flow.cols, flow.rows, flow.ptr<float>()}; }

// `samples` on a picture of `full` size, moved onto one of `reduced` size.
std::vector<PicturePoint> Scaled(std::vector<PicturePoint> samples, ImageSize full,
                                 ImageSize reduced) {
  for (PicturePoint& p : samples) {
    p = {p.x * reduced.width / full.width, p.y * reduced.height / full.height};
  }
  return samples;
}

int Inset(const WorkPicture& picture) {
  return static_cast<int>(std::ceil(kEdgeInset / std::min(picture.scale_x, picture.scale_y)));
}

}  // namespace

Result<std::vector<PointPair>> FlowPairs(const WorkPicture& first, const WorkPicture& second,
                                         const MatchOptions& options) {
  const GreyPicture& a = first.reduced;
  const GreyPicture b = second.reduced.width == a.width && second.reduced.height == a.height
                            ? second.reduced
                            : Resized(second.full, a.width, a.height);
  cv::Ptr<cv::DISOpticalFlow> dis = cv::DISOpticalFlow::create(cv::DISOpticalFlow::PRESET_MEDIUM);
  cv::Mat forward, backward;
  dis->calc(View(a), View(b), forward);
  if (!Continue(options, 60)) return Failure{kMatchCancelled};
  dis->calc(View(b), View(a), backward);
  if (!Continue(options, 70)) return Failure{kMatchCancelled};

  const int spacing =
      options.mesh.spacing > 0 ? options.mesh.spacing : DefaultSpacing(first.full.Size());
  const int step = SampleStep(first.full.Size(), spacing, options.mesh.max_count);
  const SampleGrid here = SampleGridOf(first.full.Size(), step, Inset(first));
  cv::Mat texture;
  cv::cornerMinEigenVal(View(a), texture, 7);
  const std::vector<PicturePoint> inner = TowardsHighest(
      Scaled(here.inner, first.full.Size(), a.Size()),
      {texture.cols, texture.rows, texture.ptr<float>()},
      static_cast<int>(step * first.scale_x * kTowardsTexture));
  std::vector<PointPair> pairs =
      ConsistentFlowPairs(FlowOf(forward), FlowOf(backward), inner, kRoundTrip);
  for (const PointPair& pair :
       ConsistentFlowPairs(FlowOf(forward), FlowOf(backward),
                           Scaled(here.edges, first.full.Size(), a.Size()), kEdgeRoundTrip)) {
    pairs.push_back(pair);
  }
  const SampleGrid there = SampleGridOf(second.full.Size(), step, Inset(second));
  for (const PointPair& back :
       ConsistentFlowPairs(FlowOf(backward), FlowOf(forward),
                           Scaled(there.edges, second.full.Size(), b.Size()), kEdgeRoundTrip)) {
    pairs.push_back({back.second, back.first});
  }
  if (pairs.size() < kMinAutoMeshPoints) {
    return Failure{"Too little flow to follow between " + options.first_name + " and " +
                   options.second_name + " (" + std::to_string(pairs.size()) + " points; " +
                   std::to_string(kMinAutoMeshPoints) + " are needed)"};
  }
  // Back to full size: the second picture was brought to the first's size.
  const double to_second_x = double(second.full.width) / a.width;
  const double to_second_y = double(second.full.height) / a.height;
  for (PointPair& pair : pairs) {
    pair.first = {pair.first.x / first.scale_x, pair.first.y / first.scale_y};
    pair.second = {pair.second.x * to_second_x, pair.second.y * to_second_y};
  }
  return pairs;
}

}  // namespace vesk::match_steps
