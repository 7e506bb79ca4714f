#pragma once
// What the random user types and where the mouse goes.

#include <cstddef>
#include <string>
#include <vector>

#include "monkey/monkey_session.h"
#include "window/radirido.h"

namespace lumetra::monkey {

template <std::size_t N>
const char* pick(Rng& rng, const char* const (&list)[N]) {
    return list[rng.below(N)];
}

// Targets that can be calculated, light ones and heavy ones; matrix elements, some
// of them unknown or too heavy.
const char* target_symbol(Rng& rng);
const char* matrix_symbol(Rng& rng);

std::string content_text(Rng& rng);  // mostly a plain positive number
std::string symbol_text(Rng& rng);   // mostly a symbol, known or not
std::string any_text(Rng& rng);      // numbers, blanks, junk, non-ASCII, very long texts
// A text suited to the field most of the time, anything otherwise.
std::string text_for(const window::RADirido& form, const window::Control& c, Rng& rng);
// Splits a text into keystrokes: a multi-byte UTF-8 character is one keystroke.
std::vector<std::string> keystrokes(const std::string& s);

// Mouse coordinates in plot units, now and then far off the plot or extreme.
float plot_x(Rng& rng);
float plot_y(Rng& rng);
window::MouseButton random_button(Rng& rng);
const char* button_name(window::MouseButton b);

std::string fmt_float(double v);  // for the log

}  // namespace lumetra::monkey
