// Fuzz target of the parameter-file reader:
// - any bytes give either a composition or a reason, never both and never a crash;
// - a composition has a count of at most 11 and exactly its rows;
// - written out again (when not too large to be read) it reads back as the same
//   composition, and writing that gives the same bytes: whatever layout was read
//   (unquoted items, one line, CR line ends, a byte-order mark), its items hold
//   nothing that the written form cannot quote.

#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "io/parameter_format.h"

namespace {

using lumetra::fuzz::require;
using lumetra::io::Composition;
using lumetra::io::format_parameters;
using lumetra::io::kMaxParameterFileSize;
using lumetra::io::kMaxParameterRows;
using lumetra::io::parse_parameters;
using lumetra::io::ParseResult;

bool same(const Composition& a, const Composition& b) {
    return a.count == b.count && a.target_symbol == b.target_symbol &&
           a.target_content == b.target_content && a.rows == b.rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ParseResult r = parse_parameters(bytes);
    require(r.composition.has_value() == r.error.empty(), "a composition or a reason", bytes);
    if (!r.composition) return 0;

    const Composition& c = *r.composition;
    require(c.count <= kMaxParameterRows, "at most 11 rows", bytes);
    require(c.rows.size() == static_cast<std::size_t>(c.count > 0 ? c.count : 0),
            "as many rows as the count says", bytes);

    // Writing may lengthen a file (other line ends become CR LF, every item is
    // quoted, each row gets its own line); one grown beyond what the reader takes is
    // never written (Save refuses it), so only the others count.
    const std::string written = format_parameters(c);
    if (written.size() > kMaxParameterFileSize) return 0;
    const ParseResult again = parse_parameters(written);
    require(again.composition.has_value(), "a written composition reads back", bytes);
    require(same(c, *again.composition), "the same composition after writing", bytes);
    require(format_parameters(*again.composition) == written, "the same bytes", bytes);
    return 0;
}
