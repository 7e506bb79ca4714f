// Writing a setup: every key, one per line, nested objects indented by two blanks.

#include <string_view>
#include <utility>
#include <vector>

#include "io/json_text.h"
#include "io/setup_format.h"
#include "io/setup_keys.h"

namespace lumetra::io {

namespace {

using Model = physics::ModelKind;
using setup_keys::kFormatName;
using setup_keys::number_text;

std::string boolean(bool b) {
    return b ? "true" : "false";
}

using Entries = std::vector<std::pair<std::string, std::string>>;  // key, JSON text

// An object with one key per line, nested values indented by two more blanks.
std::string object_text(const Entries& entries, const std::string& indent) {
    std::string out = "{\n";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        out += indent + "  " + quoted(entries[i].first) + ": " + entries[i].second;
        out += i + 1 < entries.size() ? ",\n" : "\n";
    }
    return out + indent + "}";
}

// A list of objects, one a line.
std::string list_text(const std::vector<Entries>& items) {
    if (items.empty()) return "[]";
    std::string out = "[\n";
    for (std::size_t i = 0; i < items.size(); ++i) {
        out += "    {";
        for (std::size_t k = 0; k < items[i].size(); ++k)
            out += (k ? ", " : "") + quoted(items[i][k].first) + ": " + items[i][k].second;
        out += i + 1 < items.size() ? "},\n" : "}\n";
    }
    return out + "  ]";
}

// A density of 0 stands for the one the composition suggests.
std::string stack_text(const physics::Settings& p) {
    std::vector<Entries> items;
    for (const physics::LayerSetting& l : p.layers) {
        items.push_back({{"side", quoted(l.behind ? "back" : "front")},
                         {"composition", quoted(l.composition)},
                         {"thickness_um", number_text(l.thickness_um)},
                         {"density", number_text(l.density)}});
    }
    return list_text(items);
}

std::string beam_filters_text(const physics::Settings& p) {
    std::vector<Entries> items;
    for (const physics::BeamFilterSetting& f : p.beam_filters)
        items.push_back(
            {{"filter", quoted(f.filter)}, {"thickness_um", number_text(f.thickness_um)}});
    return list_text(items);
}

// A setup that needs nothing of the later format is written as version 1, which
// older programs read too.
int written_version(const WindowSetup& s) {
    const bool stack = !s.planning.layers.empty() || !s.planning.beam_filters.empty();
    const bool edge = s.planning.edge != physics::EdgeChoice::form;
    return stack || edge ? kSetupFormatVersion : 1;
}

}  // namespace

std::string format_setup(const WindowSetup& s) {
    const physics::Settings& p = s.planning;
    const physics::Detector& d = p.detector;
    std::string matrix = "[]";
    if (!s.matrix.empty()) {
        matrix = "[\n";
        for (std::size_t i = 0; i < s.matrix.size(); ++i) {
            matrix += "    [" + quoted(s.matrix[i].first) + ", " + quoted(s.matrix[i].second) + "]";
            matrix += i + 1 < s.matrix.size() ? ",\n" : "\n";
        }
        matrix += "  ]";
    }
    const Entries target = {{"symbol", quoted(s.target_symbol)},
                            {"content", quoted(s.target_content)}};
    const Entries layers = {{"argon", boolean(s.argon)},
                            {"elastic", boolean(s.elastic)},
                            {"escape", boolean(s.escape)},
                            {"pileup", boolean(s.pileup)}};
    Entries planning;
    for (const physics::SettingInfo& info : physics::setting_table()) {
        planning.emplace_back(info.file_key, info.kind == physics::SettingKind::filter
                                                 ? quoted(p.filter)
                                                 : number_text(physics::setting_value(info, p)));
        if (info.file_key == std::string_view("polarisation"))
            planning.emplace_back("detector",
                                  quoted(d.crystal == physics::Crystal::ge ? "ge" : "si"));
    }

    planning.emplace_back("edge", quoted(physics::edge_choice_name(p.edge)));
    planning.emplace_back("edge_line", quoted(p.edge_line));
    planning.emplace_back("layers", stack_text(p));
    planning.emplace_back("beam_filters", beam_filters_text(p));

    Entries top = {{"format", quoted(kFormatName)},
                   {"version", std::to_string(written_version(s))},
                   {"target", object_text(target, "  ")},
                   {"matrix", matrix}};
    if (s.element_count) top.emplace_back("element_count", std::to_string(*s.element_count));
    const Entries rest = {{"edge", quoted(s.l3_edge ? "L3" : "K")},
                          {"line", quoted(s.line)},
                          {"energy", quoted(s.energy)},
                          {"step", quoted(s.step)},
                          {"coarse_gain_index", std::to_string(s.coarse_gain_index)},
                          {"coarse_gain", std::to_string(s.coarse_gain)},
                          {"fine_gain", quoted(s.fine_gain)},
                          {"fix", boolean(s.fix)},
                          {"width", quoted(s.width)},
                          {"incidence", quoted(s.incidence)},
                          {"takeoff", quoted(s.takeoff)},
                          {"sample", quoted(s.film ? "film" : "bulk")},
                          {"film_density", quoted(s.film_density)},
                          {"film_thickness", quoted(s.film_thickness)},
                          {"distance", quoted(s.distance)},
                          {"al_filter", quoted(s.al_filter)},
                          {"marked_row", std::to_string(s.marked_row)},
                          {"scale", quoted(s.log_scale ? "log" : "linear")},
                          {"layers", object_text(layers, "  ")},
                          {"model", quoted(p.model == Model::fp ? "fp" : "classic")},
                          {"planning", object_text(planning, "  ")}};
    top.insert(top.end(), rest.begin(), rest.end());
    return object_text(top, "") + "\n";
}

}  // namespace lumetra::io
