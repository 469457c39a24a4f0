#include "match/auto_match.h"

#include <algorithm>
#include <cmath>
#include <thread>

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

// The landmarks of both pictures' faces: handed in or found. Auto without a
// face in a picture (rank 1) answers none, and `no_face` says which; any
// other shortfall (fewer faces than the rank, the model) is a failure.
using FacePair = std::pair<FaceLandmarks, FaceLandmarks>;
Result<std::optional<FacePair>> FacesOfBoth(const WorkPicture& work1, const WorkPicture& work2,
                                            const MatchOptions& options, std::string& no_face) {
  const std::optional<FaceLandmarks>* given[2] = {&options.first_face, &options.second_face};
  const WorkPicture* work[2] = {&work1, &work2};
  const std::string* name[2] = {&options.first_name, &options.second_name};
  std::vector<FaceBox> boxes[2];
  for (int i = 0; i < 2; ++i) {
    if (*given[i]) continue;
    boxes[i] = DetectFaces(*work[i]);
    if (boxes[i].empty() && options.method == AutoMeshMethod::kAuto && options.face_rank == 1) {
      no_face = "No face found in " + *name[i];
      return std::optional<FacePair>();
    }
  }
  if (!Continue(options, 30)) return Failure{kMatchCancelled};
  FaceLandmarks found[2];
  for (int i = 0; i < 2; ++i) {
    if (*given[i]) {
      found[i] = **given[i];
      continue;
    }
    Result<FaceLandmarks> face =
        LandmarksOf(*work[i], boxes[i], options.face_rank, options.model_path, *name[i]);
    if (!face) return Failure{face.Message()};
    found[i] = face.Value();
    if (!Continue(options, 40 + 10 * i)) return Failure{kMatchCancelled};
  }
  return std::optional(FacePair{found[0], found[1]});
}

using Found = std::optional<Result<std::vector<PointPair>>>;

// Auto's features, found on a thread of their own from the start while the
// faces and the flow are found on the caller's (the machines this runs on
// have two cores at least). The thread neither reports progress nor asks
// to stop, and no exception leaves it; Take waits for it.
class FeaturesMeanwhile {
 public:
  FeaturesMeanwhile(const WorkPicture& first, const WorkPicture& second,
                    const MatchOptions& options)
      : quiet_(options) {
    quiet_.progress = nullptr;
    quiet_.cancelled = nullptr;
    if (options.method == AutoMeshMethod::kAuto) {
      worker_ = std::jthread(Find, std::cref(first), std::cref(second), std::cref(quiet_),
                             std::ref(found_));
    }
  }
  Found Take() {
    if (worker_.joinable()) worker_.join();
    return std::move(found_);
  }

 private:
  static void Find(const WorkPicture& first, const WorkPicture& second,
                   const MatchOptions& options, Found& found) {
    found.emplace(AtTheDoor([&] { return FeaturePairs(first, second, options); }));
  }
  MatchOptions quiet_;
  Found found_;
  std::jthread worker_;
};

// The flow and the features as `options.method` asks (auto: both, the
// features from `meanwhile`), appended to `pairs` with their kinds, the
// flow first. With `needed`, finding none is a failure that gives each
// finder's reason after `prefix`, in the order the methods are listed.
Status FindMatched(const WorkPicture& first, const WorkPicture& second,
                   const MatchOptions& options, FeaturesMeanwhile& meanwhile, bool needed,
                   const std::string& prefix, std::vector<PointPair>& pairs,
                   std::vector<PointKind>& kinds) {
  Found flow, features;
  if (options.method == AutoMeshMethod::kFeatures) {
    features = FeaturePairs(first, second, options);
  } else {
    flow = FlowPairs(first, second, options);
    features = meanwhile.Take();
  }
  std::string reasons = prefix;
  for (const Found* found : {&features, &flow}) {
    if (!*found || **found) continue;
    if ((*found)->Message() == kMatchCancelled) return Failure{kMatchCancelled};
    reasons += (reasons.empty() ? "" : "; ") + (*found)->Message();
  }
  for (const auto& [found, kind] :
       {std::pair{&flow, PointKind::kFlow}, std::pair{&features, PointKind::kFeature}}) {
    if (!*found || !**found) continue;
    pairs.insert(pairs.end(), (*found)->Value().begin(), (*found)->Value().end());
    kinds.insert(kinds.end(), (*found)->Value().size(), kind);
  }
  if (pairs.empty() && needed) return Failure{reasons};
  return Status::Success();
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
  FeaturesMeanwhile meanwhile(work1, work2, options);

  MatchResult result;
  Refinement points;
  std::string no_face;
  if (options.method == AutoMeshMethod::kFaces || options.method == AutoMeshMethod::kAuto) {
    Result<std::optional<FacePair>> faces = FacesOfBoth(work1, work2, options, no_face);
    if (!faces) return Failure{faces.Message()};
    if (faces.Value()) {
      const auto& [face1, face2] = *faces.Value();
      points.face = FacePointPairs(face1.points, face2.points);
      const PicturePoint eye1 = face1.points[36], eye2 = face1.points[45];
      points.eyes = std::hypot(eye1.x - eye2.x, eye1.y - eye2.y);
      result.first_face = face1;
      result.second_face = face2;
    }
  }
  std::vector<PointKind> kinds;
  if (options.method != AutoMeshMethod::kFaces) {
    Status found = FindMatched(work1, work2, options, meanwhile, points.face.empty(), no_face,
                               points.matched, kinds);
    if (!found) return Failure{found.Message()};
  }
  if (!Continue(options, 80)) return Failure{kMatchCancelled};
  RefineAtFullSize(work1, work2, points);

  if (!points.face.empty()) {
    AppendPoints(result.points, std::span(points.face).first(kFaceLandmarkCount),
                 PointKind::kLandmark);
    AppendPoints(result.points, std::span(points.face).subspan(kFaceLandmarkCount),
                 PointKind::kForehead);
  }
  // A feature must come back by the tracking as the flow came back by the
  // flow the other way (pictures of different sizes are not tracked).
  const bool tracked = first.Width() == second.Width() && first.Height() == second.Height();
  for (std::size_t i = 0; i < points.matched.size(); ++i) {
    if (kinds[i] == PointKind::kFeature && tracked && !points.confirmed[i]) continue;
    result.points.push_back({points.matched[i], kinds[i]});
  }
  return result;
}

Result<AutoMeshOutcome> MeshOfPictures(const Bitmap& first, const Bitmap& second,
                                       const MatchOptions& options) {
  Result<MatchResult> match = Match(first, second, options);
  if (!match) return Failure{match.Message()};
  const std::vector<FoundPoint>& points = match.Value().points;
  AutoMeshResult mesh = AutoMesh(points, {first.Width(), first.Height()},
                                 {second.Width(), second.Height()}, options.mesh);
  if (!Continue(options, 100)) return Failure{kMatchCancelled};
  Status enough =
      CheckAutoMeshPoints(mesh, options.method, options.first_name, options.second_name);
  if (!enough) return Failure{enough.Message()};

  std::string report = AutoMeshReport(points, mesh);
  const std::optional<FaceLandmarks>& face1 = match.Value().first_face;
  const std::optional<FaceLandmarks>& face2 = match.Value().second_face;
  if (face1 && face2 && (face1->faces_found > 1 || face2->faces_found > 1)) {
    report += "; faces found: " + std::to_string(face1->faces_found) + " and " +
              std::to_string(face2->faces_found);
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
