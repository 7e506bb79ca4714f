#include "physics/settings.h"

#include <cmath>

#include "common/numtext.h"
#include "common/shortest.h"
#include "physics/filter.h"
#include "physics/stack_settings.h"

namespace lumetra::physics {

namespace {

constexpr Range kAbove0{0.0, true};
constexpr Range kAtLeast0{0.0, false};

double no_setup_value(const Setup&) {
    return 0.0;
}

}  // namespace

bool operator==(const LayerSetting& a, const LayerSetting& b) {
    return a.behind == b.behind && a.composition == b.composition &&
           a.thickness_um == b.thickness_um && a.density == b.density;
}

bool operator==(const BeamFilterSetting& a, const BeamFilterSetting& b) {
    return a.filter == b.filter && a.thickness_um == b.thickness_um;
}

// Equal when every setting of the table is, with the model, the crystal and the filter
// text: a setting added to the table takes part at once.
bool operator==(const Settings& a, const Settings& b) {
    if (a.model != b.model || a.detector.crystal != b.detector.crystal || a.filter != b.filter ||
        !(a.layers == b.layers) || !(a.beam_filters == b.beam_filters) || a.edge != b.edge ||
        a.edge_line != b.edge_line)
        return false;
    for (const SettingInfo& s : setting_table()) {
        if (s.kind == SettingKind::number && !(setting_value(s, a) == setting_value(s, b)))
            return false;
    }
    return true;
}

const std::array<SettingInfo, kSettingCount>& setting_table() {
    using S = Settings;
    using U = const Setup&;
    static const std::array<SettingInfo, kSettingCount> kTable = {{
        {"flux", "flux", "flux_photons_s", "Flux (photons/s)", "FluxText", "The flux",
         SettingKind::number, kAbove0, [](S& p) -> double& { return p.flux; },
         [](U s) { return s.flux; }},
        {"polarisation", "polarisation", "polarisation", "Polarisation (0 to 1)",
         "PolarisationText", "The polarisation", SettingKind::number, Range{0.0, false, 1.0},
         [](S& p) -> double& { return p.polarisation; }, [](U s) { return s.polarisation; }},
        {"area", "area_mm2", "detector_area_mm2", "Active area (mm2)", "AreaText",
         "The detector area", SettingKind::number, kAbove0,
         [](S& p) -> double& { return p.detector.area_mm2; },
         [](U s) { return s.detector.area_mm2; }},
        {"window", "window_um", "be_window_um", "Be window (um)", "WindowText",
         "The beryllium window", SettingKind::number, kAtLeast0,
         [](S& p) -> double& { return p.detector.window_um; },
         [](U s) { return s.detector.window_um; }},
        {"crystal", "crystal_mm", "crystal_mm", "Crystal (mm)", "CrystalText",
         "The crystal thickness", SettingKind::number, kAbove0,
         [](S& p) -> double& { return p.detector.crystal_mm; },
         [](U s) { return s.detector.crystal_mm; }},
        {"resolution", "resolution_eV", "resolution_eV", "FWHM at 5.9 keV (eV)", "ResolutionText",
         "The resolution", SettingKind::number, kAbove0,
         [](S& p) -> double& { return p.detector.resolution_eV; },
         [](U s) { return s.detector.resolution_eV; }},
        {"deadtime", "dead_time_us", "dead_time_us", "Dead time (us)", "DeadTimeText",
         "The dead time", SettingKind::number, kAbove0,
         [](S& p) -> double& { return p.detector.dead_time_us; },
         [](U s) { return s.detector.dead_time_us; }},
        {"pileup", "pulse_pair_us", "pulse_pair_us", "Pulse-pair time (us)", "PulsePairText",
         "The pulse-pair time", SettingKind::number, kAbove0,
         [](S& p) -> double& { return p.detector.pulse_pair_us; },
         [](U s) { return s.detector.pulse_pair_us; }},
        {"peakbackground", "peak_to_background", "peak_to_background", "Peak/background at 5.9 keV",
         "PeakBackgroundText", "The peak-to-background ratio", SettingKind::number, kAbove0,
         [](S& p) -> double& { return p.detector.peak_to_background; },
         [](U s) { return s.detector.peak_to_background; }},
        {"filter", "filter", "filter", "Filter (Al, Al2O3:3.95)", "FilterText", "The filter",
         SettingKind::filter, kAtLeast0, [](S& p) -> double& { return p.filter_thickness_um; },
         no_setup_value},
        {"filterthickness", "filter_thickness_um", "filter_thickness_um", "Filter thickness (um)",
         "FilterThicknessText", "The filter thickness", SettingKind::number, kAtLeast0,
         [](S& p) -> double& { return p.filter_thickness_um; },
         [](U s) { return s.filter.thickness_um; }},
        {"countwindow", "count_window_fwhm", "count_window_fwhm", "Counting window (FWHM)",
         "CountWindowText", "The counting window", SettingKind::number,
         Range{0.0, true, kWidestCountWindow}, [](S& p) -> double& { return p.count_window_fwhm; },
         [](U s) { return s.count_window_fwhm; }},
    }};
    return kTable;
}

const SettingInfo* find_setting(const std::string& key) {
    for (const SettingInfo& s : setting_table())
        if (key == s.key) return &s;
    return nullptr;
}

std::string refusal(const SettingInfo& s, double v) {
    const Range& r = s.range;
    const bool low_ok = r.open ? v > r.low : v >= r.low;
    if (std::isfinite(v) && low_ok && v <= r.high) return {};
    const std::string low = common::shortest(r.low);
    const std::string what = s.what;
    if (r.high < 1e300) {
        const std::string high = common::shortest(r.high);
        return what + (r.open ? " must be above " + low + " and at most " + high + "."
                              : " must lie between " + low + " and " + high + ".");
    }
    return what + (r.open ? " must be above " + low + "." : " cannot be negative.");
}

std::optional<SettingRefusal> refusal(const Settings& p) {
    for (const SettingInfo& s : setting_table()) {
        if (s.kind != SettingKind::number) continue;
        std::string why = refusal(s, setting_value(s, p));
        if (!why.empty()) return SettingRefusal{&s, std::move(why)};
    }
    return std::nullopt;
}

bool filter_valid(const Settings& p) {
    return parse_filter(p.filter, p.filter_thickness_um).has_value();
}

bool set_setting(Settings& p, const std::string& key, const std::string& text) {
    if (key == "detector") {
        const std::string t = text::trim_blanks(text);
        if (t != "si" && t != "ge") return false;
        const Detector fresh = default_detector(t == "ge" ? Crystal::ge : Crystal::si);
        p.detector.crystal = fresh.crystal;
        p.detector.crystal_mm = fresh.crystal_mm;
        p.detector.resolution_eV = fresh.resolution_eV;
        return true;
    }
    if (key == "edge") {
        const std::optional<EdgeChoice> e = edge_choice_of(text);
        if (!e) return false;
        if (*e != p.edge) p.edge_line.clear();
        p.edge = *e;
        return true;
    }
    if (key == "edgeline") {
        const std::vector<int> codes = edge_line_codes(text, edge_choice_shell(p.edge));
        p.edge_line = codes.empty() ? text::trim_blanks(text) : edge_line_key(codes);
        return true;
    }
    const SettingInfo* s = find_setting(key);
    if (!s) return false;
    if (s->kind == SettingKind::filter)
        p.filter = text;
    else
        s->of(p) = text::Val(text);
    return true;
}

void apply_settings(const Settings& p, Setup& s) {
    s.flux = p.flux;
    s.polarisation = p.polarisation;
    s.detector = p.detector;
    s.filter = parse_filter(p.filter, p.filter_thickness_um).value_or(Filter{});
    s.count_window_fwhm = p.count_window_fwhm;
    apply_stack(p, s);
    apply_edge(p, s);
}

}  // namespace lumetra::physics
