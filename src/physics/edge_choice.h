#pragma once
// The edge the fundamental-parameter model counts the target at: as the form chooses
// (its K or L3 edge and line list), or K, L1, L2, L3 or M5 with a line of that shell
// the library gives the target element, e.g. lead's L-beta 1 (L2M4) at its L2 edge.

#include <optional>
#include <string>
#include <vector>

namespace lumetra::physics {

struct Settings;
struct Setup;

enum class EdgeChoice { form, K, L1, L2, L3, M5 };

// "form", "K", "L1", "L2", "L3", "M5": the names of the setup file and the driver.
const char* edge_choice_name(EdgeChoice e);
std::optional<EdgeChoice> edge_choice_of(const std::string& name);
const std::vector<EdgeChoice>& edge_choices();  // in the order above
// The library's shell of an edge; -1 for the form's choice.
int edge_choice_shell(EdgeChoice e);

// A line an edge offers: its codes (one, or the two of a doublet counted together),
// its key ("L2M4", "M5N7+M5N6") and its name ("L-beta 1 (L2M4)").
struct EdgeLine {
    std::vector<int> codes;
    std::string key;
    std::string name;
};

// The lines of a shell with a radiative rate and an energy for element Z: the
// doublets a planner counts together first (K-alpha 1&2, K-beta 1&3, L-beta 3&4,
// L-gamma 2&3, L-alpha 1&2, M-alpha 1&2, when both lines have a rate and lie within
// 0.15 keV of each other), then every single line, strongest first. Empty for an unknown element or
// shell.
std::vector<EdgeLine> edge_lines_of(int Z, int shell);

// The line codes of a key or a name ("L2M4", "L-beta 1 (L2M4)", "M5N7+M5N6"); empty
// when the text names no line, or a line of another shell.
std::vector<int> edge_line_codes(const std::string& text, int shell);
// The key of the line codes ("M5N7+M5N6").
std::string edge_line_key(const std::vector<int>& codes);

// Why the edge and its line cannot be held ("The line L3M5 is not a line of the L2
// edge."), or "" when they can; independent of the target element.
std::string edge_refusal(const Settings& p);

// Why a setup made with the settings has no target line to count ("The target element
// has no such line at the chosen edge."), or "" when it has one or the edge is the
// form's.
std::string edge_line_refusal(const Settings& p, const Setup& s);

// The name of the line a setup made with the settings counts ("L-beta 1 (L2M4)"), or
// "" when the edge is the form's (the form names its line).
std::string edge_line_name(const Settings& p, const Setup& s);

// The chosen edge's shell and line into a setup of the target element
// (Setup::sample[0]); the form's own choice stays as it is. A blank line counts the
// edge's first line; a line the element does not give leaves no target line
// (edge_line_refusal says why).
void apply_edge(const Settings& p, Setup& s);

}  // namespace lumetra::physics
