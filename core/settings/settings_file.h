// The settings file "Trelvanique.ini": one 53-byte record, scrambled byte by
// byte with a key computed from the byte's position. Read once at start-up,
// written once at close. The record is laid out and read byte by byte, so
// the layout never depends on how the compiler packs a struct.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/common/result.h"
#include "core/settings/settings.h"

namespace vesk {

inline constexpr char kSettingsFileName[] = "Trelvanique.ini";
inline constexpr std::size_t kSettingsRecordSize = 53;
inline constexpr char kSettingsHeaderText[] = "Trelvanique 1.1";
inline constexpr std::size_t kSettingsHeaderLength = 15;

// The messages LoadSettings answers.
inline constexpr char kIniNotFoundMessage[] = "Ini file not found !";
inline constexpr char kIniTooShortMessage[] = "Invalid file format !";
inline constexpr char kIniBadHeaderMessage[] = "Invalid ini file format";

// Key byte of 1-based position p: p * multiplier + offset, modulo 256.
inline constexpr std::uint8_t kSettingsScrambleMultiplier = 0x9D;
inline constexpr std::uint8_t kSettingsScrambleOffset = 0x3B;

using SettingsRecordBytes = std::array<std::uint8_t, kSettingsRecordSize>;

// The file record, field by field. Byte offsets in the file:
//   0 header length (15), 1..15 header text, 16 SheetHorzSize,
//   17 SheetVertSize, 18 reserved, 19 NodeSize, 20 SelectedNodeColor,
//   24 PreviousNodeColor, 28 NodeColor, 32 LineColor, 36 Precision,
//   38 FrameCount, 40 reserved, 41 FlagRadius, 43 FlagHorzQuotient,
//   47 FlagVertQuotient, 51 reserved, 52 Equalize. Integers little-endian.
struct TSettingsRecord {
  std::uint8_t HeaderLength = kSettingsHeaderLength;
  std::array<char, kSettingsHeaderLength> HeaderText{};
  std::uint8_t SheetHorzSize = 0;
  std::uint8_t SheetVertSize = 0;
  std::uint8_t Reserved1 = 0;
  std::uint8_t NodeSize = 0;
  std::uint32_t SelectedNodeColor = 0;
  std::uint32_t PreviousNodeColor = 0;
  std::uint32_t NodeColor = 0;
  std::uint32_t LineColor = 0;
  std::uint16_t Precision = 0;
  std::uint16_t FrameCount = 0;
  std::uint8_t Reserved2 = 0;
  std::uint16_t FlagRadius = 0;
  std::int32_t FlagHorzQuotient = 0;
  std::int32_t FlagVertQuotient = 0;
  std::uint8_t Reserved3 = 0;
  std::uint8_t Equalize = 0;

  bool operator==(const TSettingsRecord&) const = default;
};

// Plain (unscrambled) bytes of a record and back.
SettingsRecordBytes SerializeSettingsRecord(const TSettingsRecord& record);
TSettingsRecord ParseSettingsRecord(const SettingsRecordBytes& bytes);

// The record that saving writes for `settings`: current header, reserved
// bytes 0, Equalize as 0 or 1.
TSettingsRecord MakeSettingsRecord(const Settings& settings);

// True when the record's length-prefixed header is 15 and "Trelvanique 1.1".
bool SettingsHeaderValid(const TSettingsRecord& record);

// Scrambles or unscrambles (the same operation) the record's bytes in place.
void ScrambleSettingsBytes(std::span<std::uint8_t, kSettingsRecordSize> bytes);

// The file's bytes (scrambled) as written by SaveSettings.
SettingsRecordBytes EncodeSettingsFile(const Settings& settings);

// Takes the settings from the first bytes of a settings file. Answers the
// message to show ("Invalid file format !" for fewer than 53 bytes,
// "Invalid ini file format" for a wrong header) and leaves `settings`
// untouched, or answers nothing and fills `settings`. Bytes after the 53rd
// are ignored. A FrameCount or Precision of 0 becomes its default.
std::optional<std::string> DecodeSettingsFile(std::span<const std::uint8_t> bytes,
                                              Settings& settings);

// Reads the settings file at `path`. A file that is not a regular file or
// cannot be opened for reading (missing, a folder, a FIFO) answers
// "Ini file not found !"; a read-only file is read. On any message `settings` keeps its values.
std::optional<std::string> LoadSettings(const std::string& path, Settings& settings);

// Writes the 53-byte file at `path` through ReplacingWrite, so a failed or
// refused write (a read-only file) leaves the previous file as it was.
Status SaveSettings(const std::string& path, const Settings& settings);

}  // namespace vesk
