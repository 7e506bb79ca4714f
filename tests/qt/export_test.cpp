// The plot exported as PNG, SVG and PDF: readable files that show the spectrum,
// its energy axis and its caption, and no file at all when the export fails.

#include "window/qt/export.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <set>
#include <string>

#include "common/dialogs.h"
#include "common/machine.h"
#include "qt/copper_in_water.h"
#include "window/radirido.h"

namespace lumetra::window::qt {
namespace {

// Copper in water: the amplifier's 10 V stand at 9.745 keV.
class Export : public CopperInWater {
  protected:
    std::string path(const char* name) const { return file(name).toStdString(); }
};

TEST_F(Export, PngShowsThePlotInItsColoursAndLeavesTheDrawingAlone) {
    const auto ops_before = form.Picture1.picture().ops().size();
    const auto revision_before = form.Picture1.picture().revision();
    ASSERT_EQ(export_picture(form, path("cu.png"), "png", QSize(800, 500)), "");
    EXPECT_EQ(form.Picture1.picture().ops().size(), ops_before);
    EXPECT_EQ(form.Picture1.picture().revision(), revision_before);

    const QImage image(dir.filePath("cu.png"));
    ASSERT_EQ(image.size(), QSize(800, 500));
    EXPECT_GT(share_of(image, QColor(64, 64, 64)), 0.3);   // the plot's background
    EXPECT_GT(share_of(image, QColor(255, 150, 255)), 0);  // the K-alpha line
    EXPECT_GT(share_of(image, QColor(25, 255, 25)), 0);    // the target's other lines
}

TEST_F(Export, SvgIsWellFormedWithCurvesCaptionAndKeVTicks) {
    ASSERT_EQ(export_picture(form, path("cu.svg"), "svg"), "");
    QFile file(dir.filePath("cu.svg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    int curves = 0;
    bool svg_root = false;
    std::set<QString> texts;
    QString all_text;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == u"svg") svg_root = true;
        if (xml.name() == u"path" || xml.name() == u"polyline") ++curves;
        if (xml.name() == u"text") {
            const QString t = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            texts.insert(t.trimmed());
            all_text += t + "\n";
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_TRUE(svg_root);
    EXPECT_GT(curves, 1000);  // a bar per channel and layer
    EXPECT_TRUE(all_text.contains("Cu K edge")) << all_text.toStdString();
    EXPECT_TRUE(all_text.contains("K-alpha 1&2"));
    EXPECT_TRUE(all_text.contains("classic model"));
    // 0 .. 9.745 keV with at most ten intervals: whole keV from 0 to 9.
    for (const char* tick : {"0", "1", "5", "9"}) EXPECT_EQ(texts.count(tick), 1u) << tick;
    EXPECT_EQ(texts.count("10"), 0u);
}

TEST_F(Export, PdfPageRendersAsAPicture) {
    const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
    if (pdftoppm.isEmpty()) LUMETRA_SKIP_WITHOUT("pdftoppm");
    ASSERT_EQ(export_picture(form, path("cu.pdf"), "pdf"), "");
    QProcess p;
    p.start(pdftoppm, {"-png", "-r", "50", "-f", "1", "-l", "1", dir.filePath("cu.pdf"),
                       dir.filePath("page")});
    ASSERT_TRUE(p.waitForFinished(30000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QStringList pages = QDir(dir.path()).entryList({"page*.png"});
    ASSERT_EQ(pages.size(), 1);
    const QImage page(dir.filePath(pages[0]));
    // 1600 x 1000 pixels at 160 per inch: a 10 x 6.25 inch page, 500 x 313 at 50 dpi.
    EXPECT_NEAR(page.width(), 500, 1);
    EXPECT_NEAR(page.height(), 313, 1);
    EXPECT_LT(share_of(page, Qt::white), 0.7);
    EXPECT_GT(share_of(page, QColor(64, 64, 64)), 0.3);
}

TEST_F(Export, RefusedExportsLeaveNoFile) {
    const std::string missing = path("missing") + "/a.";
    const std::pair<std::string, std::string> refused[] = {
        {missing + "png", "png"},          {missing + "svg", "svg"}, {missing + "pdf", "pdf"},
        {dir.path().toStdString(), "png"}, {path("a.gif"), "gif"},   {"", "png"}};
    for (const auto& [file, format] : refused)
        EXPECT_NE(export_picture(form, file, format, QSize(800, 500)), "") << file;
    for (const QSize size : {QSize(10, 10), QSize(100000, 500), QSize(-800, 500)})
        EXPECT_NE(export_picture(form, path("a.png"), "png", size), "") << size.width();
    EXPECT_TRUE(QDir(dir.path()).isEmpty(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden));
}

TEST_F(Export, WithoutASpectrumTheEmptyPlotGoesOutWithItsCaption) {
    form.Command3.click();  // All Clear
    ASSERT_LE(form.st.Calc_state, 0);
    EXPECT_TRUE(export_caption(form).contains("no spectrum"));
    for (const char* format : {"png", "svg", "pdf"}) {
        const std::string file = path("empty.") + format;
        EXPECT_EQ(export_picture(form, file, format, QSize(400, 300)), "") << format;
        EXPECT_GT(QFile(QString::fromStdString(file)).size(), 0) << format;
    }
}

}  // namespace
}  // namespace lumetra::window::qt
