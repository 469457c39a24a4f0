#include "core/effects/flag_preview.h"

#include "core/effects/sine_table.h"

namespace vesk {

void PaintFlagPreview(Bitmap& picture, int radius, int horz_quotient, int vert_quotient,
                      std::int32_t phase) {
  picture.Fill(kWhite);
  SineTable table;
  FillSineTable(table, radius);
  // Phases are computed in 64 bits and wrapped by the lookup, so extreme
  // quotients cannot overflow.
  auto lookup = [&table](std::int64_t p) {
    if (p > kSinePeriodSteps) {
      p = (p - 1) % kSinePeriodSteps + 1;
    } else if (p < 0) {
      p %= kSinePeriodSteps;
      if (p < 0) p += kSinePeriodSteps;
    }
    return SineLookup(table, static_cast<std::int32_t>(p));
  };
  const int width = picture.Width();
  const int height = picture.Height();

  int j = 0;
  do {
    const std::int32_t t = lookup(std::int64_t{phase} + std::int64_t{j} * horz_quotient);
    picture.SetPixel(radius + j + t, radius + t, kFlagPreviewLine);
    ++j;
  } while (j < width - 2 * radius);

  const std::int32_t t_phase = lookup(phase);
  for (int i = 0; i <= height - 2 * radius; ++i) {
    const std::int32_t t = lookup(std::int64_t{phase} + std::int64_t{i} * vert_quotient);
    picture.SetPixel(radius + t, radius + i + t_phase, kFlagPreviewLine);
  }
}

std::int32_t FlagPreviewPhase(int preview_frame, int frame_count) {
  return FlagStartPhase(preview_frame, frame_count);
}

int NextPreviewFrame(int preview_frame, int frame_count) {
  int next = preview_frame + 1;
  if (next > frame_count || frame_count < 1) next = 0;
  return next;
}

}  // namespace vesk
