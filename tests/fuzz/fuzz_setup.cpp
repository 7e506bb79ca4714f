// Fuzz target of the setup-file reader:
// - any bytes give either a setup or a reason, never both and never a crash;
// - a setup keeps every value rule (Save would write it);
// - written out (when not too large to be read) it reads back as the same setup,
//   and writing that gives the same bytes: whatever layout, escapes, unknown keys
//   or missing keys were read, the written form holds the same settings.

#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "io/setup_format.h"

namespace {

using lumetra::fuzz::require;
using lumetra::io::check_setup;
using lumetra::io::format_setup;
using lumetra::io::kMaxSetupFileSize;
using lumetra::io::parse_setup;
using lumetra::io::SetupParse;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const SetupParse r = parse_setup(bytes);
    require(r.setup.has_value() == r.error.empty(), "a setup or a reason", bytes);
    if (!r.setup) return 0;
    require(check_setup(*r.setup).empty(), "a setup read keeps the value rules", bytes);

    // Writing indents every key on its own line; a file grown beyond what the reader
    // takes is never written (Save refuses it), so only the others count.
    const std::string written = format_setup(*r.setup);
    if (written.size() > kMaxSetupFileSize) return 0;
    const SetupParse again = parse_setup(written);
    require(again.setup.has_value(), "a written setup reads back", bytes);
    require(*again.setup == *r.setup, "the same setup after writing", bytes);
    require(format_setup(*again.setup) == written, "the same bytes", bytes);
    return 0;
}
