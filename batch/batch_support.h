// What every vesk-batch subcommand shares: reading its options, reporting a
// failure as one line on standard error with the right exit status, loading
// and saving images, finding the images a mesh file names, and the run
// protocol of the tool (a progress bar on a terminal, Ctrl+C as the Kancel
// button, frames written through the frame list when --list is given).
//
// A frame-producing subcommand typically reads:
//
//   int RunColorize(const std::vector<std::string>& args) {
//     auto line = CommandLine::Parse(args, 2, {{"--frames", 1}, {"--list", 1}});
//     if (!line) return ReportUsage(kColorizeUsage, line.Message());
//     auto frames = line.Value().IntValue("--frames", 12, 1, 100);
//     if (!frames) return ReportUsage(kColorizeUsage, frames.Message());
//     auto first = LoadImageFile(line.Value().Positional()[0]);
//     if (!first) return ReportBadInput(first.Message());
//     ...
//     return RunFrameCommand("colorize", line.Value().Value("--list"),
//                            [&](RunProtocol& run) { return Colorize(..., run); });
//   }
#pragma once

#include <csignal>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "batch/command_registry.h"
#include "core/common/result.h"
#include "core/generate/generation_input.h"
#include "core/generate/run_protocol.h"
#include "core/image/bitmap.h"
#include "core/mesh/mesh_model.h"

namespace vesk::batch {

// ---- Command line -------------------------------------------------------

// An option of a subcommand and how many words follow it ("--sheet W H" has 2).
struct OptionRule {
  std::string_view name;
  int value_count = 1;
  bool repeatable = false;  // given again, its values follow the earlier ones
};

class CommandLine {
 public:
  // Splits the words after the subcommand into positional words and options.
  // Fails with a one-line message on an unknown option, a missing option
  // value, an option not repeatable given twice, or a number of positional
  // words other than positional_count (fewer, with `more_positional`).
  static Result<CommandLine> Parse(const std::vector<std::string>& args,
                                   std::size_t positional_count,
                                   std::initializer_list<OptionRule> options,
                                   bool more_positional = false);

  const std::vector<std::string>& Positional() const { return positional_; }
  bool Has(std::string_view name) const;
  // How many values the option was given (all its repeats together).
  std::size_t ValueCount(std::string_view name) const;
  // The option's index-th value, or "" when the option was not given.
  const std::string& Value(std::string_view name, std::size_t index = 0) const;
  // A whole decimal number in min..max; `fallback` when the option is absent.
  Result<int> IntValue(std::string_view name, int fallback, int min, int max,
                       std::size_t index = 0) const;
  // "on" or "off" (also 1/0, yes/no, true/false); `fallback` when absent.
  Result<bool> OnOffValue(std::string_view name, bool fallback) const;

 private:
  struct Given {
    std::string name;
    std::vector<std::string> values;
  };
  const Given* Find(std::string_view name) const;

  std::vector<std::string> positional_;
  std::vector<Given> options_;
};

// Whole decimal number in min..max (leading "+" or "-" allowed, nothing
// else around it), or a message naming `what`.
Result<int> ParseWholeNumber(std::string_view what, std::string_view text, int min, int max);

// Prints "vesk-batch: <problem> (usage: vesk-batch <usage>)" as one line on
// standard error and answers kExitUsage.
int ReportUsage(std::string_view usage, std::string_view problem);
// Prints "vesk-batch: <message>" as one line on standard error and answers
// kExitBadInput.
int ReportBadInput(std::string_view message);

// ---- Ctrl+C ---------------------------------------------------------------

// Installed once when the tool starts: from then on Ctrl+C (SIGINT) never
// kills the process half-way through a write; it only sets the flag that
// every step of a subcommand looks at.
void InstallInterruptHandler();
bool Interrupted();
// "vesk-batch: <title> cancelled<detail>" on standard error; kExitBadInput.
int ReportCancelled(std::string_view title, std::string_view detail = "");

// ---- Images and files ---------------------------------------------------

// The frame files a frame list names, each resolved against the list's
// folder; a list that cannot be read fails with "<list>: <why>".
Result<std::vector<std::string>> FrameFilesOfList(const std::string& list_path);

// Reads a picture through the programs' one picture reader
// (pictures/picture_reader.h); a failure is one line "<path>: <cause>".
Result<Bitmap> LoadImageFile(const std::string& path);

// Saves a bitmap as a 24-bit BMP file through the program's replacing
// write, so a failure leaves no half-written file. A Ctrl+C before the file
// is put in place drops it and answers "<title> cancelled; nothing written".
Status SaveImageFile(const Bitmap& image, const std::string& path, std::string_view title);
// The same for a file's bytes made elsewhere (a PNG picture, say).
Status SaveFileBytes(const std::vector<std::uint8_t>& bytes, const std::string& path,
                     std::string_view title);

// The text after the last "\" or "/" of a stored name (all of it if none).
std::string BareName(const std::string& stored_name);

// A picture's name as a mesh file written at `mesh` stores it: relative to
// the mesh file's folder when it lies there or below (the program looks
// there first), otherwise absolute.
std::string StoredName(const std::string& picture, const std::string& mesh);

// Where an image named in a mesh file is: a relative name in the mesh file's
// folder first, then the name as stored (from the current folder), then the
// bare name in the mesh file's folder; "" when none exists (the caller
// reports the stored name as not found).
std::string LocateMeshImage(const std::string& stored_name, const std::string& mesh_path);

// A mesh file with the two images it names, loaded for the morph or the
// distortion. Failures name the file at fault: the mesh file's own message
// ("Read beyond end of file", "Error in file format (required mesh 1.1)"),
// an image name that is empty or found nowhere, or the image loader's.
struct MeshScene {
  Mesh mesh;
  std::string first_path;  // where the images were found
  std::string second_path;
  Bitmap first;
  Bitmap second;
};
Result<MeshScene> LoadMeshScene(const std::string& mesh_path);

// The options of morph and distort: --frames N (1..100, default 12),
// --precision P (1..1000, default 1), --equalize on|off (default on),
// --render classic|smooth (default classic) and the timing options.
// The failure is a usage problem.
Result<GenerationSetup> GenerationSetupFromOptions(const CommandLine& line);

// The timing options into `setup`: --shape-curve C and --colour-curve C
// (linear, ease-in, ease-out or ease-in-out) and --hold H (0 ..
// kMaxHoldFrames); absent ones leave `setup` as it is. The failure is a
// usage problem.
Status ReadTimingOptions(const CommandLine& line, GenerationSetup& setup);
// --render classic|smooth into `setup`; absent, `setup` stays.
Status ReadRenderOption(const CommandLine& line, GenerationSetup& setup);

// ---- Running a computation ------------------------------------------------

// The tool's run protocol. Draws a progress bar on standard error when it is
// a terminal; Ctrl+C (at any time, also before the run began) acts as the
// Kancel button: the run stops at its next poll and keeps what it wrote. Frames are written only after
// OpenFrameList; without it WriteFrame keeps nothing, as when the frame-list
// dialog is cancelled.
class BatchRun : public RunProtocol {
 public:
  // `title` names the run on the progress bar, e.g. "morph".
  explicit BatchRun(std::string title);
  void SetTitle(std::string title) { title_ = std::move(title); }
  ~BatchRun() override;
  BatchRun(const BatchRun&) = delete;
  BatchRun& operator=(const BatchRun&) = delete;

  // Creates (or empties) the frame-list file; the frames are then written as
  // "imag<n>.bmp" files with the lowest free numbers in the list's folder.
  Status OpenFrameList(const std::string& list_path);
  // Writes out and closes the list; nothing happens when none is open.
  // After a failed run that wrote no frame no list is left (FrameOutput).
  Status CloseFrameList(bool run_failed = false);

  int FramesWritten() const { return frames_written_; }
  bool Cancelled() const;

  void Begin() override;
  void Counter(int k, int n) override;
  void InnerBar(int percent) override;
  bool CancelRequested() override;
  void EqualizationBegin() override;
  void EqualizationEnd() override;
  Status WriteFrame(const Bitmap& frame) override;
  void End() override;

 private:
  struct FrameList;
  void Draw(bool force);

  std::string title_;
  bool terminal_ = false;
  bool equalizing_ = false;
  int counter_k_ = -1;
  int counter_n_ = 0;
  int outer_percent_ = 0;
  int inner_percent_ = 0;
  long long last_draw_ms_ = -1;
  int frames_written_ = 0;
  bool running_ = false;
  std::unique_ptr<FrameList> list_;
};

// Runs a frame-producing computation the way every frame command of the
// tool does: opens the frame list when `list_path` is not empty (a failure
// there is reported before anything is computed), runs `compute`, closes
// the list with the frames written so far (also after a failure or Ctrl+C),
// prints a one-line summary on standard output and answers the exit status.
int RunFrameCommand(std::string title, const std::string& list_path,
                    const std::function<Status(RunProtocol&)>& compute);

// The engine of a mesh command (morph or distort), run on a loaded scene.
using MeshEngine =
    std::function<Status(const MeshScene& scene, std::span<const TrianglePositions> triangles,
                         const GenerationSetup& setup, Bitmap& vesk, RunProtocol& run)>;

// What morph and distort share: "<title> MESH [--frames N] [--precision P]
// [--equalize on|off] [--render classic|smooth] [--list OUT.any]" read from
// `args` (a usage problem is reported with `usage`), the mesh file's scene
// loaded (a failure is bad input), and `engine` run through RunFrameCommand.
int RunMeshFrameCommand(const std::string& title, std::string_view usage,
                        const std::vector<std::string>& args, const MeshEngine& engine);

}  // namespace vesk::batch
