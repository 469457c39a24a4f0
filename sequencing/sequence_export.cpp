#include "sequencing/sequence_export.h"

#include "sequencing/sequence_output.h"

namespace vesk {

SequenceExport ExportSequence(const Sequence& sequence, SequencePictures& pictures,
                              const SequenceTriangles& triangles, const std::string& out,
                              RunProtocol& run, const std::function<void(int, int)>& pair_begins) {
  SequenceExport result;
  result.video = !IsFrameListName(out);
  // The first picture sets the frame's size when no size is given.
  if (Result<Bitmap> first = pictures.Picture(0); !first) {
    result.status = Failure{first.Message()};
    return result;
  }
  SequenceOutput output;
  result.status = output.Open(out, sequence.Options(), pictures.Width(), pictures.Height());
  if (!result.status) return result;
  result.list_path = output.ListPath();
  Status rendered = RenderSequence(
      sequence, pictures, triangles, run,
      [&output](const Bitmap& frame) { return output.Write(frame); }, pair_begins);
  result.cancelled = rendered && run.CancelRequested();
  if (!rendered || result.cancelled) {
    Status stopped = output.Stop(!rendered);
    result.status = !rendered ? rendered : stopped;
  } else {
    result.status = output.Finish();
  }
  result.frames = output.FramesWritten();
  return result;
}

}  // namespace vesk
