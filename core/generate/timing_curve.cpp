#include "core/generate/timing_curve.h"

#include <algorithm>
#include <cmath>

namespace vesk {

double CurveValue(TimingCurve curve, double x) {
  x = std::clamp(x, 0.0, 1.0);
  switch (curve) {
    case TimingCurve::kLinear:
      return x;
    case TimingCurve::kEaseIn:
      return x * x;
    case TimingCurve::kEaseOut:
      return 1 - (1 - x) * (1 - x);
    case TimingCurve::kEaseInOut:
      return x * x * (3 - 2 * x);
  }
  return x;
}

FramePosition PositionOfFrame(const TimingCurves& curves, int t, int n) {
  const double x = n > 0 ? static_cast<double>(t) / n : 0;
  return FramePosition{CurveValue(curves.shape, x), CurveValue(curves.colour, x)};
}

int NearestStep(double position, int n) {
  return static_cast<int>(std::floor(position * n + 0.5));
}

int UnheldFrameNumber(int index, int hold, int last) {
  return std::clamp(index - hold, 0, last);
}

namespace {
constexpr std::string_view kWords[] = {"linear", "ease-in", "ease-out", "ease-in-out"};
}  // namespace

std::string_view CurveWord(TimingCurve curve) { return kWords[static_cast<int>(curve)]; }

std::optional<TimingCurve> CurveOfWord(std::string_view word) {
  for (TimingCurve curve : kTimingCurves) {
    if (CurveWord(curve) == word) return curve;
  }
  return std::nullopt;
}

}  // namespace vesk
