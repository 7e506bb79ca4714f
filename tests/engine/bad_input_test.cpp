// Any field text, read as any number, and any state values: the calculation runs
// to the end and leaves only finite numbers in the arrays and the share.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>

#include "engine/calculation.h"
#include "fake_host.h"

namespace lumetra::engine {
namespace {

using testing::FakeHost;
using testing::kCopper;
using testing::kIron;
using testing::kOxygen;
using testing::sample;

const double kOddNumbers[] = {0.0,     -1.0,    0.5,      1e6,      -1e6,   1e308,  -1e308,
                              DBL_MAX, -DBL_MAX, 1e-308,  -1e-308,  4.9e-324, 11.1, 60.0000001};

const Field kFields[] = {Field::XrayEnergy, Field::Width,         Field::FullEnergy,
                         Field::Distance,   Field::Filter,        Field::IncidentAngle,
                         Field::TakeoffAngle, Field::Density,     Field::Thickness,
                         Field::TargetLineEnergy};

// Everything the calculation leaves behind is finite, and the share is a number text.
void expect_sound(const CalcState& st, const std::string& share, const std::string& what) {
    const Spectrum* arrays[] = {&st.Spec_total,   &st.Spec_target,  &st.Spec_line,
                                &st.Spec_mark,    &st.Spec_argon,   &st.Spec_elastic,
                                &st.Spec_escape,  &st.Spec_pileup};
    for (const Spectrum* a : arrays)
        for (double v : *a) ASSERT_TRUE(std::isfinite(v)) << what;
    for (const auto& row : st.Line_yield)
        for (double v : row) ASSERT_TRUE(std::isfinite(v)) << what;
    for (const auto& row : st.Line_energy)
        for (double v : row) ASSERT_TRUE(std::isfinite(v)) << what;
    ASSERT_TRUE(std::isfinite(st.Areal_factor)) << what;
    ASSERT_LE(share.size(), 7u) << what;
    ASSERT_FALSE(share.empty()) << what;
    for (char c : share) ASSERT_NE(std::string(" -.0123456789E+").find(c), std::string::npos) << what;
    ASSERT_TRUE(std::isfinite(text::Val(share))) << what;
}

CalcState mixed_sample(std::int16_t form) {
    CalcState st = sample({kIron, kOxygen, kCopper});
    st.Sample_form = form;
    st.Elem_mark = 2;
    return st;
}

TEST(BadInput, EveryFieldAtOddValues) {
    for (std::int16_t form : {10, -10}) {
        for (Field f : kFields) {
            for (double v : kOddNumbers) {
                FakeHost host;
                host.values[f] = v;
                CalcState st = mixed_sample(form);
                const std::string share = Calc_spectrum(st, host);
                expect_sound(st, share,
                             "field " + std::to_string(static_cast<int>(f)) + " = " + std::to_string(v));
            }
        }
    }
}

TEST(BadInput, ContentsAndMassesAtOddValues) {
    for (std::int16_t form : {10, -10}) {
        for (int i = 0; i < 3; ++i) {
            for (double v : kOddNumbers) {
                FakeHost host;
                CalcState st = mixed_sample(form);
                st.Elem_content[i] = v;
                expect_sound(st, Calc_spectrum(st, host), "content " + std::to_string(v));
                st = mixed_sample(form);
                st.Elem_mass[i] = v;
                expect_sound(st, Calc_spectrum(st, host), "mass " + std::to_string(v));
            }
        }
        // Contents that cancel: +huge and -huge.
        FakeHost host;
        CalcState st = mixed_sample(form);
        st.Elem_content[0] = DBL_MAX;
        st.Elem_content[1] = -DBL_MAX;
        st.Elem_content[2] = 1e-300;
        expect_sound(st, Calc_spectrum(st, host), "cancelling contents");
    }
}

TEST(BadInput, StateIndicesAtOddValues) {
    const std::int16_t odd[] = {-32768, -10, -1, 0, 1, 2, 11, 12, 13, 21, 22, 23, 24, 32767};
    for (std::int16_t v : odd) {
        FakeHost host;
        CalcState st = mixed_sample(10);
        st.Elem_count = v;
        expect_sound(st, Calc_spectrum(st, host), "Elem_count " + std::to_string(v));
        st = mixed_sample(10);
        st.Elem_mark = v;
        expect_sound(st, Calc_spectrum(st, host), "Elem_mark " + std::to_string(v));
        st = mixed_sample(10);
        st.Target_line = v;
        expect_sound(st, Calc_spectrum(st, host), "Target_line " + std::to_string(v));
        st = mixed_sample(10);
        st.Sample_form = v;
        expect_sound(st, Calc_spectrum(st, host), "Sample_form " + std::to_string(v));
    }
}

TEST(BadInput, AtomicNumbersOutsideTheTable) {
    for (std::int16_t z : {-32768, -10, 0, 1, 3, 83, 84, 92, 200, 32767}) {
        FakeHost host;
        CalcState st = mixed_sample(-10);
        st.Elem_z[1] = z;
        expect_sound(st, Calc_spectrum(st, host), "Z " + std::to_string(z));
        st = mixed_sample(10);
        st.Elem_z[0] = z;
        expect_sound(st, Calc_spectrum(st, host), "target Z " + std::to_string(z));
    }
}

TEST(BadInput, ManyOddThingsAtOnce) {
    std::mt19937 rng(20240611);
    auto pick = [&](auto const& list) { return list[rng() % std::size(list)]; };
    const std::int16_t odd_index[] = {-10, 0, 1, 2, 12, 13, 32767};
    const std::int16_t odd_z[] = {0, 8, 14, 26, 29, 38, 56, 74, 83, 84};
    for (int run = 0; run < 300; ++run) {
        FakeHost host;
        for (Field f : kFields) host.values[f] = rng() % 3 ? pick(kOddNumbers) : host.values[f];
        CalcState st;
        for (int i = 0; i < kElements; ++i) {
            st.Elem_z[i] = pick(odd_z);
            st.Elem_mass[i] = pick(kOddNumbers);
            st.Elem_content[i] = rng() % 2 ? pick(kOddNumbers) : 1.0;
        }
        st.Elem_count = pick(odd_index);
        st.Elem_mark = pick(odd_index);
        st.Target_line = static_cast<std::int16_t>(static_cast<int>(rng() % 30) - 3);
        st.Sample_form = rng() % 2 ? 10 : -10;
        expect_sound(st, Calc_spectrum(st, host), "run " + std::to_string(run));
    }
}

}  // namespace
}  // namespace lumetra::engine
