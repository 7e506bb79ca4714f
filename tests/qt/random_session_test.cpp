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

#include "common/random_session.h"

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
namespace {

using common::ScriptedDialogs;
using lumetra::testing::describe_text;
using lumetra::testing::UserInput;

constexpr unsigned kDefaultSeed = 20250611;
// About 30 s under the sanitizers (Debug) on two cores, a few seconds in Release.
constexpr long kDefaultActions = 3300;
constexpr std::size_t kLogLength = 40;
constexpr int kSlowActionSeconds = 30;  // an action this long counts as a hang
constexpr int kHangSeconds = 180;       // no progress this long: abort with the log

long env_long(const char* name, long fallback) {
    const char* v = std::getenv(name);
    if (!v || !*v) return fallback;
    char* end = nullptr;
    const long n = std::strtol(v, &end, 10);
    return end && *end == '\0' && n >= 0 ? n : fallback;
}

// ---------------------------------------------------------------------------
// Texts a user types

const char* const kSymbols[] = {
    "Fe", "Cu", "Zn", "Ca", "Pb", "Au",   "Bi", "W", "Te", "U", "Po", "O",  "Si",   "Al", "H", "C",
    "N",  "Na", "Ar", "Xx", "fe", " Pb ", "FE", "Q", "Fé", "1", ",",  "\"", "Ｆｅ", "Ac", "Ge"};
const char* const kNumbers[] = {
    "0",     "-0",   ".5",   "5.",    "-1",    "1e308",    "1e400",  "-1e400", "4.9e-324",
    "1D5",   "1d-3", "1E",   "E5",    "-",     ".",        "+",      "1..5",   "1,5",
    "12abc", "inf",  "nan",  "1e-16", "32767", "32768",    "-32769", "1e19",   "0.01",
    "0.003", "0.1",  "90",   "-90",   "45.0",  "2.20",     "5",      "60",     "100",
    "1e3",   "9.1",  "7.2",  "10",    "0.5",   "1.5",      "20",     "1e12",   "1e11",
    "0.95",  "130",  "1e-5", " 7 ",   "1E+15", "6.0221e23"};
const char* const kLines[] = {
    "K-alpha 1&2", "(K-alpha 1)", "K -beta 1&3", "L-alpha 1&2", "L- beta 2", "K", "", "(K-alpha 1"};
const char* const kOdd[] = {"５",
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
const char* const kTargets[] = {"Ca", "Ti", "Mn", "Fe", "Co", "Ni", "Cu", "Zn", "Se", "Sr", "Mo",
                                "Ag", "Sn", "Te", "Ba", "Gd", "W",  "Pt", "Au", "Pb", "Bi"};
const char* const kMatrix[] = {"O", "Si", "Al", "C",  "N",  "H",  "Na", "Mg", "S",  "Cl",
                               "K", "Ca", "Ti", "Fe", "Cu", "Sr", "Ba", "Pb", "Ar", "Xx"};
const char* const kCompositions[] = {"5 wt% Fe2O3, 95 wt% SiO2",
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
const char* const kFilters[] = {"Al",      "Al2O3:3.95", "none",     "Xx", "Al2O3",
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

std::string junk(Random& r) {
    static const char chars[] = "abcXYZ \",.;:!?#$%&'()*+-/<=>@[\\]^_`{|}~0123456789eE";
    std::string s;
    for (std::size_t i = 0, n = r.below(20); i < n; ++i) s += chars[r.below(sizeof chars - 1)];
    return s;
}

std::string long_text(Random& r) {
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

std::string any_text(Random& r) {
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
bool shows_nan_or_inf(const QString& text) {
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
Session* g_session = nullptr;  // for the crash report

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

void Session::make_files() {
    auto write = [this](const char* name, const QByteArray& bytes) {
        QFile f(path(name));
        if (f.open(QIODevice::WriteOnly)) f.write(bytes);
    };
    write("valid.txt", "2\r\n\"Fe\",\"10\"\r\n\"O\",\"60\"\r\n\"Si\",\"20\"\r\n");
    write("eleven.txt",
          "11\r\n\"Cu\",\"5\"\r\n\"O\",\"50\"\r\n\"Si\",\"20\"\r\n\"Al\",\"10\"\r\n"
          "\"Ca\",\"3\"\r\n\"Ti\",\"1\"\r\n\"Fe\",\"2\"\r\n\"Zn\",\"0.5\"\r\n\"Sr\",\"0.1\"\r\n"
          "\"Ba\",\"0.2\"\r\n\"Pb\",\"0.05\"\r\n\"U\",\"0.01\"\r\n");
    write("odd.txt",
          "4\r\n\" Pb \",\"1e400\"\r\n\"fe\",\"-5\"\r\n\"\",\"abc\"\r\n\"Xx\",\"1,5\"\r\n");
    write("heavy.txt", "0\r\n\"Po\",\"1\"\r\n");
    write("broken.json", "{\"format\": \"lumetra-setup\", \"version\": 1, \"edge\": ");
    QByteArray garbage;
    for (int i = 0; i < 300; ++i) garbage += char(rng_.below(256));
    write("garbage.bin", garbage);
    QDir(dir_.path()).mkdir(QStringLiteral("adir"));
}

std::string Session::load_name() {
    const char* const names[] = {"valid.txt",   "eleven.txt",  "odd.txt",    "heavy.txt",
                                 "broken.json", "garbage.bin", "setup.json", "saved.txt",
                                 "missing.txt", "adir"};
    return path(rng_.pick(names)).toStdString();
}

std::string Session::save_name(const char* good) {
    const double r = rng_.unit();
    if (r < 0.06) return path("nodir/x.txt").toStdString();
    if (r < 0.10) return path("adir").toStdString();
    return path(good).toStdString();
}

void Session::log(const std::string& line) {
    if (log_.size() == kLogLength) log_.pop_front();
    log_.push_back(line);
    if (trace_) std::fprintf(stderr, "random %u #%ld %s\n", seed_, index_, line.c_str());
}

std::string Session::history() const {
    std::ostringstream out;
    out << "random session seed " << seed_ << ", action #" << index_ << "\n"
        << "replay: LUMETRA_RANDOM_SEED=" << seed_ << " LUMETRA_RANDOM_ACTIONS=" << index_ + 1
        << " LUMETRA_RANDOM_TRACE=1 test_qt --gtest_filter=QtRandomSession.RealWidgets\n"
        << "last actions:\n";
    for (const std::string& line : log_) out << "  " << line << "\n";
    return out.str();
}

std::string Session::run() {
    for (; index_ < actions_; ++index_) {
        const std::string failure = step();
        progress.store(index_ + 1);
        if (!failure.empty()) return failure + "\n" + history();
    }
    return {};
}

std::string Session::step() {
    QElapsedTimer clock;
    clock.start();
    expected_file_.clear();
    if (dialogs_.pending() == 0) maybe_queue_reply();
    random_action();
    close_popups();
    input_.release_all(view_);
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const common::DialogRecord& d : dialogs_.shown()) {
        log("    dialog: " + describe_text(d.text));
        if (d.kind == common::DialogRecord::Kind::Message && d.text.empty())
            return "a message box without a text";
        if (d.kind == common::DialogRecord::Kind::Message && !expected_file_.isEmpty())
            expected_file_.clear();  // it says why nothing was written
    }
    reached_.dialogs += static_cast<long>(dialogs_.shown().size());
    dialogs_.clear_shown();
    if (form_.st.Calc_state == 10) {
        ++reached_.calculations;
        if (planner_.session().settings.model == planning::Model::fp) ++reached_.fp_calculations;
        if (form_.Picture1.picture().scale().bottom == 0.0f) ++reached_.zoomed;
    }
    reached_.most_rows = std::max<int>(reached_.most_rows, form_.st.Elem_count);
    if (!modal_failure_.empty()) return modal_failure_;
    if (clock.elapsed() > kSlowActionSeconds * 1000)
        return "the window did not answer for " + std::to_string(clock.elapsed()) + " ms";
    return check();
}

// ---------------------------------------------------------------------------
// Actions

void Session::random_action() {
    const double r = rng_.unit();
    if (r < 0.30) {
        std::vector<Control*> fields = usable_of(ControlKind::TextBox);
        for (Control* c : usable_of(ControlKind::ComboBox)) fields.push_back(c);
        if (fields.empty()) return click_button();
        return type_into(*lumetra::testing::field_favouring_the_sample(rng_, fields));
    }
    if (r < 0.42) return click_button();
    if (r < 0.49) return click_option_or_check();
    if (r < 0.55) return mouse_on_text_box();
    if (r < 0.59) return pick_from_list(rng_.chance(0.5) ? form_.Combo1 : form_.Combo2);
    if (r < 0.71) return plot_mouse();
    if (r < 0.74) return hover_form();
    if (r < 0.75) return click_label();
    if (r < 0.83) return menu_action();
    if (r < 0.86) return resize_window();
    if (r < 0.89) return composition();
    if (r < 0.95) return panel();
    return compose_sample();
}

void Session::maybe_queue_reply() {
    if (!rng_.chance(0.12)) return;
    switch (rng_.below(5)) {
        case 0:
            dialogs_.queue_ok();
            break;
        case 1:
            dialogs_.queue_yes();
            break;
        case 2:
            dialogs_.queue_no();
            break;
        case 3: {
            const char* const widths[] = {"0", "0.003", "abc", "0.02", "0.5", "", "1e400", "-1"};
            dialogs_.queue_text(rng_.chance(0.7) ? rng_.pick(widths) : any_text(rng_));
            break;
        }
        default:
            dialogs_.queue_cancel();
            break;
    }
}

// Focus by a click or by the keyboard, then: select all and type, type at the end,
// backspace a few times, or paste a text over the field.
void Session::type_into(Control& c) {
    QWidget* w = widget_of(c);
    QWidget* edit = w;
    if (auto* combo = qobject_cast<QComboBox*>(w)) edit = combo->lineEdit();
    if (!edit) return;
    std::string t = rng_.chance(0.4) ? any_text(rng_) : "";
    if (t.empty() && !rng_.chance(0.1)) {
        if (&c == &form_.Combo1)
            t = rng_.pick(kLines);
        else if (&c == &form_.Text1 || c.name().rfind("Text2(", 0) == 0)
            t = rng_.pick(kSymbols);
        else if (c.name() == "FilterText")
            t = rng_.pick(kFilters);
        else
            t = rng_.pick(kNumbers);
    }
    const bool by_click = rng_.chance(0.5);
    const double mode = rng_.unit();
    const char* how = t.size() > 40 ? "paste"
                      : mode < 0.5  ? "type"
                      : mode < 0.7  ? "append"
                      : mode < 0.85 ? "backspace"
                                    : "paste";
    log(std::string(how) + " " + c.name() + (by_click ? " (clicked) " : " ") + describe_text(t));
    if (by_click) {
        input_.click(edit, inside(edit));
    } else {
        edit->setFocus(Qt::TabFocusReason);
    }
    const QString text = QString::fromStdString(t);
    if (std::string(how) == "type") {
        input_.key(edit, Qt::Key_A, Qt::ControlModifier);
        input_.type(edit, text);
    } else if (std::string(how) == "append") {
        input_.key(edit, Qt::Key_End);
        input_.type(edit, text);
    } else if (std::string(how) == "backspace") {
        input_.key(edit, Qt::Key_End);
        for (int n = rng_.between(1, 3); n > 0; --n) input_.key(edit, Qt::Key_Backspace);
    } else {
        input_.key(edit, Qt::Key_A, Qt::ControlModifier);
        input_.paste(edit, text);
    }
    if (rng_.chance(0.2)) input_.key(edit, rng_.chance(0.5) ? Qt::Key_Return : Qt::Key_Tab);
}

void Session::click_button() {
    std::vector<Control*> buttons = usable_of(ControlKind::CommandButton);
    if (buttons.empty()) return log("no button");
    Control* b = buttons[rng_.below(buttons.size())];
    if ((b == &form_.Command5 || b == &form_.Command6) && rng_.chance(0.8)) {
        dialogs_.queue_file(b == &form_.Command5 ? save_name("saved.txt") : load_name());
    }
    log("click " + b->name() + " " + describe_text(b->caption()));
    QWidget* w = widget_of(*b);
    if (rng_.chance(0.85)) {
        input_.click(w, inside(w));
    } else {  // from the keyboard
        w->setFocus(Qt::TabFocusReason);
        input_.key(w, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    }
}

void Session::click_option_or_check() {
    std::vector<Control*> boxes = usable_of(ControlKind::OptionButton);
    for (Control* c : usable_of(ControlKind::CheckBox)) boxes.push_back(c);
    if (boxes.empty()) return log("no option or check box");
    Control* c = boxes[rng_.below(boxes.size())];
    log("click " + c->name());
    QWidget* w = widget_of(*c);
    // On the box itself: a click on the empty part of the widget beside it may
    // miss, as it does for a user.
    input_.click(
        w, rng_.chance(0.8) ? QPoint(std::min(6, w->width() - 1), w->height() / 2) : inside(w));
}

void Session::mouse_on_text_box() {
    std::vector<Control*> boxes = usable_of(ControlKind::TextBox);
    std::vector<Control*> rows;
    for (Control* c : boxes)
        if (c->name().rfind("Text2(", 0) == 0) rows.push_back(c);
    if (!rows.empty() && rng_.chance(0.8)) boxes = rows;
    if (boxes.empty()) return log("no text box");
    Control* c = boxes[rng_.below(boxes.size())];
    QWidget* w = widget_of(*c);
    const QPoint at = inside(w);
    switch (rng_.below(3)) {
        case 0:
            log("left click " + c->name());
            input_.click(w, at);
            break;
        case 1:
            log("right click " + c->name());
            input_.click(w, at, Qt::RightButton);  // a context menu may open
            if (QWidget* popup = QApplication::activePopupWidget()) {
                if (auto* menu = qobject_cast<QMenu*>(popup); menu && rng_.chance(0.5)) {
                    std::vector<QAction*> items;
                    for (QAction* a : menu->actions())
                        if (a->isEnabled() && !a->isSeparator()) items.push_back(a);
                    if (!items.empty()) {
                        QAction* a = items[rng_.below(items.size())];
                        log("    context menu: " + text_of(a).toStdString());
                        input_.click(menu, menu->actionGeometry(a).center());
                    }
                }
            }
            break;
        default:
            if (dialogs_.pending() == 0 && rng_.chance(0.8))
                rng_.chance(0.6) ? dialogs_.queue_yes() : dialogs_.queue_no();
            log("double click " + c->name());
            input_.double_click(w, at);
            break;
    }
}

// A list item by the keyboard (up and down walk the list) or from the opened list.
void Session::pick_from_list(ComboBox& c) {
    auto* combo = qobject_cast<QComboBox*>(widget_of(c));
    if (!combo || !usable(c) || combo->count() == 0) return log("no list " + c.name());
    if (rng_.chance(0.5)) {
        const bool down = rng_.chance(0.6);
        log(std::string("list ") + c.name() + (down ? " down" : " up"));
        combo->setFocus(Qt::TabFocusReason);
        input_.key(combo, down ? Qt::Key_Down : Qt::Key_Up);
        return;
    }
    const int i = static_cast<int>(rng_.below(static_cast<std::size_t>(combo->count())));
    log("list " + c.name() + " pick " + describe_text(combo->itemText(i).toStdString()));
    // The arrow at the right end opens the list.
    input_.click(combo, QPoint(combo->width() - 4, combo->height() / 2));
    if (!combo->view()->isVisible()) combo->showPopup();
    QAbstractItemView* list = combo->view();
    const QRect item = list->visualRect(combo->model()->index(i, 0));
    if (list->isVisible() && item.isValid()) {
        input_.move(list->viewport(), item.center());
        input_.click(list->viewport(), item.center());
    }
}

// The plot: drags (zoom), right clicks (whole scale), the pointer moving over it,
// and single presses or releases, also beyond the widget's edges.
void Session::plot_mouse() {
    PlotWidget* plot = view_->plot();
    if (!plot->isVisible()) return log("no plot");
    auto anywhere = [&] {
        if (rng_.chance(0.85)) return inside(plot);
        return QPoint(rng_.between(-60, plot->width() + 60),
                      rng_.between(-60, plot->height() + 60));
    };
    auto at = [](QPoint p) { return std::to_string(p.x()) + " " + std::to_string(p.y()); };
    // A press beside the plot may land on the window's scroll bar, whose context menu
    // runs its own event loop until closed, as a user would close it.
    QTimer::singleShot(0, plot, [] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) menu->close();
    });
    const double r = rng_.unit();
    if (r < 0.45) {
        const QPoint from = anywhere();
        QPoint to = anywhere();
        if (rng_.chance(0.1)) to = from;  // a click, no drag
        log("plot drag " + at(from) + " to " + at(to));
        input_.move(plot, from);
        input_.press(plot, from, Qt::LeftButton);
        for (int n = rng_.between(0, 3); n > 0; --n) input_.move(plot, anywhere());
        input_.move(plot, to);
        input_.release(plot, to, Qt::LeftButton);
    } else if (r < 0.6) {
        const QPoint p = anywhere();
        log("plot right click " + at(p));
        input_.click(plot, p, Qt::RightButton);
    } else if (r < 0.9) {
        const QPoint p = anywhere();
        log("plot move " + at(p));
        input_.move(plot, p);
    } else {
        const QPoint p = anywhere();
        const Qt::MouseButton b = rng_.chance(0.5) ? Qt::LeftButton : Qt::RightButton;
        const bool press = rng_.chance(0.5);
        log(std::string("plot ") + (press ? "press " : "release ") +
            (b == Qt::LeftButton ? "left " : "right ") + at(p));
        if (press)
            input_.press(plot, p, b);
        else if (input_.held() & b)
            input_.release(plot, p, b);
    }
}

void Session::hover_form() {
    const QPoint p(rng_.between(-20, view_->width() + 20), rng_.between(-20, view_->height() + 20));
    log("move over window " + std::to_string(p.x()) + " " + std::to_string(p.y()));
    input_.move(view_, p);
}

void Session::click_label() {
    std::vector<Control*> labels;
    for (Control* c : usable_of(ControlKind::Label))
        if (static_cast<Label*>(c)->on_click) labels.push_back(c);
    if (labels.empty()) return log("no clickable label");
    Control* l = labels[rng_.below(labels.size())];
    log("click " + l->name());
    input_.click(widget_of(*l));
}

// A menu item from the menu bar, by its shortcut, or triggered. File dialogs get a
// name in the session's folder (or a bad one, or none).
void Session::menu_action() {
    QAction* a = actions_list_[rng_.below(actions_list_.size())];
    const QString t = text_of(a);
    if (t.contains(QStringLiteral("composition")) || t.contains(QStringLiteral("setup")) ||
        t.startsWith(QStringLiteral("Export"))) {
        if (rng_.chance(0.85)) {
            const bool saving =
                t.startsWith(QStringLiteral("Save")) || t.startsWith(QStringLiteral("Export"));
            std::string name;
            if (!saving) {
                name = load_name();
            } else if (t == QStringLiteral("Save setup")) {
                name = save_name("setup.json");
            } else if (t == QStringLiteral("Export spectrum")) {
                name = save_name("spectrum.csv");
            } else if (t == QStringLiteral("Export picture")) {
                const char* const pictures[] = {"figure.png", "figure.svg", "figure.pdf",
                                                "figure.PNG", "figure"};
                name = save_name(rng_.pick(pictures));
            } else {
                name = save_name("saved.txt");
            }
            // Only an answer that the file dialog gets first tells what it must write.
            const bool first = dialogs_.pending() == 0;
            dialogs_.queue_file(name);
            if (first && saving && t.startsWith(QStringLiteral("Export")) &&
                name.find("nodir") == std::string::npos && name.find("adir") == std::string::npos)
                expected_file_ = QString::fromStdString(name);
        } else {
            dialogs_.queue_cancel();
        }
    }
    const double how = rng_.unit();
    QMenu* menu = nullptr;
    for (QAction* top : window_->menuBar()->actions())
        if (top->menu() && top->menu()->actions().contains(a)) menu = top->menu();
    // A menu the bar has no room for sits behind its extension button, which opens a
    // popup of its own that the session cannot work: such a menu is left to the
    // shortcut or the trigger.
    if (how < 0.4 && menu && !window_->menuBar()->actionGeometry(menu->menuAction()).isEmpty()) {
        log("menu " + text_of(menu->menuAction()).toStdString() + " > " + t.toStdString());
        QMenuBar* bar = window_->menuBar();
        input_.click(bar, bar->actionGeometry(menu->menuAction()).center());
        if (menu->isVisible() && a->isVisible()) {
            const QPoint item = menu->actionGeometry(a).center();
            input_.move(menu, item);
            input_.click(menu, item);
        }
        if (!menu->isVisible() || !expected_file_.isEmpty()) return;
        return;
    }
    if (how < 0.6 && !a->shortcut().isEmpty() && !t.startsWith(QStringLiteral("Copy spectrum"))) {
        log("shortcut " + a->shortcut().toString().toStdString() + " (" + t.toStdString() + ")");
        const QKeyCombination k = a->shortcut()[0];
        input_.key(window_.get(), k.key(), k.keyboardModifiers());
        return;
    }
    log("trigger " + t.toStdString());
    a->trigger();
}

void Session::resize_window() {
    const double r = rng_.unit();
    if (r < 0.1) {
        log("maximise");
        window_->showMaximized();
    } else if (r < 0.2) {
        log("normal size");
        window_->showNormal();
    } else {
        const int w = rng_.between(50, 3800), h = rng_.between(50, 2200);
        log("resize " + std::to_string(w) + " x " + std::to_string(h));
        window_->resize(w, h);
    }
}

// Opens the dialog with the button beside Target or from the Edit menu; the
// driver types into it while it runs.
void Session::composition() {
    if (usable(form_.CompositionButton) && rng_.chance(0.6)) {
        log("composition (button)");
        input_.click(widget_of(form_.CompositionButton));
    } else {
        log("composition (Edit menu)");
        window_->action(QStringLiteral("Composition"))->trigger();
    }
}

void Session::answer_modal() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || driving_) return;
    driving_ = true;
    if (auto* dialog = qobject_cast<CompositionDialog*>(modal)) {
        drive_composition(dialog);
    } else {
        modal_failure_ = std::string("a real modal dialog opened: ") +
                         modal->metaObject()->className() + " \"" +
                         modal->windowTitle().toStdString() + "\"";
        if (auto* d = qobject_cast<QDialog*>(modal))
            d->reject();
        else
            modal->close();
    }
    driving_ = false;
}

void Session::drive_composition(CompositionDialog* dialog) {
    ++reached_.compositions;
    QPointer<CompositionDialog> alive(dialog);
    for (int round = 0; round < 3 && alive && dialog->isVisible(); ++round) {
        const std::string t = rng_.chance(0.75) ? rng_.pick(kCompositions) : any_text(rng_);
        log("    composition text " + describe_text(t));
        QLineEdit* field = dialog->text_field();
        input_.click(field, inside(field));
        input_.key(field, Qt::Key_A, Qt::ControlModifier);
        if (rng_.chance(0.5))
            input_.type(field, QString::fromStdString(t));
        else
            input_.paste(field, QString::fromStdString(t));
        if (!alive) return;
        if (auto* accept = dialog->findChild<QCheckBox*>();
            accept && accept->isVisible() && rng_.chance(0.5)) {
            log("    accept the problem");
            input_.click(accept, QPoint(6, accept->height() / 2));
        }
        if (auto* target = dialog->findChild<QComboBox*>();
            target && target->count() > 1 && rng_.chance(0.3)) {
            log("    target down");
            target->setFocus(Qt::TabFocusReason);
            input_.key(target, Qt::Key_Down);
        }
        if (!alive) return;
        const double r = rng_.unit();
        if (r < 0.6 && dialog->apply_button()->isEnabled()) {
            log("    Apply");
            input_.click(dialog->apply_button());
        } else if (r < 0.75) {
            log("    Escape");
            input_.key(field, Qt::Key_Escape);
        } else if (r < 0.9) {
            log("    Cancel");
            for (QPushButton* b : dialog->findChildren<QPushButton*>())
                if (b != dialog->apply_button() && b->isVisible()) {
                    input_.click(b);
                    break;
                }
        }
    }
    if (alive && dialog->isVisible()) {
        log("    Cancel (last)");
        input_.key(dialog->text_field(), Qt::Key_Escape);
    }
}

// The planning panel: the model switch, the detector and the settings' fields.
void Session::panel() {
    planning::Panel& p = planner_.panel;
    const double r = rng_.unit();
    if (r < 0.35) {
        OptionButton& o = rng_.chance(0.5) ? p.ModelFp : p.ModelClassic;
        if (!usable(o)) return log("no model switch");
        log("click " + o.name());
        QWidget* w = widget_of(o);
        input_.click(w, QPoint(std::min(6, w->width() - 1), w->height() / 2));
    } else if (r < 0.45) {
        pick_from_list(p.DetectorCombo);
    } else {
        planning::PanelSetting& s = p.settings[rng_.below(p.settings.size())];
        if (!usable(*s.field)) return log("no field " + s.field->name());
        type_into(*s.field);
    }
    if (rng_.chance(0.4) && usable(form_.Command1)) {
        log("click Command1 (Plot)");
        input_.click(widget_of(form_.Command1));
    }
}

// A whole sample typed in one go, then "Plot".
void Session::compose_sample() {
    auto type = [&](TextBox& box, const std::string& t) {
        if (!usable(box)) return false;
        QWidget* w = widget_of(box);
        log("type " + box.name() + " " + describe_text(t));
        input_.click(w, inside(w));
        input_.key(w, Qt::Key_A, Qt::ControlModifier);
        input_.type(w, QString::fromStdString(t));
        return true;
    };
    if (!type(form_.Text1, rng_.pick(kTargets))) return;
    if (!type(form_.Text51, std::to_string(rng_.between(1, 60)))) return;
    for (int i = 0, rows = rng_.between(0, kRows); i < rows; ++i) {
        if (!type(*form_.Text2[i], rng_.pick(kMatrix))) break;
        if (!type(*form_.Text52[i], std::to_string(rng_.between(1, 90)))) break;
    }
    if (usable(form_.Command1)) {
        log("click Command1 (Plot)");
        input_.click(widget_of(form_.Command1));
    }
}

// An open menu or list is closed with Escape, as a user does before going on; the
// quick guide with its Close button, and a closed window is opened again.
void Session::close_popups() {
    for (int n = 0; n < 4; ++n) {
        QWidget* popup = QApplication::activePopupWidget();
        if (!popup) break;
        input_.key(popup, Qt::Key_Escape);
        if (QApplication::activePopupWidget() == popup) popup->close();
    }
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top == window_.get() || !top->isVisible() || !qobject_cast<QDialog*>(top)) continue;
        if (QApplication::activeModalWidget() == top) continue;
        log("    close " + top->windowTitle().toStdString());
        for (QPushButton* b : top->findChildren<QPushButton*>())
            if (b->isVisible()) {
                input_.click(b);
                break;
            }
        if (top->isVisible()) top->close();
    }
    if (!window_->isVisible()) {
        log("    open the window again");
        window_->show();
    }
    window_->activateWindow();
}

// ---------------------------------------------------------------------------
// Invariants

std::string Session::check() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return std::string("a modal dialog was left open: ") + modal->metaObject()->className();
    if (QApplication::activePopupWidget()) return "a menu or list stays open";
    if (!window_->isVisible()) return "the window is gone";
    for (const std::string& failure : {check_state(), check_view(), check_plot(), check_files()})
        if (!failure.empty()) return failure;
    if (dialogs_.pending() > 16)
        return "dialog answers pile up: " + std::to_string(dialogs_.pending());
    return {};
}

std::string Session::check_state() const {
    const engine::CalcState& st = form_.st;
    std::ostringstream out;
    if (!(st.Elem_count == -10 || (st.Elem_count >= 0 && st.Elem_count <= kRows)))
        out << "Elem_count is " << st.Elem_count << "; ";
    if (!(st.Calc_state == -10 || st.Calc_state == 0 || st.Calc_state == 10))
        out << "Calc_state is " << st.Calc_state << "; ";
    if (st.Edge_mode != 10 && st.Edge_mode != -10) out << "Edge_mode is " << st.Edge_mode << "; ";
    if (st.Sample_form != 10 && st.Sample_form != -10)
        out << "Sample_form is " << st.Sample_form << "; ";
    if (form_.Option1.value() == form_.Option2.value()) out << "edge options alike; ";
    if (form_.Option3.value() == form_.Option4.value()) out << "scale options alike; ";
    if (form_.Option5.value() == form_.Option6.value()) out << "sample options alike; ";
    if (planner_.panel.ModelClassic.value() == planner_.panel.ModelFp.value())
        out << "model options alike; ";
    if (planner_.panel.ModelFp.value() != (planner_.session().settings.model == planning::Model::fp))
        out << "model option differs from the model; ";
    const std::pair<const char*, const engine::Spectrum*> arrays[] = {
        {"Spec_total", &st.Spec_total},   {"Spec_target", &st.Spec_target},
        {"Spec_line", &st.Spec_line},     {"Spec_mark", &st.Spec_mark},
        {"Spec_argon", &st.Spec_argon},   {"Spec_elastic", &st.Spec_elastic},
        {"Spec_escape", &st.Spec_escape}, {"Spec_pileup", &st.Spec_pileup}};
    for (const auto& [name, a] : arrays)
        for (std::size_t k = 0; k < a->size(); ++k)
            if (!std::isfinite((*a)[k])) {
                out << name << "(" << k << ") = " << (*a)[k] << "; ";
                break;
            }
    return out.str();
}

// What the window shows is what the model holds, and no figure shown is NaN or
// infinite.
std::string Session::check_view() const {
    for (Control* c : form_.controls()) {
        QWidget* w = view_->widget(c->name());
        if (!w) continue;
        if (w->isVisibleTo(view_) != c->visible())
            return c->name() + (c->visible() ? " is hidden in the window" : " shows in the window");
        if (w->isEnabled() != c->enabled()) return c->name() + " differs in being enabled";
        const QString model = QString::fromStdString(c->caption());
        switch (c->kind()) {
            case ControlKind::Label: {
                const QString shown = static_cast<QLabel*>(w)->text();
                if (shown != model)
                    return c->name() + " shows " + describe_text(shown.toStdString()) + " for " +
                           describe_text(c->caption());
                if (c->visible() && shows_nan_or_inf(shown))
                    return c->name() + " shows " + describe_text(shown.toStdString());
                break;
            }
            case ControlKind::TextBox: {
                auto* edit = static_cast<QLineEdit*>(w);
                if (model.size() <= edit->maxLength() && edit->text() != model)
                    return c->name() + " shows " + describe_text(edit->text().toStdString()) +
                           " for " + describe_text(c->caption());
                break;
            }
            case ControlKind::ComboBox: {
                auto* combo = static_cast<QComboBox*>(w);
                if (combo->currentText() != model)
                    return c->name() + " shows " +
                           describe_text(combo->currentText().toStdString()) + " for " +
                           describe_text(c->caption());
                break;
            }
            case ControlKind::OptionButton:
                if (static_cast<QRadioButton*>(w)->isChecked() !=
                    static_cast<OptionButton*>(c)->value())
                    return c->name() + " shows the other state";
                break;
            case ControlKind::CheckBox:
                if (static_cast<QCheckBox*>(w)->isChecked() !=
                    (static_cast<CheckBox*>(c)->value() != 0))
                    return c->name() + " shows the other state";
                break;
            default:
                break;
        }
    }
    return {};
}

// The plot's scale is finite and its pixel mapping goes both ways; the plot lies
// within the window.
std::string Session::check_plot() const {
    const display::Picture& pic = form_.Picture1.picture();
    const display::UserScale& s = pic.scale();
    for (float v : {s.left, s.top, s.right, s.bottom})
        if (!std::isfinite(v)) return "the plot's scale is not finite";
    for (const display::PlotOp& op : pic.ops())
        if (!std::isfinite(op.x1) || !std::isfinite(op.y1) || !std::isfinite(op.x2) ||
            !std::isfinite(op.y2))
            return "a drawing operation of the plot is not finite";
    PlotWidget* plot = view_->plot();
    if (!view_->rect().contains(plot->geometry()) && view_->width() > 200 && view_->height() > 100)
        return "the plot reaches outside the window";
    const double sw = double(s.right) - s.left, sh = double(s.bottom) - s.top;
    if (plot->width() > 2 && plot->height() > 2 && sw != 0.0 && sh != 0.0 && std::fabs(sw) < 1e12 &&
        std::fabs(sh) < 1e12) {
        for (const QPointF px : {QPointF(1, 1), QPointF(plot->width() - 1.0, plot->height() / 2.0),
                                 QPointF(plot->width() / 3.0, plot->height() - 1.0)}) {
            const QPointF u = plot->to_user(px);
            const QPointF back = plot->to_pixel(u.x(), u.y());
            if (std::fabs(back.x() - px.x()) > 1e-3 || std::fabs(back.y() - px.y()) > 1e-3)
                return "the plot maps pixel " + std::to_string(px.x()) + "," +
                       std::to_string(px.y()) + " back to " + std::to_string(back.x()) + "," +
                       std::to_string(back.y());
        }
    }
    return {};
}

std::string Session::check_files() {
    for (const QFileInfo& f : QDir(dir_.path()).entryInfoList(QDir::Files | QDir::Hidden))
        if (f.fileName().contains(QStringLiteral(".saving-")))
            return "a half-written file was left behind: " + f.fileName().toStdString();
    if (!expected_file_.isEmpty()) {
        const QFileInfo f(expected_file_);
        if (!f.exists() || f.size() == 0)
            return "the export reported nothing wrong but wrote no " + f.fileName().toStdString();
        QFile::remove(expected_file_);  // the next export must write it anew
    }
    return {};
}

// ---------------------------------------------------------------------------
// A crash or a hang still tells which action it was.

#ifdef LUMETRA_RANDOM_SANITIZED
void report_death() {
    if (g_session) std::fputs(g_session->history().c_str(), stderr);
}
#else
extern "C" void report_signal(int sig) {
    if (g_session) {
        const std::string h = g_session->history();
        if (::write(2, h.data(), h.size()) < 0) {
        }
    }
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}
#endif

void install_crash_report() {
#ifdef LUMETRA_RANDOM_SANITIZED
    __sanitizer_set_death_callback(report_death);
#else
    for (int sig : {SIGSEGV, SIGABRT, SIGFPE, SIGILL, SIGBUS}) std::signal(sig, report_signal);
#endif
}

// Aborts with the log when the session makes no progress for kHangSeconds.
class HangGuard {
  public:
    explicit HangGuard(Session& s) : session_(s), thread_([this] { watch(); }) {}
    ~HangGuard() {
        {
            std::lock_guard<std::mutex> lock(m_);
            stop_ = true;
        }
        cv_.notify_all();
        thread_.join();
    }

  private:
    void watch() {
        long last = -1;
        auto since = std::chrono::steady_clock::now();
        std::unique_lock<std::mutex> lock(m_);
        while (!cv_.wait_for(lock, std::chrono::seconds(1), [this] { return stop_; })) {
            const long now = session_.progress.load();
            if (now != last) {
                last = now;
                since = std::chrono::steady_clock::now();
            } else if (std::chrono::steady_clock::now() - since >
                       std::chrono::seconds(kHangSeconds)) {
                std::fprintf(stderr,
                             "random session hangs after %ld actions (no progress for %d s)\n%s",
                             now, kHangSeconds, session_.history().c_str());
                std::abort();
            }
        }
    }
    Session& session_;
    std::mutex m_;
    std::condition_variable cv_;
    bool stop_ = false;
    std::thread thread_;
};

// The offscreen platform says, again and again, what it cannot do (raise a window,
// grab the keyboard); the rest of Qt's messages pass.
QtMessageHandler g_previous_handler = nullptr;
void quiet_platform(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QStringLiteral("This plugin does not support"))) return;
    if (g_previous_handler) g_previous_handler(type, context, text);
}

TEST(QtRandomSession, RealWidgets) {
    const auto seed = static_cast<unsigned>(env_long("LUMETRA_RANDOM_SEED", kDefaultSeed));
    const long actions = env_long("LUMETRA_RANDOM_ACTIONS", kDefaultActions);
    const char* trace = std::getenv("LUMETRA_RANDOM_TRACE");
    install_crash_report();
    g_previous_handler = qInstallMessageHandler(quiet_platform);
    QElapsedTimer clock;
    clock.start();
    Session session(seed, actions, trace && *trace && *trace != '0');
    std::string failure;
    {
        HangGuard guard(session);
        failure = session.run();
    }
    const Session::Reached& r = session.reached();
    std::printf(
        "random session seed %u: %ld actions in %.1f s; %ld with a spectrum (%ld fundamental-"
        "parameter, %ld zoomed), %ld menu items, %ld composition dialogs, %ld form dialogs, "
        "%d rows at most\n",
        seed, session.done(), clock.elapsed() / 1000.0, r.calculations, r.fp_calculations, r.zoomed,
        r.menu_items, r.compositions, r.dialogs, r.most_rows);
    qInstallMessageHandler(g_previous_handler);
    EXPECT_TRUE(failure.empty()) << failure;
    EXPECT_GT(r.calculations, 0);
}

}  // namespace
}  // namespace lumetra::window::qt
