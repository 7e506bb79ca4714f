#pragma once
// JSON texts as the files of this program store them: UTF-8 checked and written with
// the JSON library's escapes (\" \\ \b \f \n \r \t, other control characters as
// \u00xx, everything else as it stands).

#include <string>
#include <string_view>

namespace lumetra::io {

// Whether the bytes are valid UTF-8 (shortest forms, no surrogates, at most U+10FFFF).
bool valid_utf8(std::string_view s);

// The text in double quotes with JSON's escapes. Bytes that are not UTF-8 are
// written as U+FFFD; a checked text never holds them.
std::string quoted(std::string_view s);

}  // namespace lumetra::io
