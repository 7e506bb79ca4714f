#include "planning/line_choice.h"

namespace lumetra::planning {

namespace {
constexpr int kKShell = 0, kL3Shell = 3;
constexpr int KL2 = -2, KL3 = -3, KM2 = -5, KM3 = -6, L3M4 = -89, L3M5 = -90, L3N5 = -95;
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
    return l3_edge ? kL3Shell : kKShell;
}

bool is_l3_shell(int shell) {
    return shell == kL3Shell;
}

}  // namespace lumetra::planning
