// The XAFS scan preview of the planning panel: the target rate, the background and
// the dead time across a typical scan of the target's edge, computed a few energies at
// a time after the plot is shown, and started afresh when an edit made it stale (the
// gains and the incident energy do not: the marker moves).

#include <algorithm>
#include <cmath>

#include "window/radirido.h"

namespace lumetra::window {

namespace {

constexpr common::Rgb kTargetGreen = common::rgb(0, 160, 0);
constexpr common::Rgb kBackgroundBlue = common::rgb(0, 0, 200);
constexpr common::Rgb kDeadRed = common::rgb(200, 0, 0);
constexpr common::Rgb kMarker = common::rgb(120, 120, 120);
constexpr int kPoints = 121;

bool same_filter(const physics::Filter& a, const physics::Filter& b) {
    return a.Z == b.Z && a.mass_fraction == b.mass_fraction && a.density == b.density &&
           a.thickness_um == b.thickness_um;
}

// Whether two setups give the same scan: all but the incident energy, the amplifier
// scale and the marked element.
bool same_scan(const physics::Setup& a, const physics::Setup& b) {
    const auto same_sample = [&] {
        if (a.sample.size() != b.sample.size()) return false;
        for (std::size_t i = 0; i < a.sample.size(); ++i)
            if (a.sample[i].Z != b.sample[i].Z || a.sample[i].atoms != b.sample[i].atoms)
                return false;
        return true;
    };
    return same_sample() && a.film == b.film && a.density == b.density &&
           a.thickness_cm == b.thickness_cm && a.flux == b.flux &&
           a.polarisation == b.polarisation && a.psi_in_deg == b.psi_in_deg &&
           a.psi_out_deg == b.psi_out_deg && a.distance_cm == b.distance_cm &&
           a.target_lines == b.target_lines && a.target_shell == b.target_shell &&
           a.detector == b.detector && same_filter(a.filter, b.filter) &&
           a.al_steps == b.al_steps;
}

}  // namespace

void RADirido::preview_request() {
    const physics::Setup setup = fp_setup();
    if (scan_.started && same_scan(scan_.setup, setup)) {
        scan_.E0 = setup.E0;
        draw_preview();  // the marker follows the energy
        return;
    }
    scan_ = ScanState{};
    scan_.started = true;
    scan_.setup = setup;
    scan_.E0 = setup.E0;
    scan_.energies = physics::scan_energies(physics::scan_edge(setup), kPoints);
    draw_preview();
}

bool RADirido::preview_pending() const {
    return scan_.started && scan_.points.size() < scan_.energies.size();
}

bool RADirido::preview_step(int n) {
    for (int i = 0; i < n && preview_pending(); ++i) {
        const double E = scan_.energies[scan_.points.size()];
        scan_.points.push_back(physics::scan_point(fp_model, scan_.setup, E));
    }
    if (!preview_pending()) draw_preview();
    return preview_pending();
}

void RADirido::preview_finish() {
    while (preview_step(kPoints)) {
    }
}

void RADirido::preview_clear() {
    scan_ = ScanState{};
    display::Picture& pic = panel.ScanPicture.picture();
    pic.Cls();
    pic.Print("  Shown for a spectrum of the");
    pic.Print("  fundamental-parameter model.");
    panel.ScanPicture.drawing_changed();
}

// Rates on a logarithmic axis over the decades they span (at most six below the
// highest), the dead time from 0 to 1 on the same height; the marker at the energy.
void RADirido::draw_preview() {
    display::Picture& pic = panel.ScanPicture.picture();
    pic.Cls();
    if (scan_.energies.empty()) {
        panel.ScanPicture.drawing_changed();
        return;
    }
    const double lo = scan_.energies.front(), hi = scan_.energies.back();
    pic.Scale(static_cast<float>(lo), 1.05f, static_cast<float>(hi), -0.05f);
    if (scan_.E0 >= lo && scan_.E0 <= hi) {
        pic.Line(static_cast<float>(scan_.E0), 0.0f, static_cast<float>(scan_.E0), 1.0f, kMarker);
    }
    if (!preview_pending()) {
        double top = 0.0;
        for (const physics::ScanPoint& p : scan_.points)
            top = std::max({top, p.target, p.background});
        const double log_top = top > 0.0 ? std::ceil(std::log10(top)) : 0.0;
        const double log_bottom = log_top - 6.0;
        const auto y_of = [&](double v) {
            if (!(v > 0.0)) return 0.0f;
            return static_cast<float>(std::clamp((std::log10(v) - log_bottom) / 6.0, 0.0, 1.0));
        };
        const auto curve = [&](auto value, common::Rgb c) {
            for (std::size_t i = 1; i < scan_.points.size(); ++i) {
                const physics::ScanPoint& a = scan_.points[i - 1];
                const physics::ScanPoint& b = scan_.points[i];
                pic.Line(static_cast<float>(a.E), value(a), static_cast<float>(b.E), value(b), c);
            }
        };
        if (top > 0.0) {
            curve([&](const physics::ScanPoint& p) { return y_of(p.target); }, kTargetGreen);
            curve([&](const physics::ScanPoint& p) { return y_of(p.background); }, kBackgroundBlue);
        }
        curve(
            [](const physics::ScanPoint& p) {
                return static_cast<float>(std::clamp(p.dead_time, 0.0, 1.0));
            },
            kDeadRed);
    }
    panel.ScanPicture.drawing_changed();
}

}  // namespace lumetra::window
