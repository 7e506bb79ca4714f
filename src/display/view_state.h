#pragma once
// The amplifier settings and the plot's view state kept by the window.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "common/variant.h"

namespace lumetra::display {

struct ViewState {
    std::array<std::int16_t, 8> Coarse_step{};  // coarse-gain steps
    std::int16_t Coarse_index = 0;             // index into Coarse_step, 0..7
    std::array<std::string, 11> Fine_text{};   // fine-gain choices
    common::Variant Drag_x;                    // channel where the left button went down
    common::Variant Drag_y;                    // plot units where the left button went down
    common::Variant Zoom_steps;                // sub-steps per channel of filled bars, 1..4
    common::Variant Y_top;                     // top of the full view, 11750

    // The channels at the left and right edge of a zoomed view; none in the full view.
    struct Window {
        double left = 0.0, right = 0.0;
    };
    std::optional<Window> zoom;
};

}  // namespace lumetra::display
