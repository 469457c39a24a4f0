#include "core/common/file_io.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace vesk {

bool FileFound(const std::string& name) {
  if (name.empty()) return false;
  std::error_code ec;
  if (std::filesystem::is_directory(name, ec)) return false;
  std::FILE* f = std::fopen(name.c_str(), "r+b");
  if (f == nullptr) return false;
  std::fclose(f);
  // A file marked read-only counts as missing even for a user (root) whom
  // the system would let write it anyway.
  using std::filesystem::perms;
  perms mode = std::filesystem::status(name, ec).permissions();
  if (ec) return false;
  return (mode & (perms::owner_write | perms::group_write | perms::others_write)) != perms::none;
}

Result<std::vector<std::uint8_t>> ReadWholeFile(const std::string& name, std::uint64_t max_bytes) {
  std::error_code ec;
  if (name.empty() || std::filesystem::is_directory(name, ec)) return Failure{"File Not Found"};
  std::ifstream in(name, std::ios::binary);
  if (!in) return Failure{"File Not Found"};
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  if (size < 0) return Failure{"Could not read " + name};
  if (static_cast<std::uint64_t>(size) > max_bytes) return Failure{"File is too large: " + name};
  in.seekg(0, std::ios::beg);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size)) {
    return Failure{"Could not read " + name};
  }
  return bytes;
}

std::string TemporaryNameFor(const std::string& name) { return name + ".vesk-tmp"; }

Status MoveIntoPlace(const std::string& temporary, const std::string& name) {
  std::error_code ec;
  std::filesystem::rename(temporary, name, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return Failure{"Cannot write file " + name + ": " + ec.message()};
  }
  return Status::Success();
}

Status WriteFileReplacing(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  std::string temp = TemporaryNameFor(name);
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return Failure{"Cannot create file " + name};
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      std::filesystem::remove(temp, ignored);
      return Failure{"Cannot write file " + name};
    }
  }
  return MoveIntoPlace(temp, name);
}

}  // namespace vesk
