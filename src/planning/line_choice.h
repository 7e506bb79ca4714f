#pragma once
// The form's choice of target line and edge in the model's terms: the reference
// library's line codes the choice counts and the shell whose edge a scan crosses.

#include <vector>

namespace lumetra::planning {

// The line codes of a line slot of the form (K-alpha 1&2 counts KL3 and KL2, ...);
// none for a slot the form does not offer.
std::vector<int> target_lines(int slot);

// The shell of the K or the L3 edge.
int target_shell(bool l3_edge);
bool is_l3_shell(int shell);
// The edge's name of a shell: "K", "L1", "L2", "L3", "M5" ("K" for another).
const char* shell_name(int shell);

}  // namespace lumetra::planning
