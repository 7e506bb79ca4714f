// The words of a driver command and their checks.

#include "arguments.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "common/numtext.h"
#include "window/state_registry.h"

namespace lumetra::driver {

[[noreturn]] void fail(std::string reason) {
    throw Failure{std::move(reason)};
}

// The first word of `rest` (up to the first blank); `rest` keeps what follows that
// one blank. Without a blank the whole text is the word and `rest` becomes empty.
std::string_view take_word(std::string_view& rest) {
    const std::size_t blank = rest.find(' ');
    std::string_view word = rest.substr(0, blank);
    rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
    return word;
}

// The words of `rest`, split at every single blank (two blanks make an empty word).
std::vector<std::string_view> words(std::string_view rest) {
    std::vector<std::string_view> out;
    if (rest.empty()) return out;
    while (true) {
        const std::size_t blank = rest.find(' ');
        out.push_back(rest.substr(0, blank));
        if (blank == std::string_view::npos) break;
        rest = rest.substr(blank + 1);
    }
    return out;
}

std::vector<std::string_view> exactly(std::string_view rest, std::size_t n, const char* usage) {
    auto w = words(rest);
    if (w.size() != n) fail(std::string("usage: ") + usage);
    return w;
}

// "\t" stands for a tab and "\\" for a backslash; any other backslash stays.
std::string unescape(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == 't' || s[i + 1] == '\\')) {
            out += s[i + 1] == 't' ? '\t' : '\\';
            ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

double number(std::string_view word) {
    double v = 0.0;
    if (!window::parse_number(word, v)) fail("not a number: " + std::string(word));
    return v;
}

// A 16-bit argument: rounded half to even and clamped, as the form converts.
std::int16_t int16_arg(std::string_view word) {
    return text::to_int16(number(word));
}

int int_arg(std::string_view word) {
    const double v = std::nearbyint(number(word));
    constexpr double lo = std::numeric_limits<int>::min();
    constexpr double hi = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(v, lo, hi));
}

int ranged(std::string_view word, int lo, int hi, const char* what) {
    const int v = int_arg(word);
    if (v < lo || v > hi) {
        fail(std::string(what) + " out of range " + std::to_string(lo) + ".." + std::to_string(hi) +
             ": " + std::string(word));
    }
    return v;
}

MouseButton button_arg(std::string_view word) {
    return static_cast<MouseButton>(ranged(word, 0, 2, "button"));
}

float coordinate(std::string_view word) {
    constexpr double limit = std::numeric_limits<float>::max();
    return static_cast<float>(std::clamp(number(word), -limit, limit));
}

const char* kind_name(ControlKind k) {
    switch (k) {
        case ControlKind::TextBox:
            return "text box";
        case ControlKind::Label:
            return "label";
        case ControlKind::CommandButton:
            return "button";
        case ControlKind::OptionButton:
            return "option button";
        case ControlKind::CheckBox:
            return "check box";
        case ControlKind::ComboBox:
            return "combo box";
        case ControlKind::PictureBox:
            return "picture box";
        case ControlKind::Frame:
            return "frame";
        case ControlKind::LineShape:
            return "line";
        case ControlKind::Shape:
            return "shape";
    }
    return "control";
}

}  // namespace lumetra::driver
