// The shown spectrum as comma-separated text: the setup as comment lines, then
// one row per channel (see spectrum_csv.h).

#include "window/spectrum_csv.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <system_error>
#include <utility>

#include "common/numtext.h"
#include "window/file_io.h"
#include "window/radirido.h"

namespace lumetra::window {

namespace {

// The shortest text that reads back as the same double, with a full stop; empty
// for a value that is not a finite number.
std::string number(double v) {
    if (!std::isfinite(v)) return {};
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string();
}

// A field text on one comment line: line breaks and other control characters
// become blanks, the blanks at both ends go.
std::string one_line(std::string s) {
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return text::trim_blanks(s);
}

class Header {
  public:
    void add(const std::string& key, const std::string& value) {
        text_ += "# " + key + ": " + one_line(value) + '\n';
    }
    void add(const std::string& key, double value) { add(key, number(value)); }
    void add(const std::string& key, bool on) { add(key, std::string(on ? "on" : "off")); }
    std::string take() { return std::move(text_); }

  private:
    std::string text_;
};

// Matrix rows in use (element i + 1 is row i).
int matrix_rows(const RADirido& f) {
    return std::clamp<int>(f.st.Elem_count, 0, kRows);
}

void sample_lines(Header& h, const RADirido& f) {
    h.add("target", f.Text1.text());
    h.add("target_content", f.Text51.text());
    for (int i = 0; i < matrix_rows(f); ++i)
        h.add("matrix_row_" + std::to_string(i + 1),
              f.Text2[i]->text() + " " + f.Text52[i]->text());
    const int mark = f.st.Elem_mark;
    h.add("marked_row", mark >= 1 && mark <= matrix_rows(f)
                            ? std::to_string(mark) + " (" + f.Text2[mark - 1]->text() + ")"
                            : std::string("none"));
    const bool film = f.Option6.value();
    h.add("sample", std::string(film ? "film" : "bulk"));
    if (film) {
        h.add("film_density_g_cm3", f.Text23.text());
        h.add("film_thickness_nm", f.Text24.text());
    }
}

void beam_and_amplifier_lines(Header& h, const RADirido& f) {
    h.add("edge", std::string(f.Option2.value() ? "L3" : "K"));
    h.add("line", f.Combo1.text());
    h.add("energy_keV", f.Text11.text());
    h.add("width_keV", f.Text16.text());
    h.add("coarse_gain", f.Label9.caption());
    h.add("fine_gain", f.Combo2.text());
    h.add("full_scale_keV", f.Label8.caption());
    h.add("incidence_deg", f.Text21.text());
    h.add("takeoff_deg", f.Text22.text());
    h.add("distance_cm", f.Text19.text());
    h.add("al_filter_steps", f.Text20.text());
    h.add("scale", std::string(f.Option4.value() ? "log" : "linear"));
    h.add("layer_argon", f.Check1.value() >= 1);
    h.add("layer_elastic", f.Check11.value() >= 1);
    h.add("layer_escape", f.Check21.value() >= 1);
    h.add("layer_pileup", f.Check3.value() >= 1);
}

void model_lines(Header& h, const RADirido& f) {
    const Planning& p = f.planning;
    const physics::Detector& d = p.detector;
    h.add("model", std::string(p.model == Model::fp ? "fundamental parameters" : "classic"));
    h.add("flux_photons_s", p.flux);
    h.add("polarisation", p.polarisation);
    h.add("detector", std::string(d.crystal == physics::Crystal::ge ? "ge" : "si"));
    h.add("detector_area_mm2", d.area_mm2);
    h.add("be_window_um", d.window_um);
    h.add("crystal_mm", d.crystal_mm);
    h.add("resolution_eV", d.resolution_eV);
    h.add("dead_time_us", d.dead_time_us);
    h.add("pulse_pair_us", d.pulse_pair_us);
    h.add("peak_to_background", d.peak_to_background);
    h.add("filter", p.filter);
    h.add("filter_thickness_um", p.filter_thickness_um);
}

}  // namespace

// Channel n of the amplifier's 0..10 V range: U = 10 n / 1024 V, E = F n / 1024 keV.
std::string spectrum_csv(const RADirido& f) {
    const bool shown = f.st.Calc_state > 0;
    const bool fp = f.planning.model == Model::fp;
    const double full = text::Val(f.Label8.caption());

    Header h;
    h.add("program", std::string(RADirido::kCaption));
    sample_lines(h, f);
    beam_and_amplifier_lines(h, f);
    model_lines(h, f);
    h.add("spectrum", std::string(shown ? "shown" : "none"));
    h.add("layer_units", std::string(fp ? "plot units; the _cps columns in counts/s per channel"
                                        : "plot units (relative)"));
    if (fp) h.add("counts_s_per_plot_unit", f.fp_units);
    std::string out = h.take();

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
        out += std::to_string(n) + ',' + number(10.0 * n / 1024) + ',' + number(full * n / 1024);
        for (const auto& [name, s] : layers) out += ',' + number((*s)[n]);
        if (fp)
            for (const auto& [name, s] : layers) out += ',' + number((*s)[n] * f.fp_units);
        out += '\n';
    }
    return out;
}

std::string save_spectrum_csv(const RADirido& form, const std::string& path) {
    if (form.st.Calc_state <= 0)
        return "There is no spectrum to export: calculate one with Plot first.";
    if (path.empty()) return "No file name was given. Nothing was saved.";
    return write_replacing(path, spectrum_csv(form));
}

}  // namespace lumetra::window
