#pragma once
// The parameter file: the composition of a sample. Save writes it as lines ended
// by CR LF:
//   line 1: the number of completed matrix rows (an integer; -10 or 0 when none)
//   line 2: "target symbol","target content"
//   then one line "symbol","content" per completed row (at most 11).
// Texts are stored exactly as typed, between double quotes.
//
// Load reads any file of items in that order:
// - items are separated by commas and line ends (CR LF, LF or CR); a comma directly
//   followed by a line end is one separator, and blank lines are skipped;
// - blanks (spaces, tabs) before an item are skipped;
// - a quoted item is taken without its quotes; it ends on its own line, and only
//   blanks may stand between its closing quote and the next separator;
// - an unquoted item runs to the next comma or line end, without its trailing
//   blanks, and holds no double quote;
// - a comma where an item should begin stands for an empty item, so "Fe,,O" is the
//   three items Fe, (empty) and O;
// - the first item is the count, a number that must be whole ("2", "+2", "2.0",
//   "2E0"), from -32768 to 11;
// - a UTF-8 byte-order mark at the start is skipped, and items after the last row
//   are not read.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumetra::io {

struct Composition {
    int count = 0;  // the first item
    std::string target_symbol;
    std::string target_content;
    std::vector<std::pair<std::string, std::string>> rows;  // symbol, content
};

constexpr int kMaxParameterRows = 11;
constexpr std::size_t kMaxParameterFileSize = 64 * 1024;

// Whether a text can be stored between quotes (no quote, no line break).
bool storable(std::string_view text);

// The file's bytes. Rows beyond count are not written.
std::string format_parameters(const Composition& c);

struct ParseResult {
    std::optional<Composition> composition;  // set when the file is valid
    std::string error;                       // why not, for the user
};

// Reads and checks a whole file of at most kMaxParameterFileSize bytes: the count,
// the target's two items and two items for each of the count's rows. A file that
// ends before them, or has a malformed item among them, gives no composition.
ParseResult parse_parameters(std::string_view bytes);

}  // namespace lumetra::io
