// The shown spectrum as comma-separated text: the planner's setup, results and
// layers as a table for the spectrum file (see spectrum_csv.h).

#include "planning/spectrum_csv.h"

#include <array>
#include <utility>

#include "common/numtext.h"
#include "io/file_io.h"
#include "planning/planner.h"
#include "planning/report_lines.h"

namespace lumetra::planning {

// Channel n of the amplifier's 0..10 V range: U = 10 n / 1024 V, E = F n / 1024 keV.
io::SpectrumTable spectrum_table(const Planner& planner) {
    const window::RADirido& f = planner.form();
    const bool fp = planner.model() == Model::fp;
    io::SpectrumTable t;
    t.setup_lines = setup_lines(planner);
    t.result_lines = result_lines(planner);
    t.shown = f.st.Calc_state > 0;
    t.layer_units =
        fp ? "plot units; the _cps columns in counts/s per channel" : "plot units (relative)";
    if (fp) t.counts_per_plot_unit = f.plot_units();
    t.full_scale_keV = text::Val(f.Label8.caption());

    const engine::CalcState& st = f.st;
    const std::array<std::pair<const char*, const engine::Spectrum*>, 8> layers = {
        {{"total", &st.Spec_total},
         {"target", &st.Spec_target},
         {"line", &st.Spec_line},
         {"mark", &st.Spec_mark},
         {"argon", &st.Spec_argon},
         {"elastic", &st.Spec_elastic},
         {"escape", &st.Spec_escape},
         {"pileup", &st.Spec_pileup}}};
    for (const auto& [name, s] : layers) t.layers.push_back({name, {s->begin(), s->end()}});
    return t;
}

std::string spectrum_csv(const Planner& planner) {
    return io::spectrum_csv(spectrum_table(planner));
}

std::string save_spectrum_csv(const Planner& planner, const std::string& path) {
    if (planner.form().st.Calc_state <= 0)
        return "There is no spectrum to export: calculate one with Plot first.";
    if (path.empty()) return "No file name was given. Nothing was saved.";
    return io::write_replacing(path, spectrum_csv(planner));
}

}  // namespace lumetra::planning
