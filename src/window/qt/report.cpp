// The report of a planned measurement on paged devices (see report.h).

#include "window/qt/report.h"

#include <QApplication>
#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <utility>

#include "io/file_io.h"
#include "planning/planner.h"
#include "planning/report_lines.h"
#include "window/qt/export.h"
#include "window/radirido.h"

namespace lumetra::window::qt {

namespace {

constexpr double kPointsPerInch = 72.0;
constexpr double kTitlePoints = 14.0;
constexpr double kHeadingPoints = 11.0;
constexpr double kTextPoints = 9.0;
constexpr double kFooterPoints = 7.5;
constexpr double kFigureAspect = 1.6;  // width : height of the plot's figure
constexpr int kFigureWidth = 1600;     // the figure's own units across

// A page of the device and a cursor going down it, in device units; a block that
// does not fit below the cursor goes on a new page.
class Pages {
  public:
    Pages(QPagedPaintDevice& device, QPainter& p) : device_(device), p_(p) {
        dpi_ = device.logicalDpiY() > 0 ? device.logicalDpiY() : 72;
        width_ = device.width();
        footer_ = text_font(kFooterPoints);
        height_ = device.height() - 2.0 * QFontMetricsF(footer_, &device).height();
    }
    ~Pages() { footer(); }
    Pages(const Pages&) = delete;
    Pages& operator=(const Pages&) = delete;

    double points(double pt) const { return pt * dpi_ / kPointsPerInch; }
    double width() const { return width_; }
    double height() const { return height_; }
    double y() const { return y_; }
    double left() const { return height_ - y_; }
    QFont text_font(double pt, bool bold = false) const {
        QFont font = QGuiApplication::font();
        font.setPointSizeF(pt);
        font.setBold(bold);
        // Plain letters, no ligatures: a key such as "filter" copied from the PDF reads
        // back as typed.
        font.setStyleStrategy(QFont::PreferNoShaping);
        return font;
    }
    QFontMetricsF metrics(const QFont& font) const { return QFontMetricsF(font, &device_); }

    // Room for `h` below the cursor, on this page or a new one.
    void need(double h) {
        if (y_ > 0.0 && y_ + h > height_) {
            footer();
            device_.newPage();
            ++page_;
            y_ = 0.0;
        }
    }
    void advance(double h) { y_ += h; }

  private:
    void footer() {
        p_.save();
        p_.setFont(footer_);
        p_.setPen(Qt::darkGray);
        const QFontMetricsF fm = metrics(footer_);
        p_.drawText(QRectF(0, device_.height() - fm.height(), width_, fm.height()),
                    Qt::AlignRight | Qt::AlignVCenter,
                    QStringLiteral("%1 report, page %2")
                        .arg(QString::fromUtf8(RADirido::kCaption))
                        .arg(page_));
        p_.restore();
    }

    QPagedPaintDevice& device_;
    QPainter& p_;
    int dpi_ = 72;
    double width_ = 0.0, height_ = 0.0, y_ = 0.0;
    int page_ = 1;
    QFont footer_;
};

// The text broken into lines of at most `width`, at word boundaries where it can
// be, anywhere else.
std::vector<QString> wrapped(const QString& text, const QFont& font, QPaintDevice* device,
                             double width) {
    QTextLayout layout(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    std::vector<QString> out;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(1.0, width));
        out.push_back(text.mid(line.textStart(), line.textLength()).trimmed());
    }
    layout.endLayout();
    if (out.empty()) out.emplace_back();
    return out;
}

void paragraph(QPainter& p, Pages& pages, const QString& text, const QFont& font) {
    p.setFont(font);
    const QFontMetricsF fm = pages.metrics(font);
    for (const QString& line : wrapped(text, font, p.device(), pages.width())) {
        pages.need(fm.lineSpacing());
        p.drawText(QPointF(0, pages.y() + fm.ascent()), line);
        pages.advance(fm.lineSpacing());
    }
}

// A heading stays on the page of the first `keep` of what follows it (by default two
// lines of text).
void heading(QPainter& p, Pages& pages, const QString& text, double keep = 0.0) {
    const QFont font = pages.text_font(kHeadingPoints, true);
    const QFontMetricsF fm = pages.metrics(font);
    if (!(keep > 0.0)) keep = 2.0 * pages.metrics(pages.text_font(kTextPoints)).lineSpacing();
    pages.need(fm.lineSpacing() * 1.6 + keep);
    pages.advance(fm.lineSpacing() * 0.6);
    paragraph(p, pages, text, font);
}

// "key: value" lines as a table: the keys in a column as wide as the widest (at most
// 40 % of the page), the values beside them, wrapped within the rest.
void key_value_table(QPainter& p, Pages& pages, const std::vector<std::string>& lines) {
    const QFont font = pages.text_font(kTextPoints);
    const QFontMetricsF fm = pages.metrics(font);
    std::vector<std::pair<QString, QString>> rows;
    double key_width = 0.0;
    for (const std::string& line : lines) {
        const QString text = QString::fromStdString(line);
        const int colon = text.indexOf(QStringLiteral(": "));
        rows.emplace_back(colon < 0 ? text : text.left(colon),
                          colon < 0 ? QString() : text.mid(colon + 2));
        key_width = std::max(key_width, fm.horizontalAdvance(rows.back().first));
    }
    const double gap = pages.points(8.0);
    key_width = std::min(key_width, 0.4 * pages.width());
    const double value_left = key_width + gap;
    p.setFont(font);
    for (const auto& [key, value] : rows) {
        const std::vector<QString> keys = wrapped(key, font, p.device(), key_width);
        const std::vector<QString> values =
            wrapped(value, font, p.device(), pages.width() - value_left);
        for (std::size_t i = 0; i < std::max(keys.size(), values.size()); ++i) {
            pages.need(fm.lineSpacing());
            const double baseline = pages.y() + fm.ascent();
            p.setPen(Qt::darkGray);
            if (i < keys.size()) p.drawText(QPointF(0, baseline), keys[i]);
            p.setPen(Qt::black);
            if (i < values.size()) p.drawText(QPointF(value_left, baseline), values[i]);
            pages.advance(fm.lineSpacing());
        }
    }
}

// A picture block `h` high across the page, with a frame; `paint` draws it into
// the rectangle.
template <class Paint>
void picture_block(Pages& pages, double h, Paint paint) {
    pages.need(h);
    const QRectF area(0, pages.y(), pages.width(), h);
    paint(area);
    pages.advance(h + pages.points(4.0));
}

// The height a picture of this aspect (width : height) takes across the page: at
// most `share` of the page's height.
double block_height(const Pages& pages, double aspect, double share) {
    return std::min(pages.width() / aspect, share * pages.height());
}

// The plot's figure at its own aspect, centred across the page.
void figure(QPainter& p, Pages& pages, const RADirido& form) {
    const double h = block_height(pages, kFigureAspect, 0.55);
    const double w = h * kFigureAspect;
    picture_block(pages, h, [&](const QRectF& block) {
        const QRectF area(block.left() + (block.width() - w) / 2.0, block.top(), w, h);
        const double scale = w / kFigureWidth;
        const QSize canvas(kFigureWidth, static_cast<int>(std::lround(h / scale)));
        p.save();
        p.translate(area.topLeft());
        p.scale(scale, scale);
        draw_figure(p, canvas, form);
        p.restore();
        p.setPen(QPen(Qt::black, 0));
        p.setBrush(Qt::NoBrush);
        p.drawRect(area);
    });
}

double preview_aspect(const planning::Planner& planner) {
    const PictureBox& box = planner.panel.ScanPicture;
    return box.height() > 0 && box.width() > 0 ? static_cast<double>(box.width()) / box.height()
                                               : 2.0;
}

double preview_height(const Pages& pages, const planning::Planner& planner) {
    return block_height(pages, preview_aspect(planner), 0.4);
}

void scan_preview(QPainter& p, Pages& pages, const planning::Planner& planner) {
    const PictureBox& box = planner.panel.ScanPicture;
    const double aspect = preview_aspect(planner);
    const double h = preview_height(pages, planner);
    picture_block(pages, h, [&](const QRectF& area) {
        const QRect rect(QPoint(static_cast<int>(area.left()), static_cast<int>(area.top())),
                         QSize(static_cast<int>(h * aspect), static_cast<int>(h)));
        // Replayed at the panel's own pixel size, scaled to the page, so that its
        // texts keep their proportion to its curves.
        const QSize native(std::max(1, box.width() / 15),
                           std::max(1, static_cast<int>(std::lround(box.width() / 15 / aspect))));
        const double scale = rect.width() / static_cast<double>(native.width());
        p.save();
        p.setClipRect(rect);
        p.translate(rect.topLeft());
        p.scale(scale, scale);
        QFont font = QGuiApplication::font();
        font.setPixelSize(11);
        paint_picture(p, QRect(QPoint(0, 0), native), box.picture(), font);
        p.restore();
        p.setPen(QPen(Qt::black, 0));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect);
    });
}

}  // namespace

bool paper_from_words(const std::vector<std::string>& words, ReportPaper& paper) {
    ReportPaper out;
    bool size = false, orientation = false;
    for (std::string w : words) {
        std::transform(w.begin(), w.end(), w.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (!size && (w == "a4" || w == "letter")) {
            out.size = w == "a4" ? QPageSize::A4 : QPageSize::Letter;
            size = true;
        } else if (!orientation && (w == "portrait" || w == "landscape")) {
            out.orientation = w == "portrait" ? QPageLayout::Portrait : QPageLayout::Landscape;
            orientation = true;
        } else {
            return false;
        }
    }
    paper = out;
    return true;
}

bool paint_report(QPagedPaintDevice& device, planning::Planner& planner) {
    const RADirido& form = planner.form();
    if (planner.preview_pending()) planner.preview_finish();
    QPainter p;
    if (!p.begin(&device)) return false;
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    {
        Pages pages(device, p);
        paragraph(p, pages, QString::fromUtf8(RADirido::kCaption) + " report",
                  pages.text_font(kTitlePoints, true));
        paragraph(p, pages, export_caption(form), pages.text_font(kHeadingPoints - 1.0));
        pages.advance(pages.points(6.0));
        figure(p, pages, form);
        heading(p, pages, QStringLiteral("Setup"));
        key_value_table(p, pages, planning::setup_lines(planner));
        heading(p, pages, QStringLiteral("Results"));
        key_value_table(p, pages, planning::result_lines(planner));
        heading(p, pages, QString::fromStdString(planner.panel.ScanTitle.caption()),
                preview_height(pages, planner));
        scan_preview(p, pages, planner);
    }
    return p.end();
}

std::string export_report(planning::Planner& planner, const std::string& path, ReportPaper paper) {
    const RADirido& form = planner.form();
    if (path.empty()) return "No file name was given. Nothing was saved.";
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return "The report needs the window system, which is not running. Nothing was saved.";
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        if (!buffer.open(QIODevice::WriteOnly))
            return "The report could not be made (out of memory?). Nothing was saved.";
        QPdfWriter pdf(&buffer);
        pdf.setResolution(600);
        pdf.setPageLayout(QPageLayout(
            QPageSize(paper.size), paper.orientation,
            QMarginsF(kReportMarginMm, kReportMarginMm, kReportMarginMm, kReportMarginMm),
            QPageLayout::Millimeter));
        pdf.setTitle(export_caption(form));
        pdf.setCreator(QString::fromUtf8(RADirido::kCaption));
        if (!paint_report(pdf, planner))
            return "The report could not be drawn (out of memory?). Nothing was saved.";
    }
    if (bytes.isEmpty())
        return "The report could not be drawn (out of memory?). Nothing was saved.";
    return io::write_replacing(path, bytes.toStdString());
}

}  // namespace lumetra::window::qt
