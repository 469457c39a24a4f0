// Keeping the frames of a run: every finished frame is saved as the BMP file
// "imag" + n + ".bmp" with the lowest free n in the frame-list file's folder,
// and its name is appended to the frame-list file (one name per line, CR LF
// after every line, an empty file when no frame was written).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/common/file_io.h"
#include "core/common/result.h"
#include "core/image/bitmap.h"

namespace vesk {

// "imag" + decimal n + ".bmp".
std::string FrameFileName(std::uint64_t n);

// The lowest free frame name in `folder` (empty: the current folder): names
// are probed from imag1.bmp upward with FileFound, so a deleted frame's
// number is taken again first and a name FileFound cannot open counts as
// free. The answer has no folder part.
std::string NextFrameName(const std::string& folder);

// The frame-list file for a name chosen in the dialog: unchanged when its
// upper-case form contains ".ANY" anywhere (folders included), otherwise
// with ".any" appended.
std::string FrameListPathFor(const std::string& chosen);

// The frame-list file being written by a run, through ReplacingWrite: the
// previous list stays whole until Close puts the new one in place.
class FrameListWriter {
 public:
  FrameListWriter() = default;
  FrameListWriter(FrameListWriter&& other) noexcept;
  // Closes this list first, then takes over the other's.
  FrameListWriter& operator=(FrameListWriter&& other) noexcept;
  ~FrameListWriter();

  // Starts an empty list at `path`. Fails, writing nothing, when the file
  // cannot be created there (missing folder, a read-only file, a folder or
  // FIFO under that name).
  Status Create(const std::string& path);
  bool IsOpen() const { return !path_.empty(); }
  const std::string& Path() const { return path_; }

  // Appends `name` and CR LF. A line that cannot be written whole (a full
  // disk) is cut away again, so the list only ever holds whole lines.
  Status Append(const std::string& name);

  // Writes out what is buffered and puts the list in place. The list then
  // holds every line appended. Nothing happens when no list is open.
  Status Close();
  // Drops the list being written; an older list under the name stays.
  void Abandon();

 private:
  std::string path_;
  std::unique_ptr<ReplacingWrite> out_;
  std::uint64_t length_ = 0;  // of the whole lines written
};

// The frame output of one frame-producing command: OpenFrameList's file,
// WriteFrame for every frame, and the closing of the list at the end.
class FrameOutput {
 public:
  FrameOutput() = default;
  FrameOutput(FrameOutput&&) = default;
  FrameOutput& operator=(FrameOutput&&) = default;
  ~FrameOutput() = default;

  // After the user chose `chosen` in the frame-list dialog: applies the
  // ".any" rule and creates the list (an existing one is replaced without a
  // question). Frames are written in the folder of the list file.
  Status Open(const std::string& chosen);
  bool IsOpen() const { return list_.IsOpen(); }
  const std::string& ListPath() const { return list_.Path(); }
  const std::string& FrameFolder() const { return folder_; }
  int FramesWritten() const { return frames_written_; }

  // Saves `frame` under NextFrameName and appends that name to the list.
  // Does nothing when no list is open. A failure (frame file or list line
  // not written) is answered; the frame is then not in the list.
  Status WriteFrame(const Bitmap& frame);

  // Ends the run's list: every frame written so far is in it. After a run
  // that failed (`run_failed`, a full disk say) before any frame was
  // written, no list is put in place: no empty list is left behind and an
  // older one stays. (A run cancelled before its first frame still leaves
  // its empty list, a valid list of the frames written.)
  Status Close(bool run_failed = false);

 private:
  FrameListWriter list_;
  std::string folder_;
  int frames_written_ = 0;
};

}  // namespace vesk
