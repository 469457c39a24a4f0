// The sequence window's background Auto Mesh: one pair at a time on a
// thread of its own, through the sequencing library (the pictures placed as
// the sequence morphs them, each picture's face looked for once and handed
// to its other pair), so the window never waits for it. The result comes
// back on the interface thread with the pair and the frame it was made in;
// the core's Sequence then takes it only if it still fits (a late result
// never replaces an edit nor lands on pictures that have moved).
#pragma once

#include <QObject>
#include <QThreadPool>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/sequence/sequence.h"

namespace vesk {

class SequencePictures;

struct PairMeshRequest {
  PairKey key;
  MeshFrame frame;  // the sequence's frame when asked
  std::vector<std::string> paths;
  int first = 0;  // indices into `paths`
  int second = 0;
  bool align_faces = false;
  std::optional<ImageSize> output_size;
  AutoMeshMethod method = AutoMeshMethod::kAuto;
};

struct PairMeshResult {
  PairKey key;
  MeshFrame frame;
  bool made = false;  // else failed (or cancelled)
  bool cancelled = false;
  MeshSnapshot mesh;
  std::string text;  // the Auto Mesh summary, or the failure's reason
};

// The request for the sequence's next pair to mesh, if there is one.
std::optional<PairMeshRequest> NextPairMeshRequest(const Sequence& sequence);

class SequencePairMesher : public QObject {
  Q_OBJECT

 public:
  using Done = std::function<void(const PairMeshResult&)>;
  explicit SequencePairMesher(Done done, QObject* parent = nullptr);
  ~SequencePairMesher() override;

  bool Busy() const { return running_.has_value(); }
  // The pair being meshed.
  const std::optional<PairMeshRequest>& Running() const { return running_; }
  // Starts meshing (only while not Busy).
  void Start(PairMeshRequest request);
  // The running match stops at its next step; its result comes back
  // marked cancelled.
  void Cancel() { cancel_ = true; }

 private:
  PairMeshResult Mesh(const PairMeshRequest& request);

  Done done_;
  QThreadPool pool_;
  std::optional<PairMeshRequest> running_;
  std::atomic<bool> cancel_{false};
  // The pictures placed by earlier jobs, kept while the sequence's pictures
  // and placement stay the same (used on the worker thread only).
  std::unique_ptr<SequencePictures> pictures_;
  PairMeshRequest placed_for_;
};

}  // namespace vesk
