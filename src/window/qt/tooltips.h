#pragma once
// What every control of the window means, with its unit, for its tooltip.

#include <string>

namespace lumetra::window::qt {

// The tooltip of the control NAME ("Text11", "Text2(3)", "FluxText"); empty when the
// control explains itself (a caption).
std::string tooltip_for(const std::string& name);

}  // namespace lumetra::window::qt
