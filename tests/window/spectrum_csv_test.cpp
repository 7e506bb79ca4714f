// The spectrum as CSV: read back, every number equals the array it came from.

#include "window/spectrum_csv.h"

#include <unistd.h>

#include <charconv>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "window/form_fixture.h"

namespace lumetra::window::testing {
namespace {

namespace fs = std::filesystem;

struct Csv {
    std::vector<std::string> comments;  // without "# "
    std::vector<std::string> columns;
    std::vector<std::vector<double>> rows;
};

std::vector<std::string> cells(const std::string& line) {
    std::vector<std::string> out;
    std::stringstream in(line);
    for (std::string cell; std::getline(in, cell, ',');) out.push_back(cell);
    return out;
}

// Splits the text; every row cell must be a whole number in C form.
Csv parse(const std::string& text) {
    Csv csv;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("# ", 0) == 0) {
            EXPECT_TRUE(csv.columns.empty()) << "comment after the column line: " << line;
            csv.comments.push_back(line.substr(2));
        } else if (csv.columns.empty()) {
            csv.columns = cells(line);
        } else {
            std::vector<double> row;
            for (const std::string& c : cells(line)) {
                double v = 0;
                const auto r = std::from_chars(c.data(), c.data() + c.size(), v);
                EXPECT_TRUE(r.ec == std::errc() && r.ptr == c.data() + c.size()) << line;
                row.push_back(v);
            }
            csv.rows.push_back(row);
        }
    }
    return csv;
}

bool has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class SpectrumCsv : public FormTest {
  protected:
    void SetUp() override {
        dialogs.queue_file(std::string(LUMETRA_EXAMPLES_DIR) + "/copper-in-water.txt");
        form.Command6.click();
        ASSERT_GT(form.st.Calc_state, 0);
    }
    std::vector<const engine::Spectrum*> layers() const {
        const engine::CalcState& s = form.st;
        return {&s.Spec_total, &s.Spec_target,  &s.Spec_line,   &s.Spec_mark,
                &s.Spec_argon, &s.Spec_elastic, &s.Spec_escape, &s.Spec_pileup};
    }
    // The example's amplifier: 10 V at 9.745 keV (Label8), channel n at 9.745 n / 1024 keV.
    void expect_channels_and_layers(const Csv& csv) const {
        ASSERT_EQ(csv.rows.size(), 1025u);
        for (int n = 0; n < 1025; ++n) {
            const std::vector<double>& row = csv.rows[n];
            ASSERT_GE(row.size(), 11u);
            ASSERT_EQ(row[0], n);
            ASSERT_EQ(row[1], 10.0 * n / 1024) << n;
            ASSERT_EQ(row[2], 9.745 * n / 1024) << n;
            for (std::size_t k = 0; k < 8; ++k) ASSERT_EQ(row[3 + k], (*layers()[k])[n]) << n;
        }
    }
};

TEST_F(SpectrumCsv, ClassicModelReadsBackExactly) {
    const Csv csv = parse(spectrum_csv(form));
    EXPECT_EQ(csv.columns,
              (std::vector<std::string>{"channel", "volts", "keV", "total", "target", "line",
                                        "mark", "argon", "elastic", "escape", "pileup"}));
    for (const char* line : {"target: Cu", "target_content: 0.001", "matrix_row_1: O 1",
                             "matrix_row_2: H 2", "edge: K", "line: K-alpha 1&2",
                             "full_scale_keV: 9.745", "model: classic", "spectrum: shown"})
        EXPECT_TRUE(has(csv.comments, line)) << line;
    expect_channels_and_layers(csv);

    // Line breaks typed into a field stay inside its comment line.
    form.Text16.set_text(" .3\nchannel,1,2\r# x");
    const Csv typed = parse(spectrum_csv(form));
    EXPECT_TRUE(has(typed.comments, "width_keV: .3 channel,1,2 # x"));
    EXPECT_EQ(typed.columns, csv.columns);
    EXPECT_EQ(typed.rows.size(), 1025u);
}

TEST_F(SpectrumCsv, FundamentalParametersAddCountsPerSecond) {
    form.set_model(Model::fp);
    ASSERT_TRUE(form.fp_result.ok) << form.fp_result.reason;
    ASSERT_GT(form.fp_units, 0.0);
    const Csv csv = parse(spectrum_csv(form));
    ASSERT_EQ(csv.columns.size(), 19u);
    EXPECT_EQ(csv.columns[11], "total_cps");
    EXPECT_EQ(csv.columns[18], "pileup_cps");
    EXPECT_TRUE(has(csv.comments, "model: fundamental parameters"));
    expect_channels_and_layers(csv);
    double highest = 0;
    for (int n = 0; n < 1025; ++n) {
        for (std::size_t k = 0; k < 8; ++k)
            ASSERT_EQ(csv.rows[n][11 + k], (*layers()[k])[n] * form.fp_units) << n;
        highest = std::max(highest, csv.rows[n][11]);
    }
    // The fp plot puts its highest total channel at 10000 units.
    EXPECT_NEAR(highest, 10000 * form.fp_units, 1e-9 * highest);
}

TEST_F(SpectrumCsv, CommaLocaleStillWritesFullStops) {
    const std::string in_c = spectrum_csv(form);
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    const char* german = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"})
        if (!german) german = std::setlocale(LC_NUMERIC, name);
    if (!german) GTEST_SKIP() << "no German locale installed";
    char shown[16];
    std::snprintf(shown, sizeof shown, "%.1f", 0.5);
    const std::string in_german = spectrum_csv(form);
    std::setlocale(LC_NUMERIC, before.c_str());
    ASSERT_STREQ(shown, "0,5");  // the locale is in force
    EXPECT_EQ(in_german, in_c);
}

TEST_F(SpectrumCsv, SavesWholeOrNotAtAll) {
    const fs::path dir = fs::temp_directory_path() / ("lumetra-csv-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path file = dir / "cu.csv";
    EXPECT_EQ(save_spectrum_csv(form, file.string()), "");
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), spectrum_csv(form));

    const fs::path missing = dir / "no-such-folder" / "cu.csv";
    EXPECT_NE(save_spectrum_csv(form, missing.string()), "");
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_NE(save_spectrum_csv(form, ""), "");

    form.Command3.click();  // All Clear: no spectrum shown
    ASSERT_LE(form.st.Calc_state, 0);
    const fs::path empty = dir / "empty.csv";
    EXPECT_NE(save_spectrum_csv(form, empty.string()), "");
    EXPECT_FALSE(fs::exists(empty));
    const Csv csv = parse(spectrum_csv(form));
    EXPECT_TRUE(has(csv.comments, "spectrum: none"));
    EXPECT_EQ(csv.columns.size(), 11u);
    EXPECT_TRUE(csv.rows.empty());
    fs::remove_all(dir);
}

}  // namespace
}  // namespace lumetra::window::testing
