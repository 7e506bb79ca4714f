#pragma once
// The program's main window: the form and its planning panel, scaled to the window,
// under the desktop's menus and shortcuts. Every menu item runs the handler its
// button runs, with the same messages.

#include <QMainWindow>
#include <functional>

#include "common/dialogs.h"
#include "planning/planner.h"
#include "window/radirido.h"

class QAction;
class QPrinter;

namespace lumetra::window::qt {

class FormView;

class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    // The planner and the dialogs must outlive the window.
    MainWindow(planning::Planner& planner, common::Dialogs& dialogs, QWidget* parent = nullptr);
    ~MainWindow() override;
    FormView* view() const { return view_; }
    // A menu action by its text without the ellipsis ("Save setup"), or nullptr.
    QAction* action(const QString& text) const;

    // The handlers of the menus that have no button of their own.
    void save_setup();
    void load_setup();
    void open_composition();
    void export_spectrum();
    void export_figure();
    void export_report();
    void print();

    // Asks for the printer's settings; false when the user cancels. The desktop's
    // print dialog, unless a test puts its own here.
    std::function<bool(QPrinter&)> choose_printer;
    void show_quick_guide();
    void show_about();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void keep_shortcuts_from_fields();
    bool menu_shortcut(const QKeySequence& keys) const;  // a window-wide menu shortcut
    void build_file_menu();
    void build_edit_menu();
    void build_view_menu();
    void build_help_menu();
    void sync_view_menu();  // the check marks follow the form's options

    planning::Planner& planner_;
    RADirido& form_;
    common::Dialogs& dialogs_;
    FormView* view_ = nullptr;
    QAction* linear_ = nullptr;
    QAction* logarithmic_ = nullptr;
    std::vector<std::pair<QAction*, CheckBox*>> layers_;
};

}  // namespace lumetra::window::qt
