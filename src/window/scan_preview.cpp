// The XAFS scan preview of the planning panel: the target rate, the background and
// the dead time across a typical scan of the target's edge, computed a few energies at
// a time after the plot is shown, and started afresh when an edit made it stale (the
// gains and the incident energy do not: the marker moves). It shows only beside the
// spectrum it was computed with: whatever clears the plot clears it too.

#include <algorithm>
#include <cmath>

#include "data/symbol_table.h"
#include "window/radirido.h"

namespace lumetra::window {

namespace {

constexpr int kPoints = 121;
constexpr int kL3Shell = 3;  // the library's L3_SHELL, as Setup::target_shell holds it

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

// "Cu K" or "Pb L3": the element and the edge the scan crosses.
std::string edge_name(const physics::Setup& s) {
    const int Z = s.sample.empty() ? 0 : s.sample.front().Z;
    const std::string symbol = Z >= 1 && Z <= data::kSymbolCount
                                   ? std::string(data::kElementSymbols[Z - 1].symbol)
                                   : std::string("target");
    return symbol + (s.target_shell == kL3Shell ? " L3" : " K");
}

}  // namespace

void RADirido::preview_request() {
    const physics::Setup setup = fp_setup();
    scan_.cleared = false;
    scan_.shown = true;
    if (scan_.started && same_scan(scan_.setup, setup)) {
        scan_.plot.E0_keV = setup.E0;
        draw_preview();  // the marker follows the energy
        return;
    }
    panel.ScanReadout.set_caption("");
    scan_ = ScanState{};
    scan_.started = true;
    scan_.shown = true;
    scan_.setup = setup;
    ScanPlot& plot = scan_.plot;
    plot.edge_keV = physics::scan_edge(setup);
    plot.edge_name = edge_name(setup);
    plot.E0_keV = setup.E0;
    scan_.energies = physics::scan_energies(plot.edge_keV, kPoints);
    if (!scan_.energies.empty()) {
        plot.first_keV = scan_.energies.front();
        plot.last_keV = scan_.energies.back();
    }
    plot.points.reserve(scan_.energies.size());
    draw_preview();
}

bool RADirido::preview_pending() const {
    return scan_.shown && scan_.plot.points.size() < scan_.energies.size();
}

bool RADirido::preview_step(int n) {
    for (int i = 0; i < n && preview_pending(); ++i) {
        const double E = scan_.energies[scan_.plot.points.size()];
        scan_.plot.points.push_back(physics::scan_point(fp_model, scan_.setup, E));
    }
    if (scan_.shown && !scan_.energies.empty() && !preview_pending() && !scan_.plot.complete)
        draw_preview();
    return preview_pending();
}

void RADirido::preview_finish() {
    while (preview_step(kPoints)) {
    }
}

void RADirido::preview_clear() {
    panel.ScanReadout.set_caption("");
    scan_.shown = false;
    if (scan_.cleared) return;
    scan_.cleared = true;
    display::Picture& pic = panel.ScanPicture.picture();
    pic.Cls();
    pic.Print("  Shown for a spectrum of the");
    pic.Print("  fundamental-parameter model.");
    panel.ScanPicture.drawing_changed();
}

void RADirido::draw_preview() {
    ScanPlot& plot = scan_.plot;
    plot.complete = !scan_.energies.empty() && !preview_pending();
    plot.width_twips = panel.ScanPicture.width();
    plot.height_twips = panel.ScanPicture.height();
    plot.font_pt = panel.ScanPicture.font_pt;
    draw_scan_plot(panel.ScanPicture.picture(), plot);
    panel.ScanPicture.drawing_changed();
}

void RADirido::ScanPicture_MouseMove(float X, float Y) {
    panel.ScanReadout.set_caption(scan_.shown ? scan_readout(scan_.plot, X, Y) : "");
}

void RADirido::ScanPicture_MouseLeave() {
    panel.ScanReadout.set_caption("");
}

}  // namespace lumetra::window
