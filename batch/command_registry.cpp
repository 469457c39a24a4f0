#include "batch/command_registry.h"

namespace vesk::batch {
namespace {

std::vector<BatchCommand>& Registry() {
  static std::vector<BatchCommand> commands;
  return commands;
}

}  // namespace

bool RegisterBatchCommand(const BatchCommand& command) {
  Registry().push_back(command);
  return true;
}

const std::vector<BatchCommand>& BatchCommands() { return Registry(); }

}  // namespace vesk::batch
