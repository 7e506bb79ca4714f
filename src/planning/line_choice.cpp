#include "planning/line_choice.h"

#include "physics/edge_choice.h"
#include "physics/xrl.h"

namespace lumetra::planning {

namespace {
namespace xrl = physics::xrl;
constexpr int KL2 = xrl::kKL2, KL3 = xrl::kKL3, KM2 = xrl::kKM2, KM3 = xrl::kKM3;
constexpr int L3M4 = xrl::kL3M4, L3M5 = xrl::kL3M5, L3N5 = xrl::kL3N5;
}  // namespace

std::vector<int> target_lines(int slot) {
    switch (slot) {
        case 0:
            return {KL3, KL2};  // K-alpha 1&2
        case 15:
            return {KL3};  // K-alpha 1
        case 16:
            return {KL2};  // K-alpha 2
        case 23:
            return {KM3, KM2};  // K-beta 1&3
        case 17:
            return {KM3};  // K-beta 1
        case 19:
            return {KM2};  // K-beta 3
        case 22:
            return {L3M5, L3M4};  // L-alpha 1&2
        case 1:
            return {L3M5};  // L-alpha 1
        case 2:
            return {L3M4};  // L-alpha 2
        case 3:
            return {L3N5};  // L-beta 2
        default:
            return {};
    }
}

int target_shell(bool l3_edge) {
    return l3_edge ? xrl::kShellL3 : xrl::kShellK;
}

const char* shell_name(int shell) {
    for (physics::EdgeChoice e : physics::edge_choices())
        if (e != physics::EdgeChoice::form && physics::edge_choice_shell(e) == shell)
            return physics::edge_choice_name(e);
    return "K";
}

bool is_l3_shell(int shell) {
    return shell == xrl::kShellL3;
}

}  // namespace lumetra::planning
