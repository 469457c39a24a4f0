#include "core/sequence/sequence_file.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <set>
#include <string_view>

#include "core/common/file_io.h"
#include "core/image/bitmap.h"
#include "core/mesh/mesh_file.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kVersionWord = "vesk-sequence ";
constexpr char kComment[] =
    "# Vesk Trelvanique sequence: pictures are named from this file's folder; the mesh of "
    "pair K is beside it as NAME.pair-K.mesh";

// A line may hold a tab but no other control character: names travel as
// they are, and a stray CR would not survive a rewrite.
bool HasControl(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; });
}

// Digits only, at most nine of them, within low .. high.
std::optional<int> Number(std::string_view text, int low, int high) {
  if (text.empty() || text.size() > 9 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  if (value < low || value > high) return std::nullopt;
  return value;
}

// Each option's reading (empty when the value was taken, else what it must
// be) and writing; the table's order is the file's.
using ReadFn = std::string (*)(std::string_view value, SequenceOptions& options);
using WriteFn = std::string (*)(const SequenceOptions& options);
struct OptionKey {
  std::string_view key;
  ReadFn read;
  WriteFn write;
};

std::string ReadNumber(std::string_view value, int& to, int low, int high) {
  const std::optional<int> number = Number(value, low, high);
  if (!number) return "a whole number from " + std::to_string(low) + " to " + std::to_string(high);
  to = *number;
  return {};
}

std::string ReadSwitch(std::string_view value, bool& to, std::string_view off,
                       std::string_view on) {
  if (value != off && value != on) return std::string(off) + " or " + std::string(on);
  to = value == on;
  return {};
}

template <typename T>
std::string ReadWord(std::optional<T> word, T& to, const char* expected) {
  if (!word) return expected;
  to = *word;
  return {};
}

std::string ReadSize(std::string_view value, SequenceOptions& options) {
  const char* expected =
      "first, or a width and a height (at most 32768 pixels on a side and "
      "268435456 in all)";
  if (value == "first") {
    options.output_size.reset();
    return {};
  }
  const std::size_t blank = value.find(' ');
  if (blank == std::string_view::npos) return expected;
  const std::optional<int> width = Number(value.substr(0, blank), 1, kMaxBitmapSide);
  const std::optional<int> height = Number(value.substr(blank + 1), 1, kMaxBitmapSide);
  if (!width || !height || !CheckBitmapSize(*width, *height).empty()) return expected;
  options.output_size = ImageSize{*width, *height};
  return {};
}

constexpr const char* kCurves = "linear, ease-in, ease-out or ease-in-out";

const OptionKey kOptionKeys[] = {
    {"frames",
     [](std::string_view v, SequenceOptions& o) {
       return ReadNumber(v, o.frames_per_pair, kMinFramesPerPair, kMaxFramesPerPair);
     },
     [](const SequenceOptions& o) { return std::to_string(o.frames_per_pair); }},
    {"hold",
     [](std::string_view v, SequenceOptions& o) {
       return ReadNumber(v, o.hold, 0, kMaxHoldFrames);
     },
     [](const SequenceOptions& o) { return std::to_string(o.hold); }},
    {"shape-curve",
     [](std::string_view v, SequenceOptions& o) {
       return ReadWord(CurveOfWord(v), o.curves.shape, kCurves);
     },
     [](const SequenceOptions& o) { return std::string(CurveWord(o.curves.shape)); }},
    {"colour-curve",
     [](std::string_view v, SequenceOptions& o) {
       return ReadWord(CurveOfWord(v), o.curves.colour, kCurves);
     },
     [](const SequenceOptions& o) { return std::string(CurveWord(o.curves.colour)); }},
    {"loop",
     [](std::string_view v, SequenceOptions& o) { return ReadSwitch(v, o.loop, "off", "on"); },
     [](const SequenceOptions& o) { return std::string(o.loop ? "on" : "off"); }},
    {"align",
     [](std::string_view v, SequenceOptions& o) {
       return ReadSwitch(v, o.align_faces, "none", "faces");
     },
     [](const SequenceOptions& o) { return std::string(o.align_faces ? "faces" : "none"); }},
    {"render",
     [](std::string_view v, SequenceOptions& o) {
       return ReadWord(RendererOfWord(v), o.renderer, "smooth or classic");
     },
     [](const SequenceOptions& o) { return std::string(RendererWord(o.renderer)); }},
    {"method",
     [](std::string_view v, SequenceOptions& o) {
       return ReadWord(MethodOfWord(v), o.method, "auto, faces, features or flow");
     },
     [](const SequenceOptions& o) { return std::string(MethodWord(o.method)); }},
    {"fps",
     [](std::string_view v, SequenceOptions& o) {
       return ReadNumber(v, o.fps, 1, kMaxSequenceFps);
     },
     [](const SequenceOptions& o) { return std::to_string(o.fps); }},
    {"size", ReadSize,
     [](const SequenceOptions& o) {
       return o.output_size ? std::to_string(o.output_size->width) + " " +
                                  std::to_string(o.output_size->height)
                            : std::string("first");
     }},
    {"quality",
     [](std::string_view v, SequenceOptions& o) {
       return ReadNumber(v, o.quality, 0, kMaxSequenceQuality);
     },
     [](const SequenceOptions& o) { return std::to_string(o.quality); }},
    {"lossless",
     [](std::string_view v, SequenceOptions& o) { return ReadSwitch(v, o.lossless, "off", "on"); },
     [](const SequenceOptions& o) { return std::string(o.lossless ? "on" : "off"); }},
};

constexpr std::pair<std::string_view, PairState> kStateWords[] = {{"auto", PairState::kAutomatic},
                                                                  {"edited", PairState::kEdited},
                                                                  {"failed", PairState::kFailed}};

std::string_view StateWord(PairState state) {
  for (const auto& [word, named] : kStateWords) {
    if (named == state) return word;
  }
  return "none";
}

// "NUMBER STATE WxH[@N][ TEXT]", the value of a pair line.
std::optional<SequencePairLine> ParsePair(std::string_view value) {
  SequencePairLine pair;
  auto next_word = [&value] {
    const std::size_t blank = value.find(' ');
    const std::string_view word = value.substr(0, blank);
    value = blank == std::string_view::npos ? std::string_view() : value.substr(blank + 1);
    return word;
  };
  const std::optional<int> number = Number(next_word(), 1, 999999999);
  const std::string_view state = next_word();
  const std::size_t end_of_frame = value.find(' ');
  std::string_view frame = value.substr(0, end_of_frame);
  pair.text = end_of_frame == std::string_view::npos ? "" : value.substr(end_of_frame + 1);
  const auto named = std::find_if(std::begin(kStateWords), std::end(kStateWords),
                                  [&](const auto& word) { return word.first == state; });
  if (!number || named == std::end(kStateWords)) return std::nullopt;
  pair.number = *number;
  pair.state = named->second;
  if (const std::size_t at = frame.find('@'); at != std::string_view::npos) {
    pair.aligned_to = Number(frame.substr(at + 1), 0, 999999999);
    if (!pair.aligned_to) return std::nullopt;
    frame = frame.substr(0, at);
  }
  const std::size_t x = frame.find('x');
  if (x == std::string_view::npos) return std::nullopt;
  const std::optional<int> width = Number(frame.substr(0, x), 1, kMaxBitmapSide);
  const std::optional<int> height = Number(frame.substr(x + 1), 1, kMaxBitmapSide);
  if (!width || !height) return std::nullopt;
  pair.frame_size = ImageSize{*width, *height};
  return pair;
}

// The pair lines against the pictures: each pair at most once, and every
// pair and picture they name there.
std::string CheckPairLines(const SequenceText& text, const SequencePairLine*& wrong) {
  const int pictures = static_cast<int>(text.pictures.size());
  const int pairs = pictures < 2 ? 0 : (text.options.loop ? pictures : pictures - 1);
  std::set<int> seen;
  for (const SequencePairLine& pair : text.pairs) {
    wrong = &pair;
    if (pair.number > pairs) {
      const std::string made = pairs == 0   ? "no pair"
                               : pairs == 1 ? "one pair"
                                            : std::to_string(pairs) + " pairs";
      return "pair " + std::to_string(pair.number) +
             " does not exist: " + std::to_string(pictures) + " pictures make " + made;
    }
    if (!seen.insert(pair.number).second) {
      return "pair " + std::to_string(pair.number) + " is given twice";
    }
    if (pair.aligned_to && *pair.aligned_to > pictures) {
      return "picture " + std::to_string(*pair.aligned_to) + " does not exist";
    }
  }
  return {};
}

fs::path FolderOf(const std::string& path) {
  const fs::path folder = fs::path(path).parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

// The picture's name as the sequence file in `folder` gives it.
std::string NameFrom(const fs::path& folder, const std::string& picture) {
  std::error_code error;
  const fs::path whole = fs::absolute(picture, error).lexically_normal();
  const fs::path base = fs::absolute(folder, error).lexically_normal();
  if (error) return picture;
  const fs::path relative = whole.lexically_relative(base);
  return (relative.empty() ? whole : relative).generic_string();
}

// The mesh that was written into a file read as `read`: the reader lists
// nodes and triangles in the reverse of the file's order (mesh_file.h), the
// writer in their own order, so the pair's mesh comes back as it was and
// writes the same bytes again.
MeshSnapshot AsWritten(MeshSnapshot read) {
  const auto n = static_cast<std::uint32_t>(read.nodes.size());
  const auto flip = [n](std::uint32_t i) { return i == MeshSnapshot::kNone ? i : n - 1 - i; };
  std::reverse(read.nodes.begin(), read.nodes.end());
  std::reverse(read.triangles.begin(), read.triangles.end());
  for (auto& corners : read.triangles) {
    for (std::uint32_t& corner : corners) corner = flip(corner);
  }
  read.previous = flip(read.previous);
  read.selected = flip(read.selected);
  return read;
}

// Auto Mesh summaries and failure reasons on one line.
std::string OneLine(std::string text) {
  std::replace_if(
      text.begin(), text.end(),
      [](char c) {
        return HasControl({&c, 1});
      },
      ' ');
  return text;
}

}  // namespace

Result<SequenceText> ParseSequenceText(std::span<const std::uint8_t> bytes,
                                       const std::string& file_name) {
  std::string_view rest(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  SequenceText text;
  std::set<std::string_view> given;
  int number = 0;
  auto fail = [&](const std::string& what) {
    return Failure{file_name + ", line " + std::to_string(number) + ": " + what};
  };
  while (!rest.empty() || number == 0) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    ++number;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (number == 1) {
      if (line == kSequenceVersionLine) continue;
      if (line.starts_with(kVersionWord) &&
          Number(line.substr(kVersionWord.size()), 2, 999999999)) {
        return fail("made by a later version of the program (sequence file version " +
                    std::string(line.substr(kVersionWord.size())) + "; this one reads " +
                    std::string(kSequenceVersionLine).substr(kVersionWord.size()) + ")");
      }
      return fail("not a sequence file (the first line is not \"" +
                  std::string(kSequenceVersionLine) + "\")");
    }
    if (HasControl(line)) return fail("the line holds a control character");
    if (line.empty() || line.starts_with('#')) continue;
    const std::size_t blank = line.find(' ');
    const std::string_view key = line.substr(0, blank);
    const std::string_view value =
        blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
    const auto option = std::find_if(std::begin(kOptionKeys), std::end(kOptionKeys),
                                     [&](const OptionKey& k) { return k.key == key; });
    if (option != std::end(kOptionKeys)) {
      if (!given.insert(option->key).second) return fail(std::string(key) + " is given twice");
      const std::string expected = option->read(value, text.options);
      if (!expected.empty()) {
        return fail(std::string(key) + " must be " + expected + ", not \"" + std::string(value) +
                    "\"");
      }
    } else if (key == "picture") {
      if (value.empty()) return fail("a picture line without a name");
      text.pictures.emplace_back(value);
    } else if (key == "pair") {
      std::optional<SequencePairLine> pair = ParsePair(value);
      if (!pair) return fail("a pair line is \"pair NUMBER auto|edited|failed WxH[@N] [TEXT]\"");
      pair->line = number;
      text.pairs.push_back(std::move(*pair));
    } else {
      return fail("unknown key \"" + std::string(key) + "\"");
    }
  }
  const SequencePairLine* wrong = nullptr;
  const std::string problem = CheckPairLines(text, wrong);
  if (!problem.empty()) {
    number = wrong->line;
    return fail(problem);
  }
  return text;
}

std::string FormatSequenceText(const SequenceText& text) {
  std::string out = std::string(kSequenceVersionLine) + "\n" + kComment + "\n";
  for (const OptionKey& option : kOptionKeys) {
    out += std::string(option.key) + " " + option.write(text.options) + "\n";
  }
  for (const std::string& picture : text.pictures) out += "picture " + picture + "\n";
  for (const SequencePairLine& pair : text.pairs) {
    out += "pair " + std::to_string(pair.number) + " " + std::string(StateWord(pair.state)) + " " +
           std::to_string(pair.frame_size.width) + "x" + std::to_string(pair.frame_size.height);
    if (pair.aligned_to) out += "@" + std::to_string(*pair.aligned_to);
    out += (pair.text.empty() ? "" : " " + pair.text) + "\n";
  }
  return out;
}

std::string PairMeshFileName(const std::string& sequence_path, int pair_number) {
  fs::path name(sequence_path);
  name.replace_filename(name.stem().string() + ".pair-" + std::to_string(pair_number) + ".mesh");
  return name.string();
}

Result<Sequence> ReadSequenceFile(const std::string& path) {
  Result<std::vector<std::uint8_t>> bytes = ReadWholeFile(path, kMaxSequenceFileBytes);
  if (!bytes) return Failure{path + ": " + bytes.Message()};
  Result<SequenceText> text = ParseSequenceText(bytes.Value(), path);
  if (!text) return Failure{text.Message()};
  const fs::path folder = fs::path(path).parent_path();
  Sequence sequence(text.Value().options);
  for (const std::string& name : text.Value().pictures) {
    const fs::path picture(name);
    const std::string resolved =
        picture.is_absolute() ? name : (folder / picture).lexically_normal().string();
    const int index = sequence.PictureCount();
    sequence.Add(index, resolved);
    sequence.SetPictureFound(index, FileReadable(resolved));
  }
  for (const SequencePairLine& line : text.Value().pairs) {
    PairMesh pair{line.state, line.text, {}, MeshFrame{line.frame_size, std::nullopt}};
    if (line.aligned_to) {
      pair.frame.aligned_to =
          *line.aligned_to == 0 ? PictureId{0} : sequence.Picture(*line.aligned_to - 1).id;
    }
    if (line.state != PairState::kFailed) {
      const std::string mesh_name = PairMeshFileName(path, line.number);
      Result<MeshFileContent> mesh = ReadMeshFile(mesh_name);
      if (!mesh) {
        return Failure{path + ", line " + std::to_string(line.line) + ": " + mesh_name + ": " +
                       mesh.Message()};
      }
      pair.mesh = AsWritten(TakeMeshSnapshot(mesh.Value().mesh));
    }
    sequence.RestoreMesh(sequence.PairAt(line.number - 1), std::move(pair));
  }
  return sequence;
}

Status WriteSequenceFile(const std::string& path, const Sequence& sequence) {
  const fs::path folder = FolderOf(path);
  SequenceText text{sequence.Options(), {}, {}};
  for (const SequencePicture& picture : sequence.Pictures()) {
    if (HasControl(picture.path)) {
      return Failure{
          "A picture name with a line break or another control character cannot be "
          "saved in a sequence: " +
          OneLine(picture.path)};
    }
    text.pictures.push_back(NameFrom(folder, picture.path));
  }
  for (int k = 0; k < sequence.PairCount(); ++k) {
    const PairMesh& mesh = sequence.MeshOf(sequence.PairAt(k));
    if (mesh.state == PairState::kNone) continue;
    SequencePairLine line{k + 1, mesh.state, mesh.frame.size, std::nullopt, OneLine(mesh.text), 0};
    if (mesh.frame.aligned_to) line.aligned_to = sequence.IndexOf(*mesh.frame.aligned_to) + 1;
    text.pairs.push_back(std::move(line));
  }
  for (const SequencePairLine& line : text.pairs) {
    if (line.state == PairState::kFailed) continue;
    const std::size_t first = static_cast<std::size_t>(line.number - 1);
    const std::size_t second = (first + 1) % text.pictures.size();
    const Status written =
        WriteMeshFile(PairMeshFileName(path, line.number),
                      RestoreMeshSnapshot(sequence.MeshOf(sequence.PairAt(line.number - 1)).mesh),
                      text.pictures[first], text.pictures[second]);
    if (!written) return Failure{"Pair " + std::to_string(line.number) + ": " + written.Message()};
  }
  const std::string out = FormatSequenceText(text);
  return WriteFileReplacing(path, std::vector<std::uint8_t>(out.begin(), out.end()));
}

std::string MissingPicturesMessage(const Sequence& sequence) {
  std::string names;
  int missing = 0;
  for (const SequencePicture& picture : sequence.Pictures()) {
    if (picture.found) continue;
    names += (missing++ == 0 ? "" : ", ") + picture.path;
  }
  if (missing == 0) return {};
  return (missing == 1 ? "Picture not found: " : "Pictures not found: ") + names;
}

}  // namespace vesk
