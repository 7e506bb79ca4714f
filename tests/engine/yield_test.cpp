#include <gtest/gtest.h>

#include <cmath>

#include "data/absorption.h"
#include "data/lines.h"
#include "engine/calculation.h"
#include "engine/transmission.h"
#include "fake_host.h"

namespace lumetra::engine {
namespace {

using testing::FakeHost;
using testing::sample;

// Cross-section of one atom in 1e-20 cm2, straight from the absorption table.
double sigma(std::int16_t z, double E) {
    common::ScriptedDialogs d;
    std::int16_t e = 0;
    double m = 0.0;
    data::Myu_elem(z, E, e, m, d, [] {});
    return m * std::pow(10.0, e + 20);
}

TEST(PathSums, TargetAloneIsContentTimesSigmaOverSine) {
    struct Case {
        double angle, E, content;
    };
    const Case cases[] = {{45, 10.0, 1.0}, {45, 7.0, 2.5}, {10, 17.5, 0.3}, {89, 6.4, 1.0}};
    for (const Case& c : cases) {
        FakeHost host;
        host.values[Field::IncidentAngle] = c.angle;
        CalcState st = sample({{26, 55.845, c.content}});
        const double expected =
            c.content * sigma(26, c.E) / std::sin(c.angle * 3.1415927 / 180 + 0.0001);
        EXPECT_NEAR(Ext_in(st, host, c.E), expected, 1e-12 * expected) << c.angle << " " << c.E;
    }
}

TEST(PathSums, ContentsWeightTheElements) {
    FakeHost host;
    CalcState fe = sample({{26, 55.845, 1.0}});
    CalcState o = sample({{8, 15.999, 1.0}});
    CalcState fe2o3 = sample({{26, 55.845, 2.0}, {8, 15.999, 3.0}});
    for (double E : {3.0, 7.2, 15.0})
        EXPECT_NEAR(Ext_out(fe2o3, host, E), 2 * Ext_out(fe, host, E) + 3 * Ext_out(o, host, E),
                    1e-12 * Ext_out(fe2o3, host, E));
}

TEST(PathSums, AnglesSignAndLimits) {
    FakeHost host;
    CalcState st = sample({{29, 63.546, 1.0}});
    auto at = [&](double angle) {
        host.values[Field::TakeoffAngle] = angle;
        return Ext_out(st, host, 9.5);
    };
    const double s = sigma(29, 9.5);
    EXPECT_EQ(at(-45), at(45));
    EXPECT_NEAR(at(0), s / std::sin(0.0001), 1e-9 * at(0));  // grazing: large but finite
    EXPECT_NEAR(at(90), s / 0.999999995, 1e-9 * s);
    for (double angle : {1e308, -1e308, 1e-300}) EXPECT_TRUE(std::isfinite(at(angle))) << angle;
}

TEST(PathSums, EachPathReadsItsOwnAngle) {
    FakeHost host;
    host.values[Field::IncidentAngle] = 30;
    host.values[Field::TakeoffAngle] = 60;
    CalcState st = sample({{26, 55.845, 1.0}});
    EXPECT_NEAR(Ext_in(st, host, 8.0) / Ext_out(st, host, 8.0),
                std::sin(60 * 3.1415927 / 180 + 0.0001) / std::sin(30 * 3.1415927 / 180 + 0.0001),
                1e-12);
}

TEST(PathSums, ElementCountBounds) {
    FakeHost host;
    CalcState st = sample({{26, 55.845, 1.0}});
    st.Elem_count = -10;
    EXPECT_EQ(Ext_in(st, host, 8.0), 0.0);
    for (int i = 0; i < kElements; ++i) {
        st.Elem_z[i] = 26;
        st.Elem_content[i] = 1.0;
    }
    st.Elem_count = 12;
    const double all = Ext_in(st, host, 8.0);
    st.Elem_count = 32767;  // never beyond the 13 rows
    EXPECT_EQ(Ext_in(st, host, 8.0), all);
}

TEST(PathSums, ZeroEnergyIsTakenAsOneKeV) {
    FakeHost host;
    CalcState st = sample({{26, 55.845, 1.0}, {8, 15.999, 3.0}});
    EXPECT_EQ(Ext_in(st, host, 0.0), Ext_in(st, host, 1.0));
}

// Line yields of a sample at the fake host's fields.
CalcState yields(FakeHost& host, CalcState st, std::int16_t i = 0, double mu_in = 300.0) {
    Target_yield(st, host, i, mu_in);
    return st;
}

TEST(TargetYield, DistanceClamps) {
    const CalcState base = sample({{26, 55.845, 1.0}});
    auto at = [&](double distance, std::vector<std::string>* writes = nullptr) {
        FakeHost host;
        host.values[Field::Distance] = distance;
        CalcState st = yields(host, base);
        if (writes) *writes = host.distance_writes;
        return st;
    };
    std::vector<std::string> writes;
    // Above 60 cm the field is set back to "60" and read again.
    const CalcState far = at(70, &writes);
    EXPECT_EQ(writes, std::vector<std::string>{"60"});
    EXPECT_EQ(far.Line_yield, at(60).Line_yield);
    // Below 5 cm the path is 5 cm; the field is left alone.
    const CalcState near = at(3, &writes);
    EXPECT_TRUE(writes.empty());
    EXPECT_EQ(near.Line_yield, at(5).Line_yield);
    EXPECT_EQ(at(-1e308).Line_yield, at(5).Line_yield);
    // In between the distance is the air path as entered.
    const CalcState mid = at(30, &writes);
    EXPECT_TRUE(writes.empty());
    for (int j : {15, 16, 17}) {
        const double E = mid.Line_energy[0][j];
        EXPECT_NEAR(mid.Line_yield[0][j] / near.Line_yield[0][j],
                    Air_trans(E, 30) / Air_trans(E, 5), 1e-12);
    }
}

TEST(TargetYield, FilterStepsRoundToEvenAndNeverGoBelowZero) {
    const CalcState base = sample({{26, 55.845, 1.0}});
    auto at = [&](double filter) {
        FakeHost host;
        host.values[Field::Filter] = filter;
        return yields(host, base);
    };
    const CalcState none = at(0);
    EXPECT_EQ(at(-2).Line_yield, none.Line_yield);
    EXPECT_EQ(at(-1e308).Line_yield, none.Line_yield);
    struct Case {
        double entry;
        std::int16_t steps;
    };
    for (const Case& c : {Case{2.5, 2}, Case{3.5, 4}, Case{0.4, 0}, Case{1e308, 32767}}) {
        const CalcState st = at(c.entry);
        const double E = st.Line_energy[0][15];
        EXPECT_NEAR(st.Line_yield[0][15], none.Line_yield[0][15] * Al_trans(E, c.steps),
                    1e-12 * none.Line_yield[0][15])
            << c.entry;
    }
}

TEST(TargetYield, SumSlotsOfTheTarget) {
    FakeHost host;
    for (std::int16_t z : {26, 29, 38, 47, 74}) {
        host.values[Field::XrayEnergy] = 80.0;
        const CalcState st = yields(host, sample({{z, 1.0, 1.0}}));
        const auto& y = st.Line_yield[0];
        EXPECT_EQ(y[0], y[16] + y[15]) << z;
        EXPECT_EQ(y[22], y[2] + y[1]) << z;
        EXPECT_EQ(y[23], y[19] + y[17]) << z;
        EXPECT_GT(y[0], 0.0) << z;
        data::LineArray E{}, W{};
        data::Line_data(z, 80.0, E, W);
        for (int j : {0, 22, 23}) EXPECT_EQ(st.Line_energy[0][j], E[j]) << z << " " << j;
    }
}

TEST(TargetYield, SumSlotsOnlyForTheTarget) {
    FakeHost host;
    CalcState st = sample({{26, 55.845, 1.0}, {29, 63.546, 1.0}});
    for (int j : {0, 22, 23}) st.Line_yield[1][j] = st.Line_energy[1][j] = -7.0;
    st = yields(host, st, 1);
    for (int j : {0, 22, 23}) {
        EXPECT_EQ(st.Line_yield[1][j], -7.0);
        EXPECT_EQ(st.Line_energy[1][j], -7.0);
    }
    EXPECT_GT(st.Line_yield[1][15], 0.0);
}

TEST(TargetYield, SoftLinesKeepTheirEnergyButYieldNothing) {
    FakeHost host;
    const CalcState st = yields(host, sample({{8, 15.999, 1.0}}));  // O K at 0.85 keV
    EXPECT_GT(st.Line_energy[0][15], 0.8);
    EXPECT_LT(st.Line_energy[0][15], 1.0);
    EXPECT_EQ(st.Line_yield[0][15], 0.0);
}

TEST(TargetYield, FilmFactorUpToThirtySixAbsorptionLengths) {
    FakeHost host;
    CalcState bulk = sample({{26, 55.845, 1.0}});
    const double mu_in = Ext_in(bulk, host, 10.0);
    bulk = yields(host, bulk, 0, mu_in);
    const int j = 15;
    const double mu = Ext_out(bulk, host, bulk.Line_energy[0][j]) + mu_in;
    for (double t : {1.0, 35.9, 36.0, 36.1, 1000.0}) {
        CalcState film = bulk;
        film.Sample_form = -10;
        film.Areal_factor = t / mu;
        film = yields(host, film, 0, mu_in);
        const double t_used = mu * film.Areal_factor;
        const double factor = t_used < 36 ? 1 - 1 / std::exp(t_used) : 1.0;
        EXPECT_NEAR(film.Line_yield[0][j], bulk.Line_yield[0][j] * factor,
                    1e-14 * bulk.Line_yield[0][j])
            << t;
        if (t >= 36.1) {
            EXPECT_EQ(film.Line_yield[0][j], bulk.Line_yield[0][j]) << t;
        }
    }
    CalcState thin = bulk;
    thin.Sample_form = -10;
    thin.Areal_factor = 0.01 / mu;
    thin = yields(host, thin, 0, mu_in);
    EXPECT_NEAR(thin.Line_yield[0][j] / bulk.Line_yield[0][j], 1 - std::exp(-0.01), 1e-9);
}

TEST(TargetYield, IndexOutsideTheRowsChangesNothing) {
    FakeHost host;
    const CalcState before = sample({{26, 55.845, 1.0}});
    for (std::int16_t i : {-1, 13, 32767, -32768}) {
        CalcState st = before;
        Target_yield(st, host, i, 1.0);
        EXPECT_EQ(st.Line_yield, before.Line_yield);
        EXPECT_EQ(st.Line_energy, before.Line_energy);
    }
}

}  // namespace
}  // namespace lumetra::engine
