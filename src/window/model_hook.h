#pragma once
// The form calculates with its own classic model unless a hook says another model
// replaces it. The form hands the hook a snapshot of the sample and the geometry as
// its fields hold them (a value); the hook fills the eight layers the plot draws and
// says what the plot and the target share beside it show.

#include <string>
#include <vector>

#include "engine/calc_state.h"

namespace lumetra::window {

// The sample and the geometry as the form's fields hold them.
struct FormSnapshot {
    struct Element {
        int Z = 0;
        double atoms = 0.0;  // atomic content as typed, per formula unit
    };
    std::vector<Element> sample;  // entry 0 is the target
    bool film = false;
    double density = 0.0;       // g/cm3 (films)
    double thickness_cm = 0.0;  // films
    double E0 = 0.0;            // X-ray energy, keV
    double psi_in_deg = 0.0;    // incidence angle
    double psi_out_deg = 0.0;   // take-off angle
    double distance_cm = 0.0;   // sample to detector, as typed
    int target_slot = 0;        // the line slot of the chosen target line
    bool l3_edge = false;       // the L3 edge chosen, else K
    int marked = -1;            // index into sample of the marked element, -1 for none
    double full_energy = 0.0;   // keV at the top of the amplifier scale
    int al_steps = 0;           // aluminium filter steps
};

bool operator==(const FormSnapshot::Element& a, const FormSnapshot::Element& b);
bool operator==(const FormSnapshot& a, const FormSnapshot& b);
inline bool operator!=(const FormSnapshot& a, const FormSnapshot& b) {
    return !(a == b);
}

// What a calculation with the hook's model shows on the form.
struct HookedSpectrum {
    bool ok = false;           // the model calculated the snapshot
    std::string plot_note;     // a line printed on the plot (a refusal's reason, cut-off peaks)
    double units = 0.0;        // counts/s of one plot unit, 0 when the plot shows none
    std::string target_share;  // the caption beside the plot
    std::string line_name;     // the counted line as the legend names it; "": the form's
};

class ModelHook {
  public:
    virtual ~ModelHook() = default;
    // Whether "Plot" calculates with the hook's model rather than the classic one.
    virtual bool replaces_classic() const = 0;
    // Calculates the snapshot into st's eight layers, in plot units.
    virtual HookedSpectrum calculate(const FormSnapshot& snapshot, engine::CalcState& st) = 0;
    // After every calculation, with either model.
    virtual void calculated() = 0;
    // The plot surface was cleared.
    virtual void plot_cleared() = 0;
};

}  // namespace lumetra::window
