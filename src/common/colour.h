#pragma once
// Colours as RGB triples.

#include <cstdint>
#include <string>

namespace lumetra::common {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(Rgb a, Rgb c) { return a.r == c.r && a.g == c.g && a.b == c.b; }
    friend bool operator!=(Rgb a, Rgb c) { return !(a == c); }
    // "r,g,b"
    std::string text() const {
        return std::to_string(r) + ',' + std::to_string(g) + ',' + std::to_string(b);
    }
};

constexpr Rgb rgb(int r, int g, int b) {
    return Rgb{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
               static_cast<std::uint8_t>(b)};
}

namespace colours {
constexpr Rgb black = rgb(0, 0, 0);
constexpr Rgb white = rgb(255, 255, 255);
constexpr Rgb red = rgb(255, 0, 0);
constexpr Rgb blue = rgb(0, 0, 255);
// The desktop's button-text colour, used for text of reset fields.
constexpr Rgb button_text = rgb(0, 0, 0);
// The desktop's inactive-border colour: the window's own background.
constexpr Rgb inactive_border = rgb(212, 208, 200);
}  // namespace colours

}  // namespace lumetra::common
