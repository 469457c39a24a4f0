// SHA-256 of a byte buffer as 64 lower-case hex digits, for comparing
// decoded pixels with recorded checksums. Test support only.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vesk::testing {

std::string Sha256Hex(std::span<const std::uint8_t> bytes);

}  // namespace vesk::testing
