// The sequence file (".vseq"): a sequence's pictures, options and pair
// states as lines of text, with each pair's mesh in a mesh file of its own
// beside it (mesh_file.h, unchanged), so a pair can also be opened with
// Open Morph Mesh or rendered with `vesk-batch morph`.
//
//   vesk-sequence 1                  the version line, always first
//   # a comment                      comments and blank lines are skipped
//   frames 25                        frames a pair, 2 .. 1000
//   hold 0                           hold frames, 0 .. 1000
//   shape-curve linear               linear, ease-in, ease-out, ease-in-out
//   colour-curve linear
//   loop off                         on, off
//   align none                       none, faces
//   render smooth                    smooth, classic
//   method auto                      auto, faces, features, flow (new pairs)
//   fps 25                           frames a second, 1 .. 100
//   size first                       first (the first picture's) or W H
//   quality 80                       0 .. 100
//   lossless off                     on, off
//   picture anna.jpg                 one line a picture, in order
//   pair 1 auto 512x600 Faces: 66 + 12 points, 8 border, 0 removed
//   pair 2 edited 512x600@1
//   pair 3 failed 512x600 No face found in carl.jpg
//
// A line is a key, one space and its value, which runs to the end of the
// line as it stands (a picture name keeps its spaces). Lines end in LF; a
// CR just before it is dropped. Every option may be left out (its default
// is then used, those of `vesk-batch sequence`) but not given twice; a key
// this version does not know is refused, so a mistyped option never passes
// unseen (a later version that adds keys writes a higher version number,
// which this one refuses by name).
//
// Pictures are named relative to the folder of the sequence file, with "/"
// between folders, or absolute. Pair lines give the pair's number (pair K
// morphs picture K into picture K + 1, with the loop the last into the
// first), its state (auto, edited or failed; a pair without a line has no
// mesh yet), the frame its mesh was drawn in (the output size W x H, with
// "@N" when faces were aligned to picture N, "@0" to a picture no longer in
// the sequence) and then the Auto Mesh summary or the failure's reason.
// The mesh of pair K of "NAME.vseq" is "NAME.pair-K.mesh" in the same
// folder, naming its two pictures as the sequence file does; the picture
// names inside it are not read back (the sequence file's are).
//
// Failures are one line naming the file and, for the text, the line:
// "trip.vseq, line 4: unknown key \"frmes\"". A picture that is not there
// does not fail the reading: it stays in the sequence, marked not found,
// and MissingPicturesMessage names it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/common/result.h"
#include "core/sequence/sequence.h"

namespace vesk {

inline constexpr char kSequenceExtension[] = ".vseq";
inline constexpr char kSequenceVersionLine[] = "vesk-sequence 1";
// A sequence file is a few lines a picture; a larger one is refused.
inline constexpr std::uint64_t kMaxSequenceFileBytes = std::uint64_t{16} << 20;

// One pair line.
struct SequencePairLine {
  int number = 0;  // 1 .. pair count
  PairState state = PairState::kAutomatic;
  ImageSize frame_size;
  std::optional<int> aligned_to;  // picture number 1 .. P, 0 for one no longer there
  std::string text;
  int line = 0;  // where it stands in the file
  bool operator==(const SequencePairLine&) const = default;
};

// The text of a sequence file, read as it stands (picture names as written,
// no file looked at).
struct SequenceText {
  SequenceOptions options;
  std::vector<std::string> pictures;
  std::vector<SequencePairLine> pairs;
  bool operator==(const SequenceText&) const = default;
};

// `file_name` names the file in the messages.
Result<SequenceText> ParseSequenceText(std::span<const std::uint8_t> bytes,
                                       const std::string& file_name);
// The lines of `text`, in the order above; pair lines in the order given.
std::string FormatSequenceText(const SequenceText& text);

// "dir/trip.vseq", 2 -> "dir/trip.pair-2.mesh".
std::string PairMeshFileName(const std::string& sequence_path, int pair_number);

// The sequence at `path`: pictures resolved against its folder and marked
// found or not, every pair's mesh read from its mesh file (a mesh file that
// cannot be read fails the whole reading, naming it and the pair's line).
Result<Sequence> ReadSequenceFile(const std::string& path);

// Writes every pair's mesh file, then the sequence file, each through the
// replacing write, so each file is whole whatever happens and the sequence
// file is replaced only once its meshes are there. Refused, before anything
// is written, for a picture name holding a line break; the Auto Mesh
// summaries and failure reasons are written on one line.
Status WriteSequenceFile(const std::string& path, const Sequence& sequence);

// "Picture not found: a.jpg" or "Pictures not found: a.jpg, b.jpg" for the
// pictures marked not found; empty when every picture is there.
std::string MissingPicturesMessage(const Sequence& sequence);

}  // namespace vesk
