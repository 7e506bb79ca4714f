// Names of what lies near the target line, and of what the scale leaves out.

#include "physics/neighbours.h"

#include <gtest/gtest.h>
#include <xraylib/xraylib.h>

namespace lumetra::physics {
namespace {

LineRate line(int element, int Z, int code, double E, double rate) {
    LineRate l;
    l.element = element;
    l.Z = Z;
    l.line = code;
    l.energy = E;
    l.primary = rate;
    return l;
}

// Arsenic in a soil with lead: As K-alpha 1 counted, Fe and Pb lines beside it.
Result soil() {
    Result r;
    r.ok = true;
    r.lines = {line(0, 33, KL3_LINE, 10.544, 1000.0), line(1, 26, KL3_LINE, 6.404, 5e5),
               line(2, 82, L3M5_LINE, 10.551, 800.0), line(2, 82, L2M4_LINE, 12.614, 3000.0),
               line(2, 82, L1M3_LINE, 12.79, 200.0)};
    r.rayleigh = {13.1, 1e5, 0.0};
    r.compton = {12.8, 2e4, 300.0};
    auto near = [](BackgroundPart::Kind k, int a, int b, double E, double rate) {
        BackgroundPart p;
        p.kind = k;
        p.source = a;
        p.partner = b;
        p.energy = E;
        p.rate = rate;
        return p;
    };
    r.background_parts = {near(BackgroundPart::Kind::pileup, 1, 1, 12.8, 274.0),
                          near(BackgroundPart::Kind::peak, 2, 2, 10.551, 200.0),
                          near(BackgroundPart::Kind::escape, BackgroundPart::kCompton,
                               BackgroundPart::kCompton, 11.0, 20.0),
                          near(BackgroundPart::Kind::shelf, 0, 0, 0.0, 5.0)};
    return r;
}

TEST(Neighbours, PileUpEscapeAndShelvesAreNamed) {
    const std::vector<Neighbour> n = neighbours(soil());
    ASSERT_EQ(n.size(), 4u);
    EXPECT_EQ(n[0].name, "pile-up Fe Ka1 + Fe Ka1");
    EXPECT_EQ(n[0].rate, 274.0);
    EXPECT_EQ(n[1].name, "Pb L-alpha 1");
    EXPECT_EQ(n[2].name, "Compton escape");
    EXPECT_EQ(n[3].name, "incomplete charge (all peaks)");
    EXPECT_EQ(neighbours(soil(), 2).size(), 2u);
    EXPECT_TRUE(neighbours(soil(), -1).empty());
    Result failed = soil();
    failed.ok = false;
    EXPECT_TRUE(neighbours(failed).empty());
    // A source that is no line of the result is named, not read beyond the list.
    Result odd = soil();
    odd.background_parts[0].source = 99;
    EXPECT_EQ(neighbours(odd)[0].name, "pile-up ? + Fe Ka1");
}

TEST(Neighbours, WhatTheScaleLeavesOutIsSaid) {
    physics::Setup s;
    s.target_lines = {KL3_LINE};
    s.full_energy = 12.994;
    // Rayleigh at 13.1 keV is beyond; Compton at 12.8 and Pb L-beta 1 at 12.61 are not.
    EXPECT_EQ(beyond_scale(s, soil()), "Beyond the scale: elastic scatter");
    s.full_energy = 12.5;  // Pb L-beta 1 (3000/s, stronger than As K-alpha) is beyond too
    EXPECT_EQ(beyond_scale(s, soil()),
              "Beyond the scale: elastic and Compton scatter, Pb L-beta 1 (stronger than the "
              "target)");
    s.full_energy = 20.0;
    EXPECT_EQ(beyond_scale(s, soil()), "");
    s.full_energy = 8.0;  // the weaker Pb line (200/s) and the target itself are not named
    EXPECT_EQ(beyond_scale(s, soil()),
              "Beyond the scale: elastic and Compton scatter, Pb L-beta 1 (stronger than the "
              "target)");
    Result many = soil();
    for (int i = 0; i < 4; ++i) many.lines.push_back(line(2, 82, L3N5_LINE, 12.6, 5000.0 + i));
    EXPECT_EQ(
        beyond_scale(s, many),
        "Beyond the scale: elastic and Compton scatter, Pb L-beta 2, Pb L-beta 2, Pb L-beta 2 "
        "and 2 more lines (stronger than the target)");
    s.full_energy = 0.0;
    EXPECT_EQ(beyond_scale(s, soil()), "");
}

}  // namespace
}  // namespace lumetra::physics
