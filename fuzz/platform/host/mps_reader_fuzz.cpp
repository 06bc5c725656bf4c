// The host's MPS reader on any bytes: it must end in a model record that keeps the record's
// rules (record_check.hpp) or in std::runtime_error naming the file; anything else (a crash, a
// hang, another exception, a leak) is a finding.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "mps_reader.hpp"
#include "record_check.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    fuzz_host::checkRecord(qelhost::readMps(text, "fuzz.mps"));
  } catch (const std::runtime_error& e) {
    if (std::string_view(e.what()).rfind("cannot read 'fuzz.mps': ", 0) != 0) {
      fuzz_host::violated("an error that does not name the file");
    }
  }
  return 0;
}
