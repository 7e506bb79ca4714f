// A composition written into the form as if typed: the same spectrum as the
// contents typed by hand, a plot only where one was shown, nothing changed on a
// problem, and the classic model's limit at bismuth.

#include <xraylib/xraylib.h>

#include <cmath>

#include "planning/planner_fixture.h"

namespace lumetra::window::testing {
namespace {

double A(int Z) {
    return AtomicWeight(Z, nullptr);
}  // g/mol
enum : int { H = 1, N = 7, O = 8, Cu = 29 };

using ApplyComposition = PlannerTest;

TEST_F(ApplyComposition, GivesTheSpectrumOfTheSameContentsTypedByHand) {
    // 1 mM Cu(NO3)2 in water, as in the table above.
    const double Ms = A(Cu) + 2 * A(N) + 6 * A(O), Mw = 2 * A(H) + A(O);
    const double xs = 0.001 / (0.001 + (1000 - 0.001 * Ms) / Mw);
    enter_sample("Cu", text::Str(xs),
                 {{"N", text::Str(2 * xs)},
                  {"O", text::Str(6 * xs + 1 - xs)},
                  {"H", text::Str(2 * (1 - xs))}});
    form.Command1_Click();
    ASSERT_GT(form.st.Calc_state, 0);
    const engine::Spectrum typed = form.st.Spec_total;

    EXPECT_EQ(form.apply_composition("1 mM Cu(NO3)2 in H2O"), "");
    EXPECT_GT(form.st.Calc_state, 0);  // plotted again: a spectrum was shown before
    EXPECT_EQ(form.Text1.text(), "Cu");
    EXPECT_EQ(form.Text2[2]->text(), "H");
    EXPECT_EQ(form.st.Elem_count, 3);
    for (std::size_t n = 0; n < typed.size(); ++n)
        ASSERT_NEAR(form.st.Spec_total[n], typed[n], 1e-9 * (1 + std::fabs(typed[n]))) << n;
    EXPECT_EQ(form.composition_in_weight_percent(),
              "Cu 63.5 ppm, N 28.0 ppm, O 88.8 wt%, H 11.2 wt%");
}

TEST_F(ApplyComposition, PlotsOnlyWhenShownAndChangesNothingOnAProblem) {
    EXPECT_EQ(form.apply_composition("Fe2O3"), "");
    EXPECT_LE(form.st.Calc_state, 0);  // nothing was shown: no plot
    EXPECT_EQ(form.Text51.text(), " 2");
    EXPECT_EQ(form.Text52[0]->text(), " 3");
    EXPECT_EQ(form.composition_in_weight_percent(), "Fe 69.9 wt%, O 30.1 wt%");

    EXPECT_EQ(form.apply_composition("5 wt% Fe2O3, 98 wt% SiO2"),
              "the composition as a whole: sum of weight fractions 103 %");
    EXPECT_EQ(form.apply_composition("LiBBeNaMgAlSiPSClKCaTiFe"),
              "the composition as a whole: 14 elements: the window holds a target and 11 matrix "
              "elements; the two smallest, "
              "Li and Be, would be left out \xE2\x80\x94 accept?");
    EXPECT_EQ(form.Text1.text(), "Fe");
    EXPECT_EQ(form.st.Elem_count, 1);

    EXPECT_EQ(form.apply_composition("LiBBeNaMgAlSiPSClKCaTiFe", true, "Ca"), "");
    EXPECT_EQ(form.Text1.text(), "Ca");
    EXPECT_EQ(form.st.Elem_count, kRows);
    EXPECT_EQ(form.Text2[0]->text(), "B");
    EXPECT_EQ(form.Text2[kRows - 1]->text(), "Fe");
}

TEST_F(ApplyComposition, ElementsAboveBismuthOnlyUnderTheFundamentalParameterModel) {
    // Under the classic model thorium in the matrix would clear it at the next Plot:
    // refused before anything changes, with no dialog.
    form.Text1.set_text("Cu");
    form.Text51.set_text("1");
    const std::string thorium =
        "Th (Z 90) at position 16: the classic model takes elements up to bismuth (Z 83), not "
        "polonium (Z 84) and heavier; the fundamental-parameter model takes them";
    EXPECT_EQ(form.apply_composition("5 wt% Fe2O3 in ThO2"), thorium);
    EXPECT_EQ(form.apply_composition("1 wt% PbO in UO2(NO3)2"),
              "U (Z 92) at position 14: the classic model takes elements up to bismuth (Z 83), "
              "not polonium (Z 84) and heavier; the fundamental-parameter model takes them");
    EXPECT_EQ(form.Text1.text(), "Cu");
    EXPECT_EQ(form.Text51.text(), "1");
    EXPECT_EQ(form.apply_composition("5 wt% Fe2O3 in PbO"), "");  // bismuth and lighter

    planner.set_model(Model::fp);
    EXPECT_EQ(form.apply_composition("5 wt% Fe2O3 in ThO2"), "");
    EXPECT_EQ(form.Text1.text(), "Fe");
    EXPECT_EQ(form.Text2[1]->text(), "Th");
    form.Command1_Click();
    EXPECT_GT(form.st.Calc_state, 0);
    EXPECT_EQ(form.st.Elem_count, 2);  // the matrix kept: O and Th
    EXPECT_EQ(form.Text2[1]->text(), "Th");
    for (const std::string& t : shown_texts())
        EXPECT_EQ(t.find("heavy elements"), std::string::npos) << t;
}

TEST_F(ApplyComposition, WritesTheSuggestedDensityIntoTheFilmDensity) {
    EXPECT_EQ(form.Text23.text(), "2.20");  // the form's own start
    EXPECT_EQ(form.apply_composition("Fe2O3"), "");
    EXPECT_EQ(form.Text23.text(), "5.2");  // ferric oxide in the NIST list
    EXPECT_EQ(form.apply_composition("50 ppm As in kapton"), "");
    EXPECT_EQ(form.Text23.text(), "1.42");
    EXPECT_EQ(form.apply_composition("10 mg/L Pb in ethyl alcohol"), "");
    EXPECT_EQ(form.Text23.text(), "0.7893");  // the solution, as dense as its solvent
    EXPECT_EQ(form.apply_composition("2 ppm Cu in (60 wt% SiO2, 40 wt% Al2O3) (density 2.65)"), "");
    EXPECT_EQ(form.Text23.text(), "2.65");
    // No suggestion, one the film's field does not take (a gas), or a problem: kept.
    EXPECT_EQ(form.apply_composition("5 wt% Fe in C5H12"), "");
    EXPECT_EQ(form.Text1.text(), "Fe");
    EXPECT_EQ(form.Text23.text(), "2.65");
    EXPECT_EQ(form.apply_composition("50 ppm Kr in air"), "");
    EXPECT_EQ(form.Text1.text(), "Kr");
    EXPECT_EQ(form.Text23.text(), "2.65");
    EXPECT_NE(form.apply_composition("50 ppm As in soil"), "");
    EXPECT_EQ(form.Text23.text(), "2.65");
    // The film calculates with the written density: as typed by hand.
    form.Option6_Click();
    EXPECT_EQ(form.apply_composition("Fe2O3"), "");
    form.Command1_Click();
    ASSERT_GT(form.st.Calc_state, 0);
    const engine::Spectrum applied = form.st.Spec_total;
    form.Text23.set_text("2.20");
    form.Command1_Click();
    bool differs = false;
    for (std::size_t n = 0; n < applied.size(); ++n)
        differs = differs || form.st.Spec_total[n] != applied[n];
    EXPECT_TRUE(differs);  // the film's density counts
    form.Text23.set_text("5.2");
    form.Command1_Click();
    for (std::size_t n = 0; n < applied.size(); ++n)
        ASSERT_EQ(form.st.Spec_total[n], applied[n]) << n;
}

}  // namespace
}  // namespace lumetra::window::testing
