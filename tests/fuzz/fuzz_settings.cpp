// libFuzzer target for the settings decoder: a refused file keeps the
// defaults; what is read has no zero counts and reads back the same.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/settings/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vesk::Settings settings;
  if (vesk::DecodeSettingsFile(std::span<const std::uint8_t>(data, size), settings)) {
    if (!(settings == vesk::Settings{})) std::abort();
    return 0;
  }
  if (settings.FrameCount == 0 || settings.Precision == 0) std::abort();
  vesk::Settings again;
  if (vesk::DecodeSettingsFile(vesk::EncodeSettingsFile(settings), again)) std::abort();
  settings.Equalize = settings.Equalize != 0;
  if (!(again == settings)) std::abort();
  return 0;
}
