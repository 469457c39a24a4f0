#include "core/sequence/sequence.h"

#include <algorithm>
#include <cassert>
#include <iterator>
#include <utility>

#include "core/sequence/mesh_refit.h"

namespace vesk {
namespace {

bool Known(const std::optional<ImageSize>& size) {
  return size && size->width > 0 && size->height > 0;
}

}  // namespace

const SequencePicture& Sequence::Picture(int index) const {
  assert(index >= 0 && index < PictureCount());
  return pictures_[static_cast<std::size_t>(index)];
}

int Sequence::IndexOf(PictureId id) const {
  for (int i = 0; i < PictureCount(); ++i) {
    if (pictures_[static_cast<std::size_t>(i)].id == id) return i;
  }
  return -1;
}

PictureId Sequence::Add(int index, std::string path) {
  assert(index >= 0 && index <= PictureCount());
  const PictureId id = next_id_++;
  pictures_.insert(pictures_.begin() + index, SequencePicture{id, std::move(path), {}, true});
  Settle();
  return id;
}

void Sequence::Remove(int index) {
  assert(index >= 0 && index < PictureCount());
  pictures_.erase(pictures_.begin() + index);
  Settle();
}

void Sequence::Move(int from, int to) {
  assert(from >= 0 && from < PictureCount() && to >= 0 && to < PictureCount());
  SequencePicture moved = std::move(pictures_[static_cast<std::size_t>(from)]);
  pictures_.erase(pictures_.begin() + from);
  pictures_.insert(pictures_.begin() + to, std::move(moved));
  Settle();
}

void Sequence::Relocate(int index, std::string path) {
  assert(index >= 0 && index < PictureCount());
  SequencePicture& picture = pictures_[static_cast<std::size_t>(index)];
  picture.path = std::move(path);
  picture.size.reset();
  picture.found = true;
  Settle();
}

void Sequence::SetPictureSize(int index, std::optional<ImageSize> size) {
  assert(index >= 0 && index < PictureCount());
  pictures_[static_cast<std::size_t>(index)].size = size;
  Settle();
}

void Sequence::SetPictureFound(int index, bool found) {
  assert(index >= 0 && index < PictureCount());
  pictures_[static_cast<std::size_t>(index)].found = found;
}

void Sequence::SetOptions(const SequenceOptions& options) {
  options_ = options;
  Settle();
}

std::optional<MeshFrame> Sequence::Frame() const {
  if (pictures_.empty()) return std::nullopt;
  const std::optional<ImageSize> size =
      options_.output_size ? options_.output_size : pictures_.front().size;
  if (!Known(size)) return std::nullopt;
  MeshFrame frame{*size, std::nullopt};
  if (options_.align_faces) frame.aligned_to = pictures_.front().id;
  return frame;
}

int Sequence::PairCount() const {
  if (PictureCount() < 2) return 0;
  return options_.loop ? PictureCount() : PictureCount() - 1;
}

PairKey Sequence::PairAt(int k) const {
  assert(k >= 0 && k < PairCount());
  const std::size_t from = static_cast<std::size_t>(k);
  return PairKey{pictures_[from].id, pictures_[(from + 1) % pictures_.size()].id};
}

int Sequence::PairIndex(PairKey key) const {
  for (int k = 0; k < PairCount(); ++k) {
    if (PairAt(k) == key) return k;
  }
  return -1;
}

const PairMesh& Sequence::MeshOf(PairKey key) const {
  static const PairMesh kNoMesh;
  const auto found = meshes_.find(key);
  return found == meshes_.end() ? kNoMesh : found->second;
}

std::vector<PairKey> Sequence::PairsToMesh() const {
  std::vector<PairKey> pairs;
  if (!Frame()) return pairs;
  for (int k = 0; k < PairCount(); ++k) {
    const PairKey key = PairAt(k);
    const bool found = Picture(IndexOf(key.first)).found && Picture(IndexOf(key.second)).found;
    if (found && !meshes_.contains(key)) pairs.push_back(key);
  }
  return pairs;
}

std::vector<PairKey> Sequence::PairsOutOfFrame() const {
  std::vector<PairKey> pairs;
  const std::optional<MeshFrame> frame = Frame();
  for (int k = 0; frame && k < PairCount(); ++k) {
    const PairMesh& mesh = MeshOf(PairAt(k));
    if (mesh.state == PairState::kEdited && mesh.frame != *frame) pairs.push_back(PairAt(k));
  }
  return pairs;
}

bool Sequence::TakeResult(PairKey key, PairMesh result) {
  if (PairIndex(key) < 0 || meshes_.contains(key) || Frame() != result.frame) return false;
  meshes_.emplace(key, std::move(result));
  return true;
}

bool Sequence::SetAutomaticMesh(PairKey key, MeshSnapshot mesh, std::string summary,
                                const MeshFrame& frame) {
  return TakeResult(key,
                    PairMesh{PairState::kAutomatic, std::move(summary), std::move(mesh), frame});
}

bool Sequence::SetFailed(PairKey key, std::string reason, const MeshFrame& frame) {
  return TakeResult(key, PairMesh{PairState::kFailed, std::move(reason), {}, frame});
}

bool Sequence::SetEditedMesh(PairKey key, MeshSnapshot mesh) {
  const std::optional<MeshFrame> frame = Frame();
  if (PairIndex(key) < 0 || !frame) return false;
  meshes_[key] = PairMesh{PairState::kEdited, {}, std::move(mesh), *frame};
  return true;
}

void Sequence::ClearMesh(PairKey key) { meshes_.erase(key); }

bool Sequence::RestoreMesh(PairKey key, PairMesh mesh) {
  if (PairIndex(key) < 0 || mesh.state == PairState::kNone) return false;
  meshes_[key] = std::move(mesh);
  Settle();
  return true;
}

void Sequence::Settle() {
  std::erase_if(meshes_, [this](const auto& entry) { return PairIndex(entry.first) < 0; });
  const std::optional<MeshFrame> frame = Frame();
  if (!frame) return;
  for (auto it = meshes_.begin(); it != meshes_.end();) {
    PairMesh& pair = it->second;
    if (pair.frame == *frame) {
      ++it;
      continue;
    }
    if (pair.state != PairState::kEdited) {
      it = meshes_.erase(it);
      continue;
    }
    const std::optional<ImageSize> first = Picture(IndexOf(it->first.first)).size;
    const std::optional<ImageSize> second = Picture(IndexOf(it->first.second)).size;
    if (!pair.frame.aligned_to && !frame->aligned_to && Known(first) && Known(second)) {
      pair.mesh = MoveMeshNodes(pair.mesh, RefitMove(*first, pair.frame.size, frame->size),
                                RefitMove(*second, pair.frame.size, frame->size));
      pair.frame = *frame;
    }
    ++it;
  }
}

}  // namespace vesk
