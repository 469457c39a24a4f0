// The whole export of a sequence into one video or one frame list: the
// output opened at the frame's size, every pair rendered into it, and the
// output finished, or stopped after a failure or a cancel (no video left; a
// frame list naming exactly the frames written). `vesk-batch sequence` and
// the sequence window's Export both go through here, so the same pictures,
// meshes and options make the same files.
#pragma once

#include <functional>
#include <string>

#include "core/common/result.h"
#include "core/generate/run_protocol.h"
#include "core/sequence/sequence.h"
#include "sequencing/sequence_pictures.h"
#include "sequencing/sequence_render.h"

namespace vesk {

struct SequenceExport {
  Status status = Status::Success();  // the output's or the render's failure
  bool cancelled = false;             // `run` asked to stop
  bool video = false;
  int frames = 0;         // frames written
  std::string list_path;  // the frame list as written (".any" added)
};

SequenceExport ExportSequence(const Sequence& sequence, SequencePictures& pictures,
                              const SequenceTriangles& triangles, const std::string& out,
                              RunProtocol& run,
                              const std::function<void(int, int)>& pair_begins = {});

}  // namespace vesk
