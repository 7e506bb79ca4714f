#pragma once
// The fundamental-parameter model: a Setup in, rates, figures and the spectrum out.

#include <optional>

#include "physics/cross_sections.h"
#include "physics/response.h"
#include "physics/result.h"
#include "physics/setup.h"

namespace lumetra::physics {

// Checks the setup (a zero or negative flux, area, thickness or time gives no
// spectrum and a reason) and calculates. The model remembers the library's values
// it asked for, keyed by their arguments, so that a recalculation after an edit
// reads most of them from memory.
class Model {
  public:
    Result calculate(const Setup& setup);
    // As calculate, with the spectrum's layers left empty: the lines, the scatter and
    // every figure (S, B, ICR, OCR, dead time) are the same numbers, without the cost
    // of drawing 1025 channels. For previews over many incident energies.
    Result calculate_figures(const Setup& setup);

  private:
    Result run(const Setup& setup, bool draw);
    CrossSections xs_;
    // The detector's response, built again only when the detector changes.
    std::optional<Detector> response_for_;
    std::optional<Response> response_;
};

// One calculation with nothing remembered.
Result calculate(const Setup& setup);

}  // namespace lumetra::physics
