#include "match/auto_match.h"

#include <algorithm>
#include <cstdlib>

#include "core/mesh/face_points.h"
#include "match/match_steps.h"

namespace vesk {
namespace match_steps {

bool Continue(const MatchOptions& options, int percent) {
  if (options.progress) options.progress(percent);
  return !(options.cancelled && options.cancelled());
}

}  // namespace match_steps

namespace {

using namespace match_steps;

Result<MatchResult> FacePairs(const WorkPicture& first, const WorkPicture& second,
                              const std::vector<FaceBox>& faces1,
                              const std::vector<FaceBox>& faces2, const MatchOptions& options) {
  Result<FaceBox> face1 = ChooseFace(faces1, options.face_rank, options.first_name);
  if (!face1) return Failure{face1.Message()};
  Result<FaceBox> face2 = ChooseFace(faces2, options.face_rank, options.second_name);
  if (!face2) return Failure{face2.Message()};
  const std::string model = FaceModelPath(options.model_path, std::getenv(kFaceModelVariable));
  Result<Landmarks> shape1 = PlaceLandmarks(first, face1.Value(), model);
  if (!shape1) return Failure{shape1.Message()};
  if (!Continue(options, 70)) return Failure{kMatchCancelled};
  Result<Landmarks> shape2 = PlaceLandmarks(second, face2.Value(), model);
  if (!shape2) return Failure{shape2.Message()};

  MatchResult result;
  result.method = AutoMeshMethod::kFaces;
  result.faces_first = static_cast<int>(faces1.size());
  result.faces_second = static_cast<int>(faces2.size());
  result.pairs = FacePointPairs(shape1.Value(), shape2.Value());
  return result;
}

using PairFinder = Result<std::vector<PointPair>> (*)(const WorkPicture&, const WorkPicture&,
                                                      const MatchOptions&);

Result<MatchResult> RefinedPairs(AutoMeshMethod method, PairFinder find, const WorkPicture& first,
                                 const WorkPicture& second, const MatchOptions& options) {
  Result<std::vector<PointPair>> pairs = find(first, second, options);
  if (!pairs) return Failure{pairs.Message()};
  if (!Continue(options, 80)) return Failure{kMatchCancelled};
  RefineAtFullSize(first, second, pairs.Value());
  MatchResult result;
  result.method = method;
  result.pairs = std::move(pairs).Value();
  return result;
}

Result<MatchResult> Match(const Bitmap& first, const Bitmap& second, const MatchOptions& options) {
  for (const auto& [picture, name] :
       {std::pair{&first, &options.first_name}, std::pair{&second, &options.second_name}}) {
    Status size = CheckAutoMeshPicture({picture->Width(), picture->Height()}, *name);
    if (!size) return Failure{size.Message()};
  }
  const WorkPicture work1 = MakeWorkPicture(first);
  const WorkPicture work2 = MakeWorkPicture(second);
  if (!Continue(options, 10)) return Failure{kMatchCancelled};

  switch (options.method) {
    case AutoMeshMethod::kFeatures:
      return RefinedPairs(AutoMeshMethod::kFeatures, FeaturePairs, work1, work2, options);
    case AutoMeshMethod::kFlow:
      return RefinedPairs(AutoMeshMethod::kFlow, FlowPairs, work1, work2, options);
    case AutoMeshMethod::kFaces:
    case AutoMeshMethod::kAuto:
      break;
  }
  const std::vector<FaceBox> faces1 = DetectFaces(work1);
  const std::vector<FaceBox> faces2 = DetectFaces(work2);
  if (!Continue(options, 30)) return Failure{kMatchCancelled};
  const auto rank = static_cast<std::size_t>(std::max(options.face_rank, 1));
  const bool both = faces1.size() >= rank && faces2.size() >= rank;
  if (options.method == AutoMeshMethod::kFaces || both) {
    return FacePairs(work1, work2, faces1, faces2, options);
  }
  // Auto without a face in both: features, else flow, else say why not.
  Result<MatchResult> features =
      RefinedPairs(AutoMeshMethod::kFeatures, FeaturePairs, work1, work2, options);
  if (features || features.Message() == kMatchCancelled) return features;
  Result<MatchResult> flow = RefinedPairs(AutoMeshMethod::kFlow, FlowPairs, work1, work2, options);
  if (flow || flow.Message() == kMatchCancelled) return flow;
  const std::string no_face = faces1.size() < rank ? options.first_name : options.second_name;
  return Failure{"No face found in " + no_face + "; " + features.Message() + "; " + flow.Message()};
}

Result<AutoMeshOutcome> MeshOfPictures(const Bitmap& first, const Bitmap& second,
                                       const MatchOptions& options) {
  Result<MatchResult> match = Match(first, second, options);
  if (!match) return Failure{match.Message()};
  AutoMeshResult mesh = AutoMesh(match.Value().pairs, {first.Width(), first.Height()},
                                 {second.Width(), second.Height()}, options.mesh);
  if (!Continue(options, 100)) return Failure{kMatchCancelled};

  const MatchResult& found = match.Value();
  std::string report = AutoMeshReport(
      found.method, mesh,
      found.method == AutoMeshMethod::kFaces ? std::optional(kFaceLandmarkCount) : std::nullopt);
  if (found.faces_first > 1 || found.faces_second > 1) {
    report += "; faces found: " + std::to_string(found.faces_first) + " and " +
              std::to_string(found.faces_second);
  }
  return AutoMeshOutcome{std::move(mesh.mesh), std::move(match).Value(), std::move(report)};
}

}  // namespace

Result<MatchResult> MatchPictures(const Bitmap& first, const Bitmap& second,
                                  const MatchOptions& options) {
  return AtTheDoor([&] { return Match(first, second, options); });
}

Result<AutoMeshOutcome> AutoMeshOfPictures(const Bitmap& first, const Bitmap& second,
                                           const MatchOptions& options) {
  return AtTheDoor([&] { return MeshOfPictures(first, second, options); });
}

}  // namespace vesk
