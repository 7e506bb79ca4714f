// Window-level variables by name: number formats, name syntax, ranges and clamping.

#include "window/state_registry.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

#include "window/form_fixture.h"

namespace lumetra::window {
namespace {

TEST(FormatNumber, ShortestTextThatReadsBack) {
    struct Case {
        double v;
        const char* text;
    };
    const Case cases[] = {{0.0, "0"},          {-10.0, "-10"},     {19.491, "19.491"},
                          {0.1, "0.1"},        {1e-5, "1e-05"},    {1e20, "1e+20"},
                          {-0.5, "-0.5"},      {DBL_MAX, "1.7976931348623157e+308"},
                          {5e-324, "5e-324"}};
    for (const Case& c : cases) EXPECT_EQ(format_number(c.v), c.text) << c.text;
    for (double v : {0.1 + 0.2, 1.0 / 3.0, 6.02214e23, -7.05798e-7}) {
        double back = 0.0;
        ASSERT_TRUE(parse_number(format_number(v), back));
        EXPECT_EQ(back, v);
    }
    EXPECT_EQ(format_number(std::nan("")), "nan");
    EXPECT_EQ(format_number(-HUGE_VAL), "-inf");
}

TEST(ParseNumber, AcceptsPlainNumbersOnly) {
    struct Good {
        const char* text;
        double v;
    };
    const Good good[] = {{"0", 0.0},   {"12", 12.0},   {"-2.5", -2.5}, {"+3", 3.0},
                         {".5", 0.5},  {"-.5", -0.5},  {"1e3", 1000.0}, {"1E-3", 0.001},
                         {"5.", 5.0}};
    for (const Good& g : good) {
        double v = -99.0;
        EXPECT_TRUE(parse_number(g.text, v)) << g.text;
        EXPECT_EQ(v, g.v) << g.text;
    }
    for (const char* bad : {"", " 1", "1 ", "abc", "1,5", "0x10", "inf", "-inf", "nan",
                            "infinity", "1e", "--1", "+-1", "+", "-", "1D3", "12abc", "."}) {
        double v = -99.0;
        EXPECT_FALSE(parse_number(bad, v)) << bad;
        EXPECT_EQ(v, -99.0) << bad;  // untouched on failure
    }
}

TEST(ParseNumber, SaturatesBeyondTheDoubleRange) {
    double v = 0.0;
    ASSERT_TRUE(parse_number("1e400", v));
    EXPECT_EQ(v, DBL_MAX);
    ASSERT_TRUE(parse_number("-1e5000000000000000000000", v));
    EXPECT_EQ(v, -DBL_MAX);
    ASSERT_TRUE(parse_number("1e-400", v));
    EXPECT_EQ(v, 0.0);
    const std::string long_digits(5000, '9');
    ASSERT_TRUE(parse_number(long_digits, v));
    EXPECT_EQ(v, DBL_MAX);
}

TEST(SplitVariable, NamesWithUpToTwoIndices) {
    VariableRef r;
    ASSERT_TRUE(split_variable("Elem_count", r));
    EXPECT_EQ(r.base, "Elem_count");
    EXPECT_EQ(r.index_count, 0);
    ASSERT_TRUE(split_variable("Elem_z(12)", r));
    EXPECT_EQ(r.index_count, 1);
    EXPECT_EQ(r.index[0], 12);
    ASSERT_TRUE(split_variable("Line_energy(0,15)", r));
    EXPECT_EQ(r.index_count, 2);
    EXPECT_EQ(r.index[0], 0);
    EXPECT_EQ(r.index[1], 15);
    ASSERT_TRUE(split_variable("Elem_z(-1)", r));  // a range check decides later
    EXPECT_EQ(r.index[0], -1);
    for (const char* bad :
         {"", "(1)", "Elem_z(", "Elem_z()", "Elem_z(1", "Elem_z(1))", "Elem_z(a)", "Elem_z( 1)",
          "Elem_z(1,)", "Elem_z(,1)", "Elem_z(1,2,3)", "Elem z", "Elem-z", "Elem_z)1(",
          "Elem_z(99999999999999999999)", "Élem"}) {
        EXPECT_FALSE(split_variable(bad, r)) << bad;
    }
}

class StateRegistryTest : public testing::FormTest {
  protected:
    StateRegistry reg{form};

    std::string read(const std::string& name) {
        std::string value, error;
        EXPECT_TRUE(reg.read(name, value, error)) << name << ": " << error;
        return value;
    }
    std::string read_error(const std::string& name) {
        std::string value = "untouched", error;
        EXPECT_FALSE(reg.read(name, value, error)) << name;
        EXPECT_EQ(value, "untouched");
        return error;
    }
    void write(const std::string& name, const std::string& value) {
        std::string error;
        EXPECT_TRUE(reg.write(name, value, error)) << name << ": " << error;
    }
};

TEST_F(StateRegistryTest, ReadsTheStartState) {
    EXPECT_EQ(read("Elem_count"), "-10");
    EXPECT_EQ(read("Calc_state"), "-10");
    EXPECT_EQ(read("Sample_form"), "10");
    EXPECT_EQ(read("Coarse_index"), "4");
    EXPECT_EQ(read("Coarse_step(0)"), "5");
    EXPECT_EQ(read("Coarse_step(7)"), "1000");
    EXPECT_EQ(read("Fine_text(10)"), "1.5");
    EXPECT_EQ(read("Line_label(5)"), "(K -beta 3)");
    EXPECT_EQ(read("Elem_content(10)"), "-1");  // True
    EXPECT_EQ(read("Elem_content(12)"), "");    // Empty
    EXPECT_EQ(read("Spec_pileup(1024)"), "0");
}

TEST_F(StateRegistryTest, ReachesEveryVariableItNames) {
    // Each write lands in the form's own variable.
    write("Elem_mass(4)", "55.85");
    EXPECT_EQ(form.st.Elem_mass[4], 55.85);
    write("Line_yield(12,23)", "0.25");
    EXPECT_EQ(form.st.Line_yield[12][23], 0.25);
    write("Areal_factor", "3");
    EXPECT_EQ(form.st.Areal_factor, 3.0);
    write("Elem_mark", "2");
    EXPECT_EQ(form.st.Elem_mark, 2);
    write("Y_top", "11750");
    EXPECT_EQ(form.view.Y_top.num(), 11750.0);
    write("Spec_escape(7)", "1.5");
    EXPECT_EQ(form.st.Spec_escape[7], 1.5);
    write("Line_label(23)", "  spaced  ");
    EXPECT_EQ(form.Line_label[23], "  spaced  ");
    write("Fine_text(0)", "");
    EXPECT_EQ(form.view.Fine_text[0], "");
    for (const char* name : {"Spec_total", "Spec_target", "Spec_line", "Spec_mark", "Spec_argon",
                             "Spec_elastic", "Spec_escape", "Spec_pileup"}) {
        const engine::Spectrum* s = reg.spectrum(name);
        ASSERT_NE(s, nullptr) << name;
        EXPECT_EQ(s->size(), 1025u);
    }
    EXPECT_EQ(reg.spectrum("Spec_escape"), &form.st.Spec_escape);
    EXPECT_EQ(reg.spectrum("Spec_nothing"), nullptr);
    // No handler ran: writing the target's Z changes no field.
    write("Elem_z(0)", "26");
    EXPECT_EQ(form.Label30.caption(), "");
}

TEST_F(StateRegistryTest, SixteenBitVariablesRoundHalfToEvenAndClamp) {
    struct Case {
        const char* in;
        std::int16_t out;
    };
    const Case cases[] = {{"2.5", 2},      {"3.5", 4},       {"-2.5", -2},     {"0.49", 0},
                          {"32767", 32767}, {"32768", 32767}, {"1e9", 32767},   {"-1e9", -32768},
                          {"1e400", 32767}, {"-1e400", -32768}};
    for (const Case& c : cases) {
        write("Elem_z(5)", c.in);
        EXPECT_EQ(form.st.Elem_z[5], c.out) << c.in;
    }
}

TEST_F(StateRegistryTest, VariantsTakeNumbersOrEmpty) {
    write("Drag_x", "12.75");
    EXPECT_EQ(read("Drag_x"), "12.75");
    write("Drag_x", "Empty");
    EXPECT_TRUE(form.view.Drag_x.empty());
    EXPECT_EQ(read("Drag_x"), "");
    write("Elem_content(11)", "0");
    EXPECT_EQ(read("Elem_content(11)"), "0");  // zero is not Empty
}

TEST_F(StateRegistryTest, RefusesBadNamesIndicesAndValues) {
    EXPECT_EQ(read_error("Nothing"), "unknown variable Nothing");
    EXPECT_EQ(read_error("Elem_z"), "Elem_z needs one index");
    EXPECT_EQ(read_error("Elem_z(13)"), "Elem_z index out of range 0..12");
    EXPECT_EQ(read_error("Elem_z(-1)"), "Elem_z index out of range 0..12");
    EXPECT_EQ(read_error("Coarse_step(8)"), "Coarse_step index out of range 0..7");
    EXPECT_EQ(read_error("Fine_text(11)"), "Fine_text index out of range 0..10");
    EXPECT_EQ(read_error("Spec_total(1025)"), "Spec_total index out of range 0..1024");
    EXPECT_EQ(read_error("Line_energy(0,24)"), "Line_energy index out of range 0..12,0..23");
    EXPECT_EQ(read_error("Line_energy(13,0)"), "Line_energy index out of range 0..12,0..23");
    EXPECT_EQ(read_error("Line_energy(1)"), "Line_energy needs two indices");
    EXPECT_EQ(read_error("Elem_count(0)"), "Elem_count takes no index");
    EXPECT_EQ(read_error("Elem_z(1,2)"), "Elem_z needs one index");
    EXPECT_FALSE(read_error("Elem_z(9223372036854775808)").empty());

    const std::int16_t before = form.st.Elem_z[3];
    for (const char* bad : {"", "abc", "1,5", "nan", "inf", " 1", "0x1F"}) {
        std::string error;
        EXPECT_FALSE(reg.write("Elem_z(3)", bad, error)) << bad;
        EXPECT_EQ(error, std::string("not a number: ") + bad);
    }
    EXPECT_EQ(form.st.Elem_z[3], before);
    std::string error;
    EXPECT_FALSE(reg.write("Elem_z(13)", "1", error));
    EXPECT_FALSE(reg.write("Spec_total", "1", error));
}

}  // namespace
}  // namespace lumetra::window
