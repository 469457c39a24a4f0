// Flow: DIS optical flow (OpenCV's dense inverse search, medium preset) from
// the reduced first picture to the second brought to the same size, and
// back; sampled on a grid where the two agree within a pixel and the first
// picture has texture (the smaller eigenvalue of its gradients' structure
// tensor over 7 x 7 pixels), since on a flat area any flow fits.
#include <opencv2/imgproc.hpp>
#include <opencv2/video/tracking.hpp>

#include "core/mesh/flow_samples.h"
#include "match/match_steps.h"

namespace vesk::match_steps {
namespace {

constexpr double kRoundTripTolerance = 1.0;
// OpenCV scales the 3 x 3 Sobel gradients by 1 / (4 * 7 * 255) and sums
// their squares over the 49 pixels, so a slope of g grey levels per pixel
// gives about 6.2e-5 g^2: this asks for about 1.3 grey levels per pixel in
// every direction, which JPEG noise on a flat area does not reach.
constexpr float kMinTexture = 1e-4f;
constexpr std::size_t kMinPoints = 4;

cv::Mat View(const GreyPicture& picture) {
  return cv::Mat(picture.height, picture.width, CV_8UC1,
                 const_cast<std::uint8_t*>(picture.pixels.data()));
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
  if (!Continue(options, 40)) return Failure{kMatchCancelled};
  dis->calc(View(b), View(a), backward);
  if (!Continue(options, 60)) return Failure{kMatchCancelled};

  cv::Mat texture;
  cv::cornerMinEigenVal(View(a), texture, 7);
  cv::Mat usable = texture >= kMinTexture;
  const int spacing =
      options.mesh.spacing > 0 ? options.mesh.spacing : DefaultSpacing(first.full.Size());
  const int step =
      SampleStep(a.Size(), static_cast<int>(spacing * first.scale_x), options.mesh.max_count);
  std::vector<PointPair> pairs = ConsistentFlowPairs(
      {a.width, a.height, forward.ptr<float>()}, {a.width, a.height, backward.ptr<float>()}, step,
      kRoundTripTolerance, {usable.ptr<std::uint8_t>(), usable.total()});
  if (pairs.size() < kMinPoints) {
    return Failure{"Too little flow to follow between " + options.first_name + " and " +
                   options.second_name + " (" + std::to_string(pairs.size()) + " points; " +
                   std::to_string(kMinPoints) + " are needed)"};
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
