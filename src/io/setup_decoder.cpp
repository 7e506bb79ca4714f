// Reading the setup file's keys from its JSON tree: each key's type, the choices of
// two words, whole numbers, the matrix rows, the gains that bring each other along
// and the planning settings.

#include "io/setup_decoder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>
#include <utility>

#include "io/setup_keys.h"
#include "physics/setup.h"

namespace lumetra::io {

namespace {

using Planning = physics::Settings;
using Model = physics::ModelKind;
using setup_keys::kCoarseSteps;
using setup_keys::kFormatName;
using setup_keys::number_text;

constexpr double kLargestWhole = 1e9;  // whole numbers beyond are refused before any range

std::string quoted_key(const std::string& path) {
    return "\"" + path + "\"";
}

// Reads the known keys of the file's object into a setup; remembers the line of
// each key read, so that a rule broken later can name it.
class Decoder {
  public:
    bool decode(const Json& top, WindowSetup& s) {
        if (top.kind != Json::Kind::object)
            return fail(top, "a setup file is one JSON object, { ... }");
        const Json* format = top.member("format");
        if (!format || format->kind != Json::Kind::text || format->text != kFormatName) {
            return fail(
                format ? *format : top,
                "this is not a Lumetra setup file (it has no \"format\": \"lumetra-setup\")");
        }
        if (!version(top)) return false;

        Json none;
        none.kind = Json::Kind::object;
        const Json* target = nullptr;
        if (!get(top, "", "target", Json::Kind::object, target)) return false;
        const Json& t = target ? *target : none;
        if (!text(t, "target.", "symbol", s.target_symbol) ||
            !text(t, "target.", "content", s.target_content) || !matrix(top, s)) {
            return false;
        }
        const Json* count = nullptr;
        if (!get(top, "", "element_count", Json::Kind::number, count)) return false;
        if (count) {
            int n = 0;
            if (!whole(*count, "element_count", n)) return false;
            s.element_count = n;
        }
        if (!choice(top, "edge", "K", "L3", s.l3_edge)) return false;
        s.line = edge_lines(s.l3_edge).front();  // the line the window lists first
        if (!text(top, "", "line", s.line) || !text(top, "", "energy", s.energy) ||
            !text(top, "", "step", s.step) || !gains(top, s) || !flag(top, "", "fix", s.fix) ||
            !text(top, "", "width", s.width) || !text(top, "", "incidence", s.incidence) ||
            !text(top, "", "takeoff", s.takeoff) ||
            !choice(top, "sample", "bulk", "film", s.film) ||
            !text(top, "", "film_density", s.film_density) ||
            !text(top, "", "film_thickness", s.film_thickness) ||
            !text(top, "", "distance", s.distance) || !text(top, "", "al_filter", s.al_filter) ||
            !whole_key(top, "marked_row", s.marked_row) ||
            !choice(top, "scale", "linear", "log", s.log_scale)) {
            return false;
        }
        const Json* layers = nullptr;
        if (!get(top, "", "layers", Json::Kind::object, layers)) return false;
        const Json& l = layers ? *layers : none;
        if (!flag(l, "layers.", "argon", s.argon) || !flag(l, "layers.", "elastic", s.elastic) ||
            !flag(l, "layers.", "escape", s.escape) || !flag(l, "layers.", "pileup", s.pileup)) {
            return false;
        }
        bool fp = false;
        if (!choice(top, "model", "classic", "fp", fp)) return false;
        s.planning.model = fp ? Model::fp : Model::classic;
        return planning(top, none, s.planning);
    }

    std::map<std::string, int>& lines() { return lines_; }
    const std::string& error() const { return error_; }

  private:
    bool fail(const Json& at, const std::string& why) {
        error_ = "Setup file line " + std::to_string(at.line) + ": " + why + ".";
        return false;
    }

    // The version: whole, 1 or more; a newer one is refused before any other key.
    bool version(const Json& top) {
        const Json* v = top.member("version");
        if (!v) return fail(top, "the setup file has no \"version\"");
        if (v->kind != Json::Kind::number || !(v->number >= 1) ||
            v->number != std::floor(v->number))
            return fail(*v, "\"version\" must be a whole number from 1");
        if (v->number > kSetupFormatVersion) {
            error_ = "This setup file was written by a newer Lumetra (format version " +
                     number_text(v->number) + "); this one reads version " +
                     std::to_string(kSetupFormatVersion) + ".";
            return false;
        }
        return true;
    }

    // The member `key` of obj when it has the kind (nullptr when missing); false
    // for a member of another kind.
    bool get(const Json& obj, const std::string& prefix, const char* key, Json::Kind kind,
             const Json*& found) {
        found = obj.member(key);
        if (!found) return true;
        lines_[prefix + key] = found->line;
        if (found->kind == kind) return true;
        static constexpr std::array<const char*, 6> kNames = {
            "null",           "true or false",    "a number", "a text in double quotes",
            "a list [ ... ]", "an object { ... }"};
        return fail(*found, quoted_key(prefix + key) + " must be " +
                                kNames[static_cast<std::size_t>(kind)]);
    }

    bool text(const Json& obj, const std::string& prefix, const char* key, std::string& out) {
        const Json* v = nullptr;
        if (!get(obj, prefix, key, Json::Kind::text, v)) return false;
        if (v) out = v->text;
        return true;
    }

    bool flag(const Json& obj, const std::string& prefix, const char* key, bool& out) {
        const Json* v = nullptr;
        if (!get(obj, prefix, key, Json::Kind::boolean, v)) return false;
        if (v) out = v->flag;
        return true;
    }

    bool number(const Json& obj, const char* key, double& out) {
        const Json* v = nullptr;
        if (!get(obj, "planning.", key, Json::Kind::number, v)) return false;
        if (v) out = v->number;
        return true;
    }

    bool whole(const Json& v, const std::string& path, int& out) {
        if (v.number != std::floor(v.number) || std::fabs(v.number) > kLargestWhole)
            return fail(v, quoted_key(path) + " must be a whole number (found " +
                               number_text(v.number) + ")");
        out = static_cast<int>(v.number);
        return true;
    }

    bool whole_key(const Json& obj, const char* key, int& out, bool* given = nullptr) {
        const Json* v = nullptr;
        if (!get(obj, "", key, Json::Kind::number, v)) return false;
        if (given) *given = v != nullptr;
        return !v || whole(*v, key, out);
    }

    // A text that is one of two words; `second` tells which.
    bool choice(const Json& obj, const char* key, const char* first, const char* other,
                bool& second, const std::string& prefix = "") {
        const Json* v = nullptr;
        if (!get(obj, prefix, key, Json::Kind::text, v)) return false;
        if (!v) return true;
        if (v->text != first && v->text != other) {
            return fail(
                *v, quoted_key(prefix + key) + " must be \"" + first + "\" or \"" + other + "\"");
        }
        second = v->text == other;
        return true;
    }

    bool matrix(const Json& top, WindowSetup& s) {
        const Json* m = nullptr;
        if (!get(top, "", "matrix", Json::Kind::array, m)) return false;
        if (!m) return true;
        for (std::size_t i = 0; i < m->items.size(); ++i) {
            const Json& row = m->items[i];
            const bool pair = row.kind == Json::Kind::array && row.items.size() == 2 &&
                              row.items[0].kind == Json::Kind::text &&
                              row.items[1].kind == Json::Kind::text;
            if (!pair) {
                return fail(row, "matrix row " + std::to_string(i + 1) +
                                     " must be a list of two texts, [\"symbol\", \"content\"]");
            }
            s.matrix.emplace_back(row.items[0].text, row.items[1].text);
        }
        return true;
    }

    // The coarse gain and its index: either one given alone brings the other along.
    bool gains(const Json& top, WindowSetup& s) {
        bool index_given = false, gain_given = false;
        if (!whole_key(top, "coarse_gain_index", s.coarse_gain_index, &index_given) ||
            !whole_key(top, "coarse_gain", s.coarse_gain, &gain_given) ||
            !text(top, "", "fine_gain", s.fine_gain)) {
            return false;
        }
        const int index = s.coarse_gain_index;
        if (index_given && !gain_given && index >= 0 &&
            index < static_cast<int>(kCoarseSteps.size()))
            s.coarse_gain = kCoarseSteps[static_cast<std::size_t>(index)];
        const auto step = std::find(kCoarseSteps.begin(), kCoarseSteps.end(), s.coarse_gain);
        if (gain_given && !index_given && step != kCoarseSteps.end())
            s.coarse_gain_index = static_cast<int>(step - kCoarseSteps.begin());
        return true;
    }

    // The planning settings; a detector named without its thickness or resolution
    // takes that crystal's.
    bool planning(const Json& top, const Json& none, Planning& p) {
        const Json* obj = nullptr;
        if (!get(top, "", "planning", Json::Kind::object, obj)) return false;
        const Json& o = obj ? *obj : none;
        bool ge = false;
        if (!choice(o, "detector", "si", "ge", ge, "planning.")) return false;
        const physics::Detector fresh =
            physics::default_detector(ge ? physics::Crystal::ge : physics::Crystal::si);
        physics::Detector& d = p.detector;
        d.crystal = fresh.crystal;
        d.crystal_mm = fresh.crystal_mm;
        d.resolution_eV = fresh.resolution_eV;
        for (const physics::SettingInfo& info : physics::setting_table()) {
            const bool read = info.kind == physics::SettingKind::filter
                                  ? text(o, "planning.", info.file_key, p.filter)
                                  : number(o, info.file_key, info.of(p));
            if (!read) return false;
        }
        return edge(o, p) && stack(o, p);
    }

    // The layers around the sample and the beam's filters: lists of objects.
    bool stack(const Json& o, Planning& p) {
        const Json* layers = nullptr;
        const Json* filters = nullptr;
        if (!get(o, "planning.", "layers", Json::Kind::array, layers) ||
            !get(o, "planning.", "beam_filters", Json::Kind::array, filters)) {
            return false;
        }
        for (std::size_t i = 0; layers && i < layers->items.size(); ++i) {
            const Json& item = layers->items[i];
            const std::string at = "planning.layers[" + std::to_string(i + 1) + "].";
            lines_["planning.layers[" + std::to_string(i) + "]"] = item.line;
            if (item.kind != Json::Kind::object)
                return fail(item, quoted_key(at.substr(0, at.size() - 1)) + " must be an object");
            physics::LayerSetting l;
            if (!required(item, at, "side") ||
                !choice(item, "side", "front", "back", l.behind, at) ||
                !required(item, at, "composition") ||
                !text(item, at, "composition", l.composition) ||
                !required(item, at, "thickness_um") ||
                !number_in(item, at, "thickness_um", l.thickness_um) ||
                !number_in(item, at, "density", l.density)) {
                return false;
            }
            p.layers.push_back(std::move(l));
        }
        for (std::size_t i = 0; filters && i < filters->items.size(); ++i) {
            const Json& item = filters->items[i];
            const std::string at = "planning.beam_filters[" + std::to_string(i + 1) + "].";
            lines_["planning.beam_filters[" + std::to_string(i) + "]"] = item.line;
            if (item.kind != Json::Kind::object)
                return fail(item, quoted_key(at.substr(0, at.size() - 1)) + " must be an object");
            physics::BeamFilterSetting f;
            if (!required(item, at, "filter") || !text(item, at, "filter", f.filter) ||
                !required(item, at, "thickness_um") ||
                !number_in(item, at, "thickness_um", f.thickness_um)) {
                return false;
            }
            p.beam_filters.push_back(std::move(f));
        }
        return true;
    }

    // The edge by its name; its line by its key or name (the rules check it against the
    // edge).
    bool edge(const Json& o, Planning& p) {
        std::string name = physics::edge_choice_name(p.edge);
        const Json* v = nullptr;
        if (!get(o, "planning.", "edge", Json::Kind::text, v)) return false;
        if (v) {
            const std::optional<physics::EdgeChoice> e = physics::edge_choice_of(v->text);
            if (!e || v->text != physics::edge_choice_name(*e))
                return fail(*v,
                            "\"planning.edge\" must be \"form\", \"K\", \"L1\", \"L2\", "
                            "\"L3\" or \"M5\"");
            p.edge = *e;
        }
        std::string line;
        if (!text(o, "planning.", "edge_line", line)) return false;
        physics::set_setting(p, "edgeline", line);  // a line's name is kept as its key
        return true;
    }

    bool required(const Json& obj, const std::string& prefix, const char* key) {
        if (obj.member(key)) return true;
        return fail(obj, quoted_key(prefix + key) + " is missing");
    }

    bool number_in(const Json& obj, const std::string& prefix, const char* key, double& out) {
        const Json* v = nullptr;
        if (!get(obj, prefix, key, Json::Kind::number, v)) return false;
        if (v) out = v->number;
        return true;
    }

    std::map<std::string, int> lines_;
    std::string error_;
};

}  // namespace

DecodedSetup decode_setup(const Json& top) {
    DecodedSetup r;
    Decoder decoder;
    WindowSetup s;
    if (decoder.decode(top, s))
        r.setup = std::move(s);
    else
        r.error = decoder.error();
    r.lines = std::move(decoder.lines());
    return r;
}

}  // namespace lumetra::io
