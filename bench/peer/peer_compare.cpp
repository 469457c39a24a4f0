// The peer comparison: one morph frame of the benchmark scene
// (bench/bench_scene.h: 1024 x 768, 17 x 13 nodes, 384 triangles, frame 6
// of 12) made by our engine at Precision 1 without equalization, and the same
// frame made the usual way with OpenCV: for every triangle, an affine warp of
// each picture's bounding rectangle onto the in-between triangle's bounding
// rectangle, a blend of the two warps with the frame's weight, and a
// triangle mask that copies the blend into the frame.
//
// Both are timed in the same run, alternately, after a warm-up; the median of
// the repetitions is reported for each, with the ratio. The peer runs with
// OpenCV's own thread pool (its default, the stronger peer) and, for
// reference, on one thread as the usual Python morph does.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <thread>
#include <vector>

#include "bench/bench_scene.h"
#include "core/generate/morph.h"

namespace {

constexpr int kFrame = 6;
constexpr int kFrames = 12;

cv::Mat ToMat(const vesk::Bitmap& bitmap) {
  cv::Mat mat(bitmap.Height(), bitmap.Width(), CV_8UC3);
  for (int y = 0; y < bitmap.Height(); ++y) {
    const vesk::Color* row = bitmap.Row(y);
    auto* out = mat.ptr<cv::Vec3b>(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      out[x] = cv::Vec3b(static_cast<uchar>(vesk::BlueOf(row[x])),
                         static_cast<uchar>(vesk::GreenOf(row[x])),
                         static_cast<uchar>(vesk::RedOf(row[x])));
    }
  }
  return mat;
}

std::vector<cv::Point2f> Triangle(const vesk::Corners& c) {
  return {cv::Point2f(static_cast<float>(c.p0.x), static_cast<float>(c.p0.y)),
          cv::Point2f(static_cast<float>(c.p1.x), static_cast<float>(c.p1.y)),
          cv::Point2f(static_cast<float>(c.p2.x), static_cast<float>(c.p2.y))};
}

// One triangle of the usual OpenCV morph (images as 32-bit float, 3 channels).
void MorphTriangleCv(const cv::Mat& img1, const cv::Mat& img2, cv::Mat& out,
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

cv::Mat MorphFrameCv(const cv::Mat& img1, const cv::Mat& img2,
                     const std::vector<vesk::TrianglePositions>& triangles) {
  const float alpha = static_cast<float>(kFrame) / kFrames;
  cv::Mat out = cv::Mat::zeros(img1.size(), CV_32FC3);
  for (const vesk::TrianglePositions& tri : triangles) {
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

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double Milliseconds(std::chrono::steady_clock::time_point a,
                    std::chrono::steady_clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
  const int opencv_threads = cv::getNumThreads();

  const vesk::Bitmap first = vesk::bench::ScenePicture(0);
  const vesk::Bitmap second = vesk::bench::ScenePicture(1);
  const std::vector<vesk::TrianglePositions> triangles = vesk::bench::SceneTriangles();
  cv::Mat img1;
  cv::Mat img2;
  ToMat(first).convertTo(img1, CV_32FC3);
  ToMat(second).convertTo(img2, CV_32FC3);

  vesk::Bitmap frame = first;
  vesk::RunProtocol quiet;
  std::vector<double> ours;
  std::vector<double> ours_one_thread;
  std::vector<double> peer;
  std::vector<double> peer_one_thread;
  // Each measurement starts after a short pause, so that threads of the
  // previous one (OpenCV's pool keeps its workers spinning for a while) are
  // quiet again.
  auto timed = [](const auto& work) {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const auto a = std::chrono::steady_clock::now();
    work();
    return Milliseconds(a, std::chrono::steady_clock::now());
  };
  for (int i = 0; i < repetitions + 2; ++i) {
    const double a = timed(
        [&] { vesk::PaintMorphFrame(first, second, triangles, kFrame, kFrames, 1, frame, quiet); });
    cv::setNumThreads(opencv_threads);
    const double b = timed([&] { cv::Mat peer_frame = MorphFrameCv(img1, img2, triangles); });
    const double c = timed([&] {
      vesk::PaintMorphFrame(first, second, triangles, kFrame, kFrames, 1, frame, quiet, 1);
    });
    cv::setNumThreads(1);
    const double d = timed([&] { cv::Mat peer_frame = MorphFrameCv(img1, img2, triangles); });
    if (i >= 2) {  // warm-up
      ours.push_back(a);
      peer.push_back(b);
      ours_one_thread.push_back(c);
      peer_one_thread.push_back(d);
    }
  }
  const double our_ms = Median(ours);
  const double peer_ms = Median(peer);
  std::printf("one 1024 x 768 morph frame, 384 triangles, median of %d runs\n", repetitions);
  std::printf("  ours, Precision 1, default threads:          %7.2f ms\n", our_ms);
  std::printf("  OpenCV peer, its default %d threads:          %7.2f ms\n", opencv_threads,
              peer_ms);
  std::printf("  ratio ours / peer:                           %7.2f\n", our_ms / peer_ms);
  std::printf("for reference, one thread each: ours %.2f ms, peer %.2f ms\n",
              Median(ours_one_thread), Median(peer_one_thread));
  return 0;
}
