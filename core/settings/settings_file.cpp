#include "core/settings/settings_file.h"

#include <algorithm>
#include <fstream>
#include <type_traits>
#include <vector>

#include "core/common/file_io.h"

namespace vesk {
namespace {

enum Offset : std::size_t {
  kHeaderLength = 0,
  kHeaderText = 1,
  kSheetHorzSize = 16,
  kSheetVertSize = 17,
  kReserved1 = 18,
  kNodeSize = 19,
  kSelectedNodeColor = 20,
  kPreviousNodeColor = 24,
  kNodeColor = 28,
  kLineColor = 32,
  kPrecision = 36,
  kFrameCount = 38,
  kReserved2 = 40,
  kFlagRadius = 41,
  kFlagHorzQuotient = 43,
  kFlagVertQuotient = 47,
  kReserved3 = 51,
  kEqualize = 52,
};

// Calls visit(offset, field) for every field of the record, in file order.
// Serializing and parsing walk the same list, so the layout stands once.
template <typename Record, typename Visit>
void ForEachField(Record& r, Visit&& visit) {
  visit(kHeaderLength, r.HeaderLength);
  visit(kHeaderText, r.HeaderText);
  visit(kSheetHorzSize, r.SheetHorzSize);
  visit(kSheetVertSize, r.SheetVertSize);
  visit(kReserved1, r.Reserved1);
  visit(kNodeSize, r.NodeSize);
  visit(kSelectedNodeColor, r.SelectedNodeColor);
  visit(kPreviousNodeColor, r.PreviousNodeColor);
  visit(kNodeColor, r.NodeColor);
  visit(kLineColor, r.LineColor);
  visit(kPrecision, r.Precision);
  visit(kFrameCount, r.FrameCount);
  visit(kReserved2, r.Reserved2);
  visit(kFlagRadius, r.FlagRadius);
  visit(kFlagHorzQuotient, r.FlagHorzQuotient);
  visit(kFlagVertQuotient, r.FlagVertQuotient);
  visit(kReserved3, r.Reserved3);
  visit(kEqualize, r.Equalize);
}

using HeaderChars = std::array<char, kSettingsHeaderLength>;

// A field's bytes at `offset`: integers little-endian, the header text one
// byte a character.
template <typename T>
void StoreField(SettingsRecordBytes& bytes, std::size_t offset, const T& value) {
  if constexpr (std::is_same_v<T, HeaderChars>) {
    for (std::size_t i = 0; i < value.size(); ++i) {
      bytes[offset + i] = static_cast<std::uint8_t>(value[i]);
    }
  } else {
    const auto u = static_cast<std::make_unsigned_t<T>>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i) {
      bytes[offset + i] = static_cast<std::uint8_t>(u >> (8 * i));
    }
  }
}

template <typename T>
void LoadField(const SettingsRecordBytes& bytes, std::size_t offset, T& value) {
  if constexpr (std::is_same_v<T, HeaderChars>) {
    for (std::size_t i = 0; i < value.size(); ++i) value[i] = static_cast<char>(bytes[offset + i]);
  } else {
    std::make_unsigned_t<T> u = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) {
      u = static_cast<std::make_unsigned_t<T>>(u | (std::make_unsigned_t<T>{bytes[offset + i]} << (8 * i)));
    }
    value = static_cast<T>(u);
  }
}

}  // namespace

SettingsRecordBytes SerializeSettingsRecord(const TSettingsRecord& r) {
  SettingsRecordBytes bytes{};
  ForEachField(r, [&bytes](std::size_t offset, const auto& field) {
    StoreField(bytes, offset, field);
  });
  return bytes;
}

TSettingsRecord ParseSettingsRecord(const SettingsRecordBytes& bytes) {
  TSettingsRecord r;
  ForEachField(r, [&bytes](std::size_t offset, auto& field) { LoadField(bytes, offset, field); });
  return r;
}

TSettingsRecord MakeSettingsRecord(const Settings& s) {
  TSettingsRecord r;
  r.HeaderLength = kSettingsHeaderLength;
  std::copy_n(kSettingsHeaderText, kSettingsHeaderLength, r.HeaderText.begin());
  r.SheetHorzSize = s.SheetHorzSize;
  r.SheetVertSize = s.SheetVertSize;
  r.NodeSize = s.NodeSize;
  r.SelectedNodeColor = s.SelectedNodeColor;
  r.PreviousNodeColor = s.PreviousNodeColor;
  r.NodeColor = s.NodeColor;
  r.LineColor = s.LineColor;
  r.Precision = s.Precision;
  r.FrameCount = s.FrameCount;
  r.FlagRadius = s.FlagRadius;
  r.FlagHorzQuotient = s.FlagHorzQuotient;
  r.FlagVertQuotient = s.FlagVertQuotient;
  r.Equalize = s.Equalize != 0 ? 1 : 0;
  return r;
}

bool SettingsHeaderValid(const TSettingsRecord& r) {
  return r.HeaderLength == kSettingsHeaderLength &&
         std::equal(r.HeaderText.begin(), r.HeaderText.end(), kSettingsHeaderText);
}

void ScrambleSettingsBytes(std::span<std::uint8_t, kSettingsRecordSize> bytes) {
  for (std::size_t p = 1; p <= kSettingsRecordSize; ++p) {
    auto key = static_cast<std::uint8_t>(p * kSettingsScrambleMultiplier + kSettingsScrambleOffset);
    bytes[p - 1] ^= key;
  }
}

SettingsRecordBytes EncodeSettingsFile(const Settings& settings) {
  SettingsRecordBytes bytes = SerializeSettingsRecord(MakeSettingsRecord(settings));
  ScrambleSettingsBytes(bytes);
  return bytes;
}

std::optional<std::string> DecodeSettingsFile(std::span<const std::uint8_t> file,
                                              Settings& settings) {
  if (file.size() < kSettingsRecordSize) return std::string(kIniTooShortMessage);
  SettingsRecordBytes bytes{};
  std::copy_n(file.begin(), kSettingsRecordSize, bytes.begin());
  ScrambleSettingsBytes(bytes);
  TSettingsRecord r = ParseSettingsRecord(bytes);
  if (!SettingsHeaderValid(r)) return std::string(kIniBadHeaderMessage);

  const Settings defaults;
  settings.SheetHorzSize = r.SheetHorzSize;
  settings.SheetVertSize = r.SheetVertSize;
  // A frame count or precision of 0 would make every run divide by zero.
  settings.Precision = r.Precision != 0 ? r.Precision : defaults.Precision;
  settings.FrameCount = r.FrameCount != 0 ? r.FrameCount : defaults.FrameCount;
  settings.FlagRadius = r.FlagRadius;
  settings.FlagHorzQuotient = r.FlagHorzQuotient;
  settings.FlagVertQuotient = r.FlagVertQuotient;
  settings.NodeSize = r.NodeSize;
  settings.SelectedNodeColor = r.SelectedNodeColor;
  settings.PreviousNodeColor = r.PreviousNodeColor;
  settings.NodeColor = r.NodeColor;
  settings.LineColor = r.LineColor;
  settings.Equalize = r.Equalize;
  return std::nullopt;
}

std::optional<std::string> LoadSettings(const std::string& path, Settings& settings) {
  if (!FileReadable(path)) return std::string(kIniNotFoundMessage);
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::string(kIniNotFoundMessage);
  // Only the first record is ever looked at.
  std::vector<std::uint8_t> bytes(kSettingsRecordSize);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
  return DecodeSettingsFile(bytes, settings);
}

Status SaveSettings(const std::string& path, const Settings& settings) {
  SettingsRecordBytes bytes = EncodeSettingsFile(settings);
  return WriteFileReplacing(path, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

}  // namespace vesk
