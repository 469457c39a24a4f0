// Timing of the morph and the distortion: where frame t of N stands between
// the first and the second picture, for the shape (where the nodes are) and
// for the colour (the morph's blend) separately, and the hold frames that
// keep the first and the last picture on screen a while.
//
// Curves, for x = t / N:
//   linear       x
//   ease-in      x^2                starts at rest, arrives at full speed
//   ease-out     1 - (1 - x)^2      starts at full speed, arrives at rest
//   ease-in-out  3x^2 - 2x^3        (smoothstep) at rest at both ends,
//                                   0.5 in the middle
// Each runs from 0 to 1, never goes back and never overshoots. The Smooth
// renderer paints the frame at the exact values; the Classic one, whose
// pieces move on whole pixels and blend in steps of 1/N, takes the nearest
// step t' = round(value x N) (halves up), so linear gives t' = t and the
// classic frames stay as they always were.
//
// Holds: a run with H hold frames writes its first frame H more times right
// after it and its last frame H more times at its end (at Precision 1 these
// are the copies of the first picture and, for the morph, of the second;
// otherwise the computed frames 0 and N). So frame number i of the held run
// is frame number clamp(i - H, 0, last) of the run without holds.
#pragma once

#include <optional>
#include <string_view>

namespace vesk {

enum class TimingCurve { kLinear, kEaseIn, kEaseOut, kEaseInOut };
inline constexpr TimingCurve kTimingCurves[] = {TimingCurve::kLinear, TimingCurve::kEaseIn,
                                                TimingCurve::kEaseOut, TimingCurve::kEaseInOut};
inline constexpr int kMaxHoldFrames = 1000;

struct TimingCurves {
  TimingCurve shape = TimingCurve::kLinear;
  TimingCurve colour = TimingCurve::kLinear;
  bool operator==(const TimingCurves&) const = default;
};

// The curve's value at x, which is held to 0 .. 1 first.
double CurveValue(TimingCurve curve, double x);

// Frame t of n: shape and colour positions, 0 on the first picture, 1 on the
// second.
struct FramePosition {
  double shape = 0;
  double colour = 0;
};
FramePosition PositionOfFrame(const TimingCurves& curves, int t, int n);

// The step of 0 .. n nearest to `position` x n, halves up.
int NearestStep(double position, int n);

// Frame number `index` of a held run as the frame number of the same run
// without holds, whose last frame number is `last`.
int UnheldFrameNumber(int index, int hold, int last);

// "linear", "ease-in", "ease-out", "ease-in-out": the batch tool's words,
// also how the desktop program stores the choice.
std::string_view CurveWord(TimingCurve curve);
std::optional<TimingCurve> CurveOfWord(std::string_view word);

}  // namespace vesk
