// libFuzzer target for the sequence file's text: a refused text names the
// file and a line; what is read passes the option checks, and writes a text
// that reads back the same and writes the same again.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "core/sequence/sequence_file.h"

namespace {

vesk::Result<vesk::SequenceText> Parse(std::span<const std::uint8_t> bytes) {
  return vesk::ParseSequenceText(bytes, "f.vseq");
}

std::span<const std::uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto read = Parse({data, size});
  if (!read.Ok()) {
    if (read.Message().rfind("f.vseq, line ", 0) != 0) std::abort();
    return 0;
  }
  if (!vesk::CheckSequenceOptions(read.Value().options)) std::abort();
  const std::string text = vesk::FormatSequenceText(read.Value());
  auto again = Parse(Bytes(text));
  if (!again.Ok() || again.Value().options != read.Value().options ||
      again.Value().pictures != read.Value().pictures ||
      again.Value().pairs.size() != read.Value().pairs.size()) {
    std::abort();
  }
  for (std::size_t i = 0; i < read.Value().pairs.size(); ++i) {
    vesk::SequencePairLine a = read.Value().pairs[i], b = again.Value().pairs[i];
    a.line = b.line = 0;
    if (!(a == b)) std::abort();
  }
  if (vesk::FormatSequenceText(again.Value()) != text) std::abort();
  return 0;
}
