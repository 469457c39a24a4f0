// How close each renderer comes to the exact piecewise-affine warp, on
// photos whose warp is known: a 9 x 9 grid mesh from corner pixel to corner
// pixel whose inner nodes are scaled about the centre (by `zoom` there,
// fading to 1 at the border, so no triangle folds over) and swirled by up to
// a few pixels on the second image, the first photo distorted to the last
// frame (Distorsion, Precision 1). The exact warp maps every pixel back through
// its triangle's affine map and samples the photo bilinearly, in double.
// Prints the PSNR of Classic, Smooth and the OpenCV recipe (opencv_recipe.h)
// against it; exits with 1 when Smooth is below 45 dB or below the recipe.
//   warp_quality [PHOTO ...]   (default: scikit-image's astronaut and
//                               matplotlib's grace_hopper, as Debian ships them)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <opencv2/imgcodecs.hpp>
#include <string>
#include <vector>

#include "bench/peer/opencv_recipe.h"
#include "core/generate/distortion.h"
#include "core/generate/smooth_frame.h"

namespace {

using vesk::Bitmap;
using vesk::Point;
using vesk::TrianglePositions;

constexpr int kGrid = 9;
constexpr double kSwirl = 0.03;  // radians at the centre, fading to 0 at the border

Bitmap FromMat(const cv::Mat& bgr) {
  Bitmap out(bgr.cols, bgr.rows);
  for (int y = 0; y < bgr.rows; ++y) {
    for (int x = 0; x < bgr.cols; ++x) {
      const cv::Vec3b p = bgr.at<cv::Vec3b>(y, x);
      out.SetPixel(x, y, vesk::MakeColor(p[2], p[1], p[0]));
    }
  }
  return out;
}

std::vector<TrianglePositions> ZoomMesh(int width, int height, double zoom) {
  const double cx = (width - 1) / 2.0, cy = (height - 1) / 2.0;
  const auto first = [&](int i, int j) {
    return Point{i * (width - 1) / (kGrid - 1), j * (height - 1) / (kGrid - 1)};
  };
  const auto second = [&](int i, int j) {
    const Point p = first(i, j);
    if (i == 0 || j == 0 || i == kGrid - 1 || j == kGrid - 1) return p;
    // d: 0 at the centre, 1 on the border.
    const double d = std::max(std::abs(p.x - cx) / cx, std::abs(p.y - cy) / cy);
    const double scale = 1 + (zoom - 1) * (1 - d), turn = kSwirl * (1 - d);
    const double dx = (p.x - cx) * scale, dy = (p.y - cy) * scale;
    return Point{static_cast<int>(std::lround(cx + dx * std::cos(turn) - dy * std::sin(turn))),
                 static_cast<int>(std::lround(cy + dx * std::sin(turn) + dy * std::cos(turn)))};
  };
  std::vector<TrianglePositions> out;
  for (int j = 0; j + 1 < kGrid; ++j) {
    for (int i = 0; i + 1 < kGrid; ++i) {
      out.push_back({{first(i, j), first(i + 1, j), first(i, j + 1)},
                     {second(i, j), second(i + 1, j), second(i, j + 1)}});
      out.push_back({{first(i + 1, j), first(i + 1, j + 1), first(i, j + 1)},
                     {second(i + 1, j), second(i + 1, j + 1), second(i, j + 1)}});
    }
  }
  return out;
}

double Bilinear(const Bitmap& b, double x, double y, int shift) {
  x = std::clamp(x, 0.0, b.Width() - 1.0);
  y = std::clamp(y, 0.0, b.Height() - 1.0);
  const int x0 = static_cast<int>(x), y0 = static_cast<int>(y);
  const int x1 = std::min(x0 + 1, b.Width() - 1), y1 = std::min(y0 + 1, b.Height() - 1);
  const auto v = [&](int px, int py) { return static_cast<double>((b.Pixel(px, py) >> shift) & 0xFF); };
  const double fx = x - x0, fy = y - y0;
  return (1 - fy) * ((1 - fx) * v(x0, y0) + fx * v(x1, y0)) +
         fy * ((1 - fx) * v(x0, y1) + fx * v(x1, y1));
}

// The exact warp, red, green and blue of each pixel in turn; pixels no
// triangle holds keep the photo's own.
std::vector<double> ExactWarp(const Bitmap& photo, const std::vector<TrianglePositions>& mesh) {
  std::vector<double> out;
  for (int y = 0; y < photo.Height(); ++y) {
    for (int x = 0; x < photo.Width(); ++x) {
      double u = x, v = y;
      for (const TrianglePositions& t : mesh) {
        const Point g[3] = {t.second.p0, t.second.p1, t.second.p2};
        const Point s[3] = {t.first.p0, t.first.p1, t.first.p2};
        const auto cross = [](Point a, Point b, double px, double py) {
          return (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x);
        };
        const double area = cross(g[0], g[1], g[2].x, g[2].y);
        double l[3];
        bool inside = area != 0;
        for (int i = 0; i < 3 && inside; ++i) {
          l[i] = cross(g[(i + 1) % 3], g[(i + 2) % 3], x, y) / area;
          inside = l[i] >= -1e-12;
        }
        if (!inside) continue;
        u = l[0] * s[0].x + l[1] * s[1].x + l[2] * s[2].x;
        v = l[0] * s[0].y + l[1] * s[1].y + l[2] * s[2].y;
        break;
      }
      for (int shift : {0, 8, 16}) out.push_back(Bilinear(photo, u, v, shift));
    }
  }
  return out;
}

double Psnr(const std::vector<double>& exact, const std::vector<double>& frame) {
  double sum = 0;
  for (std::size_t i = 0; i < exact.size(); ++i) sum += (exact[i] - frame[i]) * (exact[i] - frame[i]);
  return 10 * std::log10(255.0 * 255.0 / (sum / exact.size()));
}

std::vector<double> Channels(const Bitmap& b) {
  std::vector<double> out;
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      for (int shift : {0, 8, 16}) out.push_back((b.Pixel(x, y) >> shift) & 0xFF);
    }
  }
  return out;
}

// The recipe's distortion: each first-image triangle warped onto its
// second-image place, over the photo.
Bitmap RecipeDistortion(const Bitmap& photo, const std::vector<TrianglePositions>& mesh) {
  cv::Mat img;
  vesk::peer::ToMat(photo).convertTo(img, CV_32FC3);
  cv::Mat out = img.clone();
  for (const TrianglePositions& t : mesh) {
    const std::vector<cv::Point2f> source = vesk::peer::Triangle(t.first);
    vesk::peer::MorphTriangleCv(img, img, out, source, source, vesk::peer::Triangle(t.second), 0);
  }
  cv::Mat frame;
  out.convertTo(frame, CV_8UC3);
  return FromMat(frame);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> photos;
  for (int i = 1; i < argc; ++i) photos.push_back(argv[i]);
  if (photos.empty()) {
    photos = {"/usr/lib/python3/dist-packages/skimage/data/astronaut.png",
              "/usr/share/matplotlib/mpl-data/sample_data/grace_hopper.jpg"};
  }
  constexpr int kFrames = 12;
  bool good = true;
  std::printf("PSNR against the exact warp, distortion at its last frame, %d x %d grid\n", kGrid,
              kGrid);
  std::printf("%-40s %9s %9s %9s\n", "photo, zoom", "Classic", "Smooth", "OpenCV");
  for (const std::string& path : photos) {
    const cv::Mat bgr = cv::imread(path, cv::IMREAD_COLOR);
    if (bgr.empty()) {
      std::fprintf(stderr, "warp_quality: cannot read %s\n", path.c_str());
      return 1;
    }
    const Bitmap photo = FromMat(bgr);
    for (double zoom : {1.25, 0.8, 1.5}) {
      const std::vector<TrianglePositions> mesh = ZoomMesh(photo.Width(), photo.Height(), zoom);
      const std::vector<double> exact = ExactWarp(photo, mesh);
      vesk::RunProtocol quiet;
      Bitmap classic = photo;
      vesk::PaintDistortionFrame(photo, mesh, kFrames, kFrames, 1, classic, quiet);
      Bitmap smooth(photo.Width(), photo.Height());
      vesk::PaintSmoothFrame({vesk::PieceKind::kDistortion, &photo, nullptr, mesh, 1.0, 0.0}, smooth,
                             quiet);
      const double psnr[3] = {Psnr(exact, Channels(classic)), Psnr(exact, Channels(smooth)),
                              Psnr(exact, Channels(RecipeDistortion(photo, mesh)))};
      const std::string name = path.substr(path.find_last_of('/') + 1) + " (" +
                               std::to_string(photo.Width()) + " x " +
                               std::to_string(photo.Height()) + "), " + std::to_string(zoom).substr(0, 4);
      std::printf("%-40s %6.1f dB %6.1f dB %6.1f dB\n", name.c_str(), psnr[0], psnr[1], psnr[2]);
      good = good && psnr[1] >= 45 && psnr[1] >= psnr[2];
    }
  }
  if (!good) std::printf("Smooth is below 45 dB or below the OpenCV recipe\n");
  return good ? 0 : 1;
}
