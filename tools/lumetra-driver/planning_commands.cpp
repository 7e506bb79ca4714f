// The driver's commands of the planner: the model and its settings, whole-setup files,
// the rates of the last calculation, exports and compositions.

#include <cmath>
#include <string>
#include <vector>

#include "arguments.h"
#include "chem/composition.h"
#include "common/numtext.h"
#include "driver.h"
#include "io/file_io.h"
#include "physics/xrl.h"
#include "planning/spectrum_csv.h"
#include "window/qt/export.h"
#include "window/qt/report.h"
#include "window/state_registry.h"

namespace lumetra::driver {

void Driver::cmd_model(std::string_view rest) {
    const auto name = exactly(rest, 1, "model classic|fp")[0];
    if (name == "classic") return planner_->set_model(planning::Model::classic);
    if (name == "fp") return planner_->set_model(planning::Model::fp);
    fail("usage: model classic|fp");
}

void Driver::cmd_setupfile(std::string_view rest) {
    const std::string_view verb = take_word(rest);
    if ((verb != "save" && verb != "load") || rest.empty()) fail("usage: setupfile save|load PATH");
    const std::string path(rest);
    const std::string problem =
        verb == "save" ? planner_->save_setup(path) : planner_->load_setup(path);
    if (!problem.empty()) fail(problem);
}

// "setup layer front|back TEXT THICKNESS_UM [DENSITY]": the composition is what
// stands before the last number (or the last two, when both read as numbers).
void Driver::cmd_setup_layer(std::string_view rest) {
    const std::string_view side = take_word(rest);
    std::vector<std::string> words;
    for (std::string_view w = take_word(rest); !w.empty(); w = take_word(rest))
        words.emplace_back(w);
    const auto number = [](const std::string& w, double& v) {
        return window::parse_number(w, v) && std::isfinite(v);
    };
    double thickness = 0.0, density = 0.0, last = 0.0;
    if ((side != "front" && side != "back") || words.size() < 2 || !number(words.back(), last))
        fail("usage: setup layer front|back TEXT THICKNESS_UM [DENSITY]");
    std::size_t text_words = words.size() - 1;
    thickness = last;
    if (words.size() >= 3 && number(words[words.size() - 2], thickness)) {
        density = last;
        text_words = words.size() - 2;
    }
    std::string text;
    for (std::size_t i = 0; i < text_words; ++i) text += (i ? " " : "") + words[i];
    std::vector<physics::LayerSetting> layers = planner_->settings().layers;
    layers.push_back({side == "back", text, thickness, density});
    const std::string why = planner_->set_stack(layers, planner_->settings().beam_filters);
    if (!why.empty()) fail(why);
}

void Driver::cmd_setup(std::string_view rest) {
    const std::string key(take_word(rest));
    if (key.empty()) fail("usage: setup KEY VALUE");
    const physics::Settings& p = planner_->settings();
    if (key == "layer") return cmd_setup_layer(rest);
    if (key == "layers" || key == "beamfilters") {
        if (rest != "clear") fail("usage: setup " + key + " clear");
        const std::string why = key == "layers" ? planner_->set_stack({}, p.beam_filters)
                                                : planner_->set_stack(p.layers, {});
        if (!why.empty()) fail(why);
        return;
    }
    if (key == "beamfilter") {
        const std::string filter(take_word(rest));
        const std::string_view thickness_word = take_word(rest);
        if (filter.empty() || thickness_word.empty() || !rest.empty())
            fail("usage: setup beamfilter FILTER THICKNESS_UM");
        const double thickness = number(thickness_word);
        std::vector<physics::BeamFilterSetting> filters = p.beam_filters;
        filters.push_back({filter, thickness});
        const std::string why = planner_->set_stack(p.layers, filters);
        if (!why.empty()) fail(why);
        return;
    }
    if (!planner_->set_planning(key, std::string(rest))) fail("unknown setting or value: " + key);
}

// The rates of the last calculation with the fundamental-parameter model.
void Driver::cmd_rates(std::string_view rest) {
    if (!rest.empty()) fail("usage: rates");
    const physics::Result& r = planner_->fp_result();
    if (!r.ok) fail(r.reason.empty() ? "no calculation with the fp model" : r.reason);
    using window::format_number;
    for (const physics::LineRate& l : r.lines) {
        out_ << "LINE " << l.Z << ' ' << physics::xrl::line_name(l.line) << ' '
             << format_number(l.energy) << ' ' << format_number(l.primary) << ' '
             << format_number(l.secondary) << ' ' << format_number(l.self_excited) << ' '
             << format_number(l.tertiary) << ' ' << format_number(l.scatter_excited);
        // A layer's line names its layer last: front1, back2.
        if (!l.in_sample()) out_ << (l.layer < 0 ? " front" : " back") << std::abs(l.layer);
        out_ << '\n';
    }
    out_ << "SCATTER RAYLEIGH " << format_number(r.rayleigh.energy) << ' '
         << format_number(r.rayleigh.rate) << '\n';
    out_ << "SCATTER COMPTON " << format_number(r.compton.energy) << ' '
         << format_number(r.compton.rate) << '\n';
    const physics::Figures& f = r.figures;
    out_ << "ICR " << format_number(f.icr) << '\n';
    out_ << "OCR " << format_number(f.ocr) << '\n';
    out_ << "DEADTIME " << format_number(f.dead_time) << '\n';
    out_ << "TARGET " << format_number(f.target) << '\n';
    out_ << "BACKGROUND " << format_number(f.background) << '\n';
    out_ << "TIME_PER_POINT " << format_number(f.time_per_point) << '\n';
    out_ << "SELF_ABSORPTION " << format_number(f.self_absorption) << '\n';
    if (f.paralysed()) out_ << "SATURATED " << format_number(f.overload) << '\n';
}

Control& Driver::control(std::string_view name) {
    if (name.empty()) fail("missing control name");
    Control* c = form_->find(std::string(name));
    if (!c) fail("unknown control " + std::string(name));
    return *c;
}

void Driver::cmd_export(std::string_view rest) {
    const std::string format(take_word(rest));
    if (rest.empty() || (format != "csv" && format != "png" && format != "svg" && format != "pdf" &&
                         format != "report"))
        fail(
            "usage: export csv|png|svg|pdf PATH, or export report PATH [a4|letter] "
            "[portrait|landscape]");
    std::string path(rest);
    std::string error;
    if (format == "report") {
        // The paper's words end the line; the path is what stands before them.
        window::qt::ReportPaper paper;
        std::vector<std::string> paper_words;
        for (std::size_t blank;
             paper_words.size() < 2 && (blank = path.rfind(' ')) != std::string::npos;) {
            std::vector<std::string> trial = paper_words;
            trial.insert(trial.begin(), path.substr(blank + 1));
            if (!window::qt::paper_from_words(trial, paper)) break;
            paper_words = std::move(trial);
            path.resize(blank);
        }
        ensure_view();
        error = window::qt::export_report(*planner_, path, paper);
    } else if (format == "csv") {
        error = planning::save_spectrum_csv(*planner_, path);
    } else {
        ensure_view();  // pictures need the running application
        error = window::qt::export_picture(*form_, path, format);
    }
    if (!error.empty()) fail(error);
}

// "composition? TEXT": how the text reads, each line as "PREVIEW line" (under the
// classic model with its problem, as the window's dialog shows it).
void Driver::cmd_composition_preview(std::string_view rest) {
    const bool classic = planner_->model() == planning::Model::classic;
    for (const std::string& line : chem::preview_lines(chem::parse_composition(rest), classic))
        out_ << "PREVIEW " << line << '\n';
}

// "composition TEXT": the preview, then the composition written into the form; a
// problem fails and leaves the form as it was.
void Driver::cmd_composition(std::string_view rest) {
    cmd_composition_preview(rest);
    const std::string problem = form_->apply_composition(std::string(rest));
    if (!problem.empty()) fail(problem);
}

}  // namespace lumetra::driver
