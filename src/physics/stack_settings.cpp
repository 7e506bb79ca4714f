#include "physics/stack_settings.h"

#include <cmath>

#include "chem/composition.h"
#include "chem/limits.h"
#include "common/shortest.h"
#include "physics/filter.h"
#include "physics/stack.h"

namespace lumetra::physics {

namespace {

bool blank(const std::string& s) {
    return s.find_first_not_of(" \t") == std::string::npos;
}

std::string thickness_problem(double t) {
    if (!(std::isfinite(t) && t > 0.0)) return "the thickness must be above 0 um.";
    if (t > kThickestSlab_um)
        return "the thickness must be at most " + common::shortest(kThickestSlab_um) + " um.";
    return {};
}

}  // namespace

int layer_code(const Settings& p, std::size_t i) {
    const bool behind = p.layers[i].behind;
    int n = 0;
    for (std::size_t k = 0; k <= i; ++k) n += p.layers[k].behind == behind ? 1 : 0;
    return behind ? n : -n;
}

std::string layer_name(const Settings& p, std::size_t i) {
    return layer_title(layer_code(p, i));
}

std::string beam_filter_name(std::size_t i) {
    return "Beam filter " + std::to_string(i + 1);
}

LayerReading read_layer(const LayerSetting& l) {
    LayerReading r;
    if (blank(l.composition)) {
        r.problem = "it has no composition.";
        return r;
    }
    const chem::ParsedComposition c = chem::parse_material(l.composition);
    if (std::string why = c.blocking_problem(false); !why.empty()) {
        r.problem = "the composition: " + why + ".";
        return r;
    }
    for (const chem::CompositionElement& e : c.elements) {
        if (!(e.weight_percent > 0.0)) continue;
        r.layer.Z.push_back(e.Z);
        r.layer.mass_fraction.push_back(e.weight_percent / 100.0);
    }
    r.suggested_density = c.density;
    const double rho = l.density > 0.0 ? l.density : c.density;
    if (l.density != 0.0 &&
        !(l.density >= chem::detail::kMinDensity && l.density <= chem::detail::kMaxDensity)) {
        r.problem = "the density must lie between " + common::shortest(chem::detail::kMinDensity) +
                    " and " + common::shortest(chem::detail::kMaxDensity) + " g/cm3.";
    } else if (!(rho > 0.0)) {
        r.problem = "its composition suggests no density: give one.";
    } else {
        r.problem = thickness_problem(l.thickness_um);
    }
    r.layer.density = rho;
    r.layer.thickness_um = l.thickness_um;
    return r;
}

BeamFilterReading read_beam_filter(const BeamFilterSetting& f) {
    BeamFilterReading r;
    r.problem = thickness_problem(f.thickness_um);
    if (!r.problem.empty()) return r;
    const std::optional<Filter> filter = parse_filter(f.filter, f.thickness_um);
    if (!filter || filter->Z.empty()) {
        r.problem = "\"" + f.filter + "\" is not an element or a formula with its density.";
        return r;
    }
    r.filter = *filter;
    return r;
}

std::optional<StackRefusal> stack_refusal(const Settings& p) {
    int front = 0, back = 0;
    for (std::size_t i = 0; i < p.layers.size(); ++i) {
        const int n = ++(p.layers[i].behind ? back : front);
        if (n > kMaxLayers) {
            return StackRefusal{
                "At most " + std::to_string(kMaxLayers) + " layers lie on each side of the sample.",
                false, i};
        }
    }
    if (p.beam_filters.size() > static_cast<std::size_t>(kMaxBeamFilters)) {
        return StackRefusal{
            "At most " + std::to_string(kMaxBeamFilters) + " filters stand in the beam.", true,
            static_cast<std::size_t>(kMaxBeamFilters)};
    }
    for (std::size_t i = 0; i < p.layers.size(); ++i) {
        const std::string why = read_layer(p.layers[i]).problem;
        if (!why.empty()) return StackRefusal{layer_name(p, i) + ": " + why, false, i};
    }
    for (std::size_t i = 0; i < p.beam_filters.size(); ++i) {
        const std::string why = read_beam_filter(p.beam_filters[i]).problem;
        if (!why.empty()) return StackRefusal{beam_filter_name(i) + ": " + why, true, i};
    }
    return std::nullopt;
}

void apply_stack(const Settings& p, Setup& s) {
    s.front.clear();
    s.back.clear();
    s.beam_filters.clear();
    for (const LayerSetting& l : p.layers) {
        LayerReading r = read_layer(l);
        if (r.problem.empty()) (l.behind ? s.back : s.front).push_back(std::move(r.layer));
    }
    for (const BeamFilterSetting& f : p.beam_filters) {
        BeamFilterReading r = read_beam_filter(f);
        if (r.problem.empty()) s.beam_filters.push_back(std::move(r.filter));
    }
}

}  // namespace lumetra::physics
