// The library's line codes from KL1 to M5P5 in one table: names, shells and the
// combined codes (see xrl.h).

#include <cstddef>

#include "physics/xrl.h"

namespace lumetra::physics::xrl {
namespace {

constexpr int K = kShellK, L1 = kShellL1, L2 = kShellL2, L3 = kShellL3, M1 = kShellM1,
              M2 = kShellM2, M3 = kShellM3, M4 = kShellM4, M5 = kShellM5;

// clang-format off
constexpr std::array<LineInfo, kLineCount> kLines = {{
    {-1, "KL1", K}, {-2, "KL2", K}, {-3, "KL3", K},
    {-4, "KM1", K}, {-5, "KM2", K}, {-6, "KM3", K}, {-7, "KM4", K}, {-8, "KM5", K},
    {-9, "KN1", K}, {-10, "KN2", K}, {-11, "KN3", K}, {-12, "KN4", K}, {-13, "KN5", K},
    {-14, "KN6", K}, {-15, "KN7", K},
    {-16, "KO", K, -17, -23}, {-17, "KO1", K}, {-18, "KO2", K}, {-19, "KO3", K}, {-20, "KO4", K},
    {-21, "KO5", K}, {-22, "KO6", K}, {-23, "KO7", K},
    {-24, "KP", K, -25, -29}, {-25, "KP1", K}, {-26, "KP2", K}, {-27, "KP3", K}, {-28, "KP4", K},
    {-29, "KP5", K},
    {-30, "L1L2", L1}, {-31, "L1L3", L1},
    {-32, "L1M1", L1}, {-33, "L1M2", L1}, {-34, "L1M3", L1}, {-35, "L1M4", L1}, {-36, "L1M5", L1},
    {-37, "L1N1", L1}, {-38, "L1N2", L1}, {-39, "L1N3", L1}, {-40, "L1N4", L1}, {-41, "L1N5", L1},
    {-42, "L1N6", L1}, {-43, "L1N67", L1, -42, -44}, {-44, "L1N7", L1},
    {-45, "L1O1", L1}, {-46, "L1O2", L1}, {-47, "L1O3", L1}, {-48, "L1O4", L1},
    {-49, "L1O45", L1, -48, -50}, {-50, "L1O5", L1}, {-51, "L1O6", L1}, {-52, "L1O7", L1},
    {-53, "L1P1", L1}, {-54, "L1P2", L1}, {-55, "L1P23", L1, -54, -56}, {-56, "L1P3", L1},
    {-57, "L1P4", L1}, {-58, "L1P5", L1},
    {-59, "L2L3", L2},
    {-60, "L2M1", L2}, {-61, "L2M2", L2}, {-62, "L2M3", L2}, {-63, "L2M4", L2}, {-64, "L2M5", L2},
    {-65, "L2N1", L2}, {-66, "L2N2", L2}, {-67, "L2N3", L2}, {-68, "L2N4", L2}, {-69, "L2N5", L2},
    {-70, "L2N6", L2}, {-71, "L2N7", L2},
    {-72, "L2O1", L2}, {-73, "L2O2", L2}, {-74, "L2O3", L2}, {-75, "L2O4", L2}, {-76, "L2O5", L2},
    {-77, "L2O6", L2}, {-78, "L2O7", L2},
    {-79, "L2P1", L2}, {-80, "L2P2", L2}, {-81, "L2P23", L2, -80, -82}, {-82, "L2P3", L2},
    {-83, "L2P4", L2}, {-84, "L2P5", L2},
    {-85, "L2Q1", L2},
    {-86, "L3M1", L3}, {-87, "L3M2", L3}, {-88, "L3M3", L3}, {-89, "L3M4", L3}, {-90, "L3M5", L3},
    {-91, "L3N1", L3}, {-92, "L3N2", L3}, {-93, "L3N3", L3}, {-94, "L3N4", L3}, {-95, "L3N5", L3},
    {-96, "L3N6", L3}, {-97, "L3N7", L3},
    {-98, "L3O1", L3}, {-99, "L3O2", L3}, {-100, "L3O3", L3}, {-101, "L3O4", L3},
    {-102, "L3O45", L3, -101, -103}, {-103, "L3O5", L3}, {-104, "L3O6", L3}, {-105, "L3O7", L3},
    {-106, "L3P1", L3}, {-107, "L3P2", L3}, {-108, "L3P23", L3, -107, -109}, {-109, "L3P3", L3},
    {-110, "L3P4", L3}, {-111, "L3P45", L3, -110, -112}, {-112, "L3P5", L3},
    {-113, "L3Q1", L3},
    {-114, "M1M2", M1}, {-115, "M1M3", M1}, {-116, "M1M4", M1}, {-117, "M1M5", M1},
    {-118, "M1N1", M1}, {-119, "M1N2", M1}, {-120, "M1N3", M1}, {-121, "M1N4", M1},
    {-122, "M1N5", M1}, {-123, "M1N6", M1}, {-124, "M1N7", M1},
    {-125, "M1O1", M1}, {-126, "M1O2", M1}, {-127, "M1O3", M1}, {-128, "M1O4", M1},
    {-129, "M1O5", M1}, {-130, "M1O6", M1}, {-131, "M1O7", M1},
    {-132, "M1P1", M1}, {-133, "M1P2", M1}, {-134, "M1P3", M1}, {-135, "M1P4", M1},
    {-136, "M1P5", M1},
    {-137, "M2M3", M2}, {-138, "M2M4", M2}, {-139, "M2M5", M2},
    {-140, "M2N1", M2}, {-141, "M2N2", M2}, {-142, "M2N3", M2}, {-143, "M2N4", M2},
    {-144, "M2N5", M2}, {-145, "M2N6", M2}, {-146, "M2N7", M2},
    {-147, "M2O1", M2}, {-148, "M2O2", M2}, {-149, "M2O3", M2}, {-150, "M2O4", M2},
    {-151, "M2O5", M2}, {-152, "M2O6", M2}, {-153, "M2O7", M2},
    {-154, "M2P1", M2}, {-155, "M2P2", M2}, {-156, "M2P3", M2}, {-157, "M2P4", M2},
    {-158, "M2P5", M2},
    {-159, "M3M4", M3}, {-160, "M3M5", M3},
    {-161, "M3N1", M3}, {-162, "M3N2", M3}, {-163, "M3N3", M3}, {-164, "M3N4", M3},
    {-165, "M3N5", M3}, {-166, "M3N6", M3}, {-167, "M3N7", M3},
    {-168, "M3O1", M3}, {-169, "M3O2", M3}, {-170, "M3O3", M3}, {-171, "M3O4", M3},
    {-172, "M3O5", M3}, {-173, "M3O6", M3}, {-174, "M3O7", M3},
    {-175, "M3P1", M3}, {-176, "M3P2", M3}, {-177, "M3P3", M3}, {-178, "M3P4", M3},
    {-179, "M3P5", M3},
    {-180, "M3Q1", M3},
    {-181, "M4M5", M4},
    {-182, "M4N1", M4}, {-183, "M4N2", M4}, {-184, "M4N3", M4}, {-185, "M4N4", M4},
    {-186, "M4N5", M4}, {-187, "M4N6", M4}, {-188, "M4N7", M4},
    {-189, "M4O1", M4}, {-190, "M4O2", M4}, {-191, "M4O3", M4}, {-192, "M4O4", M4},
    {-193, "M4O5", M4}, {-194, "M4O6", M4}, {-195, "M4O7", M4},
    {-196, "M4P1", M4}, {-197, "M4P2", M4}, {-198, "M4P3", M4}, {-199, "M4P4", M4},
    {-200, "M4P5", M4},
    {-201, "M5N1", M5}, {-202, "M5N2", M5}, {-203, "M5N3", M5}, {-204, "M5N4", M5},
    {-205, "M5N5", M5}, {-206, "M5N6", M5}, {-207, "M5N7", M5},
    {-208, "M5O1", M5}, {-209, "M5O2", M5}, {-210, "M5O3", M5}, {-211, "M5O4", M5},
    {-212, "M5O5", M5}, {-213, "M5O6", M5}, {-214, "M5O7", M5},
    {-215, "M5P1", M5}, {-216, "M5P2", M5}, {-217, "M5P3", M5}, {-218, "M5P4", M5},
    {-219, "M5P5", M5},
}};
// clang-format on

// Entry i holds code -1 - i; a combined code lies just before or inside the run of
// its parts, all of its own shell and none of them combined.
constexpr bool well_formed() {
    for (int i = 0; i < kLineCount; ++i) {
        const LineInfo& l = kLines[static_cast<std::size_t>(i)];
        if (l.code != kFirstLine - i) return false;
        if (!l.combined()) continue;
        if (!(l.first_part <= l.code + 1 && l.code > l.last_part)) return false;
        for (int part = l.first_part; part >= l.last_part; --part) {
            const LineInfo& p = kLines[static_cast<std::size_t>(kFirstLine - part)];
            if (part != l.code && (p.combined() || p.shell != l.shell)) return false;
        }
    }
    return true;
}
static_assert(well_formed(), "the line table is out of order");

}  // namespace

const std::array<LineInfo, kLineCount>& line_table() {
    return kLines;
}

const LineInfo* line_info(int line) {
    if (line > kFirstLine || line < kLastLine) return nullptr;
    return &kLines[static_cast<std::size_t>(kFirstLine - line)];
}

std::string line_name(int line) {
    const LineInfo* l = line_info(line);
    return l ? l->name : std::string();
}

int line_shell(int line) {
    const LineInfo* l = line_info(line);
    return l ? l->shell : -1;
}

bool counted_line(int Z, int line) {
    const LineInfo* l = line_info(line);
    if (!l) return false;
    if (!l->combined()) return true;
    for (int part = l->first_part; part >= l->last_part; --part)
        if (part != line && rad_rate(Z, part) > 0.0) return false;
    return true;
}

}  // namespace lumetra::physics::xrl
