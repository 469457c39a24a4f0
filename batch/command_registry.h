// The subcommands of vesk-batch. Each lives in its own file and registers
// itself at start-up with a static VESK_BATCH_COMMAND entry, so main.cpp
// only dispatches.
#pragma once

#include <string>
#include <vector>

namespace vesk::batch {

// Exit status of the tool.
inline constexpr int kExitDone = 0;
inline constexpr int kExitBadInput = 1;
inline constexpr int kExitUsage = 2;

struct BatchCommand {
  const char* name;   // first word on the command line, e.g. "morph"
  const char* usage;  // synopsis line, e.g. "morph MESH [--frames N] ..."
  // Runs with the words after the name; returns an exit status.
  int (*run)(const std::vector<std::string>& args);
};

bool RegisterBatchCommand(const BatchCommand& command);
const std::vector<BatchCommand>& BatchCommands();

}  // namespace vesk::batch

#define VESK_BATCH_CONCAT2(a, b) a##b
#define VESK_BATCH_CONCAT(a, b) VESK_BATCH_CONCAT2(a, b)
// Registers a command: VESK_BATCH_COMMAND({"morph", "morph MESH ...", &RunMorph});
#define VESK_BATCH_COMMAND(...)                                                   \
  static const bool VESK_BATCH_CONCAT(vesk_batch_registered_, __LINE__) =        \
      ::vesk::batch::RegisterBatchCommand(::vesk::batch::BatchCommand __VA_ARGS__)
