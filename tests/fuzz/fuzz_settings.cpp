// libFuzzer target: the settings file decoder on arbitrary bytes.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/settings/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::span<const std::uint8_t> bytes(data, size);
  vesk::Settings settings;
  auto message = vesk::DecodeSettingsFile(bytes, settings);
  if (message) {
    // A refused file leaves every setting at its default.
    if (!(settings == vesk::Settings{})) std::abort();
    return 0;
  }
  if (size < vesk::kSettingsRecordSize) std::abort();
  if (settings.FrameCount == 0 || settings.Precision == 0) std::abort();
  // What was read is written back and reads the same.
  vesk::Settings again;
  auto file = vesk::EncodeSettingsFile(settings);
  if (vesk::DecodeSettingsFile(file, again)) std::abort();
  settings.Equalize = settings.Equalize != 0 ? 1 : 0;
  if (!(again == settings)) std::abort();
  return 0;
}
