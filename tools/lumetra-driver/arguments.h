#pragma once
// The words of a driver command and their checks; a word that does not fit
// fails the command with the reason.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "window/controls.h"

namespace lumetra::driver {

using window::Control;
using window::ControlKind;
using window::MouseButton;

// Thrown by a command that cannot run; run_line prints it as "ERROR reason".
struct Failure {
    std::string reason;
};

[[noreturn]] void fail(std::string reason);

// The first word of `rest` (up to the first blank); `rest` keeps what follows that
// one blank. Without a blank the whole text is the word and `rest` becomes empty.
std::string_view take_word(std::string_view& rest);

// The words of `rest`, split at every single blank (two blanks make an empty word).
std::vector<std::string_view> words(std::string_view rest);

// Exactly n words, else the usage fails the command.
std::vector<std::string_view> exactly(std::string_view rest, std::size_t n, const char* usage);

// "\t" stands for a tab and "\\" for a backslash; any other backslash stays.
std::string unescape(std::string_view s);

// A number as a script writes it (parse_number), else the command fails.
double number(std::string_view word);

// A 16-bit argument: rounded half to even and clamped, as the form converts.
std::int16_t int16_arg(std::string_view word);

// A whole number of the int range.
int int_arg(std::string_view word);

// A whole number from lo to hi; `what` names it in the reason.
int ranged(std::string_view word, int lo, int hi, const char* what);

// "left", "right" or "middle".
MouseButton button_arg(std::string_view word);

// A coordinate in the control's twips.
float coordinate(std::string_view word);

// The kind of a control as the protocol names it.
const char* kind_name(ControlKind k);

}  // namespace lumetra::driver
