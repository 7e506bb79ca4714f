// The spectrum as CSV: read back, every number equals the array it came from.

#include "planning/spectrum_csv.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "common/machine.h"
#include "planning/planner_fixture.h"
#include "planning/panel_figures.h"

namespace lumetra::window::testing {
namespace {

namespace fs = std::filesystem;

struct Csv {
    std::vector<std::string> comments;  // without "# "
    std::string columns;
    std::vector<std::vector<double>> rows;
    bool has(const std::string& c) const {
        return std::find(comments.begin(), comments.end(), c) != comments.end();
    }
};

// Splits the text; every cell of a row must read whole as a number.
Csv parse(const std::string& text) {
    Csv csv;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("# ", 0) == 0 && csv.columns.empty()) {
            csv.comments.push_back(line.substr(2));
        } else if (csv.columns.empty()) {
            csv.columns = line;
        } else {
            std::vector<double>& row = csv.rows.emplace_back();
            std::stringstream cells(line);
            for (std::string c; std::getline(cells, c, ',');) {
                const auto r = std::from_chars(c.data(), c.data() + c.size(), row.emplace_back());
                EXPECT_TRUE(r.ec == std::errc() && r.ptr == c.data() + c.size()) << line;
            }
        }
    }
    return csv;
}

constexpr const char* kColumns =
    "channel,volts,keV,total,target,line,mark,argon,elastic,escape,pileup";

class SpectrumCsv : public PlannerTest {
  protected:
    void SetUp() override {
        dialogs.queue_file(std::string(LUMETRA_EXAMPLES_DIR) + "/copper-in-water.txt");
        form.Command6.click();
        ASSERT_GT(form.st.Calc_state, 0);
    }
    // The example's amplifier: 10 V at 9.745 keV (Label8), channel n at 9.745 n / 1024 keV.
    // Each layer k is in column 3 + k and, with counts/s, x fp_units in column 11 + k.
    void expect_rows(const Csv& csv, bool counts) const {
        const engine::CalcState& s = form.st;
        const engine::Spectrum* layers[] = {&s.Spec_total,  &s.Spec_target, &s.Spec_line,
                                            &s.Spec_mark,   &s.Spec_argon,  &s.Spec_elastic,
                                            &s.Spec_escape, &s.Spec_pileup};
        ASSERT_EQ(csv.rows.size(), 1025u);
        for (int n = 0; n < 1025; ++n) {
            const std::vector<double>& row = csv.rows[n];
            ASSERT_EQ(row.size(), counts ? 19u : 11u);
            ASSERT_EQ(row[0], n);
            ASSERT_EQ(row[1], 10.0 * n / 1024) << n;
            ASSERT_EQ(row[2], 9.745 * n / 1024) << n;
            for (int k = 0; k < 8; ++k) {
                ASSERT_EQ(row[3 + k], (*layers[k])[n]) << n;
                if (counts) {
                    ASSERT_EQ(row[11 + k], (*layers[k])[n] * session.units()) << n;
                }
            }
        }
    }
};

TEST_F(SpectrumCsv, ClassicModelReadsBackExactly) {
    const Csv csv = parse(planning::spectrum_csv(planner));
    EXPECT_EQ(csv.columns, kColumns);
    for (const char* line : {"target: Cu", "target_content: 0.001", "matrix_row_1: O 1",
                             "matrix_row_2: H 2", "edge: K", "line: K-alpha 1&2",
                             "full_scale_keV: 9.745", "model: classic", "spectrum: shown"})
        EXPECT_TRUE(csv.has(line)) << line;
    expect_rows(csv, false);

    // Line breaks typed into a field stay inside its comment line.
    form.Text16.set_text(" .3\nchannel,1,2\r# x");
    const Csv typed = parse(planning::spectrum_csv(planner));
    EXPECT_TRUE(typed.has("width_keV: .3 channel,1,2 # x"));
    EXPECT_EQ(typed.columns, kColumns);
    EXPECT_EQ(typed.rows.size(), 1025u);
}

// The header is the setup, the spectrum's units, then the results, every line
// "# key: value"; the setup and results lines are those of the printed report.
void expect_blocks(const Csv& csv, const planning::Planner& planner) {
    const std::vector<std::string> setup = setup_lines(planner), results = result_lines(planner);
    ASSERT_GE(csv.comments.size(), setup.size() + results.size());
    EXPECT_TRUE(std::equal(setup.begin(), setup.end(), csv.comments.begin()));
    EXPECT_TRUE(std::equal(results.rbegin(), results.rend(), csv.comments.rbegin()));
    std::set<std::string> keys;
    for (const std::string& c : csv.comments) {
        ASSERT_NE(c.find(": "), std::string::npos) << c;
        EXPECT_TRUE(keys.insert(c.substr(0, c.find(": "))).second) << "twice: " << c;
    }
}

TEST_F(SpectrumCsv, TheHeaderCarriesTheResults) {
    Csv csv = parse(planning::spectrum_csv(planner));
    expect_blocks(csv, planner);
    EXPECT_TRUE(csv.has("target_line_share_percent: " + text::trim_blanks(form.Label38.caption())));
    EXPECT_TRUE(csv.has("detection_ratio: " + text::trim_blanks(form.Label37.caption())));

    planner.set_model(Model::fp);
    csv = parse(planning::spectrum_csv(planner));
    expect_blocks(csv, planner);
    const Panel& p = panel;
    // Each figure as the panel shows it, after the words the panel puts before it.
    for (const auto& [key, label] :
         std::vector<std::pair<std::string, const Label*>>{{"input_rate", &p.Icr},
                                                           {"output_rate", &p.Ocr},
                                                           {"dead_time", &p.DeadTime},
                                                           {"target_rate", &p.TargetRate},
                                                           {"background", &p.Background},
                                                           {"signal_to_background",
                                                            &p.SignalToBackground},
                                                           {"time_per_point", &p.TimePerPoint},
                                                           {"self_absorption", &p.SelfAbsorption}}) {
        const std::string& caption = label->caption();
        const std::string value = caption.substr(caption.find("  ") + 2);
        EXPECT_TRUE(csv.has(key + ": " + value)) << key << ": " << value;
    }
    EXPECT_TRUE(csv.has("neighbour_1: " + p.Neighbours[0]->caption()));
    EXPECT_TRUE(csv.has("saturation: " + p.Saturation.caption()));  // 55 mM copper saturates
    const physics::Figures& f = session.result().figures;
    EXPECT_GT(f.solid_angle_fraction, 0.0);
    EXPECT_LT(f.detection(), f.solid_angle_fraction);
    EXPECT_TRUE(csv.has("detection_product: " + three_digits(f.detection())));
    expect_rows(csv, true);

    form.Command3.click();  // All Clear: no results
    csv = parse(planning::spectrum_csv(planner));
    EXPECT_EQ(csv.comments.back(), "results: none");
}

TEST_F(SpectrumCsv, FundamentalParametersAddCountsPerSecond) {
    planner.set_model(Model::fp);
    ASSERT_TRUE(session.result().ok) << session.result().reason;
    ASSERT_GT(session.units(), 0.0);
    const Csv csv = parse(planning::spectrum_csv(planner));
    EXPECT_EQ(csv.columns, std::string(kColumns) +
                               ",total_cps,target_cps,line_cps,mark_cps,argon_cps,elastic_cps,"
                               "escape_cps,pileup_cps");
    EXPECT_TRUE(csv.has("model: fundamental parameters"));
    expect_rows(csv, true);
}

TEST_F(SpectrumCsv, CommaLocaleStillWritesFullStops) {
    const std::string in_c = planning::spectrum_csv(planner);
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) LUMETRA_SKIP_WITHOUT("the locale de_DE.UTF-8");
    char shown[16];
    std::snprintf(shown, sizeof shown, "%.1f", 0.5);
    const std::string in_german = planning::spectrum_csv(planner);
    std::setlocale(LC_NUMERIC, before.c_str());
    ASSERT_STREQ(shown, "0,5");  // the locale was in force
    EXPECT_EQ(in_german, in_c);
}

TEST_F(SpectrumCsv, SavesWholeOrNotAtAll) {
    const fs::path dir = fs::temp_directory_path() / ("lumetra-csv-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    EXPECT_EQ(planning::save_spectrum_csv(planner, (dir / "cu.csv").string()), "");
    std::ifstream in(dir / "cu.csv", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), planning::spectrum_csv(planner));
    EXPECT_NE(planning::save_spectrum_csv(planner, (dir / "missing" / "cu.csv").string()), "");
    EXPECT_NE(planning::save_spectrum_csv(planner, ""), "");

    form.Command3.click();  // All Clear: no spectrum shown
    ASSERT_LE(form.st.Calc_state, 0);
    EXPECT_NE(planning::save_spectrum_csv(planner, (dir / "empty.csv").string()), "");
    const Csv csv = parse(planning::spectrum_csv(planner));
    EXPECT_TRUE(csv.has("spectrum: none"));
    EXPECT_EQ(csv.columns, kColumns);
    EXPECT_TRUE(csv.rows.empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace lumetra::window::testing
