#pragma once
// The report of a planned measurement, printed or saved as PDF: a caption, the
// figure of the plot with its axes and legend, the whole setup and every result the
// window shows (setup_lines and result_lines, the lines the spectrum file's header
// carries) and the scan preview. It is laid out on the device's page inside its
// margins, in point sizes; what does not fit on a page goes on the next one, so
// that nothing is cut whatever the paper and its orientation. Needs a running
// QApplication.

#include <QPageLayout>
#include <QPageSize>
#include <string>
#include <vector>

class QPagedPaintDevice;

namespace lumetra::planning {
class Planner;
}

namespace lumetra::window::qt {

struct ReportPaper {
    QPageSize::PageSizeId size = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
};

// The paper named by words such as "a4", "letter", "portrait", "landscape" (any
// order, either may be left out: A4, portrait); false for any other word.
bool paper_from_words(const std::vector<std::string>& words, ReportPaper& paper);

// The margins of a report page on every side, millimetres.
constexpr double kReportMarginMm = 15.0;

// Paints the report on a printer or a PDF writer, in the page layout it has,
// beginning pages as needed. A scan preview still being computed is finished first.
// Returns whether the device could be painted on.
bool paint_report(QPagedPaintDevice& device, planning::Planner& planner);

// Writes the report as the PDF file `path` on the paper. The file is replaced whole
// or not at all. Returns "" when saved, else the message for the user.
std::string export_report(planning::Planner& planner, const std::string& path,
                          ReportPaper paper = {});

}  // namespace lumetra::window::qt
