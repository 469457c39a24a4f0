// The user settings held for the whole run, with their defaults. The file
// that keeps them between runs is settings_file.h.
#pragma once

#include <cstdint>

#include "core/image/color.h"

namespace vesk {

struct Settings {
  std::uint8_t SheetHorzSize = 36;
  std::uint8_t SheetVertSize = 36;
  std::uint8_t NodeSize = 5;
  Color SelectedNodeColor = MakeColor(255, 0, 0);
  Color PreviousNodeColor = MakeColor(0, 128, 0);
  Color NodeColor = MakeColor(200, 200, 200);
  Color LineColor = MakeColor(0, 0, 255);
  std::uint16_t Precision = 1;
  std::uint16_t FrameCount = 12;
  std::uint16_t FlagRadius = 10;
  std::int32_t FlagHorzQuotient = 3;
  std::int32_t FlagVertQuotient = 3;
  std::uint8_t Equalize = 1;

  bool operator==(const Settings&) const = default;
};

}  // namespace vesk
