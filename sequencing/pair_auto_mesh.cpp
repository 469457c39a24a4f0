#include "sequencing/pair_auto_mesh.h"

namespace vesk {

Result<AutoMeshOutcome> AutoMeshPair(SequencePictures& pictures, int first, int second,
                                     MatchOptions match) {
  Result<Bitmap> from = pictures.Picture(first);
  if (!from) return Failure{from.Message()};
  Result<Bitmap> to = pictures.Picture(second);
  if (!to) return Failure{to.Message()};
  match.first_face = pictures.Face(first);
  match.second_face = pictures.Face(second);
  Result<AutoMeshOutcome> outcome = AutoMeshOfPictures(from.Value(), to.Value(), match);
  if (!outcome) return outcome;
  const MatchResult& found = outcome.Value().match;
  if (!pictures.Face(first) && found.first_face) pictures.KeepFace(first, *found.first_face);
  if (!pictures.Face(second) && found.second_face) pictures.KeepFace(second, *found.second_face);
  return outcome;
}

}  // namespace vesk
