// Faults the random sessions and the fuzz targets found, each pinned down by the
// smallest input that showed it.

#include <filesystem>
#include <fstream>
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

class Findings : public FormTest {
protected:
    fs::path dir;
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("lumetra-findings-" + std::string(::testing::UnitTest::GetInstance()
                                                     ->current_test_info()
                                                     ->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const char* name) const { return (dir / name).string(); }
    void load(const std::string& p) {
        dialogs.queue_file(p);
        form.Command6.click();
    }
    void save_as(const std::string& p) {
        dialogs.queue_file(p);
        form.Command5.click();
    }
};

// A file whose row count is negative but not -10 left Elem_count at that value
// (-3, -32768), a state the matrix editor never has. Every negative count means
// "no rows" and loads as the editor's own value for that, -10.
TEST_F(Findings, NegativeRowCountsLoadAsNoRows) {
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
TEST_F(Findings, SaveRefusesACompositionTooLongToLoad) {
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

}  // namespace
}  // namespace lumetra::window::testing
