#include "app/sequence_pair_mesher.h"

#include <QMetaObject>

#include "sequencing/pair_auto_mesh.h"
#include "sequencing/sequence_pictures.h"

namespace vesk {

std::optional<PairMeshRequest> NextPairMeshRequest(const Sequence& sequence) {
  const std::vector<PairKey> waiting = sequence.PairsToMesh();
  if (waiting.empty()) return std::nullopt;
  PairMeshRequest request;
  request.key = waiting.front();
  request.frame = *sequence.Frame();  // PairsToMesh answers only once it is known
  for (const SequencePicture& picture : sequence.Pictures()) request.paths.push_back(picture.path);
  request.first = sequence.IndexOf(request.key.first);
  request.second = sequence.IndexOf(request.key.second);
  request.align_faces = sequence.Options().align_faces;
  request.output_size = sequence.Options().output_size;
  request.method = sequence.Options().method;
  return request;
}

SequencePairMesher::SequencePairMesher(Done done, QObject* parent)
    : QObject(parent), done_(std::move(done)) {
  pool_.setMaxThreadCount(1);
}

SequencePairMesher::~SequencePairMesher() {
  cancel_ = true;
  pool_.waitForDone();
}

void SequencePairMesher::Start(PairMeshRequest request) {
  running_ = request;
  cancel_ = false;
  pool_.start([this, request] {
    PairMeshResult result = Mesh(request);
    QMetaObject::invokeMethod(
        this,
        [this, result] {
          running_.reset();
          done_(result);
        },
        Qt::QueuedConnection);
  });
}

PairMeshResult SequencePairMesher::Mesh(const PairMeshRequest& request) {
  if (!pictures_ || placed_for_.paths != request.paths ||
      placed_for_.align_faces != request.align_faces ||
      placed_for_.output_size != request.output_size) {
    pictures_ = std::make_unique<SequencePictures>(request.paths, request.align_faces,
                                                   request.output_size, std::string());
    placed_for_ = request;
  }
  MatchOptions match;
  match.method = request.method;
  match.first_name = request.paths[static_cast<std::size_t>(request.first)];
  match.second_name = request.paths[static_cast<std::size_t>(request.second)];
  match.cancelled = [this] { return cancel_.load(); };
  Result<AutoMeshOutcome> outcome = AutoMeshPair(*pictures_, request.first, request.second, match);
  PairMeshResult result;
  result.key = request.key;
  result.frame = request.frame;
  result.cancelled = cancel_;
  result.made = outcome.Ok() && !result.cancelled;
  if (result.made) {
    result.mesh = TakeMeshSnapshot(outcome.Value().mesh);
    result.text = outcome.Value().report;
  } else {
    result.text = outcome.Ok() ? std::string("cancelled") : outcome.Message();
  }
  return result;
}

}  // namespace vesk
