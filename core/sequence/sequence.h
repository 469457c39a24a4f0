// A sequence: pictures in order, morphed each into the next (with the loop,
// the last back into the first), each pair with its mesh and the state of
// that mesh, and the sequence's options. The sequence window, the export and
// `vesk-batch sequence` share this plain model; the window only shows and
// edits it. It is a value: a copy is a complete undo state or the input of a
// background job.
//
// Pictures keep an id for their whole life in the sequence, and a pair is
// known by the ids of its two pictures in order (PairKey), never by its
// place: adding, removing and moving pictures keep every pair whose two
// pictures still follow each other, with its mesh, wherever it now stands.
// A pair that no longer exists loses its mesh at once; a pair that is new
// has none and is meshed automatically (PairsToMesh).
//
// A pair's mesh is drawn on its two pictures as they are morphed: each
// fitted into the output size and, with faces aligned, turned onto the
// first picture's eyes. That placement is the mesh's frame (MeshFrame):
// the output size and, with faces aligned, the picture whose eyes the
// others are turned to. When the sequence's frame changes (another output
// size, the first picture replaced by one of another size, faces aligned or
// not, another first picture with faces aligned):
//  - automatic meshes and failures of the old frame are dropped, so the
//    pair is meshed again on the pictures as they now stand;
//  - a mesh edited by hand is moved with its pictures when neither frame
//    aligns faces and both pictures' sizes are known (RefitMove); otherwise
//    it is kept as it was and listed by PairsOutOfFrame, for the caller to
//    move it with the pictures' placements (MoveMeshNodes) or to drop it.
// While the frame is not known (the output size is the first picture's and
// that is not read yet) meshes are kept as they are.
#pragma once

#include <compare>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/mesh/grid_mesh.h"
#include "core/mesh/mesh_snapshot.h"
#include "core/sequence/sequence_options.h"

namespace vesk {

// Ids start at 1; 0 names no picture (a frame aligned to a picture that has
// left the sequence).
using PictureId = std::uint32_t;

struct SequencePicture {
  PictureId id = 0;
  std::string path;               // as given, or resolved from a sequence file
  std::optional<ImageSize> size;  // once the picture was read
  bool found = true;              // false: not there when the sequence was opened
  bool operator==(const SequencePicture&) const = default;
};

struct PairKey {
  PictureId first = 0;
  PictureId second = 0;
  auto operator<=>(const PairKey&) const = default;
};

// The frame a mesh is drawn in: the output size and, with faces aligned,
// the picture whose eyes the others are turned onto.
struct MeshFrame {
  ImageSize size;
  std::optional<PictureId> aligned_to;
  bool operator==(const MeshFrame&) const = default;
};

enum class PairState {
  kNone,       // no mesh yet: to be meshed automatically
  kAutomatic,  // made by Auto Mesh; `text` is its summary
  kEdited,     // edited by hand
  kFailed,     // Auto Mesh failed; `text` is the reason
};

struct PairMesh {
  PairState state = PairState::kNone;
  std::string text;   // the Auto Mesh summary, or the failure's reason
  MeshSnapshot mesh;  // automatic and edited meshes
  MeshFrame frame;    // every state but kNone
  bool operator==(const PairMesh&) const = default;
};

class Sequence {
 public:
  explicit Sequence(SequenceOptions options = {}) : options_(options) {}

  // ---- Pictures. Indices run from 0 to PictureCount() - 1.
  int PictureCount() const { return static_cast<int>(pictures_.size()); }
  const SequencePicture& Picture(int index) const;
  const std::vector<SequencePicture>& Pictures() const { return pictures_; }
  // The index of the picture with `id`, or -1.
  int IndexOf(PictureId id) const;

  // Inserts a picture before `index` (PictureCount() appends); its id.
  PictureId Add(int index, std::string path);
  void Remove(int index);
  // Takes the picture at `from` out and puts it back so that it stands at
  // `to` (both 0 .. PictureCount() - 1).
  void Move(int from, int to);
  // The same picture found under another name (a missing picture located):
  // its pairs and their meshes stay; its size is to be read again.
  void Relocate(int index, std::string path);
  void SetPictureSize(int index, std::optional<ImageSize> size);
  void SetPictureFound(int index, bool found);

  // ---- Options.
  const SequenceOptions& Options() const { return options_; }
  void SetOptions(const SequenceOptions& options);

  // The frame meshes are drawn in now; none while the output size is the
  // first picture's and that is not known, or there is no picture.
  std::optional<MeshFrame> Frame() const;

  // ---- Pairs. Pair k morphs picture k into picture k + 1 (the last, with
  // the loop, picture P - 1 into picture 0); fewer than two pictures make
  // no pair.
  int PairCount() const;
  PairKey PairAt(int k) const;
  // The place of the pair, or -1 when its pictures no longer follow each
  // other.
  int PairIndex(PairKey key) const;
  // The pair's mesh (state kNone for a pair without one).
  const PairMesh& MeshOf(PairKey key) const;

  // Pairs without a mesh whose pictures are both found, in order, once the
  // frame is known: what the background mesher does next.
  std::vector<PairKey> PairsToMesh() const;
  // Pairs edited by hand whose mesh was drawn in another frame than the
  // present one (see above), in order.
  std::vector<PairKey> PairsOutOfFrame() const;

  // An Auto Mesh result (or failure) for the pair, made in `frame`. Taken
  // only when the pair still exists without a mesh and `frame` is the
  // present frame, so a late result never replaces an edit and never lands
  // on pictures that have moved; answers whether it was taken.
  bool SetAutomaticMesh(PairKey key, MeshSnapshot mesh, std::string summary,
                        const MeshFrame& frame);
  bool SetFailed(PairKey key, std::string reason, const MeshFrame& frame);
  // A mesh edited by hand, drawn in the present frame. Answers false (and
  // changes nothing) when the pair does not exist or the frame is unknown.
  bool SetEditedMesh(PairKey key, MeshSnapshot mesh);
  // Forgets the pair's mesh, so it is meshed again.
  void ClearMesh(PairKey key);
  // Puts back a pair's mesh as it was saved, in whatever frame it was drawn
  // (the sequence file's reader); the rules above then apply as after any
  // change. False for a pair that does not exist or the state kNone.
  bool RestoreMesh(PairKey key, PairMesh mesh);

  bool operator==(const Sequence&) const = default;

 private:
  // Drops the meshes of pairs that are gone and refits the others to the
  // present frame (see above). Every change ends here.
  void Settle();
  bool TakeResult(PairKey key, PairMesh result);

  SequenceOptions options_;
  std::vector<SequencePicture> pictures_;
  std::map<PairKey, PairMesh> meshes_;  // only pairs with a state other than kNone
  PictureId next_id_ = 1;
};

}  // namespace vesk
