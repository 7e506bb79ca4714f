// Whole-setup files: the exact round trip into new windows, files refused with
// nothing changed, unknown and missing keys, and the reader's JSON rules.

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "io/setup_format.h"
#include "planning/planner_fixture.h"

namespace lumetra::window::testing {
namespace {

namespace fs = std::filesystem;
using namespace lumetra::io;

int value_of(const Control& c) {
    if (c.kind() == ControlKind::OptionButton) return static_cast<const OptionButton&>(c).value();
    if (c.kind() == ControlKind::CheckBox) return static_cast<const CheckBox&>(c).value();
    return 0;
}

// What the window shows and computes: every control's text or caption, value,
// visibility and colours, the spectrum arrays, the picture and the settings.
std::string picture_of(const RADirido& f) {
    std::ostringstream out;
    for (const auto& op : f.Picture1.picture().ops())
        out << op.x1 << ',' << op.y1 << ',' << op.x2 << ',' << op.y2 << op.text << ';';
    return out.str();
}

// Without `full` only the settings count: the input controls and the gain and scale
// labels. `full` adds everything else they lead to: the other labels, visibility,
// colours, the spectrum arrays and the picture.
void expect_same_window(const planning::Planner& pa, const planning::Planner& pb, bool full = true) {
    const RADirido& a = pa.form();
    const RADirido& b = pb.form();
    ASSERT_EQ(a.controls().size(), b.controls().size());
    for (std::size_t i = 0; i < a.controls().size(); ++i) {
        const Control& x = *a.controls()[i];
        const Control& y = *b.controls()[i];
        const bool input = x.kind() == ControlKind::TextBox || x.kind() == ControlKind::ComboBox ||
                           x.kind() == ControlKind::OptionButton ||
                           x.kind() == ControlKind::CheckBox || &x == &a.Label9 || &x == &a.Label8;
        if (!full && !input) continue;
        EXPECT_EQ(x.caption(), y.caption()) << x.name();
        EXPECT_EQ(value_of(x), value_of(y)) << x.name();
        if (!full) continue;
        EXPECT_EQ(x.visible(), y.visible()) << x.name();
        EXPECT_EQ(x.fore_color(), y.fore_color()) << x.name();
    }
    const auto spectra = [](const RADirido& f) {
        const engine::CalcState& s = f.st;
        return std::vector<engine::Spectrum>{s.Spec_total,  s.Spec_target, s.Spec_line,
                                             s.Spec_mark,   s.Spec_argon,  s.Spec_elastic,
                                             s.Spec_escape, s.Spec_pileup};
    };
    if (full) {
        EXPECT_TRUE(spectra(a) == spectra(b));
    }
    EXPECT_EQ(a.st.Elem_count, b.st.Elem_count);
    EXPECT_EQ(a.st.Elem_mark, b.st.Elem_mark);
    EXPECT_EQ(a.view.Coarse_index, b.view.Coarse_index);
    EXPECT_TRUE(pa.session().settings == pb.session().settings);
    if (full) {
        EXPECT_EQ(picture_of(a), picture_of(b));
    }
}

std::string read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class SetupFile : public PlannerTest {
  protected:
    fs::path dir;
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("lumetra-setup-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const char* name) const { return (dir / name).string(); }
    std::string write(const char* name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
        return path(name);
    }

    // Every setting away from its default, set as a user sets them, then "Plot".
    static void plan_everything(planning::Planner& planner) {
        RADirido& f = planner.form();
        f.Text1.set_text("Pb");
        f.Option2.user_click();  // L3
        f.Text51.set_text("5");
        const std::pair<const char*, const char*> rows[] = {{"O", "60"}, {"Si", "20"}, {"Ca", "3"}};
        for (int i = 0; i < 3; ++i) {
            f.Text2[i]->set_text(rows[i].first);
            f.Text52[i]->set_text(rows[i].second);
        }
        f.Combo1.user_pick("(L-alpha 1)");
        f.Option6.user_click();  // film
        f.Text23.set_text("3.1");
        f.Text24.set_text("120");
        while (f.view.Coarse_index < 6) f.Command23.click();
        f.Combo2.user_pick("0.7");
        f.Check2.user_click();  // Fix
        const std::pair<TextBox*, const char*> fields[] = {
            {&f.Text11, "13.2"}, {&f.Text12, "0.05"}, {&f.Text16, "0.25"}, {&f.Text21, "30.0"},
            {&f.Text22, "60.0"}, {&f.Text19, "12.5"}, {&f.Text20, "2"}};
        for (auto [box, text] : fields) box->set_text(text);
        f.Option4.user_click();  // log
        for (CheckBox* c : {&f.Check1, &f.Check11, &f.Check21, &f.Check3}) c->user_click();
        f.Text2[1]->user_right_click();  // mark Si
        planner.set_model(Model::fp);
        planner.set_planning("detector", "ge");
        // As the settings fields show numbers, so that their texts round-trip too.
        const std::pair<const char*, const char*> settings[] = {
            {"flux", " 2E+11"},        {"polarisation", " .8"}, {"area", " 30"},
            {"window", " 8"},          {"crystal", " 3.5"},     {"resolution", " 160"},
            {"deadtime", " .5"},       {"pileup", " .3"},       {"peakbackground", " 5000"},
            {"filterthickness", " 10"}};
        for (auto [key, text] : settings) planner.set_planning(key, text);
        planner.set_planning("filter", "Al");
        f.Command1.click();
    }
};

TEST_F(SetupFile, RoundTripRestoresEveryControlAndTheSpectrum) {
    plan_everything(planner);
    ASSERT_GT(*std::max_element(form.st.Spec_total.begin(), form.st.Spec_total.end()), 9999.0);
    ASSERT_EQ(form.st.Elem_count, 3);
    ASSERT_EQ(planner.save_setup(path("plan.json")), "");

    // A new window, and one left in another state (L3 edge, Fix, rows, a mark).
    common::ScriptedDialogs d1, d2;
    planning::Planner fresh_planner(d1), used_planner(d2);
    RADirido& used = used_planner.form();
    used.Text1.set_text("Bi");
    used.Option2.user_click();
    used.Text51.set_text("1");
    for (int i = 0; i < 5; ++i) {
        used.Text2[i]->set_text("N");
        used.Text52[i]->set_text("2");
    }
    used.Text2[4]->user_right_click();
    used.Check2.user_click();
    used.Command1.click();
    for (planning::Planner* w : {&fresh_planner, &used_planner}) {
        SCOPED_TRACE(w == &fresh_planner ? "new window" : "used window");
        ASSERT_EQ(w->load_setup(path("plan.json")), "");
        expect_same_window(planner, *w);
    }
    EXPECT_TRUE(d1.shown().empty());  // no dialog on the way
    // Saved again, the file is the same.
    ASSERT_EQ(fresh_planner.save_setup(path("again.json")), "");
    EXPECT_EQ(read_file(path("again.json")), read_file(path("plan.json")));
}

// The defaults are a started window's: its file holds them, a file without any
// setting loads them, and a setting missing from a file takes its default.
TEST_F(SetupFile, MissingKeysTakeTheStartedWindowsValues) {
    ASSERT_EQ(planner.save_setup(path("start.json")), "");
    const SetupParse start = parse_setup(read_file(path("start.json")));
    ASSERT_TRUE(start.setup) << start.error;
    WindowSetup defaults;
    defaults.element_count = -10;
    EXPECT_TRUE(*start.setup == defaults);
    EXPECT_EQ(edge_lines(false), form.Combo1.items());

    common::ScriptedDialogs d;
    planning::Planner other(d);
    plan_everything(other);
    ASSERT_EQ(other.load_setup(write("min.json", R"({"format": "lumetra-setup", "version": 1})")),
              "");
    expect_same_window(planner, other, false);

    // Rows without a count complete as typing them does; a lone gain brings its index.
    const SetupParse some = parse_setup(
        R"({"format":"lumetra-setup","version":1,"target":{"symbol":"Cu","content":"1"},)"
        R"("matrix":[["O","1"]],"coarse_gain":50,"planning":{"detector":"ge"}})");
    ASSERT_TRUE(some.setup) << some.error;
    EXPECT_EQ(some.setup->coarse_gain_index, 3);
    EXPECT_EQ(some.setup->planning.detector.crystal_mm, 5.0);  // germanium's own 5 mm
    EXPECT_EQ(some.setup->planning.detector.resolution_eV, 150.0);
    ASSERT_EQ(other.load_setup(write("some.json", format_setup(*some.setup))), "");
    EXPECT_EQ(other.form().st.Elem_count, 1);
    EXPECT_EQ(other.form().Label9.caption(), " 50");
    EXPECT_FALSE(other.form().Label38.caption().empty());  // plotted
}

// A target without an L3 edge keeps K, as a click on L3 does, and no line is refused.
TEST_F(SetupFile, L3ForALightTargetStaysAtK) {
    ASSERT_EQ(planner.load_setup(write("fe.json", R"({"format":"lumetra-setup","version":1,)"
                                               R"("target":{"symbol":"Fe","content":"1"},)"
                                               R"("edge":"L3","line":"L- beta 2"})")),
              "");
    EXPECT_TRUE(form.Option1.value());
    EXPECT_EQ(form.Combo1.text(), "K-alpha 1&2");
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(SetupFile, RefusedFilesChangeNothing) {
    plan_everything(planner);
    ASSERT_EQ(planner.save_setup(path("good.json")), "");
    const std::string good = read_file(path("good.json"));
    common::ScriptedDialogs d;
    planning::Planner before(d);
    ASSERT_EQ(before.load_setup(path("good.json")), "");

    // The line of a key in the good file, for the expected messages.
    const auto line_at = [&](const std::string& text) {
        const auto at = static_cast<std::ptrdiff_t>(good.find(text));
        return "Setup file line " +
               std::to_string(1 + std::count(good.begin(), good.begin() + at, '\n')) + ": ";
    };
    const auto line_of = [&](const std::string& key) { return line_at("\"" + key + "\":"); };
    const auto with = [&](const std::string& from, const std::string& to) {
        std::string s = good;
        const std::size_t at = s.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? s : s.replace(at, from.size(), to);
    };
    const std::string head = R"({"format": "lumetra-setup", "version": 1, )";
    const std::string deep = head + R"("x": )" + std::string(40, '[') + std::string(40, ']') + "}";
    struct Case {
        std::string bytes;
        std::string message;  // its start, or all of it
    };
    const Case cases[] = {
        {"", "Setup file line 1: the file is empty."},
        {good.substr(0, good.size() / 2), "Setup file line "},  // truncated
        {"\n[1]", "Setup file line 2: a setup file is one JSON object"},
        {R"({"format": "other", "version": 1})", "Setup file line 1: this is not a Lumetra"},
        {head + R"("fix": true,})", "Setup file line 1: a key in double quotes was expected."},
        {head + R"("fix": tru})", "Setup file line 1: 't' where a value should be."},
        {head + "\"energy\": \"7\n\"}", "Setup file line 1: a text holds a control character"},
        {head + R"("energy": "\udc00"})", "Setup file line 1: a text holds a lone low surrogate"},
        {head + R"("energy": "\ud800x"})", "Setup file line 1: a high surrogate"},
        {head + "\"energy\": \"\xC0\xAF\"}", "Setup file line 1: a text holds bytes that are not"},
        {head + R"("coarse_gain": 05})", "Setup file line 1: a number starts with 0"},
        {head + R"("planning": {"flux": 1e999}})",
         "Setup file line 1: the number 1e999 is outside"},
        {head + R"("fix": NaN})", "Setup file line 1: 'N' where a value should be."},
        {head + R"("fix": true, "fix": false})",
         "Setup file line 1: the key \"fix\" appears twice."},
        {head + R"("fix": true} x)", "Setup file line 1: there is more text after"},
        {deep, "Setup file line 1: more than 32 levels of nesting."},
        {std::string(kMaxSetupFileSize + 1, ' '), "This file is larger than 256 KiB"},
        {with("\"version\": 1", "\"version\": 3"),
         "This setup file was written by a newer Lumetra (format version 3); this one reads "
         "version 2."},
        {with("\"version\": 1", "\"version\": 0.5"), "Setup file line 3: \"version\" must be"},
        {with("\"coarse_gain_index\": 6", "\"coarse_gain_index\": 8"),
         line_of("coarse_gain_index") + "\"coarse_gain_index\" must be from 0 to 7 (found 8)."},
        {with("\"coarse_gain\": 500", "\"coarse_gain\": 300"),
         line_of("coarse_gain") + "\"coarse_gain\""},
        {with("\"fine_gain\": \"0.7\"", "\"fine_gain\": \"-1\""), line_of("fine_gain")},
        {with("\"marked_row\": 2", "\"marked_row\": 12"), line_of("marked_row")},
        {with("\"marked_row\": 2", "\"marked_row\": 5"),
         line_of("marked_row") +
             "\"marked_row\" is 5 but the matrix editor shows 4 rows; write 0 for no marked row."},
        {with("\"marked_row\": 2", "\"marked_row\": 1.5"),
         line_of("marked_row") + "\"marked_row\" must be a whole"},
        {with("\"edge\": \"L3\"", "\"edge\": \"M\""),
         line_of("edge") + "\"edge\" must be \"K\" or \"L3\"."},
        {with("\"edge\": \"L3\"", "\"edge\": \"K\""),
         line_of("line") + "\"line\" must be one of the K"},
        {with("\"element_count\": 3", "\"element_count\": 2"), line_of("element_count")},
        {with("\"flux\": 2e+11", "\"flux\": -1"),
         line_of("flux") + "\"planning.flux\" is -1: The flux must be above 0."},
        {with("\"polarisation\": 0.8", "\"polarisation\": 1.5"), line_of("polarisation")},
        {with("\"detector\": \"ge\"", "\"detector\": \"cdte\""), line_of("detector")},
        {with("\"energy\": \"13.2\"", "\"energy\": 13.2"),
         line_of("energy") + "\"energy\" must be a text in double quotes."},
        {with("\"fix\": true", "\"fix\": \"yes\""),
         line_of("fix") + "\"fix\" must be true or false."},
        {with("\"flux\": 2e+11", "\"flux\": \"2e11\""),
         line_of("flux") + "\"planning.flux\" must be a number."},
        {with("[\"O\", \"60\"]", "[\"O\"]"),
         line_at("[\"O\"") + "matrix row 1 must be a list of two"},
        {with("\"matrix\": [",
              "\"matrix\": [[\"N\",\"1\"],[\"N\",\"1\"],[\"N\",\"1\"],[\"N\",\"1\"],"
              "[\"N\",\"1\"],[\"N\",\"1\"],[\"N\",\"1\"],[\"N\",\"1\"],[\"N\",\"1\"],"),
         line_of("matrix") + "\"matrix\" holds 12 rows; the window has 11."},
    };
    dialogs.clear_shown();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.substr(0, 80));
        const std::string message = planner.load_setup(write("bad.json", c.bytes));
        EXPECT_EQ(message.substr(0, c.message.size()), c.message);
        expect_same_window(before, planner);
    }
    EXPECT_EQ(planner.load_setup(path("missing.json")),
              "Cannot read " + path("missing.json") + ": no such file or folder.");
    EXPECT_TRUE(dialogs.shown().empty());  // the callers show the message
}

// Save refuses what Load would refuse and leaves the old file; texts with any
// characters are written so that they read back as they were.
TEST_F(SetupFile, SaveRefusesWhatLoadWouldRefuse) {
    write("keep.json", "old");
    planner.set_planning("flux", "-1");
    EXPECT_EQ(planner.save_setup(path("keep.json")),
              "This setup cannot be saved: \"planning.flux\" is -1: The flux must be above 0.");
    planner.set_planning("flux", "1");
    form.Combo2.set_text("abc");
    EXPECT_NE(planner.save_setup(path("keep.json")).find("\"fine_gain\""), std::string::npos);
    form.Combo2.set_text("1.0");
    form.Text12.set_text("\xFF");
    EXPECT_NE(planner.save_setup(path("keep.json")).find("not UTF-8"), std::string::npos);
    form.Text12.set_text("0.1");
    EXPECT_EQ(read_file(path("keep.json")), "old");
    EXPECT_EQ(planner.save_setup(dir.string()).rfind("Cannot write", 0), 0u);

    // A mark left on a row that All Clear hid is saved as none, and the file loads.
    enter_sample("Fe", "10", {{"O", "60"}, {"Si", "30"}});
    form.Text2[1]->user_right_click();
    form.Command3.click();
    ASSERT_EQ(form.st.Elem_mark, 2);
    ASSERT_EQ(planner.save_setup(path("cleared.json")), "");
    EXPECT_NE(read_file(path("cleared.json")).find("\"marked_row\": 0"), std::string::npos);
    EXPECT_EQ(planner.load_setup(path("cleared.json")), "");

    WindowSetup s;
    s.target_symbol = "F\"e\\\n\t\x01\x7f/\xC3\xA9\xF0\x9F\x98\x80";
    s.planning.flux = 1.0 / 3.0;
    const SetupParse back = parse_setup(format_setup(s));
    ASSERT_TRUE(back.setup) << back.error;
    EXPECT_TRUE(*back.setup == s);
    const SetupParse escaped = parse_setup(
        "\xEF\xBB\xBF{\"format\":\"lumetra-setup\",\"version\":1.0,\"target\":{\"symbol\":"
        "\"\\u0046\\u00e9\\ud83d\\ude00\\/\\b\\f\\r\"},\"unknown\":[{\"a\":null}],"
        "\"layers\":{\"argon\":true,\"other\":1},\"planning\":{\"x\":\"y\",\"window_um\":-0}}");
    ASSERT_TRUE(escaped.setup) << escaped.error;
    EXPECT_EQ(escaped.setup->target_symbol, "F\xC3\xA9\xF0\x9F\x98\x80/\b\f\r");
    EXPECT_TRUE(escaped.setup->argon);
    EXPECT_EQ(escaped.setup->planning.detector.window_um, 0.0);
}

}  // namespace
}  // namespace lumetra::window::testing
