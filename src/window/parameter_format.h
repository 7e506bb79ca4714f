#pragma once
// The parameter file: the composition of a sample as lines ended by CR LF.
//   line 1: the number of completed matrix rows (an integer; -10 or 0 when none)
//   line 2: "target symbol","target content"
//   then one line "symbol","content" per completed row (at most 11).
// Texts are stored exactly as typed, between double quotes.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumetra::window {

struct Composition {
    int count = 0;  // the first line
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
    std::string error;                      // why not, for the user
};

// Reads and checks a whole file: a count from -32768 to 11, the target line and
// as many row lines as the count says, each two quoted items. Lines may end in
// CR LF or LF; lines after the last row are ignored.
ParseResult parse_parameters(std::string_view bytes);

}  // namespace lumetra::window
