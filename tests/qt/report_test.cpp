// The report as PDF on A4 and Letter, portrait and landscape: every setup and result
// line is in it, on a page and inside the page's margins, and no page is blank.

#include "window/qt/report.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cmath>
#include <string>
#include <vector>

#include "common/dialogs.h"
#include "common/machine.h"
#include "qt/copper_in_water.h"
#include "window/radirido.h"
#include "planning/report_lines.h"

namespace lumetra::window::qt {
namespace {

constexpr double kPointsPerMm = 72.0 / 25.4;

struct Word {
    int page;
    double x_min, y_min, x_max, y_max;
    QString text;
};

struct PdfText {
    std::vector<QSizeF> pages;  // points
    std::vector<Word> words;
    QString text;  // pdftotext -layout
};

// Runs the program; false when it fails. Its output goes to `out`.
bool run(const QString& program, const QStringList& args, QString* out = nullptr) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return false;
    if (out) *out = QString::fromUtf8(p.readAllStandardOutput());
    return true;
}

// The words of the PDF with their boxes, as pdftotext -bbox gives them.
PdfText read_pdf(const QString& pdf) {
    PdfText out;
    const QString tool = QStandardPaths::findExecutable("pdftotext");
    QString html;
    EXPECT_TRUE(run(tool, {"-bbox", pdf, "-"}, &html)) << pdf.toStdString();
    const QRegularExpression page(R"re(<page width="([0-9.]+)" height="([0-9.]+)">)re");
    const QRegularExpression word(
        R"re(<word xMin="([0-9.-]+)" yMin="([0-9.-]+)" xMax="([0-9.-]+)" yMax="([0-9.-]+)">([^<]*)</word>)re");
    for (const QString& line : html.split('\n')) {
        if (const auto m = page.match(line); m.hasMatch())
            out.pages.emplace_back(m.captured(1).toDouble(), m.captured(2).toDouble());
        if (const auto m = word.match(line); m.hasMatch())
            out.words.push_back({static_cast<int>(out.pages.size()) - 1, m.captured(1).toDouble(),
                                 m.captured(2).toDouble(), m.captured(3).toDouble(),
                                 m.captured(4).toDouble(), m.captured(5)});
    }
    EXPECT_TRUE(run(tool, {"-layout", pdf, "-"}, &out.text)) << pdf.toStdString();
    return out;
}

// The key of a "key: value" line and the first word of its value beside it on one
// page, both inside the margins; nullptr when not found so.
const Word* find_line(const PdfText& pdf, const std::string& line, double margin) {
    const std::size_t colon = line.find(": ");
    const QString key = QString::fromStdString(line.substr(0, colon)).toHtmlEscaped();
    const QString value = QString::fromStdString(line.substr(colon + 2))
                              .split(' ', Qt::SkipEmptyParts)
                              .value(0)
                              .toHtmlEscaped();  // as -bbox writes it
    const auto inside = [&](const Word& w) {
        const QSizeF page = pdf.pages[static_cast<std::size_t>(w.page)];
        return w.x_min >= margin && w.x_max <= page.width() - margin && w.y_min >= margin &&
               w.y_max <= page.height() - margin;
    };
    for (const Word& k : pdf.words) {
        if (k.text != key || !inside(k)) continue;
        for (const Word& v : pdf.words)
            if (v.page == k.page && v.text == value && std::abs(v.y_min - k.y_min) < 1.0 &&
                v.x_min > k.x_max && inside(v))
                return &k;
    }
    return nullptr;
}

// Share of the page's pixels that are not white.
double ink_share(const QImage& page) { return 1.0 - share_of(page, Qt::white); }

class Report : public CopperInWater {
  protected:
    // Copper in water under the fundamental-parameter model, every layer shown, and
    // a filter of a name far too long for one line (not used, but part of the setup).
    void SetUp() override {
        CopperInWater::SetUp();
        if (HasFatalFailure()) return;
        planner.set_model(planning::Model::fp);
        for (CheckBox* box : {&form.Check1, &form.Check11, &form.Check21, &form.Check3})
            if (box->value() == 0) box->user_click();
        ASSERT_TRUE(planner.set_planning("filter", std::string(40, 'X') + std::string(200, 'y')));
        ASSERT_TRUE(planner.fp_result().ok);
    }
};

TEST_F(Report, EveryLineLiesInsideThePageOnEveryPaper) {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) LUMETRA_SKIP_WITHOUT("pdftotext");
    if (QStandardPaths::findExecutable("pdftoppm").isEmpty()) LUMETRA_SKIP_WITHOUT("pdftoppm");
    struct Paper {
        const char* name;
        ReportPaper paper;
        QSizeF points;
    };
    const Paper papers[] = {
        {"a4", {QPageSize::A4, QPageLayout::Portrait}, {595.3, 841.9}},
        {"a4-landscape", {QPageSize::A4, QPageLayout::Landscape}, {841.9, 595.3}},
        {"letter", {QPageSize::Letter, QPageLayout::Portrait}, {612, 792}},
        {"letter-landscape", {QPageSize::Letter, QPageLayout::Landscape}, {792, 612}}};
    const std::vector<std::string> setup = planning::setup_lines(planner);
    const std::vector<std::string> results = planning::result_lines(planner);
    ASSERT_GT(setup.size(), 30u);
    ASSERT_GT(results.size(), 8u);
    for (const Paper& paper : papers) {
        const QString pdf_file = file(paper.name) + ".pdf";
        ASSERT_EQ(export_report(planner, pdf_file.toStdString(), paper.paper), "") << paper.name;
        const PdfText pdf = read_pdf(pdf_file);
        ASSERT_GE(pdf.pages.size(), 2u) << paper.name;
        for (const QSizeF& size : pdf.pages) {
            EXPECT_NEAR(size.width(), paper.points.width(), 1.0) << paper.name;
            EXPECT_NEAR(size.height(), paper.points.height(), 1.0) << paper.name;
        }
        // Every word on its page; the texts of the pictures may be cut at their frames
        // but never reach beyond the paper.
        const double margin = kReportMarginMm * kPointsPerMm - 1.0;  // a point for side bearings
        for (const Word& w : pdf.words) {
            const QSizeF page = pdf.pages[static_cast<std::size_t>(w.page)];
            EXPECT_TRUE(w.x_min >= 0 && w.x_max <= page.width() && w.y_min >= 0 &&
                        w.y_max <= page.height())
                << paper.name << ": " << w.text.toStdString();
        }
        // The whole setup and every result, the last ones too.
        for (const auto* lines : {&setup, &results})
            for (const std::string& line : *lines) {
                const std::string key = line.substr(0, line.find(": "));
                EXPECT_TRUE(pdf.text.contains(QString::fromStdString(key)))
                    << paper.name << ": " << key;
            }
        // The last setting and the last result, key and value, inside the margins.
        EXPECT_NE(find_line(pdf, setup.back(), margin), nullptr)
            << paper.name << ": " << setup.back();
        EXPECT_NE(find_line(pdf, results.back(), margin), nullptr)
            << paper.name << ": " << results.back();
        // The long filter name is wrapped, not cut: all its letters are there.
        QString letters;
        for (const Word& w : pdf.words)
            if (QRegularExpression("^[Xy]+$").match(w.text).hasMatch()) letters += w.text;
        EXPECT_EQ(letters, QString(40, 'X') + QString(200, 'y')) << paper.name;

        // Every page rendered has something on it, the first the dark plot.
        ASSERT_TRUE(run(QStandardPaths::findExecutable("pdftoppm"),
                        {"-png", "-r", "30", pdf_file, file(paper.name)}));
        const QStringList pngs =
            QDir(dir.path()).entryList({QString(paper.name) + "-*.png"}, QDir::Files, QDir::Name);
        ASSERT_EQ(static_cast<std::size_t>(pngs.size()), pdf.pages.size()) << paper.name;
        for (const QString& png : pngs) {
            const QImage page(dir.filePath(png));
            EXPECT_GT(ink_share(page), 0.01) << png.toStdString();
        }
        EXPECT_GT(ink_share(QImage(dir.filePath(pngs[0]))), 0.15) << paper.name;
    }
}

TEST_F(Report, CaptionFigureAndPreviewAreInIt) {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) LUMETRA_SKIP_WITHOUT("pdftotext");
    ASSERT_EQ(export_report(planner, file("r.pdf").toStdString()), "");
    const PdfText pdf = read_pdf(file("r.pdf"));
    EXPECT_TRUE(pdf.text.contains("Cu K edge")) << pdf.text.toStdString();
    EXPECT_TRUE(pdf.text.contains("Energy (keV)"));
    EXPECT_TRUE(pdf.text.contains("Counts/s per channel"));
    EXPECT_TRUE(pdf.text.contains("Setup"));
    EXPECT_TRUE(pdf.text.contains("Results"));
    EXPECT_TRUE(pdf.text.contains(QString::fromStdString(planner.panel.ScanTitle.caption())));
    // The preview was finished for the report.
    EXPECT_FALSE(planner.preview_pending());
}

TEST_F(Report, RefusedReportsLeaveNoFileAndSayWhy) {
    EXPECT_NE(export_report(planner, ""), "");
    const std::string missing = file("missing/r.pdf").toStdString();
    EXPECT_NE(export_report(planner, missing).find("missing"), std::string::npos);
    EXPECT_NE(export_report(planner, dir.path().toStdString()), "");
    EXPECT_TRUE(QDir(dir.path()).isEmpty(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden));
    // Without a spectrum the report still goes out, saying so.
    form.Command3.click();
    EXPECT_EQ(export_report(planner, file("empty.pdf").toStdString()), "");
    EXPECT_GT(QFile(file("empty.pdf")).size(), 0);
}

TEST(ReportPaperWords, NameSizeAndOrientationInAnyOrder) {
    ReportPaper p;
    ASSERT_TRUE(paper_from_words({}, p));
    EXPECT_EQ(p.size, QPageSize::A4);
    EXPECT_EQ(p.orientation, QPageLayout::Portrait);
    ASSERT_TRUE(paper_from_words({"landscape", "Letter"}, p));
    EXPECT_EQ(p.size, QPageSize::Letter);
    EXPECT_EQ(p.orientation, QPageLayout::Landscape);
    ASSERT_TRUE(paper_from_words({"a4"}, p));
    EXPECT_EQ(p.orientation, QPageLayout::Portrait);
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"a5"}, {"a4", "letter"}, {"portrait", "portrait"}, {""}}) {
        p = ReportPaper{QPageSize::Letter, QPageLayout::Landscape};
        EXPECT_FALSE(paper_from_words(bad, p));
        EXPECT_EQ(p.size, QPageSize::Letter);  // left as it was
    }
}

}  // namespace
}  // namespace lumetra::window::qt
