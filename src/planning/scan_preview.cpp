#include "planning/scan_preview.h"

#include <string>

#include "data/symbol_table.h"
#include "physics/scan.h"
#include "planning/line_choice.h"

namespace lumetra::planning {

namespace {

// "Cu K" or "Pb L2": the element and the edge the scan crosses.
std::string edge_name(const physics::Setup& s) {
    const int Z = s.sample.empty() ? 0 : s.sample.front().Z;
    const std::string symbol = Z >= 1 && Z <= data::kSymbolCount
                                   ? std::string(data::kElementSymbols[Z - 1].symbol)
                                   : std::string("target");
    return symbol + " " + shell_name(s.target_shell);
}

}  // namespace

ScanPreview::Key ScanPreview::key_of(const window::FormSnapshot& snapshot,
                                     const physics::Settings& settings) {
    Key k{snapshot, settings};
    k.snapshot.E0 = 0.0;
    k.snapshot.full_energy = 0.0;
    k.snapshot.marked = -1;
    return k;
}

bool ScanPreview::request(const window::FormSnapshot& snapshot, const physics::Settings& settings,
                          const physics::Setup& setup) {
    Key key = key_of(snapshot, settings);
    shown_ = true;
    if (started_ && key.snapshot == key_.snapshot && key.settings == key_.settings) {
        plot_.E0_keV = setup.E0;
        return false;
    }
    started_ = true;
    ++generation_;
    key_ = std::move(key);
    setup_ = setup;
    const ScanPlot box = plot_;
    plot_ = ScanPlot{};
    set_box(box.width_twips, box.height_twips, box.font_pt);
    plot_.edge_keV = physics::scan_edge(setup);
    plot_.edge_name = edge_name(setup);
    plot_.E0_keV = setup.E0;
    energies_ = physics::scan_energies(plot_.edge_keV, kPoints);
    if (!energies_.empty()) {
        plot_.first_keV = energies_.front();
        plot_.last_keV = energies_.back();
    }
    plot_.points.reserve(energies_.size());
    return true;
}

bool ScanPreview::pending() const {
    return shown_ && plot_.points.size() < energies_.size();
}

bool ScanPreview::step(physics::Model& model, int n) {
    for (int i = 0; i < n && pending(); ++i) {
        const double E = energies_[plot_.points.size()];
        plot_.points.push_back(physics::scan_point(model, setup_, E));
    }
    plot_.complete = !energies_.empty() && plot_.points.size() == energies_.size();
    return pending();
}

}  // namespace lumetra::planning
