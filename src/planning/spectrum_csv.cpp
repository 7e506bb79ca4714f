// The shown spectrum as comma-separated text: the setup and the results as
// comment lines, then one row per channel (see spectrum_csv.h).

#include "planning/spectrum_csv.h"

#include <array>
#include <utility>
#include <vector>

#include "common/numtext.h"
#include "io/file_io.h"
#include "planning/planner.h"
#include "planning/report_lines.h"

namespace lumetra::planning {

namespace {

void comment_lines(std::string& out, const std::vector<std::string>& lines) {
    for (const std::string& l : lines) out += "# " + l + '\n';
}

}  // namespace

// Channel n of the amplifier's 0..10 V range: U = 10 n / 1024 V, E = F n / 1024 keV.
std::string spectrum_csv(const Planner& planner) {
    const window::RADirido& f = planner.form();
    const double units = f.plot_units();
    const bool shown = f.st.Calc_state > 0;
    const bool fp = planner.model() == Model::fp;
    const double full = text::Val(f.Label8.caption());

    std::string out;
    comment_lines(out, setup_lines(planner));
    out += std::string("# spectrum: ") + (shown ? "shown" : "none") + '\n';
    out += std::string("# layer_units: ") +
           (fp ? "plot units; the _cps columns in counts/s per channel" : "plot units (relative)") +
           '\n';
    if (fp) out += "# counts_s_per_plot_unit: " + exact_number(units) + '\n';
    comment_lines(out, result_lines(planner));

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
    out += "channel,volts,keV";
    for (const auto& [name, s] : layers) out += std::string(",") + name;
    if (fp)
        for (const auto& [name, s] : layers) out += std::string(",") + name + "_cps";
    out += '\n';
    if (!shown) return out;

    for (int n = 0; n < engine::kChannels; ++n) {
        out += std::to_string(n) + ',' + exact_number(10.0 * n / 1024) + ',' +
               exact_number(full * n / 1024);
        for (const auto& [name, s] : layers) out += ',' + exact_number((*s)[n]);
        if (fp)
            for (const auto& [name, s] : layers) out += ',' + exact_number((*s)[n] * units);
        out += '\n';
    }
    return out;
}

std::string save_spectrum_csv(const Planner& planner, const std::string& path) {
    if (planner.form().st.Calc_state <= 0)
        return "There is no spectrum to export: calculate one with Plot first.";
    if (path.empty()) return "No file name was given. Nothing was saved.";
    return io::write_replacing(path, spectrum_csv(planner));
}

}  // namespace lumetra::planning
