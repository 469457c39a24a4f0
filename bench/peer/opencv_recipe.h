// The usual way to morph with a triangle mesh in OpenCV, as the peer
// comparisons run it: for every triangle, an affine warp (INTER_LINEAR) of
// each picture's bounding rectangle onto the in-between triangle's bounding
// rectangle, a blend of the two warps with the frame's weight, and an
// anti-aliased triangle mask that copies the blend into the frame.
#pragma once

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <vector>

#include "core/generate/generation_input.h"
#include "core/image/bitmap.h"

namespace vesk::peer {

// A bitmap as an 8-bit BGR picture.
inline cv::Mat ToMat(const Bitmap& bitmap) {
  cv::Mat mat(bitmap.Height(), bitmap.Width(), CV_8UC3);
  for (int y = 0; y < bitmap.Height(); ++y) {
    const Color* row = bitmap.Row(y);
    auto* out = mat.ptr<cv::Vec3b>(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      out[x] = cv::Vec3b(static_cast<uchar>(BlueOf(row[x])), static_cast<uchar>(GreenOf(row[x])),
                         static_cast<uchar>(RedOf(row[x])));
    }
  }
  return mat;
}

inline std::vector<cv::Point2f> Triangle(const Corners& c) {
  return {cv::Point2f(static_cast<float>(c.p0.x), static_cast<float>(c.p0.y)),
          cv::Point2f(static_cast<float>(c.p1.x), static_cast<float>(c.p1.y)),
          cv::Point2f(static_cast<float>(c.p2.x), static_cast<float>(c.p2.y))};
}

// One triangle (pictures as 32-bit float, 3 channels).
inline void MorphTriangleCv(const cv::Mat& img1, const cv::Mat& img2, cv::Mat& out,
                            const std::vector<cv::Point2f>& t1, const std::vector<cv::Point2f>& t2,
                            const std::vector<cv::Point2f>& t, float alpha) {
  const cv::Rect bounds(0, 0, out.cols, out.rows);
  const cv::Rect r = cv::boundingRect(t) & bounds;
  const cv::Rect r1 = cv::boundingRect(t1) & cv::Rect(0, 0, img1.cols, img1.rows);
  const cv::Rect r2 = cv::boundingRect(t2) & cv::Rect(0, 0, img2.cols, img2.rows);
  if (r.area() == 0 || r1.area() == 0 || r2.area() == 0) return;
  std::vector<cv::Point2f> t1r, t2r, tr;
  std::vector<cv::Point> tri;
  for (int i = 0; i < 3; ++i) {
    tr.emplace_back(t[i].x - r.x, t[i].y - r.y);
    tri.emplace_back(static_cast<int>(t[i].x - r.x), static_cast<int>(t[i].y - r.y));
    t1r.emplace_back(t1[i].x - r1.x, t1[i].y - r1.y);
    t2r.emplace_back(t2[i].x - r2.x, t2[i].y - r2.y);
  }
  cv::Mat mask = cv::Mat::zeros(r.height, r.width, CV_32FC3);
  cv::fillConvexPoly(mask, tri, cv::Scalar(1.0, 1.0, 1.0), cv::LINE_AA, 0);

  cv::Mat warp1 = cv::Mat::zeros(r.height, r.width, img1.type());
  cv::Mat warp2 = cv::Mat::zeros(r.height, r.width, img2.type());
  cv::warpAffine(img1(r1), warp1, cv::getAffineTransform(t1r, tr), warp1.size(), cv::INTER_LINEAR,
                 cv::BORDER_REFLECT_101);
  cv::warpAffine(img2(r2), warp2, cv::getAffineTransform(t2r, tr), warp2.size(), cv::INTER_LINEAR,
                 cv::BORDER_REFLECT_101);
  cv::Mat blend = (1.0f - alpha) * warp1 + alpha * warp2;
  cv::multiply(blend, mask, blend);
  cv::multiply(out(r), cv::Scalar(1.0, 1.0, 1.0) - mask, out(r));
  out(r) = out(r) + blend;
}

// One frame at `alpha` (0: first positions and colours, 1: second), painted
// over `start` (32-bit float, 3 channels), as an 8-bit picture.
inline cv::Mat MorphFrameCv(const cv::Mat& img1, const cv::Mat& img2,
                            const std::vector<TrianglePositions>& triangles, float alpha,
                            const cv::Mat& start) {
  cv::Mat out = start.clone();
  for (const TrianglePositions& tri : triangles) {
    const std::vector<cv::Point2f> t1 = Triangle(tri.first);
    const std::vector<cv::Point2f> t2 = Triangle(tri.second);
    std::vector<cv::Point2f> t(3);
    for (int i = 0; i < 3; ++i) t[i] = (1.0f - alpha) * t1[i] + alpha * t2[i];
    MorphTriangleCv(img1, img2, out, t1, t2, t, alpha);
  }
  cv::Mat frame;
  out.convertTo(frame, CV_8UC3);
  return frame;
}

}  // namespace vesk::peer
