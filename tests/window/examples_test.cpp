// The example parameter files, loaded as a user would, and the spectra they give.

#include <algorithm>
#include <cmath>
#include <iterator>

#include "window/form_fixture.h"

namespace lumetra::window::testing {
namespace {

class Example : public FormTest {
protected:
    void load(const char* name) {
        dialogs.queue_file(std::string(LUMETRA_EXAMPLES_DIR) + "/" + name);
        form.Command6.click();
    }
    // Channel of an energy on the current amplifier scale.
    int channel(double keV) const {
        const double q = val(form.Label8.caption()) / 1024;
        return static_cast<int>(std::floor(keV / q + 0.5));
    }
    static int peak(const engine::Spectrum& s) {
        return static_cast<int>(std::distance(s.begin(), std::max_element(s.begin(), s.end())));
    }
    static double height_at(const engine::Spectrum& s, int ch) {
        return s[static_cast<std::size_t>(std::clamp(ch, 0, 1024))];
    }
    static bool empty(const engine::Spectrum& s) {
        return std::all_of(s.begin(), s.end(), [](double v) { return v == 0.0; });
    }
    void expect_finite() const {
        for (const auto* s : {&form.st.Spec_total, &form.st.Spec_target, &form.st.Spec_line,
                              &form.st.Spec_escape, &form.st.Spec_pileup}) {
            for (double v : *s) ASSERT_TRUE(std::isfinite(v));
        }
    }
};

TEST_F(Example, IronInSilicateGlass) {
    load("iron-in-silicate-glass.txt");
    ASSERT_EQ(form.st.Calc_state, 10);
    EXPECT_EQ(form.st.Elem_count, 6);
    EXPECT_EQ(form.Text11.text(), " 7.1609");
    // Fe K-alpha dominates and carries most of the counts.
    EXPECT_NEAR(peak(form.st.Spec_line), channel(6.3995), 1);
    EXPECT_NEAR(peak(form.st.Spec_total), channel(6.3995), 1);
    const double share = val(form.Label38.caption());
    EXPECT_GT(share, 30.0);
    EXPECT_LT(share, 95.0);
    // Nothing reaches the germanium escape threshold; calcium K-alpha piles up at 7.38 keV.
    EXPECT_TRUE(empty(form.st.Spec_escape));
    EXPECT_GT(height_at(form.st.Spec_pileup, channel(2 * 3.6917)), 0.0);
    expect_finite();
}

TEST_F(Example, CopperInWater) {
    load("copper-in-water.txt");
    ASSERT_EQ(form.st.Calc_state, 10);
    EXPECT_EQ(form.Label8.caption(), " 9.745");  // the automatic gain of the copper K edge
    EXPECT_NEAR(peak(form.st.Spec_line), channel(8.0428), 1);
    // Water's own lines lie below 1 keV and never reach the detector: every count is
    // copper, and K-alpha carries about four fifths of it.
    EXPECT_GT(val(form.Label38.caption()), 70.0);
    for (std::size_t ch = 0; ch < form.st.Spec_total.size(); ++ch) {
        ASSERT_NEAR(form.st.Spec_target[ch], form.st.Spec_total[ch], 1e-9) << ch;
    }
    EXPECT_TRUE(empty(form.st.Spec_escape));
    EXPECT_TRUE(empty(form.st.Spec_pileup));  // 16 keV is beyond the scale
    expect_finite();
}

TEST_F(Example, LeadInSoilAtTheL3Edge) {
    load("lead-in-soil.txt");
    form.Option2.user_click();  // the composition file keeps no edge: choose L3
    ASSERT_EQ(form.st.Edge_mode, -10);
    ASSERT_EQ(form.st.Calc_state, 10);
    EXPECT_EQ(form.Text11.text(), " 13.0901");
    EXPECT_EQ(form.Combo1.text(), "L-alpha 1&2");
    EXPECT_NEAR(peak(form.st.Spec_line), channel(10.55), 2);
    // A trace of lead: a small share, the iron of the soil dominates.
    const double share = val(form.Label38.caption());
    EXPECT_GT(share, 0.0);
    EXPECT_LT(share, 5.0);
    EXPECT_NEAR(peak(form.st.Spec_total), channel(6.40), 1);
    // Beam above 11.1 keV: germanium fluorescence of the detector in the escape layer.
    EXPECT_GT(height_at(form.st.Spec_escape, channel(9.876)), 0.0);
    // Iron K-alpha piles up at 12.8 keV, inside the 13.9 keV scale.
    EXPECT_GT(height_at(form.st.Spec_pileup, channel(12.8)), 0.0);
    expect_finite();
}

TEST_F(Example, MolybdenumInSteel) {
    load("molybdenum-in-steel.txt");
    ASSERT_EQ(form.st.Calc_state, 10);
    EXPECT_NEAR(peak(form.st.Spec_line), channel(17.44), 1);
    // Mo K-alpha escapes the germanium crystal one germanium K-alpha (9.876 keV)
    // lower, at 7.60 keV: between the iron K-alpha and K-beta lines (6.40, 7.06 keV)
    // and nickel K-alpha (7.48 keV), not on iron K-alpha.
    EXPECT_NEAR(peak(form.st.Spec_escape), channel(17.479 - 9.876), 2);
    EXPECT_GT(std::abs(peak(form.st.Spec_escape) - channel(6.40)), 40);
    EXPECT_GT(height_at(form.st.Spec_pileup, channel(2 * 6.40)), 0.0);
    EXPECT_GT(val(form.Label38.caption()), 0.5);
    expect_finite();
}

}  // namespace
}  // namespace lumetra::window::testing
