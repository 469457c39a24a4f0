// The door for pictures: a Bitmap's colours (bytes red, green, blue, 0 in
// memory) are wrapped as a four-channel OpenCV matrix without a copy and
// turned into grey levels once; the reduced copy is made by area averaging.
#include <algorithm>
#include <cmath>
#include <opencv2/imgproc.hpp>

#include "match/match_steps.h"

namespace vesk::match_steps {
namespace {

GreyPicture FromMat(const cv::Mat& grey) {
  GreyPicture picture{grey.cols, grey.rows, {}};
  picture.pixels.resize(static_cast<std::size_t>(grey.cols) * grey.rows);
  cv::Mat target(grey.rows, grey.cols, CV_8UC1, picture.pixels.data());
  grey.copyTo(target);
  return picture;
}

cv::Mat View(const GreyPicture& picture) {
  return cv::Mat(picture.height, picture.width, CV_8UC1,
                 const_cast<std::uint8_t*>(picture.pixels.data()));
}

}  // namespace

GreyPicture Resized(const GreyPicture& picture, int width, int height) {
  cv::Mat resized;
  const bool smaller = width <= picture.width && height <= picture.height;
  cv::resize(View(picture), resized, cv::Size(width, height), 0, 0,
             smaller ? cv::INTER_AREA : cv::INTER_LINEAR);
  return FromMat(resized);
}

WorkPicture MakeWorkPicture(const Bitmap& picture) {
  WorkPicture work;
  work.full = GreyPicture{picture.Width(), picture.Height(), {}};
  work.full.pixels.resize(static_cast<std::size_t>(picture.Width()) * picture.Height());
  const cv::Mat colours(picture.Height(), picture.Width(), CV_8UC4,
                        const_cast<Color*>(picture.Row(0)));
  cv::Mat grey(picture.Height(), picture.Width(), CV_8UC1, work.full.pixels.data());
  cv::cvtColor(colours, grey, cv::COLOR_RGBA2GRAY);

  const int side = std::max(picture.Width(), picture.Height());
  if (side <= kWorkSide) {
    work.reduced = work.full;
    return work;
  }
  const double scale = double(kWorkSide) / side;
  const int width = std::max(1, static_cast<int>(std::lround(picture.Width() * scale)));
  const int height = std::max(1, static_cast<int>(std::lround(picture.Height() * scale)));
  work.reduced = Resized(work.full, width, height);
  work.scale_x = double(width) / picture.Width();
  work.scale_y = double(height) / picture.Height();
  return work;
}

}  // namespace vesk::match_steps
