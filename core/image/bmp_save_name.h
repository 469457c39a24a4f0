// The name under which "Save Vesk Image as.." writes: the chosen name as
// typed when its upper-case form holds ".BMP" anywhere, else with ".bmp"
// appended.
#pragma once

#include <string>

namespace vesk {

std::string BmpSaveName(const std::string& chosen);

}  // namespace vesk
