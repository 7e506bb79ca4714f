#pragma once
// The planner's settings of the fundamental-parameter model that the form's fields do
// not hold (beam, detector, filter, counting window), and one description of each:
// its key, unit, default, range, caption, and its names in the setup file and in the
// exported spectrum's header. Everything that shows, stores, compares or checks a
// setting goes through this table, so a new setting is added in one place.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "physics/edge_choice.h"
#include "physics/setup.h"

namespace lumetra::physics {

// The model "Plot" calculates with.
enum class ModelKind { classic, fp };

// The widest counting window, FWHM: wider, it would hold the neighbouring lines it
// is meant to keep out.
constexpr double kWidestCountWindow = 10.0;

// A layer of the stack around the sample as the planner gives it: its side, its
// composition in the window's composition language, its thickness and its density
// (0: the one its composition suggests).
struct LayerSetting {
    bool behind = false;  // behind the sample (a substrate), else in front of it
    std::string composition;
    double thickness_um = 0.0;
    double density = 0.0;  // g/cm3
};
bool operator==(const LayerSetting& a, const LayerSetting& b);

// A filter in the incident beam: as the detector's filter is written (Al,
// Al2O3:3.95), and its thickness.
struct BeamFilterSetting {
    std::string filter;
    double thickness_um = 0.0;
};
bool operator==(const BeamFilterSetting& a, const BeamFilterSetting& b);

struct Settings {
    ModelKind model = ModelKind::classic;
    double flux = 1e12;          // photons/s
    double polarisation = 0.95;  // degree of linear polarisation
    Detector detector;
    std::string filter = "none";       // element, formula:density, or none
    double filter_thickness_um = 0.0;  // um
    double count_window_fwhm = 1.0;    // width of the window S and B are counted in, FWHM
    // The stack around the sample, in front and behind each in order from the front,
    // and the filters in the beam.
    std::vector<LayerSetting> layers;
    std::vector<BeamFilterSetting> beam_filters;
    // The edge the target is counted at (physics/edge_choice.h) and its line's key
    // ("L2M4"; blank: the edge's first line).
    EdgeChoice edge = EdgeChoice::form;
    std::string edge_line;
};

bool operator==(const Settings& a, const Settings& b);
inline bool operator!=(const Settings& a, const Settings& b) {
    return !(a == b);
}

// What a number setting must be: at least `low` (or above it, when `open`), and at
// most `high`.
struct Range {
    double low = 0.0;
    bool open = false;
    double high = 1e300;
};

enum class SettingKind { number, filter };

struct SettingInfo {
    const char* key;         // of the panel field and the driver's `setup KEY`: "area"
    const char* file_key;    // in the setup file's "planning" object: "area_mm2"
    const char* report_key;  // in the spectrum file's header and the report: "detector_area_mm2"
    const char* caption;     // beside the panel's field, with the unit
    const char* field_name;  // the panel's text box
    const char* what;        // in a reason: "The flux"
    SettingKind kind;
    Range range;
    // The setting's value in the settings and in a setup made from them (numbers only).
    double& (*of)(Settings&);
    double (*in_setup)(const Setup&);
};

constexpr int kSettingCount = 12;
// In the order the panel shows them. The detector's crystal (si or ge) is a choice of
// its own, not in this table.
const std::array<SettingInfo, kSettingCount>& setting_table();
const SettingInfo* find_setting(const std::string& key);  // nullptr for an unknown key

inline double setting_value(const SettingInfo& s, const Settings& p) {
    return s.of(const_cast<Settings&>(p));
}

// Why a number setting cannot be used ("The flux must be above 0."), or "" when it can.
std::string refusal(const SettingInfo& s, double v);

// Why the settings cannot be used, the first refused number, or nullopt.
struct SettingRefusal {
    const SettingInfo* setting;
    std::string reason;
};
std::optional<SettingRefusal> refusal(const Settings& p);

// Whether the filter text names a filter; one that does not is shown red and not used.
bool filter_valid(const Settings& p);

// Sets one setting from its text, numbers by the window's reading rule; "detector"
// (si or ge) also takes that crystal's default thickness and resolution; "edge" takes
// an edge's name (a new edge blanks the line) and "edgeline" a line's key or name,
// kept as its key. False for an unknown key, detector or edge.
bool set_setting(Settings& p, const std::string& key, const std::string& text);

// The settings and the form's snapshot as the model's setup: flux, polarisation,
// detector, the filter when its text names one, the counting window, the layers and
// the beam filters that can be read (those that cannot are refused by stack_refusal),
// and the chosen edge with its line.
void apply_settings(const Settings& p, Setup& s);

}  // namespace lumetra::physics
