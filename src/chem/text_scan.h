#pragma once
// Characters of a composition text: ASCII letter classes, UTF-8 checking, blanks,
// character positions for messages and the text quoted in them.

#include <cstddef>
#include <string>
#include <string_view>

namespace lumetra::chem::detail {

inline bool upper(char c) {
    return c >= 'A' && c <= 'Z';
}
inline bool lower(char c) {
    return c >= 'a' && c <= 'z';
}
inline bool letter(char c) {
    return upper(c) || lower(c);
}
inline bool digit(char c) {
    return c >= '0' && c <= '9';
}
inline bool alnum(char c) {
    return letter(c) || digit(c);
}
inline char lower_of(char c) {
    return upper(c) ? static_cast<char>(c - 'A' + 'a') : c;
}

// The same ASCII letters whatever their case.
bool same_letters(std::string_view a, std::string_view b);

// The number of bytes of the UTF-8 character that starts with byte c (1 for a
// byte that starts none).
std::size_t utf8_length(unsigned char c);

// The byte where a text stops being UTF-8 (std::string_view::npos when it is):
// strictly, without overlong forms, surrogates (U+D800..U+DFFF), code points above
// U+10FFFF, the bytes C0, C1 and F5..FF, or a sequence cut short.
std::size_t invalid_utf8_at(std::string_view s);

// At most 40 characters of the text for a message, longer ones cut with an ellipsis.
std::string echo(std::string_view s);

// The bytes of a blank at j: space, tab, line ends, the no-break space U+00A0, the
// thin space U+2009 and the narrow no-break space U+202F (between a number and its
// unit in typeset text); 0 for anything else.
std::size_t blank_length(std::string_view s, std::size_t j);

// Nothing but blanks (or nothing at all).
bool all_blank(std::string_view s);

// 1-based character position of byte `at` of a UTF-8 text.
std::size_t char_position(std::string_view s, std::size_t at);

// "position 7"
std::string position(std::string_view s, std::size_t at);

}  // namespace lumetra::chem::detail
