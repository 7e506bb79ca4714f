#include "physics/model.h"

#include <cmath>
#include <string>
#include <utility>

#include "common/constants.h"
#include "physics/detector_path.h"
#include "physics/response.h"
#include "physics/stack.h"
#include "physics/stack_rates.h"
#include "physics/synthesis.h"
#include "physics/validate.h"
#include "physics/xrl.h"

namespace lumetra::physics {
namespace {

// The path of the target line's photons to the crystal, part by part.
void detection_of_target(const DetectorPath& path, Figures& f) {
    const double E = f.target_energy;
    if (!(E > 0.0)) return;
    f.solid_angle_fraction = path.omega() / common::kFourPi;
    f.air = path.air(E);
    f.filters_and_window = path.filters(E) * path.window(E);
    f.crystal = path.efficiency(E);
}

}  // namespace

Result Model::calculate(const Setup& setup) {
    return run(setup, true);
}

Result Model::calculate_figures(const Setup& setup) {
    return run(setup, false);
}

Result Model::run(const Setup& setup, bool draw) {
    Result result;
    result.reason = refusal(setup);
    if (!result.reason.empty()) return result;

    const DetectorPath path(setup, &xs_);
    // The beam's filters lower the flux on the sample; all else is the setup's.
    Setup filtered;
    const Setup& lit = setup.beam_filters.empty() ? setup : filtered;
    if (!setup.beam_filters.empty()) {
        filtered = setup;
        for (const Filter& f : setup.beam_filters) filtered.flux *= path.slab(f, setup.E0);
    }
    const Stack stack(lit, &xs_);
    const Sample& sample = stack.sample();
    if (!response_for_ || *response_for_ != setup.detector) {
        response_.emplace(setup.detector);
        response_for_ = setup.detector;
    }
    const Response& response = *response_;
    StackRates rates = stack_rates(lit, stack, path);
    result.lines = std::move(rates.lines);
    synthesise(lit, sample, response, rates.scatter, result,
               draw ? Drawing::layers : Drawing::figures_only);
    result.figures.flux_on_sample = lit.flux;
    if (draw) detection_of_target(path, result.figures);
    result.note = unreached_layers_note(setup);
    return result;
}

Result calculate(const Setup& setup) {
    return Model().calculate(setup);
}

}  // namespace lumetra::physics
