// The save dialogs' name rule: a chosen name whose upper-case form contains
// the extension anywhere (not only at its end) is used as typed; any other
// name gets the extension appended. "anim" -> "anim.any", while
// "my.anything" and "a.bmp.old" stay as they are.
#pragma once

#include <string>

namespace vesk {

// `upper_extension` is given in upper case (".ANY"); the lower-case form is
// what gets appended.
std::string WithExtensionUnlessContained(const std::string& chosen,
                                         const std::string& upper_extension);

}  // namespace vesk
