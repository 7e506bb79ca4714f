#include "window/qt/form_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGraphicsDropShadowEffect>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cmath>

#include "window/qt/plot_overlay.h"
#include "window/qt/plot_widget.h"
#include "window/qt/tooltips.h"

namespace lumetra::window::qt {

namespace {

QColor to_qcolor(common::Rgb c) {
    return QColor(c.r, c.g, c.b);
}

QString to_qstring(const std::string& s) {
    return QString::fromStdString(s);
}

QFont font_for(const Control& c, double scale) {
    QFont f;
    const QStringList families =
        c.serif_font ? QStringList{"Times New Roman", "DejaVu Serif", "Liberation Serif", "serif"}
                     : QStringList{"DejaVu Sans Condensed", "Arial Narrow",
                                   "Liberation Sans Narrow", "Tahoma", "sans-serif"};
    f.setFamilies(families);
    f.setPointSizeF((c.font_pt > 0.0 ? c.font_pt : 9.0) * scale);
    f.setBold(c.bold);
    return f;
}

// Background in every state; text only while enabled, so a disabled control greys.
void set_colours(QWidget* w, QPalette::ColorRole back_role, QPalette::ColorRole text_role,
                 const Control& c) {
    QPalette pal = w->palette();
    pal.setColor(back_role, to_qcolor(c.back_color()));
    // Only a colour of its own is painted; on the window's colour the control lets
    // whatever lies under it (a frame) show through.
    if (back_role == QPalette::Window) {
        w->setAutoFillBackground(c.back_color() != common::colours::inactive_border);
    }
    pal.setColor(QPalette::Active, text_role, to_qcolor(c.fore_color()));
    pal.setColor(QPalette::Inactive, text_role, to_qcolor(c.fore_color()));
    if (pal != w->palette()) w->setPalette(pal);
}

double luminance(common::Rgb c) {
    auto lin = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(c.r) + 0.7152 * lin(c.g) + 0.0722 * lin(c.b);
}

// Pale text on the pale window (the yellow headings) gets a thin dark shadow so it
// stays readable; its colour is kept.
void shade_if_faint(QLabel* label, const Control& c) {
    const double a = luminance(c.fore_color());
    const double b = luminance(c.back_color());
    const double contrast = (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
    const bool faint = contrast < 1.8 && a > b;
    auto* shadow = qobject_cast<QGraphicsDropShadowEffect*>(label->graphicsEffect());
    // The shadow follows the glyphs only while the label's own background is not painted.
    if (faint) label->setAutoFillBackground(false);
    if (faint && !shadow) {
        shadow = new QGraphicsDropShadowEffect(label);
        shadow->setBlurRadius(0);
        shadow->setOffset(1, 1);
        shadow->setColor(QColor(96, 96, 0));
        label->setGraphicsEffect(shadow);
    } else if (!faint && shadow) {
        label->setGraphicsEffect(nullptr);
    }
}

// A text box: typing writes the model's text (its Change runs); the mouse gives
// MouseUp then Click on a left release, MouseUp alone on a right release, and
// MouseUp, Click, DblClick, MouseUp on a double click.
class FieldEdit : public QLineEdit {
  public:
    FieldEdit(TextBox& box, QWidget* parent) : QLineEdit(parent), box_(box) {}

  protected:
    void mousePressEvent(QMouseEvent* e) override {
        after_double_ = false;
        QLineEdit::mousePressEvent(e);
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        QLineEdit::mouseDoubleClickEvent(e);
        if (e->button() != Qt::LeftButton) return;
        after_double_ = true;
        if (box_.on_dbl_click) box_.on_dbl_click();
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        QLineEdit::mouseReleaseEvent(e);
        if (e->button() == Qt::LeftButton) {
            if (after_double_) {
                // The release that ends a double click.
                after_double_ = false;
                if (box_.on_mouse_up) box_.on_mouse_up(MouseButton::Left);
            } else {
                box_.user_left_click();
            }
        } else if (e->button() == Qt::RightButton) {
            box_.user_right_click();
        }
    }
    // Leaving the box by Tab or the mouse shows the start of a text too long for it;
    // a window or a menu taking the focus for a moment leaves the cursor where it was.
    void focusOutEvent(QFocusEvent* e) override {
        QLineEdit::focusOutEvent(e);
        if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
            setCursorPosition(0);
    }
    void contextMenuEvent(QContextMenuEvent* e) override {
        // The right button picks a matrix element: no menu on the matrix boxes
        // (the control arrays) nor on any other box that listens to the mouse.
        if (box_.on_mouse_up || box_.index() >= 0) {
            e->accept();
            return;
        }
        QLineEdit::contextMenuEvent(e);
    }

  private:
    TextBox& box_;
    bool after_double_ = false;
};

class ClickLabel : public QLabel {
  public:
    ClickLabel(Label& label, QWidget* parent) : QLabel(parent), label_(label) {
        setTextFormat(Qt::PlainText);
    }

  protected:
    void mouseReleaseEvent(QMouseEvent* e) override {
        QLabel::mouseReleaseEvent(e);
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) {
            label_.click();
        }
    }

  private:
    Label& label_;
};

QString button_text(const std::string& caption) {
    QString s = to_qstring(caption);
    s.replace(QLatin1Char('&'), QStringLiteral("&&"));  // no mnemonics
    return s;
}

}  // namespace

FormView::FormView(planning::Planner& planner, QWidget* parent)
    : QWidget(parent), planner_(planner), form_(planner.form()) {
    setWindowTitle(QString::fromUtf8(RADirido::kCaption));
    // The design size; the form scales with the window, keeping its proportions.
    resize(design_size());
    setMinimumSize(design_size() * kMinimumScale);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, to_qcolor(common::colours::inactive_border));
    setPalette(pal);
    setAutoFillBackground(true);
    setMouseTracking(true);

    preview_timer_ = new QTimer(this);
    preview_timer_->setInterval(0);
    connect(preview_timer_, &QTimer::timeout, this, [this] {
        if (!planner_.preview_step(3)) preview_timer_->stop();
    });

    for (Control* c : form_.controls()) create(*c);
    // Frames only group: whatever lies on them stays in front.
    for (Control* c : form_.controls()) {
        if (c->kind() == ControlKind::Frame) {
            if (QWidget* w = widget(c->name())) w->lower();
        }
    }
    for (Control* c : form_.controls()) {
        mirror(*c);
        c->observer = [this](Control& changed) { mirror(changed); };
    }
    set_tab_order();
}

// Tab follows the work: target, content, the matrix rows in order, Plot, energy and
// step, gains, width, geometry, distance, filter, then the panel's settings.
void FormView::set_tab_order() {
    std::vector<std::string> order = {"Text1", "Text51"};
    for (int i = 0; i < kRows; ++i) {
        order.push_back("Text2(" + std::to_string(i) + ")");
        order.push_back("Text52(" + std::to_string(i) + ")");
    }
    for (const char* name : {"Command1", "Text11", "Text12", "Combo2", "Text16", "Text21", "Text22",
                             "Text23", "Text24", "Text19", "Text20", "DetectorCombo"})
        order.emplace_back(name);
    for (const planning::PanelSetting& s : planner_.panel.settings)
        order.push_back(s.field->name());
    QWidget* previous = nullptr;
    for (const std::string& name : order) {
        QWidget* w = widget(name);
        if (!w) continue;
        if (previous) QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

FormView::~FormView() {
    for (Control* c : form_.controls()) c->observer = nullptr;
}

QWidget* FormView::widget(const std::string& name) const {
    auto it = by_name_.find(name);
    return it == by_name_.end() ? nullptr : it->second;
}

void FormView::create(Control& c) {
    QWidget* w = nullptr;
    switch (c.kind()) {
        case ControlKind::TextBox: {
            auto& box = static_cast<TextBox&>(c);
            auto* edit = new FieldEdit(box, this);
            edit->setTextMargins(1, 0, 1, 0);
            connect(edit, &QLineEdit::textEdited, this,
                    [&box](const QString& t) { box.set_text(t.toStdString()); });
            w = edit;
            break;
        }
        case ControlKind::Label: {
            w = new ClickLabel(static_cast<Label&>(c), this);
            break;
        }
        case ControlKind::CommandButton: {
            auto& model = static_cast<CommandButton&>(c);
            auto* button = new QPushButton(this);
            button->setFocusPolicy(Qt::TabFocus);
            connect(button, &QPushButton::clicked, this, [&model] { model.click(); });
            w = button;
            break;
        }
        case ControlKind::OptionButton: {
            auto& model = static_cast<OptionButton&>(c);
            auto* radio = new QRadioButton(this);
            // The model keeps the groups; Qt's own exclusivity would join them all.
            radio->setAutoExclusive(false);
            connect(radio, &QRadioButton::clicked, this, [&model, radio] {
                model.user_click();
                const QSignalBlocker block(radio);
                radio->setChecked(model.value());
            });
            w = radio;
            break;
        }
        case ControlKind::CheckBox: {
            auto& model = static_cast<CheckBox&>(c);
            auto* check = new QCheckBox(this);
            connect(check, &QCheckBox::clicked, this, [&model, check] {
                model.user_click();
                const QSignalBlocker block(check);
                check->setChecked(model.value() != 0);
            });
            w = check;
            break;
        }
        case ControlKind::ComboBox: {
            auto& model = static_cast<ComboBox&>(c);
            auto* combo = new QComboBox(this);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setCompleter(nullptr);
            connect(combo->lineEdit(), &QLineEdit::textEdited, this,
                    [&model](const QString& t) { model.set_text(t.toStdString()); });
            connect(combo, &QComboBox::activated, this, [&model, combo](int i) {
                if (i >= 0 && i < combo->count()) model.user_pick(combo->itemText(i).toStdString());
            });
            w = combo;
            break;
        }
        case ControlKind::PictureBox: {
            auto* plot = new PlotWidget(static_cast<PictureBox&>(c), this);
            if (&c == &form_.Picture1) {
                plot_ = plot;
                plot_->on_leave = [this] { form_.Form_MouseMove(0, 0); };
                plot_->overlay = [this](QPainter& p) { paint_overlay(p, *plot_, form_); };
            } else if (&c == &planner_.panel.ScanPicture) {
                plot->on_leave = [this] { planner_.ScanPicture_MouseLeave(); };
            }
            w = plot;
            break;
        }
        case ControlKind::Frame: {
            auto* group = new QGroupBox(this);
            w = group;
            break;
        }
        case ControlKind::LineShape:
        case ControlKind::Shape:
            return;  // painted on the window
    }
    w->setFont(font_for(c, scale_));
    const std::string tip = tooltip_for(c.name());
    if (w && !tip.empty()) w->setToolTip(QString::fromStdString(tip));
    widgets_[&c] = w;
    by_name_[c.name()] = w;
}

void FormView::mirror(Control& c) {
    // The scan preview follows a new plot, a few energies per turn of the event loop.
    if (&c == &form_.Picture1 && planner_.preview_pending() && !preview_timer_->isActive())
        preview_timer_->start();
    auto it = widgets_.find(&c);
    if (it == widgets_.end()) {
        update();  // a rule or the rectangle
        return;
    }
    QWidget* w = it->second;
    const QRect bounds = place(c);
    if (w->geometry() != bounds) w->setGeometry(bounds);
    if (w->isEnabled() != c.enabled()) w->setEnabled(c.enabled());
    const QFont font = font_for(c, scale_);
    if (w->font() != font) w->setFont(font);
    const Qt::Alignment align = (c.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter;

    switch (c.kind()) {
        case ControlKind::TextBox: {
            auto* edit = static_cast<QLineEdit*>(w);
            set_colours(edit, QPalette::Base, QPalette::Text, c);
            if (edit->alignment() != align) edit->setAlignment(align);
            const QString text = to_qstring(static_cast<TextBox&>(c).text());
            if (edit->text() != text) {
                // Only a real change moves the cursor; typing that the model keeps
                // leaves it where the user is.
                const QSignalBlocker block(edit);
                edit->setText(text);
                // A box the user is not in shows the start of its text: a long
                // content reads ".7116726…", not its last digits.
                if (!edit->hasFocus()) edit->setCursorPosition(0);
            }
            break;
        }
        case ControlKind::Label: {
            auto* label = static_cast<QLabel*>(w);
            set_colours(label, QPalette::Window, QPalette::WindowText, c);
            const QString text = to_qstring(c.caption());
            if (label->text() != text) label->setText(text);
            const int frame = c.bordered ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame;
            if (label->frameStyle() != frame) label->setFrameStyle(frame);
            // A label two lines high wraps its caption.
            const bool wrap = 2 * bounds.height() >= 3 * QFontMetrics(font).lineSpacing();
            if (label->wordWrap() != wrap) label->setWordWrap(wrap);
            const Qt::Alignment label_align =
                wrap ? ((align & Qt::AlignHorizontal_Mask) | Qt::AlignBottom) : align;
            if (label->alignment() != label_align) label->setAlignment(label_align);
            shade_if_faint(label, c);
            break;
        }
        case ControlKind::CommandButton: {
            auto* button = static_cast<QPushButton*>(w);
            set_colours(button, QPalette::Button, QPalette::ButtonText, c);
            const QString text = button_text(c.caption());
            if (button->text() != text) button->setText(text);
            break;
        }
        case ControlKind::OptionButton: {
            auto* radio = static_cast<QRadioButton*>(w);
            set_colours(radio, QPalette::Window, QPalette::WindowText, c);
            const QSignalBlocker block(radio);
            radio->setChecked(static_cast<OptionButton&>(c).value());
            break;
        }
        case ControlKind::CheckBox: {
            auto* check = static_cast<QCheckBox*>(w);
            set_colours(check, QPalette::Window, QPalette::WindowText, c);
            const QSignalBlocker block(check);
            check->setChecked(static_cast<CheckBox&>(c).value() != 0);
            break;
        }
        case ControlKind::ComboBox: {
            auto& model = static_cast<ComboBox&>(c);
            auto* combo = static_cast<QComboBox*>(w);
            set_colours(combo, QPalette::Base, QPalette::Text, c);
            const QSignalBlocker block(combo);
            const auto& items = model.items();
            bool same = combo->count() == static_cast<int>(items.size());
            for (int i = 0; same && i < combo->count(); ++i) {
                same = combo->itemText(i) == to_qstring(items[static_cast<std::size_t>(i)]);
            }
            if (!same) {
                combo->clear();
                for (const std::string& item : items) combo->addItem(to_qstring(item));
            }
            const QString text = to_qstring(model.text());
            if (combo->currentText() != text) combo->setEditText(text);
            break;
        }
        case ControlKind::PictureBox:
            static_cast<PlotWidget*>(w)->sync();
            break;
        case ControlKind::Frame: {
            auto* group = static_cast<QGroupBox*>(w);
            set_colours(group, QPalette::Window, QPalette::WindowText, c);
            const QString title = to_qstring(c.caption());
            if (group->title() != title) group->setTitle(title);
            break;
        }
        case ControlKind::LineShape:
        case ControlKind::Shape:
            break;
    }
    if (w->isVisibleTo(this) != c.visible()) w->setVisible(c.visible());
}

void FormView::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(0, 0, 0), 1));
    p.setBrush(Qt::NoBrush);
    for (Control* c : form_.controls()) {
        if (!c->visible()) continue;
        if (c->kind() == ControlKind::LineShape) {
            const auto* line = static_cast<const LineShape*>(c);
            p.drawLine(at(line->x1, line->y1), at(line->x2, line->y2));
        } else if (c->kind() == ControlKind::Shape) {
            p.drawRect(place(*c).adjusted(0, 0, -1, -1));
        }
    }
}

namespace {

// The stretch of one interval [start, start + length) of the design by `extra`
// pixels: nothing before it, in proportion within it, all of it after it.
double stretch(int v, int start, int length, int extra) {
    if (extra <= 0 || length <= 0) return 0.0;
    return extra * std::clamp((v - start) / double(length), 0.0, 1.0);
}

// The inverse: the design coordinate (twips) of pixel `p` under scale and stretch.
double unstretch(double p, double scale, int start, int length, int extra) {
    const double start_px = start * scale / FormView::kTwipsPerPixel;
    const double length_px = length * scale / FormView::kTwipsPerPixel;
    double design_px = p;
    if (extra > 0 && p > start_px)
        design_px = p <= start_px + length_px + extra
                        ? start_px + (p - start_px) * length_px / (length_px + extra)
                        : p - extra;
    return design_px / scale * FormView::kTwipsPerPixel;
}

}  // namespace

void FormView::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    // The pointer beside the plot: design coordinates as the plot's stretch maps them.
    const Control& plot = form_.Picture1;
    const double x =
        unstretch(event->position().x(), scale_, plot.left(), plot.width(), extra_width_);
    const double y =
        unstretch(event->position().y(), scale_, plot.top(), plot.height(), extra_height_);
    form_.Form_MouseMove(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)));
}

QSize FormView::design_size() {
    return {static_cast<int>(std::lround(planning::Planner::kWindowWidth / double(kTwipsPerPixel))),
            static_cast<int>(std::lround(RADirido::kClientHeight / double(kTwipsPerPixel)))};
}

// The plot's marks under it follow its bottom; everything right of the form moves
// with the panel.
FormView::Region FormView::region_of(const Control& c) const {
    if (c.left() >= planning::Panel::kLeft) return Region::panel;
    const std::array<const Control*, 7> plot_group = {
        &form_.Picture1, &form_.Label55, &form_.Label20, &form_.Label56,
        &form_.Label14,  &form_.Label21, &form_.Label15};
    for (const Control* member : plot_group)
        if (&c == member) return Region::plot;
    return Region::form;
}

// Twips to pixels by one factor; the plot, and the panel's scan preview, take what
// the window has beyond the design's proportions.
QPoint FormView::at(int x_twips, int y_twips, Region region) const {
    double x = x_twips * scale_ / kTwipsPerPixel;
    double y = y_twips * scale_ / kTwipsPerPixel;
    const Control& plot = form_.Picture1;
    const Control& scan = planner_.panel.ScanPicture;
    switch (region) {
        case Region::form:
            break;
        case Region::plot:
            x += stretch(x_twips, plot.left(), plot.width(), extra_width_);
            y += stretch(y_twips, plot.top(), plot.height(), extra_height_);
            break;
        case Region::panel:
            x += extra_width_;
            y += stretch(y_twips, scan.top(), scan.height(), extra_height_);
            break;
    }
    return {static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))};
}

QRect FormView::place(const Control& c) const {
    const Region region = region_of(c);
    const QPoint top_left = at(c.left(), c.top(), region);
    // Beside the scan preview the panel's fields and buttons move with its stretch but
    // keep their own height.
    if (region == Region::panel && &c != &planner_.panel.ScanPicture) {
        const QPoint size = at(c.left() + c.width(), c.height(), Region::form);
        const QPoint origin = at(c.left(), 0, Region::form);
        return {top_left, QSize(size.x() - origin.x(), size.y() - origin.y())};
    }
    const QPoint bottom_right = at(c.left() + c.width(), c.top() + c.height(), region);
    return {top_left, QSize(bottom_right.x() - top_left.x(), bottom_right.y() - top_left.y())};
}

void FormView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QSize design = design_size();
    const double sx = width() / double(design.width());
    const double sy = height() / double(design.height());
    const double scale = std::max(std::min(sx, sy), 0.05);
    const int extra_width = std::max(0, static_cast<int>(width() - design.width() * scale));
    const int extra_height = std::max(0, static_cast<int>(height() - design.height() * scale));
    if (scale == scale_ && extra_width == extra_width_ && extra_height == extra_height_) return;
    scale_ = scale;
    extra_width_ = extra_width;
    extra_height_ = extra_height;
    for (Control* c : form_.controls()) mirror(*c);
    update();
}

}  // namespace lumetra::window::qt
