// The setup file: a setup's equality, the edges' lines, and Load, which reads the
// JSON, decodes the keys and applies the rules (see setup_format.h).

#include "io/setup_format.h"

#include <tuple>
#include <utility>

#include "io/json_reader.h"
#include "io/setup_decoder.h"
#include "io/setup_keys.h"
#include "io/setup_rules.h"

namespace lumetra::io {

bool operator==(const WindowSetup& a, const WindowSetup& b) {
    // The form's fields as typed, and the planning settings as their table compares them.
    const auto fields = [](const WindowSetup& s) {
        return std::tie(s.target_symbol, s.target_content, s.matrix, s.element_count, s.l3_edge,
                        s.line, s.energy, s.step, s.coarse_gain_index, s.coarse_gain, s.fine_gain,
                        s.fix, s.width, s.incidence, s.takeoff, s.film, s.film_density,
                        s.film_thickness, s.distance, s.al_filter, s.marked_row, s.log_scale,
                        s.argon, s.elastic, s.escape, s.pileup);
    };
    return fields(a) == fields(b) && a.planning == b.planning;
}

const std::vector<std::string>& edge_lines(bool l3_edge) {
    static const std::vector<std::string> k = {"K-alpha 1&2", "(K-alpha 1)", "(K-alpha 2)",
                                               "K -beta 1&3", "(K -beta 1)", "(K -beta 3)"};
    static const std::vector<std::string> l3 = {"L-alpha 1&2", "(L-alpha 1)", "(L-alpha 2)",
                                                "L- beta 2"};
    return l3_edge ? l3 : k;
}

std::string check_setup(const WindowSetup& s) {
    const std::optional<SetupProblem> p = setup_problem(s);
    return p ? p->text : std::string();
}

SetupParse parse_setup(std::string_view bytes) {
    SetupParse r;
    if (bytes.size() > kMaxSetupFileSize) {
        r.error = "This file is larger than 256 KiB, too large for a setup file.";
        return r;
    }
    const JsonRead json = read_json(bytes, setup_keys::kMaxDepth);
    if (!json.value) {
        r.error = "Setup file line " + std::to_string(json.line) + ": " + json.reason + ".";
        return r;
    }
    DecodedSetup decoded = decode_setup(*json.value);
    if (!decoded.setup) {
        r.error = std::move(decoded.error);
        return r;
    }
    if (const std::optional<SetupProblem> p = setup_problem(*decoded.setup)) {
        // The line of the key concerned, or of the object when the key was missing.
        const auto it = decoded.lines.find(p->path);
        const int line = it == decoded.lines.end() ? 1 : it->second;
        r.error = "Setup file line " + std::to_string(line) + ": " + p->text;
        return r;
    }
    r.setup = std::move(decoded.setup);
    return r;
}

}  // namespace lumetra::io
