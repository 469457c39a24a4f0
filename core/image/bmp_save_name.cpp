#include "core/image/bmp_save_name.h"

#include "core/common/file_name_rules.h"

namespace vesk {

std::string BmpSaveName(const std::string& chosen) {
  return WithExtensionUnlessContained(chosen, ".BMP");
}

}  // namespace vesk
