#include "core/effects/flag_streaming.h"

#include <algorithm>
#include <vector>

#include "core/effects/sine_table.h"

namespace vesk {
namespace {

// Phases advance with 32-bit wrap-around, as a 32-bit register would.
inline std::int32_t AddPhase(std::int32_t phase, std::int32_t step) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(phase) +
                                   static_cast<std::uint32_t>(step));
}

// Draws source column x of one frame. Every displacement lies in -R..R, so
// the corner's first pixel is always inside the frame; only its right and
// lower neighbours can fall one pixel beyond the last column or row.
void DrawColumn(const std::vector<const Color*>& source_rows, std::vector<Color*>& frame_rows,
                int x, std::int32_t phase, const FlagStreamingValues& values, int radius,
                const SineTable& table, int frame_width, int frame_height) {
  const int height = static_cast<int>(source_rows.size());
  const int dy = SineLookup(table, phase) + radius;
  std::int32_t b = phase;
  for (int y = 0; y < height; ++y) {
    const Color c = source_rows[static_cast<std::size_t>(y)][x];
    const int px = SineLookup(table, b) + radius + x;
    const int py = y + dy;
    Color* row = frame_rows[static_cast<std::size_t>(py)];
    row[px] = c;
    if (px + 1 < frame_width) {
      row[px + 1] = c;
      if (py + 1 < frame_height) frame_rows[static_cast<std::size_t>(py + 1)][px + 1] = c;
    }
    b = AddPhase(b, values.horz_quotient);
  }
}

}  // namespace

FlagStreamingValues FlagStreamingValuesFrom(const Settings& settings) {
  return {settings.FlagRadius, settings.FlagHorzQuotient, settings.FlagVertQuotient,
          settings.FrameCount};
}

Status CheckFlagFrameSize(int width, int height, int flag_radius) {
  const std::int64_t radius = std::max(0, flag_radius);
  const std::string problem = CheckBitmapSize(width + 2 * radius, height + 2 * radius);
  if (!problem.empty()) return Failure{problem};
  return Status::Success();
}

Status FlagStreaming(const Bitmap& source, const FlagStreamingValues& values, RunProtocol& run,
                     Bitmap& vesk) {
  const int radius = std::max(0, values.flag_radius);
  const int width = source.Width();
  const int height = source.Height();
  Result<Bitmap> made = Bitmap::Create(std::int64_t{width} + 2 * std::int64_t{radius},
                                       std::int64_t{height} + 2 * std::int64_t{radius}, kWhite);
  if (!made) return Failure{made.Message()};
  vesk = std::move(made).Value();
  const int frame_width = vesk.Width();
  const int frame_height = vesk.Height();
  const int frame_count = std::max(1, values.frame_count);

  SineTable table;
  FillSineTable(table, radius);

  std::vector<const Color*> source_rows(static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) source_rows[static_cast<std::size_t>(y)] = source.Row(y);
  std::vector<Color*> frame_rows(static_cast<std::size_t>(frame_height));
  for (int y = 0; y < frame_height; ++y) frame_rows[static_cast<std::size_t>(y)] = vesk.Row(y);

  run.Begin();
  for (int f = 0;;) {
    run.Counter(f, frame_count);
    vesk.Fill(kWhite);
    run.ColumnsPainted(vesk, 0, frame_width);
    std::int32_t phase = FlagStartPhase(f, frame_count);
    for (int x = 0; x < width;) {
      run.ProcessMessages();
      run.InnerBar(static_cast<int>(static_cast<std::int64_t>(x) * 100 / width));
      DrawColumn(source_rows, frame_rows, x, phase, values, radius, table, frame_width,
                 frame_height);
      // Source column x lands within frame columns x .. x + 2R + 1.
      run.ColumnsPainted(vesk, x, std::min(frame_width, x + 2 * radius + 2));
      ++x;
      phase = AddPhase(phase, values.vert_quotient);
      if (x >= width || run.CancelRequested()) break;
    }
    run.ShowFrame(vesk);
    if (!run.CancelRequested()) {
      if (Status written = run.WriteFrame(vesk); !written) {
        run.End();
        return written;
      }
    }
    ++f;
    if (f >= frame_count || run.CancelRequested()) break;
  }
  run.End();
  return Status::Success();
}

}  // namespace vesk
