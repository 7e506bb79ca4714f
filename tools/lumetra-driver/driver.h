#pragma once
// lumetra-driver: runs the form RADirido without a screen and replays a script
// of user actions, one command a line (the protocol is in the README).

#include <QApplication>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "common/dialogs.h"
#include "window/qt/form_view.h"
#include "window/qt/main_window.h"
#include "planning/planner.h"
#include "window/radirido.h"
#include "window/state_registry.h"

namespace lumetra::driver {

class Driver {
  public:
    // Starts the form (its start-up runs now; dialogs it shows print at once).
    Driver(std::ostream& out, int& argc, char** argv);
    ~Driver();

    // Runs one script line. A malformed or failing command prints "ERROR reason".
    void run_line(std::string_view line);
    // True once any command failed.
    bool failed() const { return failed_; }

  private:
    void dispatch(std::string_view command, std::string_view rest);
    void cmd_set(std::string_view rest);
    void cmd_click(std::string_view rest);
    void cmd_rclick(std::string_view rest, bool dbl);
    void cmd_pick(std::string_view rest);
    void cmd_mouse(std::string_view rest);
    void cmd_formmove(std::string_view rest);
    void cmd_reply(std::string_view rest);
    void cmd_get(std::string_view rest);
    void cmd_state(std::string_view rest);
    void cmd_spectrum(std::string_view rest);
    void cmd_list(std::string_view rest);
    void cmd_picture(std::string_view rest);
    void cmd_screenshot(std::string_view rest);
    void cmd_grab(std::string_view rest);
    void save_grab(QWidget& widget, std::string_view path);
    void cmd_call(std::string_view rest);
    void cmd_let(std::string_view rest);
    void cmd_run(std::string_view rest);
    void cmd_model(std::string_view rest);
    void cmd_setup(std::string_view rest);
    void cmd_setup_layer(std::string_view rest);
    void cmd_rates(std::string_view rest);
    void cmd_resize(std::string_view rest);
    void cmd_setupfile(std::string_view rest);
    void cmd_export(std::string_view rest);
    void cmd_composition(std::string_view rest);
    void cmd_composition_preview(std::string_view rest);

    window::Control& control(std::string_view name);
    void ensure_view();

    std::ostream& out_;
    int& argc_;
    char** argv_;
    bool failed_ = false;

    // Destroyed in reverse order: the view before the form, the form before Qt.
    common::ScriptedDialogs dialogs_;
    std::unique_ptr<QApplication> app_;
    std::unique_ptr<planning::Planner> planner_;
    window::RADirido* form_ = nullptr;  // the planner's form
    std::unique_ptr<window::StateRegistry> registry_;
    std::unique_ptr<window::qt::MainWindow> view_;
};

}  // namespace lumetra::driver
