// Writing the frames of a frame list straight to an AVI file, loading one
// BMP frame at a time: what the batch tool's "avi" command does.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/common/result.h"

namespace vesk {

// Writes the BMP files `frame_files` (names used as given) as an AVI file at
// `out_path`, with the rules of WriteAviFile. A frame that cannot be loaded
// ends the writing with "<name>: <loader's message>" and leaves the previous
// file. `counter` (may be empty) gets (i, n) before frame i of n.
Status WriteAviFromList(const std::vector<std::string>& frame_files, const std::string& out_path,
                        const std::function<void(int, int)>& counter);

}  // namespace vesk
