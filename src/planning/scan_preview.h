#pragma once
// The XAFS scan preview's points: the target rate, the background and the dead time
// across a typical scan of the target's edge, computed a few energies at a time after
// the plot is shown. A new calculation keeps the points when only the incident
// energy, the amplifier scale or the marked element changed (the marker moves) and
// starts afresh otherwise: the scan is keyed by the form's snapshot without those and
// by every planning setting.

#include <vector>

#include "physics/model.h"
#include "physics/settings.h"
#include "physics/setup.h"
#include "planning/scan_preview_plot.h"
#include "window/model_hook.h"

namespace lumetra::planning {

class ScanPreview {
  public:
    static constexpr int kPoints = 121;

    // After a calculation of `setup` (made of the snapshot and the settings): true when
    // the scan starts afresh, false when the points computed so far are kept.
    bool request(const window::FormSnapshot& snapshot, const physics::Settings& settings,
                 const physics::Setup& setup);
    // Whether points remain to be computed for the scan shown.
    bool pending() const;
    // Computes up to n more points; whether more remain.
    bool step(physics::Model& model, int n);
    // The spectrum shown is not the scan's any more; its points are kept for the
    // same scan.
    void hide() { shown_ = false; }
    bool shown() const { return shown_; }
    const ScanPlot& plot() const { return plot_; }
    // The box the plot is drawn in: its margins and the pointer's readout follow it.
    void set_box(double width_twips, double height_twips, double font_pt) {
        plot_.width_twips = width_twips;
        plot_.height_twips = height_twips;
        plot_.font_pt = font_pt;
    }
    // Counts the scans started, so a caller sees that the points were dropped.
    int generation() const { return generation_; }

  private:
    struct Key {
        window::FormSnapshot snapshot;  // without the energy, the scale and the mark
        physics::Settings settings;
    };
    static Key key_of(const window::FormSnapshot& snapshot, const physics::Settings& settings);

    bool started_ = false;
    int generation_ = 0;
    bool shown_ = false;
    Key key_;
    physics::Setup setup_;  // what the points are of
    std::vector<double> energies_;
    ScanPlot plot_;  // the points so far and the marker
};

}  // namespace lumetra::planning
