#include "window/qt/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QKeySequence>
#include <QMenuBar>
#include <QMessageBox>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "window/qt/form_view.h"

#ifndef LUMETRA_VERSION
#define LUMETRA_VERSION "1.33"
#endif

namespace lumetra::window::qt {

MainWindow::MainWindow(RADirido& form, common::Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), form_(form), dialogs_(dialogs) {
    setWindowTitle(QString::fromUtf8(RADirido::kCaption));
    view_ = new FormView(form, this);
    setCentralWidget(view_);
    build_file_menu();
    build_edit_menu();
    build_view_menu();
    build_help_menu();
    resize(FormView::design_size() + QSize(0, menuBar()->sizeHint().height()));
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
    m->addAction(tr("&Quit"), QKeySequence::Quit, this, &QWidget::close);
}

void MainWindow::build_edit_menu() {
    menuBar()->addMenu(tr("&Edit"));
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
    const std::string problem = form_.save_setup(name);
    if (!problem.empty()) dialogs_.titled_message("Save setup", problem);
}

void MainWindow::load_setup() {
    const std::string name = dialogs_.load_file_name();
    if (name.empty()) return;
    const std::string problem = form_.load_setup(name);
    if (!problem.empty()) dialogs_.titled_message("Load setup", problem);
}

void MainWindow::show_quick_guide() {
    auto* dialog = new QDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(tr("Lumetra quick guide"));
    auto* layout = new QVBoxLayout(dialog);
    auto* browser = new QTextBrowser(dialog);
    QFile guide(QStringLiteral(":/help/quick_guide.html"));
    if (guide.open(QIODevice::ReadOnly)) browser->setHtml(QString::fromUtf8(guide.readAll()));
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
