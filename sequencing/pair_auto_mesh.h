// A pair's Auto Mesh, made on its two pictures as the sequence morphs them
// (SequencePictures). A picture's face is looked for once: what is known of
// each picture's face (found for the alignment, or by the pair before) is
// handed to the match instead of looking again, and what the match found is
// kept for the picture's other pair.
#pragma once

#include "core/common/result.h"
#include "match/auto_match.h"
#include "sequencing/sequence_pictures.h"

namespace vesk {

// Auto Mesh of pictures `first` and `second` of `pictures` with `match`'s
// method, names, progress and cancel; a picture that cannot be read or
// placed fails with its message.
Result<AutoMeshOutcome> AutoMeshPair(SequencePictures& pictures, int first, int second,
                                     MatchOptions match);

}  // namespace vesk
