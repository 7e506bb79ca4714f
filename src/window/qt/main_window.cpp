#include "window/qt/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "window/qt/composition_dialog.h"
#include "window/qt/export.h"
#include "window/qt/form_view.h"
#include "window/qt/quick_guide.h"
#include "window/qt/report.h"
#include "planning/spectrum_csv.h"

#ifndef LUMETRA_VERSION
#define LUMETRA_VERSION "1.33"
#endif

namespace lumetra::window::qt {

MainWindow::MainWindow(planning::Planner& planner, common::Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), planner_(planner), form_(planner.form()), dialogs_(dialogs) {
    setWindowTitle(QString::fromUtf8(RADirido::kCaption));
    view_ = new FormView(planner, this);
    // Below the size at which every caption reads, the form scrolls instead of shrinking.
    auto* area = new QScrollArea(this);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(view_);
    setCentralWidget(area);
    build_file_menu();
    build_edit_menu();
    build_view_menu();
    build_help_menu();
    resize(FormView::design_size() + QSize(0, menuBar()->sizeHint().height()));
    // Never narrower than the menu bar: a folded bar would hide its menus behind a button.
    setMinimumSize(menuBar()->sizeHint().width(), menuBar()->sizeHint().height() + 120);
    form_.on_composition_request = [this] { open_composition(); };
    choose_printer = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };
    keep_shortcuts_from_fields();
    if (QWidget* b = view_->widget("CompositionButton")) b->installEventFilter(this);
}

MainWindow::~MainWindow() {
    form_.on_composition_request = nullptr;
}

QAction* MainWindow::action(const QString& text) const {
    for (QAction* a : findChildren<QAction*>()) {
        QString t = a->text();
        t.remove(QLatin1Char('&'));
        if (t.endsWith(QStringLiteral("…"))) t.chop(1);
        if (t == text) return a;
    }
    return nullptr;
}

void MainWindow::build_file_menu() {
    QMenu* m = menuBar()->addMenu(tr("&File"));
    m->addAction(tr("&Load composition…"), QKeySequence::Open, this,
                 [this] { form_.Command6.click(); });
    m->addAction(tr("&Save composition…"), QKeySequence::Save, this,
                 [this] { form_.Command5.click(); });
    m->addSeparator();
    m->addAction(tr("Load setup…"), this, &MainWindow::load_setup);
    m->addAction(tr("Save setup…"), this, &MainWindow::save_setup);
    m->addSeparator();
    m->addAction(tr("&Export spectrum…"), QKeySequence(tr("Ctrl+E")), this,
                 &MainWindow::export_spectrum);
    m->addAction(tr("Export &picture…"), this, &MainWindow::export_figure);
    m->addAction(tr("Export &report…"), this, &MainWindow::export_report);
    m->addAction(tr("&Print…"), QKeySequence::Print, this, &MainWindow::print);
    m->addSeparator();
    QAction* quit = m->addAction(tr("&Quit"), QKeySequence::Quit, this, &QWidget::close);
    if (quit->shortcut().isEmpty()) quit->setShortcut(QKeySequence(tr("Ctrl+Q")));
}

void MainWindow::build_edit_menu() {
    QMenu* m = menuBar()->addMenu(tr("&Edit"));
    m->addAction(tr("C&omposition…"), this, &MainWindow::open_composition);
    m->addSeparator();
    m->addAction(tr("Copy &picture"), this, [this] {
        QImage image(1600, 1000, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        draw_figure(p, image.size(), form_);
        p.end();
        QApplication::clipboard()->setImage(image);
    });
    // Ctrl+C copies the spectrum while the plot has the focus; elsewhere it copies text.
    QAction* copy = m->addAction(tr("Copy spectrum as &text"), this, [this] {
        QApplication::clipboard()->setText(QString::fromStdString(planning::spectrum_csv(planner_)));
    });
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    if (QWidget* plot = view_->widget("Picture1")) {
        plot->setFocusPolicy(Qt::ClickFocus);
        plot->addAction(copy);
    }
}

// The composition entry: the dialog, and the form's button opens it too. The button's
// tooltip shows the current composition in weight %.
void MainWindow::open_composition() {
    CompositionDialog dialog(planner_, this);
    dialog.exec();
}

// A text field takes the keys it edits with before the window's shortcuts see them,
// among them some a menu uses (Ctrl+E moves to the end of the line in some desktops'
// key schemes). The menus' shortcuts win, save the field's copy, cut, paste, undo,
// redo and select-all.
void MainWindow::keep_shortcuts_from_fields() {
    qApp->installEventFilter(this);  // every field of the window, also those made later
}

bool MainWindow::menu_shortcut(const QKeySequence& keys) const {
    for (const QKeySequence::StandardKey edit :
         {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste, QKeySequence::Undo,
          QKeySequence::Redo, QKeySequence::SelectAll})
        if (QKeySequence::keyBindings(edit).contains(keys)) return false;
    for (const QAction* a : findChildren<QAction*>())
        if (a->isEnabled() && a->shortcutContext() != Qt::WidgetShortcut &&
            a->shortcuts().contains(keys))
            return true;
    return false;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const auto* field = qobject_cast<QLineEdit*>(watched);
    if (event->type() == QEvent::ShortcutOverride && field && field->window() == this) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (menu_shortcut(QKeySequence(key->keyCombination()))) {
            event->ignore();  // the shortcut goes to the menu
            return true;
        }
    }
    if (event->type() == QEvent::ToolTip && watched == view_->widget("CompositionButton")) {
        const std::string now = form_.composition_in_weight_percent();
        static_cast<QWidget*>(watched)->setToolTip(
            tr("Enter a composition as a lab writes it.\nNow: %1")
                .arg(now.empty() ? tr("no composition") : QString::fromStdString(now)));
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::export_spectrum() {
    const std::string name = dialogs_.save_file_name("spectrum.csv");
    if (name.empty()) return;
    const std::string problem = planning::save_spectrum_csv(planner_, name);
    if (!problem.empty()) dialogs_.titled_message("Export spectrum", problem);
}

void MainWindow::export_figure() {
    const std::string name = dialogs_.save_file_name("spectrum.png");
    if (name.empty()) return;
    // The format follows the name's ending: .svg, .pdf, else PNG.
    const QString suffix = QFileInfo(QString::fromStdString(name)).suffix().toLower();
    const std::string format = suffix == QStringLiteral("svg")   ? "svg"
                               : suffix == QStringLiteral("pdf") ? "pdf"
                                                                 : "png";
    const std::string problem = export_picture(form_, name, format);
    if (!problem.empty()) dialogs_.titled_message("Export picture", problem);
}

void MainWindow::export_report() {
    const std::string name = dialogs_.save_file_name("report.pdf");
    if (name.empty()) return;
    const std::string problem = qt::export_report(planner_, name);
    if (!problem.empty()) dialogs_.titled_message("Export report", problem);
}

// The report on the printer the user chooses, laid out as the PDF report is. A
// cancelled dialog prints nothing.
void MainWindow::print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageMargins(QMarginsF(kReportMarginMm, kReportMarginMm, kReportMarginMm,
                                     kReportMarginMm),
                           QPageLayout::Millimeter);
    printer.setDocName(export_caption(form_));
    if (!choose_printer(printer)) return;
    if (!paint_report(printer, planner_))
        dialogs_.titled_message("Print", "The printer could not be used. Nothing was printed.");
}

void MainWindow::build_view_menu() {
    QMenu* m = menuBar()->addMenu(tr("&View"));
    m->addAction(tr("&Full view"), this, [this] {
        if (form_.Picture1.on_mouse_up) form_.Picture1.on_mouse_up(MouseButton::Right, 0, 0);
    });
    m->addSeparator();
    auto* scale = new QActionGroup(this);
    linear_ = m->addAction(tr("&Linear"), this, [this] { form_.Option3.user_click(); });
    logarithmic_ = m->addAction(tr("L&ogarithmic"), this, [this] { form_.Option4.user_click(); });
    for (QAction* a : {linear_, logarithmic_}) {
        a->setCheckable(true);
        scale->addAction(a);
    }
    m->addSeparator();
    const std::pair<const char*, CheckBox*> layers[] = {{"Ar fluorescence", &form_.Check1},
                                                        {"Elastic scattering", &form_.Check11},
                                                        {"Escape and Ge", &form_.Check21},
                                                        {"Pile up", &form_.Check3}};
    for (const auto& [text, box] : layers) {
        QAction* a = m->addAction(tr(text));
        a->setCheckable(true);
        CheckBox* check = box;
        connect(a, &QAction::triggered, this, [check](bool on) {
            if ((check->value() != 0) != on) check->user_click();
        });
        layers_.emplace_back(a, check);
    }
    connect(m, &QMenu::aboutToShow, this, &MainWindow::sync_view_menu);
    sync_view_menu();
}

void MainWindow::sync_view_menu() {
    linear_->setChecked(form_.Option3.value());
    logarithmic_->setChecked(form_.Option4.value());
    for (auto& [a, check] : layers_) a->setChecked(check->value() != 0);
}

void MainWindow::build_help_menu() {
    QMenu* m = menuBar()->addMenu(tr("&Help"));
    m->addAction(tr("&Quick guide"), QKeySequence::HelpContents, this,
                 &MainWindow::show_quick_guide);
    m->addAction(tr("&About Lumetra"), this, &MainWindow::show_about);
}

void MainWindow::save_setup() {
    const std::string name = dialogs_.save_file_name("setup1.json");
    if (name.empty()) return;
    const std::string problem = planner_.save_setup(name);
    if (!problem.empty()) dialogs_.titled_message("Save setup", problem);
}

void MainWindow::load_setup() {
    const std::string name = dialogs_.load_file_name();
    if (name.empty()) return;
    const std::string problem = planner_.load_setup(name);
    if (!problem.empty()) dialogs_.titled_message("Load setup", problem);
}

void MainWindow::show_quick_guide() {
    auto* dialog = new QDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(tr("Lumetra quick guide"));
    auto* layout = new QVBoxLayout(dialog);
    auto* browser = new QTextBrowser(dialog);
    browser->setHtml(quick_guide_html());
    browser->setOpenExternalLinks(false);
    layout->addWidget(browser);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
    layout->addWidget(buttons);
    dialog->resize(640, 720);
    dialog->show();
}

void MainWindow::show_about() {
    QMessageBox::about(
        this, tr("About Lumetra"),
        tr("<h3>Lumetra %1</h3>"
           "<p>Plans fluorescence-mode X-ray absorption measurements: the pulse-height spectrum "
           "an energy-dispersive detector records, and the count rates of the fundamental-"
           "parameter model.</p>"
           "<p>Licence: MIT (see the file LICENSE that comes with the program).</p>"
           "<p>Physics data: the classic model's tables were generated from the xraylib "
           "library (Kissel and other public data sets); the fundamental-parameter model calls "
           "xraylib at run time.</p>")
            .arg(QStringLiteral(LUMETRA_VERSION)));
}

}  // namespace lumetra::window::qt
