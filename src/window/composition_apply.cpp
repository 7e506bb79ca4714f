// Compositions written as a laboratory writes them, into the form's fields as if
// typed, and the form's composition read back in weight %.

#include <cmath>

#include "chem/composition.h"
#include "common/numtext.h"
#include "engine/elements.h"
#include "window/radirido.h"

namespace lumetra::window {

static_assert(chem::kMatrixRows == kRows, "a composition fills the window's matrix rows");

// "All Clear", then the target and its content, then one matrix row per further
// element and the suggested film density, all through the fields' own handlers;
// "Plot" again when a spectrum was shown before. Nothing changes while a problem
// stands in the way, nor when the classic model is chosen and the composition names
// an element it cannot take (polonium and heavier): the classic rule for such a
// matrix element would clear the whole matrix at the next calculation.
std::string RADirido::apply_composition(const std::string& text, bool accept_problems,
                                        const std::string& target_symbol) {
    const chem::ParsedComposition c = chem::parse_composition(text, target_symbol);
    if (std::string problem = c.blocking_problem(accept_problems); !problem.empty()) return problem;
    if (!hooked_model()) {
        if (std::string problem = chem::classic_model_problem(c); !problem.empty()) return problem;
    }
    const bool spectrum_shown = st.Calc_state > 0;
    Command3_Click();
    const chem::CompositionElement& target = c.elements[static_cast<std::size_t>(c.target)];
    Text1.set_text(target.symbol);
    Text51.set_text(text::Str(target.content));
    int row = 0;
    for (std::size_t k = 0; k < c.elements.size() && row < kRows; ++k) {
        const chem::CompositionElement& e = c.elements[k];
        if (static_cast<int>(k) == c.target || e.left_out) continue;
        Text2[row]->set_text(e.symbol);
        Text52[row]->set_text(text::Str(e.content));
        ++row;
    }
    // The density the preview suggests, where the film's field takes it (not a gas's).
    if (const std::string density = chem::density_text(c);
        !density.empty() && film_value_valid(density))
        Text23.set_text(density);
    if (spectrum_shown) Command1_Click();
    return {};
}

// The target and the completed rows (those the calculation takes), in weight %.
std::string RADirido::composition_in_weight_percent() const {
    std::vector<std::pair<int, double>> atoms;
    const int last = engine::last_element(st);
    for (int i = 0; i <= last; ++i) {
        const double n = st.Elem_content[i].num();
        if (n > 0.0 && std::isfinite(n)) atoms.push_back({st.Elem_z[i], n});
    }
    return chem::weight_percent_summary(atoms);
}

}  // namespace lumetra::window
