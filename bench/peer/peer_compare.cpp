// The peer comparison: one morph frame of the benchmark scene
// (bench/bench_scene.h: 1024 x 768, 17 x 13 nodes, 384 triangles, frame 6
// of 12) made by our Classic renderer at Precision 1 without equalization, by
// our Smooth renderer, and the usual way with OpenCV (opencv_recipe.h).
//
// All are timed in the same run, alternately, after a warm-up; the median of
// the repetitions is reported for each, with the ratios. The peer runs with
// OpenCV's own thread pool (its default, the stronger peer) and, for
// reference, on one thread as the usual Python morph does.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "bench/bench_scene.h"
#include "bench/peer/opencv_recipe.h"
#include "core/generate/morph.h"
#include "core/generate/smooth_frame.h"

namespace {

constexpr int kFrame = 6;
constexpr int kFrames = 12;

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
  vesk::peer::ToMat(first).convertTo(img1, CV_32FC3);
  vesk::peer::ToMat(second).convertTo(img2, CV_32FC3);
  const cv::Mat black = cv::Mat::zeros(img1.size(), CV_32FC3);
  const float alpha = static_cast<float>(kFrame) / kFrames;
  const auto peer_frame = [&] {
    const cv::Mat frame = vesk::peer::MorphFrameCv(img1, img2, triangles, alpha, black);
  };

  vesk::Bitmap frame = first;
  vesk::RunProtocol quiet;
  const auto classic = [&](int threads) {
    vesk::PaintMorphFrame(first, second, triangles, kFrame, kFrames, 1, frame, quiet, threads);
  };
  const auto smooth = [&](int threads) {
    const double position = static_cast<double>(kFrame) / kFrames;
    vesk::PaintSmoothFrame(
        {vesk::PieceKind::kMorph, &first, &second, triangles, position, position, threads}, frame,
        quiet);
  };
  // Each measurement starts after a short pause, so that threads of the
  // previous one (OpenCV's pool keeps its workers spinning for a while) are
  // quiet again.
  const auto timed = [](const auto& work) {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const auto a = std::chrono::steady_clock::now();
    work();
    return Milliseconds(a, std::chrono::steady_clock::now());
  };
  enum { kClassic, kSmooth, kPeer, kClassicOne, kSmoothOne, kPeerOne, kCount };
  std::vector<double> times[kCount];
  for (int i = 0; i < repetitions + 2; ++i) {
    double t[kCount];
    t[kClassic] = timed([&] { classic(0); });
    t[kSmooth] = timed([&] { smooth(0); });
    cv::setNumThreads(opencv_threads);
    t[kPeer] = timed(peer_frame);
    t[kClassicOne] = timed([&] { classic(1); });
    t[kSmoothOne] = timed([&] { smooth(1); });
    cv::setNumThreads(1);
    t[kPeerOne] = timed(peer_frame);
    if (i < 2) continue;  // warm-up
    for (int k = 0; k < kCount; ++k) times[k].push_back(t[k]);
  }
  double ms[kCount];
  for (int k = 0; k < kCount; ++k) ms[k] = Median(times[k]);
  std::printf("one 1024 x 768 morph frame, 384 triangles, median of %d runs\n", repetitions);
  std::printf("  ours, Classic, Precision 1, default threads:  %7.2f ms\n", ms[kClassic]);
  std::printf("  ours, Smooth, default threads:               %7.2f ms\n", ms[kSmooth]);
  std::printf("  OpenCV peer, its default %d threads:          %7.2f ms\n", opencv_threads,
              ms[kPeer]);
  std::printf("  ratio Classic / peer:                        %7.2f\n", ms[kClassic] / ms[kPeer]);
  std::printf("  ratio Smooth / peer:                         %7.2f\n", ms[kSmooth] / ms[kPeer]);
  std::printf("for reference, one thread each: Classic %.2f ms, Smooth %.2f ms, peer %.2f ms\n",
              ms[kClassicOne], ms[kSmoothOne], ms[kPeerOne]);
  return 0;
}
