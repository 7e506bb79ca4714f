#pragma once
// One random session: the planner and its form, the files its dialogs name, the
// actions of a user and the invariants checked after each of them.

#include <unistd.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "common/dialogs.h"
#include "common/random_session.h"
#include "io/parameter_format.h"
#include "monkey/monkey_session.h"
#include "planning/planner.h"
#include "window/radirido.h"

namespace lumetra::monkey {

namespace fs = std::filesystem;
// The form's names, for the session's files.
using lumetra::testing::describe_text;
using window::CheckBox;
using window::ComboBox;
using window::CommandButton;
using window::Control;
using window::ControlKind;
using window::Label;
using window::MouseButton;
using window::OptionButton;
using window::RADirido;
using window::TextBox;

class Session {
  public:
    explicit Session(const SessionOptions& o) : opt_(o), rng_(o.seed) {
        dir_ = fs::temp_directory_path() /
               ("lumetra-monkey-" + std::to_string(::getpid()) + "-" + std::to_string(o.seed));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        make_files();
        planner_ = std::make_unique<planning::Planner>(dialogs_);
        form_ = &planner_->form();
        dialogs_.clear_shown();
        snapshot_files(snapshot_);
        current_ = this;
    }
    ~Session() {
        current_ = nullptr;
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    SessionResult run();
    // The seed, the action and the last actions, for a report.
    std::string history() const;
    // The running session, for the crash report (none between sessions).
    static const Session* current() { return current_; }

  private:
    // ---- the files the dialogs name ----
    void make_files();
    std::string path(const char* name) const { return (dir_ / name).string(); }
    std::string load_name();
    std::string save_name();
    using Snapshot = std::map<std::string, std::string>;
    void snapshot_files(Snapshot& out) const;

    // ---- actions ----
    // Runs one action: logs it, runs it, checks every invariant. False on a failure.
    bool step(const std::string& what, const std::function<void()>& action, bool saving = false);
    bool random_action();
    bool type_into(window::Control& c);
    bool type_keys(window::Control& c, const std::string& start, const std::string& t);
    bool click_button();
    bool click_option();
    bool click_check();
    bool click_text_box();
    bool pick_item();
    bool plot_mouse();
    bool form_move();
    bool click_label();
    bool save_or_load();
    bool setup_file();
    bool composition_text();
    bool compose_sample();
    void maybe_queue_replies();
    void queue_random_reply();

    std::vector<window::Control*> visible_of(window::ControlKind kind) const;
    void set_typed(window::Control& c, const std::string& s);

    // ---- invariants ----
    std::string check();
    std::string check_state() const;
    std::string check_spectra() const;
    std::string check_labels() const;
    std::string check_written_fields() const;
    std::string check_visibility() const;
    std::string check_picture() const;
    std::string check_files(bool saving);
    std::string composition_mismatch(const io::Composition& c) const;

    SessionOptions opt_;
    Rng rng_;
    fs::path dir_;
    common::ScriptedDialogs dialogs_;
    std::unique_ptr<planning::Planner> planner_;
    window::RADirido* form_ = nullptr;  // the planner's
    SessionResult result_;
    long index_ = 0;  // actions run so far
    std::deque<std::string> log_;
    std::map<const window::Control*, std::string> typed_;  // last text the user typed
    std::set<std::string> answers_;                        // texts given to prompts
    Snapshot snapshot_;
    inline static Session* current_ = nullptr;
};

}  // namespace lumetra::monkey
