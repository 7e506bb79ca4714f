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

    const Stack stack(setup, &xs_);
    const Sample& sample = stack.sample();
    const DetectorPath path(setup, &xs_);
    if (!response_for_ || *response_for_ != setup.detector) {
        response_.emplace(setup.detector);
        response_for_ = setup.detector;
    }
    const Response& response = *response_;
    StackRates rates = stack_rates(setup, stack, path);
    result.lines = std::move(rates.lines);
    synthesise(setup, sample, response, rates.scatter, result,
               draw ? Drawing::layers : Drawing::figures_only);
    if (draw) detection_of_target(path, result.figures);
    result.note = unreached_layers_note(setup);
    return result;
}

Result calculate(const Setup& setup) {
    return Model().calculate(setup);
}

}  // namespace lumetra::physics
