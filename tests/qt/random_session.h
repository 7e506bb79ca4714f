#pragma once
// A seeded random session on the real window: the main window with the form and
// its planning panel, worked only through mouse and keyboard events that enter Qt
// as the window system's would (tests/qt/user_input.h). Typing, clicks on every
// kind of control, drags and right clicks on the plot, the menus (through the menu
// bar, their shortcuts or triggered), resizes, the composition dialog and the
// panel's model and settings; every dialog of the form is answered from a queue.
// After each action the form's state, the shown figures and the view's mirror of
// the model are checked, and no dialog or menu may be left open.
//
//   LUMETRA_RANDOM_SEED     the session's seed (default below)
//   LUMETRA_RANDOM_ACTIONS  how many actions (default below)
//   LUMETRA_RANDOM_TRACE=1  prints every action as it runs
//
// A failure prints the seed, the action and the actions before it; the same seed
// replays the same session.
//
// Left out: Print and About, which open desktop dialogs of their own (a print
// dialog, a message box) that no script can answer. Should one of them or any
// other real modal dialog show up anyway, the session closes it and fails.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "common/dialogs.h"
#include "common/random_session.h"
#include "qt/user_input.h"
#include "window/qt/composition_dialog.h"
#include "window/qt/form_view.h"
#include "window/qt/main_window.h"
#include "window/qt/plot_widget.h"
#include "window/radirido.h"

#if defined(__SANITIZE_ADDRESS__)
#define LUMETRA_RANDOM_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(undefined_behavior_sanitizer)
#define LUMETRA_RANDOM_SANITIZED 1
#endif
#endif
#ifdef LUMETRA_RANDOM_SANITIZED
#include <sanitizer/common_interface_defs.h>
#endif

namespace lumetra::window::qt {
namespace random_session {

using common::ScriptedDialogs;
using lumetra::testing::describe_text;
using lumetra::testing::UserInput;

constexpr unsigned kDefaultSeed = 20250611;
// About 30 s under the sanitizers (Debug) on two cores, a few seconds in Release.
constexpr long kDefaultActions = 3300;
constexpr std::size_t kLogLength = 40;
constexpr int kSlowActionSeconds = 30;  // an action this long counts as a hang
constexpr int kHangSeconds = 180;       // no progress this long: abort with the log

inline long env_long(const char* name, long fallback) {
    const char* v = std::getenv(name);
    if (!v || !*v) return fallback;
    char* end = nullptr;
    const long n = std::strtol(v, &end, 10);
    return end && *end == '\0' && n >= 0 ? n : fallback;
}

// ---------------------------------------------------------------------------
// Texts a user types

inline const char* const kSymbols[] = {
    "Fe", "Cu", "Zn", "Ca", "Pb", "Au",   "Bi", "W", "Te", "U", "Po", "O",  "Si",   "Al", "H", "C",
    "N",  "Na", "Ar", "Xx", "fe", " Pb ", "FE", "Q", "Fé", "1", ",",  "\"", "Ｆｅ", "Ac", "Ge"};
inline const char* const kNumbers[] = {
    "0",     "-0",   ".5",   "5.",    "-1",    "1e308",    "1e400",  "-1e400", "4.9e-324",
    "1D5",   "1d-3", "1E",   "E5",    "-",     ".",        "+",      "1..5",   "1,5",
    "12abc", "inf",  "nan",  "1e-16", "32767", "32768",    "-32769", "1e19",   "0.01",
    "0.003", "0.1",  "90",   "-90",   "45.0",  "2.20",     "5",      "60",     "100",
    "1e3",   "9.1",  "7.2",  "10",    "0.5",   "1.5",      "20",     "1e12",   "1e11",
    "0.95",  "130",  "1e-5", " 7 ",   "1E+15", "6.0221e23"};
inline const char* const kLines[] = {
    "K-alpha 1&2", "(K-alpha 1)", "K -beta 1&3", "L-alpha 1&2", "L- beta 2", "K", "", "(K-alpha 1"};
inline const char* const kOdd[] = {"５",
                                   "µ",
                                   "日本語",
                                   "\xE2\x88\x92"
                                   "5",
                                   "1\xC2\xA0"
                                   "5",
                                   "\xF0\x9F\x98\x80",
                                   "Ω",
                                   "\xE2\x80\x8B"
                                   "7",
                                   "a\tb",
                                   "1\n2",
                                   "\"quoted\"",
                                   "\\",
                                   "%s%n",
                                   "<b>x</b>",
                                   "&&"};
inline const char* const kTargets[] = {"Ca", "Ti", "Mn", "Fe", "Co", "Ni", "Cu",
                                       "Zn", "Se", "Sr", "Mo", "Ag", "Sn", "Te",
                                       "Ba", "Gd", "W",  "Pt", "Au", "Pb", "Bi"};
inline const char* const kMatrix[] = {"O", "Si", "Al", "C",  "N",  "H",  "Na", "Mg", "S",  "Cl",
                                      "K", "Ca", "Ti", "Fe", "Cu", "Sr", "Ba", "Pb", "Ar", "Xx"};
inline const char* const kCompositions[] = {"5 wt% Fe2O3, 95 wt% SiO2",
                                            "1 mM Cu(NO3)2 in H2O",
                                            "200 ppm As in SiO2",
                                            "CuSO4·5H2O",
                                            "CuSO4.5H2O",
                                            "Fe2O3:5, SiO2:95",
                                            "1 at% Pt in Al2O3",
                                            "Ca5(PO4)3OH",
                                            "Mn0.5Fe0.5O",
                                            "0.1 M ZnCl2 in water",
                                            "10 mol% PbO in SiO2",
                                            "co",
                                            "5 wt% Xx2O3 in SiO2",
                                            "103 wt% Fe",
                                            "Fe2O3((",
                                            "1e400 ppm Cu in H2O",
                                            "-5 wt% Fe in Si",
                                            "H2O",
                                            "LiBNaMgAlSiPSClKCaTiFe",
                                            "Pb",
                                            "5 wt% Fe2O3 in",
                                            "in in in",
                                            "(((((((((Fe)))))))))",
                                            "Fe999999999999"};
inline const char* const kFilters[] = {"Al",      "Al2O3:3.95", "none",     "Xx", "Al2O3",
                                       "Cu:8.96", "Al:-1",      "Be:1e400", ""};

class Random {
  public:
    explicit Random(unsigned seed) : gen_(seed) {}
    // 0 .. n-1 (n > 0); plain modulo, so a seed gives the same session everywhere.
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(gen_() % n); }
    double unit() { return gen_() / 4294967296.0; }
    bool chance(double p) { return unit() < p; }
    int between(int lo, int hi) { return lo + static_cast<int>(below(std::size_t(hi - lo + 1))); }
    template <std::size_t N>
    const char* pick(const char* const (&list)[N]) {
        return list[below(N)];
    }

  private:
    std::mt19937 gen_;
};

inline std::string junk(Random& r) {
    static const char chars[] = "abcXYZ \",.;:!?#$%&'()*+-/<=>@[\\]^_`{|}~0123456789eE";
    std::string s;
    for (std::size_t i = 0, n = r.below(20); i < n; ++i) s += chars[r.below(sizeof chars - 1)];
    return s;
}

inline std::string long_text(Random& r) {
    switch (r.below(4)) {
        case 0:
            return std::string(3000, '9');
        case 1:
            return "0." + std::string(2000, '0') + "1";
        case 2:
            return "Fe" + std::string(1000, ' ');
        default:
            return std::string(5000, 'a');
    }
}

inline std::string any_text(Random& r) {
    const double u = r.unit();
    if (u < 0.3) return r.pick(kSymbols);
    if (u < 0.7) return r.pick(kNumbers);
    if (u < 0.8) return junk(r);
    if (u < 0.88) return r.pick(kOdd);
    if (u < 0.95) return r.pick(kLines);
    if (u < 0.97) return long_text(r);
    return std::to_string(r.below(200)) + "." + std::to_string(r.below(1000));
}

// "nan", "inf" or "infinity" as a word of its own, in any case.
inline bool shows_nan_or_inf(const QString& text) {
    const QString t = text.toLower();
    for (const QString& word : {QStringLiteral("nan"), QStringLiteral("inf")}) {
        for (qsizetype at = t.indexOf(word); at >= 0; at = t.indexOf(word, at + 1)) {
            const bool starts = at == 0 || !t[at - 1].isLetter();
            qsizetype end = at + word.size();
            if (word == QStringLiteral("inf") && t.mid(end, 5) == QStringLiteral("inity")) end += 5;
            if (starts && (end >= t.size() || !t[end].isLetter())) return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------------

class Session;
inline Session* g_session = nullptr;  // for the crash report

class Session {
  public:
    Session(unsigned seed, long actions, bool trace)
        : seed_(seed), actions_(actions), trace_(trace), rng_(seed) {
        make_files();
        window_ = std::make_unique<MainWindow>(planner_, dialogs_);
        view_ = window_->view();
        window_->show();
        window_->activateWindow();
        QApplication::processEvents();
        dialogs_.clear_shown();
        for (QAction* a : window_->findChildren<QAction*>()) {
            const QString t = text_of(a);
            if (a->menu() || a->isSeparator() || t.isEmpty()) continue;
            // Desktop dialogs of their own, no script answers them.
            if (t.startsWith(QStringLiteral("Print")) || t.startsWith(QStringLiteral("About")))
                continue;
            actions_list_.push_back(a);
            QObject::connect(a, &QAction::triggered, [this] { ++reached_.menu_items; });
        }
        // Answers the composition dialog while it runs, and closes any other modal
        // dialog, which must never appear.
        driver_ = new QTimer;
        driver_->setInterval(1);
        QObject::connect(driver_, &QTimer::timeout, [this] { answer_modal(); });
        driver_->start();
        g_session = this;
    }
    ~Session() {
        g_session = nullptr;
        delete driver_;
        window_.reset();
    }

    // Empty when the whole session ran clean, else the report.
    std::string run();
    std::string history() const;
    long done() const { return index_; }
    // What the session reached, printed at its end: a session that never plots or
    // never gets a dialog through tests little.
    struct Reached {
        long calculations = 0;     // actions that ended with a spectrum shown
        long fp_calculations = 0;  // ... of the fundamental-parameter model
        long zoomed = 0;           // ... with the plot zoomed in
        long menu_items = 0;       // menu actions that ran
        long compositions = 0;     // composition dialogs answered
        long dialogs = 0;          // dialogs of the form answered from the queue
        int most_rows = 0;
    };
    const Reached& reached() const { return reached_; }
    std::atomic<long> progress{0};

  private:
    static QString text_of(const QAction* a) {
        QString t = a->text();
        t.remove(QLatin1Char('&'));
        if (t.endsWith(QStringLiteral("…"))) t.chop(1);
        return t;
    }
    QString path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }
    void make_files();
    std::string load_name();
    std::string save_name(const char* good);

    void log(const std::string& line);
    std::string step();

    // Actions.
    void random_action();
    void type_into(Control& c);
    void click_button();
    void click_option_or_check();
    void mouse_on_text_box();
    void pick_from_list(ComboBox& c);
    void plot_mouse();
    void hover_form();
    void click_label();
    void menu_action();
    void resize_window();
    void composition();
    void panel();
    void compose_sample();
    void maybe_queue_reply();
    void close_popups();

    // The composition dialog, driven while its exec() runs.
    void answer_modal();
    void drive_composition(CompositionDialog* dialog);

    QWidget* widget_of(const Control& c) const { return view_->widget(c.name()); }
    bool usable(const Control& c) const {
        QWidget* w = widget_of(c);
        return c.visible() && c.enabled() && w && w->isVisible() && w->isEnabled() &&
               w->width() > 0 && w->height() > 0;
    }
    std::vector<Control*> usable_of(ControlKind kind) const {
        std::vector<Control*> out;
        for (Control* c : form_.controls())
            if (c->kind() == kind && usable(*c)) out.push_back(c);
        return out;
    }
    QPoint inside(QWidget* w) {
        return QPoint(rng_.between(0, std::max(0, w->width() - 1)),
                      rng_.between(0, std::max(0, w->height() - 1)));
    }

    // Invariants.
    std::string check();
    std::string check_state() const;
    std::string check_view() const;
    std::string check_plot() const;
    std::string check_files();

    unsigned seed_;
    long actions_;
    bool trace_;
    Random rng_;
    QTemporaryDir dir_;
    ScriptedDialogs dialogs_;
    planning::Planner planner_{dialogs_};
    RADirido& form_ = planner_.form();
    std::unique_ptr<MainWindow> window_;
    FormView* view_ = nullptr;
    UserInput input_;
    QTimer* driver_ = nullptr;
    std::vector<QAction*> actions_list_;
    long index_ = 0;
    std::deque<std::string> log_;
    std::string modal_failure_;  // a dialog that should not have opened
    bool driving_ = false;
    Reached reached_;
    // An export answered with a good name: the file must be there unless a
    // message said why not.
    QString expected_file_;
};

}  // namespace random_session
}  // namespace lumetra::window::qt
