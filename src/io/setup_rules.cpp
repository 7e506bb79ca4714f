// The rules of a setup's values: texts in UTF-8, the matrix and its count, the line
// of the edge, the gains, the marked row, and the planning settings by the model's
// own rule.

#include "io/setup_rules.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/amplifier.h"
#include "common/numtext.h"
#include "io/json_text.h"
#include "io/setup_keys.h"
#include "physics/edge_choice.h"
#include "physics/stack_settings.h"

namespace lumetra::io {

namespace {

using setup_keys::kCoarseSteps;
using setup_keys::number_text;

std::string quoted_key(const std::string& path) {
    return "\"" + path + "\"";
}

std::optional<SetupProblem> range_problem(const std::string& path, double v, const char* rule) {
    return SetupProblem{path,
                        quoted_key(path) + " must be " + rule + " (found " + number_text(v) + ")."};
}

}  // namespace

std::optional<SetupProblem> setup_problem(const WindowSetup& s) {
    const std::pair<const char*, const std::string*> texts[] = {
        {"target.symbol", &s.target_symbol},
        {"target.content", &s.target_content},
        {"line", &s.line},
        {"energy", &s.energy},
        {"step", &s.step},
        {"fine_gain", &s.fine_gain},
        {"width", &s.width},
        {"incidence", &s.incidence},
        {"takeoff", &s.takeoff},
        {"film_density", &s.film_density},
        {"film_thickness", &s.film_thickness},
        {"distance", &s.distance},
        {"al_filter", &s.al_filter},
        {"planning.filter", &s.planning.filter},
        {"planning.edge_line", &s.planning.edge_line}};
    for (const auto& [path, t] : texts) {
        if (!valid_utf8(*t))
            return SetupProblem{path, quoted_key(path) + " holds bytes that are not UTF-8 text."};
    }
    for (std::size_t i = 0; i < s.matrix.size(); ++i) {
        if (!valid_utf8(s.matrix[i].first) || !valid_utf8(s.matrix[i].second)) {
            return SetupProblem{"matrix", "matrix row " + std::to_string(i + 1) +
                                              " holds bytes that are not UTF-8 text."};
        }
    }

    const auto rows = static_cast<int>(std::min<std::size_t>(s.matrix.size(), 1000000));
    if (rows > kMaxSetupRows) {
        return SetupProblem{
            "matrix", "\"matrix\" holds " + std::to_string(rows) + " rows; the window has 11."};
    }
    if (const auto& n = s.element_count) {
        if (*n != -10 && (*n < 0 || *n > kMaxSetupRows))
            return range_problem("element_count", *n, "-10 or a whole number from 0 to 11");
        if (std::max(*n, 0) != rows) {
            return SetupProblem{"element_count", "\"element_count\" is " + std::to_string(*n) +
                                                     " but \"matrix\" holds " +
                                                     std::to_string(rows) + " rows."};
        }
    }
    const std::vector<std::string>& lines = edge_lines(s.l3_edge);
    if (std::find(lines.begin(), lines.end(), s.line) == lines.end()) {
        std::string list;
        for (const std::string& l : lines) list += (list.empty() ? "\"" : ", \"") + l + "\"";
        return SetupProblem{"line", std::string("\"line\" must be one of the ") +
                                        (s.l3_edge ? "L3" : "K") + " edge's lines: " + list + "."};
    }
    if (s.coarse_gain_index < 0 || s.coarse_gain_index > 7)
        return range_problem("coarse_gain_index", s.coarse_gain_index, "from 0 to 7");
    if (std::find(kCoarseSteps.begin(), kCoarseSteps.end(), s.coarse_gain) == kCoarseSteps.end()) {
        return range_problem("coarse_gain", s.coarse_gain,
                             "one of 5, 10, 20, 50, 100, 200, 500 and 1000");
    }
    const double g = text::Val(s.fine_gain);
    if (!(g > 0) || !std::isfinite(common::full_energy(s.coarse_gain, g))) {
        return SetupProblem{"fine_gain",
                            "\"fine_gain\" must read as a number above 0 that gives a finite full "
                            "scale."};
    }
    if (s.marked_row < 0 || s.marked_row > kMaxSetupRows)
        return range_problem("marked_row", s.marked_row, "from 0 (none) to 11");
    const int shown = last_markable_row(s.element_count.value_or(rows));
    if (s.marked_row > shown) {
        return SetupProblem{"marked_row", "\"marked_row\" is " + std::to_string(s.marked_row) +
                                              " but the matrix editor shows " +
                                              std::to_string(shown) +
                                              " rows; write 0 for no marked row."};
    }

    // The planning numbers: the model's rule and its reason, with the key and value.
    for (const physics::SettingInfo& info : physics::setting_table()) {
        if (info.kind != physics::SettingKind::number) continue;
        const double v = physics::setting_value(info, s.planning);
        const std::string why = physics::refusal(info, v);
        if (!why.empty()) {
            const std::string path = std::string("planning.") + info.file_key;
            return SetupProblem{path, quoted_key(path) + " is " + number_text(v) + ": " + why};
        }
    }
    const std::string edge_why = physics::edge_refusal(s.planning);
    if (!edge_why.empty()) return SetupProblem{"planning.edge_line", edge_why};
    // The layers and the beam's filters, by the model's own rule, at the entry's line.
    for (const physics::LayerSetting& l : s.planning.layers) {
        if (!valid_utf8(l.composition))
            return SetupProblem{"planning.layers",
                                "a layer's composition holds bytes that are "
                                "not UTF-8 text."};
    }
    for (const physics::BeamFilterSetting& f : s.planning.beam_filters) {
        if (!valid_utf8(f.filter))
            return SetupProblem{"planning.beam_filters",
                                "a beam filter holds bytes that are not "
                                "UTF-8 text."};
    }
    if (const std::optional<physics::StackRefusal> r = physics::stack_refusal(s.planning)) {
        const std::string list = r->beam_filter ? "planning.beam_filters" : "planning.layers";
        return SetupProblem{list + "[" + std::to_string(r->index) + "]", r->reason};
    }
    return std::nullopt;
}

}  // namespace lumetra::io
