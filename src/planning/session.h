#pragma once
// The planner's core beside the form: the settings of the fundamental-parameter
// model, the model itself (it remembers the library's values between calculations),
// the last calculation and the scan preview. It takes the form's snapshot (a value)
// and hands back the eight layers the plot draws and the figures; it knows neither
// the form's controls nor any toolkit.

#include <string>

#include "engine/calc_state.h"
#include "physics/model.h"
#include "physics/result.h"
#include "physics/settings.h"
#include "physics/setup.h"
#include "planning/scan_preview.h"
#include "window/model_hook.h"

namespace lumetra::planning {

using Model = physics::ModelKind;

class PlanningSession {
  public:
    physics::Settings settings;

    // The model's setup for the form's snapshot under the settings.
    physics::Setup setup_of(const window::FormSnapshot& snapshot) const;

    // Calculates the snapshot; the result, its setup and the plot's scale are kept,
    // and the scan preview is asked for (or hidden when the model refuses).
    const physics::Result& calculate(const window::FormSnapshot& snapshot);
    const physics::Result& result() const { return result_; }
    const physics::Setup& setup() const { return setup_; }

    // Counts/s of one plot unit: the layers are drawn with their highest channel of
    // the total at 10000 units, as the classic model's are; 0 for an empty spectrum.
    double units() const { return units_; }
    // The eight layers of the last calculation in plot units, into st's arrays.
    void plot_layers(engine::CalcState& st) const;
    // What the form shows of the last calculation: the layers' scale, the note on the
    // plot (the reason of a refusal, or the peaks beyond the scale) and the target
    // line's share beside it.
    window::HookedSpectrum shown() const;

    ScanPreview& preview() { return preview_; }
    const ScanPreview& preview() const { return preview_; }
    physics::Model& model() { return model_; }

  private:
    physics::Model model_;
    physics::Setup setup_;
    physics::Result result_;
    double units_ = 0.0;
    window::FormSnapshot snapshot_;
    ScanPreview preview_;
};

}  // namespace lumetra::planning
