#include "physics/edge_choice.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "common/numtext.h"
#include "physics/settings.h"
#include "physics/setup.h"
#include "physics/xrl.h"

namespace lumetra::physics {

namespace {

struct EdgeInfo {
    EdgeChoice edge;
    const char* name;
    int shell;
};

constexpr std::array<EdgeInfo, 6> kEdges = {{{EdgeChoice::form, "form", -1},
                                             {EdgeChoice::K, "K", xrl::kShellK},
                                             {EdgeChoice::L1, "L1", xrl::kShellL1},
                                             {EdgeChoice::L2, "L2", xrl::kShellL2},
                                             {EdgeChoice::L3, "L3", xrl::kShellL3},
                                             {EdgeChoice::M5, "M5", xrl::kShellM5}}};

// Siegbahn's names of the lines a spectrum shows by them.
struct Siegbahn {
    int code;
    const char* name;
};
constexpr std::array<Siegbahn, 35> kSiegbahn = {{
    {-3, "K-alpha 1"},   {-2, "K-alpha 2"},   {-6, "K-beta 1"},   {-5, "K-beta 3"},
    {-11, "K-beta 2"},   {-10, "K-beta 2"},   {-8, "K-beta 5"},   {-7, "K-beta 5"},
    {-34, "L-beta 3"},   {-33, "L-beta 4"},   {-39, "L-gamma 3"}, {-38, "L-gamma 2"},
    {-36, "L-beta 9"},   {-35, "L-beta 10"},  {-47, "L-gamma 4"}, {-46, "L-gamma 4'"},
    {-63, "L-beta 1"},   {-68, "L-gamma 1"},  {-60, "L-eta"},     {-65, "L-gamma 5"},
    {-72, "L-gamma 8"},  {-75, "L-gamma 6"},  {-62, "L-beta 17"}, {-90, "L-alpha 1"},
    {-89, "L-alpha 2"},  {-95, "L-beta 2"},   {-94, "L-beta 15"}, {-86, "L-l"},
    {-91, "L-beta 6"},   {-103, "L-beta 5"},  {-88, "L-s"},       {-87, "L-t"},
    {-207, "M-alpha 1"}, {-206, "M-alpha 2"}, {-203, "M-zeta 1"},
}};

// The doublets counted together, with their names.
struct Doublet {
    int first, second;
    const char* name;
};
constexpr std::array<Doublet, 6> kDoublets = {{{-3, -2, "K-alpha 1&2"},
                                               {-6, -5, "K-beta 1&3"},
                                               {-34, -33, "L-beta 3&4"},
                                               {-38, -39, "L-gamma 2&3"},
                                               {-90, -89, "L-alpha 1&2"},
                                               {-207, -206, "M-alpha 1&2"}}};

// A doublet is offered only when its lines lie this close: S is counted in a window
// of a few FWHM centred on their mean, and an energy-dispersive detector's FWHM is
// 130 to 200 eV where L and M lines fall, so farther lines (lead's L-beta 3 and 4,
// 0.48 keV apart) would each fall beside the window.
constexpr double kDoubletSpread_keV = 0.15;

const EdgeInfo* info(EdgeChoice e) {
    for (const EdgeInfo& i : kEdges)
        if (i.edge == e) return &i;
    return nullptr;
}

bool gives(int Z, int code) {
    return xrl::counted_line(Z, code) && xrl::rad_rate(Z, code) > 0.0 &&
           xrl::line_energy(Z, code) > 0.0;
}

std::string named(const std::vector<int>& codes, const std::string& siegbahn) {
    const std::string key = edge_line_key(codes);
    return siegbahn.empty() ? key : siegbahn + " (" + key + ")";
}

std::string siegbahn_name(int code) {
    for (const Siegbahn& s : kSiegbahn)
        if (s.code == code) return s.name;
    return {};
}

// The code of a library name of the shell ("L2M4"), or 0.
int code_of(const std::string& name, int shell) {
    for (const xrl::LineInfo& l : xrl::line_table())
        if (name == l.name && l.shell == shell) return l.code;
    return 0;
}

}  // namespace

const char* edge_choice_name(EdgeChoice e) {
    const EdgeInfo* i = info(e);
    return i ? i->name : "form";
}

std::optional<EdgeChoice> edge_choice_of(const std::string& name) {
    const std::string t = text::trim_blanks(name);
    for (const EdgeInfo& i : kEdges)
        if (t == i.name) return i.edge;
    return std::nullopt;
}

const std::vector<EdgeChoice>& edge_choices() {
    static const std::vector<EdgeChoice> kAll = {EdgeChoice::form, EdgeChoice::K,  EdgeChoice::L1,
                                                 EdgeChoice::L2,   EdgeChoice::L3, EdgeChoice::M5};
    return kAll;
}

int edge_choice_shell(EdgeChoice e) {
    const EdgeInfo* i = info(e);
    return i ? i->shell : -1;
}

std::string edge_line_key(const std::vector<int>& codes) {
    std::string key;
    for (int c : codes) key += (key.empty() ? "" : "+") + xrl::line_name(c);
    return key;
}

std::vector<EdgeLine> edge_lines_of(int Z, int shell) {
    std::vector<EdgeLine> out;
    if (Z < 1 || Z > xrl::kHeaviestElement || shell < xrl::kShellK || shell > xrl::kShellM5)
        return out;
    for (const Doublet& d : kDoublets) {
        if (xrl::line_shell(d.first) != shell || !gives(Z, d.first) || !gives(Z, d.second))
            continue;
        const double spread = xrl::line_energy(Z, d.first) - xrl::line_energy(Z, d.second);
        if (!(std::fabs(spread) <= kDoubletSpread_keV)) continue;
        const std::vector<int> codes = {d.first, d.second};
        out.push_back({codes, edge_line_key(codes), named(codes, d.name)});
    }
    std::vector<std::pair<double, int>> singles;
    for (const xrl::LineInfo& l : xrl::line_table())
        if (l.shell == shell && gives(Z, l.code))
            singles.emplace_back(xrl::rad_rate(Z, l.code), l.code);
    std::stable_sort(singles.begin(), singles.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& [rate, code] : singles) {
        (void)rate;
        out.push_back({{code}, xrl::line_name(code), named({code}, siegbahn_name(code))});
    }
    return out;
}

std::vector<int> edge_line_codes(const std::string& text, int shell) {
    std::string t = text::trim_blanks(text);
    // A name as the list shows it carries its key in brackets at the end.
    const std::size_t open = t.rfind('(');
    if (open != std::string::npos && !t.empty() && t.back() == ')')
        t = text::trim_blanks(t.substr(open + 1, t.size() - open - 2));
    std::vector<int> codes;
    std::size_t start = 0;
    while (start <= t.size()) {
        const std::size_t plus = std::min(t.find('+', start), t.size());
        const int code = code_of(text::trim_blanks(t.substr(start, plus - start)), shell);
        if (code == 0 || std::find(codes.begin(), codes.end(), code) != codes.end()) return {};
        codes.push_back(code);
        start = plus + 1;
    }
    return codes;
}

std::string edge_refusal(const Settings& p) {
    if (p.edge == EdgeChoice::form) {
        if (p.edge_line.empty()) return {};
        return "The form's edge takes its line from the form: the line must be blank.";
    }
    if (p.edge_line.empty()) return {};
    if (!edge_line_codes(p.edge_line, edge_choice_shell(p.edge)).empty()) return {};
    return "\"" + p.edge_line + "\" is not a line of the " + edge_choice_name(p.edge) + " edge.";
}

std::string edge_line_refusal(const Settings& p, const Setup& s) {
    if (p.edge == EdgeChoice::form || !s.target_lines.empty()) return {};
    return "The target element has no such line at the chosen edge.";
}

std::string edge_line_name(const Settings& p, const Setup& s) {
    if (p.edge == EdgeChoice::form || s.sample.empty()) return {};
    for (const EdgeLine& l : edge_lines_of(s.sample.front().Z, s.target_shell))
        if (l.codes == s.target_lines) return l.name;
    return {};
}

void apply_edge(const Settings& p, Setup& s) {
    if (p.edge == EdgeChoice::form) return;
    const int shell = edge_choice_shell(p.edge);
    s.target_shell = shell;
    s.target_lines.clear();
    const int Z = s.sample.empty() ? 0 : s.sample.front().Z;
    const std::vector<EdgeLine> offered = edge_lines_of(Z, shell);
    if (p.edge_line.empty()) {
        if (!offered.empty()) s.target_lines = offered.front().codes;
        return;
    }
    const std::vector<int> codes = edge_line_codes(p.edge_line, shell);
    for (const EdgeLine& l : offered)
        if (l.codes == codes) s.target_lines = codes;
}

}  // namespace lumetra::physics
