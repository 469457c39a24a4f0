#include "core/settings/settings_file.h"

#include <algorithm>
#include <fstream>
#include <vector>

#include "core/common/file_io.h"

namespace vesk {
namespace {

// Little-endian field access at a fixed offset of the record.
class RecordWriter {
 public:
  explicit RecordWriter(SettingsRecordBytes& bytes) : bytes_(bytes) {}
  void U8(std::size_t offset, std::uint8_t v) { bytes_[offset] = v; }
  void U16(std::size_t offset, std::uint16_t v) {
    bytes_[offset] = static_cast<std::uint8_t>(v);
    bytes_[offset + 1] = static_cast<std::uint8_t>(v >> 8);
  }
  void U32(std::size_t offset, std::uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i) bytes_[offset + i] = static_cast<std::uint8_t>(v >> (8 * i));
  }

 private:
  SettingsRecordBytes& bytes_;
};

class RecordReader {
 public:
  explicit RecordReader(const SettingsRecordBytes& bytes) : bytes_(bytes) {}
  std::uint8_t U8(std::size_t offset) const { return bytes_[offset]; }
  std::uint16_t U16(std::size_t offset) const {
    return static_cast<std::uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
  }
  std::uint32_t U32(std::size_t offset) const {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(bytes_[offset + i]) << (8 * i);
    return v;
  }

 private:
  const SettingsRecordBytes& bytes_;
};

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

}  // namespace

SettingsRecordBytes SerializeSettingsRecord(const TSettingsRecord& r) {
  SettingsRecordBytes bytes{};
  RecordWriter w(bytes);
  w.U8(kHeaderLength, r.HeaderLength);
  for (std::size_t i = 0; i < kSettingsHeaderLength; ++i) {
    w.U8(kHeaderText + i, static_cast<std::uint8_t>(r.HeaderText[i]));
  }
  w.U8(kSheetHorzSize, r.SheetHorzSize);
  w.U8(kSheetVertSize, r.SheetVertSize);
  w.U8(kReserved1, r.Reserved1);
  w.U8(kNodeSize, r.NodeSize);
  w.U32(kSelectedNodeColor, r.SelectedNodeColor);
  w.U32(kPreviousNodeColor, r.PreviousNodeColor);
  w.U32(kNodeColor, r.NodeColor);
  w.U32(kLineColor, r.LineColor);
  w.U16(kPrecision, r.Precision);
  w.U16(kFrameCount, r.FrameCount);
  w.U8(kReserved2, r.Reserved2);
  w.U16(kFlagRadius, r.FlagRadius);
  w.U32(kFlagHorzQuotient, static_cast<std::uint32_t>(r.FlagHorzQuotient));
  w.U32(kFlagVertQuotient, static_cast<std::uint32_t>(r.FlagVertQuotient));
  w.U8(kReserved3, r.Reserved3);
  w.U8(kEqualize, r.Equalize);
  return bytes;
}

TSettingsRecord ParseSettingsRecord(const SettingsRecordBytes& bytes) {
  RecordReader in(bytes);
  TSettingsRecord r;
  r.HeaderLength = in.U8(kHeaderLength);
  for (std::size_t i = 0; i < kSettingsHeaderLength; ++i) {
    r.HeaderText[i] = static_cast<char>(in.U8(kHeaderText + i));
  }
  r.SheetHorzSize = in.U8(kSheetHorzSize);
  r.SheetVertSize = in.U8(kSheetVertSize);
  r.Reserved1 = in.U8(kReserved1);
  r.NodeSize = in.U8(kNodeSize);
  r.SelectedNodeColor = in.U32(kSelectedNodeColor);
  r.PreviousNodeColor = in.U32(kPreviousNodeColor);
  r.NodeColor = in.U32(kNodeColor);
  r.LineColor = in.U32(kLineColor);
  r.Precision = in.U16(kPrecision);
  r.FrameCount = in.U16(kFrameCount);
  r.Reserved2 = in.U8(kReserved2);
  r.FlagRadius = in.U16(kFlagRadius);
  r.FlagHorzQuotient = static_cast<std::int32_t>(in.U32(kFlagHorzQuotient));
  r.FlagVertQuotient = static_cast<std::int32_t>(in.U32(kFlagVertQuotient));
  r.Reserved3 = in.U8(kReserved3);
  r.Equalize = in.U8(kEqualize);
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
  if (!FileFound(path)) return std::string(kIniNotFoundMessage);
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
