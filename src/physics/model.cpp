#include "physics/model.h"

#include <cmath>
#include <string>

#include "common/constants.h"
#include "physics/detector_path.h"
#include "physics/fluorescence.h"
#include "physics/orders.h"
#include "physics/response.h"
#include "physics/sample.h"
#include "physics/scatter.h"
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

    const Sample sample(setup, &xs_);
    const DetectorPath path(setup, &xs_);
    if (!response_for_ || *response_for_ != setup.detector) {
        response_.emplace(setup.detector);
        response_for_ = setup.detector;
    }
    const Response& response = *response_;
    result.lines = primary_lines(setup, sample, path);
    add_secondary(result.lines, setup, sample, path);
    add_self_excitation(result.lines, setup, sample, path);
    add_tertiary(result.lines, setup, sample, path);
    add_scatter_excited(result.lines, setup, sample, path);
    const Scatter scatter = scatter_rates(setup, sample, path);
    synthesise(setup, sample, response, scatter, result,
               draw ? Drawing::layers : Drawing::figures_only);
    if (draw) detection_of_target(path, result.figures);
    return result;
}

Result calculate(const Setup& setup) {
    return Model().calculate(setup);
}

}  // namespace lumetra::physics
