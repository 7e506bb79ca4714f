#include "physics/model.h"

#include <cmath>
#include <string>

#include "physics/detector_path.h"
#include "physics/fluorescence.h"
#include "physics/response.h"
#include "physics/sample.h"
#include "physics/scatter.h"
#include "physics/synthesis.h"
#include "physics/xrl.h"

namespace lumetra::physics {
namespace {

bool positive(double v) {
    return std::isfinite(v) && v > 0.0;
}

// Why the setup cannot be calculated, or empty when it can.
std::string refusal(const Setup& s) {
    if (!positive(s.flux)) return "The flux must be above 0.";
    if (!(s.polarisation >= 0.0 && s.polarisation <= 1.0))
        return "The polarisation must lie between 0 and 1.";
    const Detector& d = s.detector;
    if (!positive(d.area_mm2)) return "The detector area must be above 0.";
    if (!positive(d.crystal_mm)) return "The crystal thickness must be above 0.";
    if (!positive(d.resolution_eV)) return "The resolution must be above 0.";
    if (!positive(d.dead_time_us)) return "The dead time must be above 0.";
    if (!positive(d.pulse_pair_us)) return "The pulse-pair time must be above 0.";
    if (!positive(d.peak_to_background)) return "The peak-to-background ratio must be above 0.";
    if (!(std::isfinite(d.window_um) && d.window_um >= 0.0))
        return "The beryllium window cannot be negative.";
    if (!(std::isfinite(s.filter.thickness_um) && s.filter.thickness_um >= 0.0))
        return "The filter thickness cannot be negative.";
    if (!(s.E0 >= xrl::kLowestEnergy && s.E0 <= xrl::kHighestEnergy))
        return "The X-ray energy must lie between 1 and 150 keV.";
    if (!(s.psi_in_deg > 0.0 && s.psi_in_deg < 180.0 && s.psi_out_deg > 0.0 &&
          s.psi_out_deg < 180.0))
        return "The angles must lie between 0 and 180 degrees.";
    if (!positive(s.full_energy)) return "The amplifier scale has no energy.";
    if (s.film && !(positive(s.density) && positive(s.thickness_cm)))
        return "A film needs a density and a thickness above 0.";
    if (s.sample.empty() || !(s.sample.front().atoms > 0.0)) return "The target has no content.";
    return {};
}

// The path of the target line's photons to the crystal, part by part.
void detection_of_target(const DetectorPath& path, Figures& f) {
    const double E = f.target_energy;
    if (!(E > 0.0)) return;
    constexpr double kFourPi = 4.0 * 3.14159265358979323846;
    f.solid_angle_fraction = path.omega() / kFourPi;
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
