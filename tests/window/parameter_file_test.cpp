// Saving and loading compositions: the exact file bytes, the round trip, and
// files that are not parameter files.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "window/form_fixture.h"
#include "window/parameter_format.h"

namespace lumetra::window::testing {
namespace {

namespace fs = std::filesystem;

std::string read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void write_file(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary);
    out << bytes;
}

class ParameterFile : public FormTest {
protected:
    fs::path dir;
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("lumetra-params-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const char* name) const { return (dir / name).string(); }
    void save_as(const std::string& p) {
        dialogs.queue_file(p);
        form.Command5.click();
    }
    void load(const std::string& p) {
        dialogs.queue_file(p);
        form.Command6.click();
    }
};

TEST_F(ParameterFile, SavesTheExampleByteForByte) {
    enter_sample("Fe", "10", {{"O", "60"}, {"Si", "20"}});
    save_as(path("sample1"));
    EXPECT_EQ(read_file(path("sample1")), "2\r\n\"Fe\",\"10\"\r\n\"O\",\"60\"\r\n\"Si\",\"20\"\r\n");
    EXPECT_EQ(dialogs.shown().back().kind, common::DialogRecord::Kind::FileSave);
}

TEST_F(ParameterFile, OnlyCompletedRowsAndTextsAsTyped) {
    enter_sample("Fe", " 10", {{"O", "60"}});
    form.Text2[1]->set_text("Si");  // open row without content: not saved
    save_as(path("a"));
    EXPECT_EQ(read_file(path("a")), "1\r\n\"Fe\",\" 10\"\r\n\"O\",\"60\"\r\n");
}

TEST_F(ParameterFile, SaveNeedsATargetAndAPositiveContent) {
    save_as(path("none"));
    EXPECT_EQ(shown_texts(), (std::vector<std::string>{"insufficient parameter !"}));
    EXPECT_FALSE(fs::exists(path("none")));  // the file dialog never opened
}

TEST_F(ParameterFile, RoundTripRestoresTheSameFormState) {
    enter_sample("Cu", "3", {{"O", "60"}, {"Si", "20"}, {"Ca", "1.5"}});
    form.Command1.click();
    save_as(path("rt"));
    common::ScriptedDialogs d2;
    RADirido other(d2);
    d2.queue_file(path("rt"));
    other.Command6.click();
    for (const char* name : {"Text1", "Text51", "Text2(0)", "Text52(0)", "Text2(2)", "Text52(2)",
                             "Text2(3)", "Label30", "Text11", "Label8", "Label38"}) {
        EXPECT_EQ(other.find(name)->caption(), form.find(name)->caption()) << name;
    }
    EXPECT_EQ(other.st.Elem_count, 3);
    EXPECT_EQ(other.st.Calc_state, 10);  // "Plot" ran after the load
    EXPECT_EQ(other.Command1.top(), 3360 + 3 * 360);
}

TEST_F(ParameterFile, LoadOfAFileWithoutRowsShowsTheEmptyFirstRow) {
    write_file(path("t"), "0\r\n\"Zn\",\"1\"\r\n");
    load(path("t"));
    EXPECT_EQ(form.st.Elem_count, 0);
    EXPECT_TRUE(form.Text2[0]->visible());
    EXPECT_EQ(form.Text2[0]->text(), "");
    EXPECT_EQ(form.Command1.top(), 3360);
    EXPECT_EQ(form.st.Calc_state, 10);
}

TEST_F(ParameterFile, ElevenRowsPutPlotBelowTheLastRow) {
    std::string bytes = "11\r\n\"Pb\",\"1\"\r\n";
    for (const char* s : {"O", "Si", "Al", "Na", "Mg", "K", "Ca", "Ti", "Mn", "P", "S"}) {
        bytes += std::string("\"") + s + "\",\"2\"\r\n";
    }
    write_file(path("eleven"), bytes);
    load(path("eleven"));
    EXPECT_EQ(form.st.Elem_count, 11);
    EXPECT_EQ(form.Command1.left(), 600);
    EXPECT_EQ(form.Command1.top(), 7320);
}

TEST_F(ParameterFile, BadFilesChangeNothing) {
    enter_sample("Fe", "10", {{"O", "60"}});
    form.Command1.click();
    const std::string share = form.Label38.caption();
    const auto ops = form.Picture1.picture().ops().size();
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty", ""},
        {"short", "2\r\n\"Cu\",\"1\"\r\n\"O\",\"1\"\r\n"},
        {"count above 11", "12\r\n\"Cu\",\"1\"\r\n"},
        {"count not a number", "two\r\n\"Cu\",\"1\"\r\n"},
        {"unquoted", "0\r\nCu,1\r\n"},
        {"three items", "0\r\n\"Cu\",\"1\",\"2\"\r\n"},
        {"open quote", "0\r\n\"Cu,\"1\r\n"},
        {"binary", std::string("\0\1\2", 3)},
    };
    for (const Case& c : cases) {
        dialogs.clear_shown();
        write_file(path("bad"), c.bytes);
        load(path("bad"));
        ASSERT_EQ(dialogs.shown().size(), 2u) << c.name;  // file dialog, then the message
        EXPECT_EQ(form.Text1.text(), "Fe") << c.name;
        EXPECT_EQ(form.Text2[0]->text(), "O") << c.name;
        EXPECT_EQ(form.st.Elem_count, 1) << c.name;
        EXPECT_EQ(form.Label38.caption(), share) << c.name;
        EXPECT_EQ(form.Picture1.picture().ops().size(), ops) << c.name;
    }
    dialogs.clear_shown();
    load(path("missing"));
    EXPECT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(form.Text1.text(), "Fe");
}

TEST_F(ParameterFile, CancelledDialogs) {
    enter_sample("Fe", "10");
    dialogs.queue_cancel();
    form.Command5.click();
    EXPECT_TRUE(fs::is_empty(dir));
    dialogs.queue_cancel();
    form.Command6.click();  // nothing read, nothing cleared; "Plot" still runs
    EXPECT_EQ(form.Text1.text(), "Fe");
    EXPECT_EQ(form.st.Calc_state, 10);
}

TEST_F(ParameterFile, FailedSaveKeepsTheOldFile) {
    write_file(path("keep"), "old");
    enter_sample("Fe", "10");
    form.Text2[0]->set_text("O\"x");  // a quote cannot be stored: refused
    form.Text52[0]->set_text("1");
    dialogs.clear_shown();
    save_as(path("keep"));
    EXPECT_EQ(read_file(path("keep")), "old");
    ASSERT_EQ(dialogs.shown().size(), 1u);  // the refusal; no file dialog
    EXPECT_EQ(dialogs.shown()[0].kind, common::DialogRecord::Kind::Message);

    form.Text2[0]->set_text("O");
    form.Text52[0]->set_text("1");
    dialogs.clear_shown();
    save_as((dir / "no-such-dir" / "x").string());
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.shown().back().kind, common::DialogRecord::Kind::Message);
    save_as(path("keep"));
    EXPECT_EQ(read_file(path("keep")), "1\r\n\"Fe\",\"10\"\r\n\"O\",\"1\"\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

// A file whose row count is negative but not -10 left Elem_count at that value
// (-3, -32768), a state the matrix editor never has. Every negative count means
// "no rows" and loads as the editor's own value for that, -10.
TEST_F(ParameterFile, NegativeRowCountsLoadAsNoRows) {
    for (const char* count : {"-3", "-1", "-32768", "-10"}) {
        SCOPED_TRACE(count);
        write_file(path("neg.txt"), std::string(count) + "\r\n\"Fe\",\"10\"\r\n");
        load(path("neg.txt"));
        EXPECT_EQ(form.st.Elem_count, -10);
        EXPECT_EQ(form.Text1.text(), "Fe");
        EXPECT_EQ(form.Text51.text(), "10");
    }
    // 0 stays 0: the editor has started with no completed row.
    write_file(path("zero.txt"), "0\r\n\"Fe\",\"10\"\r\n");
    load(path("zero.txt"));
    EXPECT_EQ(form.st.Elem_count, 0);
}

// Save wrote any composition, however long its texts, but Load reads at most
// kMaxParameterFileSize bytes: a symbol typed with 70000 trailing blanks (still a
// valid "Fe") gave a file that its own Load refused. Save now refuses what Load
// could not read, and leaves the file that was there.
TEST_F(ParameterFile, SaveRefusesACompositionTooLongToLoad) {
    const std::string old_file = "0\r\n\"Cu\",\"1\"\r\n";
    write_file(path("s.txt"), old_file);
    enter_sample("Fe" + std::string(70000, ' '), "10");
    ASSERT_EQ(form.Text1.fore_color(), common::colours::black);  // a valid target
    dialogs.clear_shown();
    save_as(path("s.txt"));
    EXPECT_TRUE(read_file(path("s.txt")) == old_file) << "the old file was replaced";
    ASSERT_EQ(dialogs.shown().size(), 1u) << "a message, and no file dialog";
    EXPECT_EQ(dialogs.shown().back().kind, common::DialogRecord::Kind::Message);

    // Just below the limit the file is written, and loads back as it was typed.
    const std::string longest = "Fe" + std::string(kMaxParameterFileSize - 32, ' ');
    form.Text1.set_text(longest);
    Composition c;
    c.target_symbol = longest;
    c.target_content = form.Text51.text();
    c.count = form.st.Elem_count;
    ASSERT_LE(format_parameters(c).size(), kMaxParameterFileSize);
    dialogs.clear_shown();
    save_as(path("s.txt"));
    const ParseResult parsed = parse_parameters(read_file(path("s.txt")));
    ASSERT_TRUE(parsed.composition.has_value()) << parsed.error;
    EXPECT_EQ(parsed.composition->target_symbol, longest);
    load(path("s.txt"));
    EXPECT_EQ(form.Text1.text(), longest);
    EXPECT_EQ(form.Text51.text(), "10");
}

TEST(ParameterFormat, ParsesWhatItFormatsAndToleratesBareLineFeeds) {
    Composition c;
    c.count = 2;
    c.target_symbol = " Fe ";
    c.target_content = "1e-3";
    c.rows = {{"O", "60"}, {"Si", ""}};
    const ParseResult r = parse_parameters(format_parameters(c));
    ASSERT_TRUE(r.composition) << r.error;
    EXPECT_EQ(r.composition->target_symbol, " Fe ");
    EXPECT_EQ(r.composition->rows[1].second, "");

    const ParseResult lf = parse_parameters("-10\n  \"Cu\" , \"2\"\n");
    ASSERT_TRUE(lf.composition) << lf.error;
    EXPECT_EQ(lf.composition->count, -10);
    EXPECT_TRUE(lf.composition->rows.empty());
    EXPECT_FALSE(parse_parameters(std::string(kMaxParameterFileSize + 1, ' ')).composition);
}

}  // namespace
}  // namespace lumetra::window::testing
