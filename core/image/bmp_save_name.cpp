#include "core/image/bmp_save_name.h"

namespace vesk {

std::string BmpSaveName(const std::string& chosen) {
  std::string upper = chosen;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (upper.find(".BMP") != std::string::npos) return chosen;
  return chosen + ".bmp";
}

}  // namespace vesk
