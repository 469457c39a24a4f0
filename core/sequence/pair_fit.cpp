#include "core/sequence/pair_fit.h"

#include "core/image/similarity_warp.h"
#include "core/sequence/mesh_refit.h"

namespace vesk {

FittedPair FitSecondToFirst(const Bitmap& second, ImageSize first, const MeshSnapshot& mesh) {
  if (second.Width() == first.width && second.Height() == first.height) return {second, mesh};
  const Similarity fit = FitInside(second.Width(), second.Height(), first.width, first.height);
  return {WarpPicture(second, fit, first.width, first.height),
          MoveMeshNodes(mesh, Similarity{}, fit)};
}

}  // namespace vesk
