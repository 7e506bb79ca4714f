#include "monkey/monkey_session.h"

#include <unistd.h>

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <deque>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <vector>

#include "common/dialogs.h"
#include "common/numtext.h"
#include "common/random_session.h"
#include "io/parameter_format.h"
#include "io/setup_format.h"
#include "planning/planner.h"
#include "window/radirido.h"

#if defined(__SANITIZE_ADDRESS__)
#define LUMETRA_MONKEY_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(undefined_behavior_sanitizer)
#define LUMETRA_MONKEY_SANITIZED 1
#endif
#endif
#ifdef LUMETRA_MONKEY_SANITIZED
#include <sanitizer/common_interface_defs.h>
#endif

namespace lumetra::monkey {

namespace fs = std::filesystem;
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

namespace {

constexpr std::size_t kLogLength = 30;

// ---------------------------------------------------------------------------
// Texts a user might type

template <std::size_t N>
const char* pick(Rng& rng, const char* const (&list)[N]) {
    return list[rng.below(N)];
}

const char* const kSymbols[] = {
    "Fe", "U", "Po", "Ac", "Ar", "H", "fe", " Pb ", "Cu", "Zn", "Ca", "Te", "W", "Au", "Bi",
    "At", "Rn", "O", "Si", "Al", "Ni", "Mn", "Ti", "Se", "Sr", "Mo", "Ag", "Sn", "I", "Ba",
    "La", "Ce", "Gd", "Pt", "Hg", "Pb", "Ge", "Ga", "As", "Br", "Kr", "Xe", "Cs", "Th", "Pa",
    "Np", "Pu", "Fr", "Ra", "K", "Na", "C", "N", "S", "P", "Cl", "Sc", "V", "Cr", "Co", "Rb",
    "Y", "Zr", "Nb", "Tc", "Ru", "Rh", "Pd", "Cd", "In", "Sb", "Nd", "Sm", "Eu", "Yb", "Lu",
    "Hf", "Ta", "Re", "Os", "Ir", "Tl", "Li", "Be", "B", "F", "Ne", "Mg", "He", "Sb ", " Cu",
    "Xx", "Q", "ZZ", "F e", "Fe\t", "\tFe", "Fee", "1", "Ac ", "FE", "fE", "Uu", "Og", "J",
    "Fe\n", "Fe\r\n", "\"Fe\"", "Fe,", ",", "\"", "Fé", "Ｆｅ"};

const char* const kSpecialNumbers[] = {
    "0", "-0", "0.0", ".5", "5.", "-1", "-30", "1e308", "1e400", "-1e308", "-1e400",
    "1.7976931348623157e308", "1.8e308", "4.9e-324", "1e-320", "1e-400",
    "2.2250738585072014e-308", "1D5", "1d-3", "2.5D+2", "1E", "1E+", "E5", "e", "D", "-", ".",
    "+", "+.", "-.5", "--5", "+-5", "1..5", "1.2.3", "1 0", "  7  ", "1,5", "1,000", "12abc",
    "abc", "0x1A", "inf", "-inf", "nan", "NaN", "Infinity", "1e-16", "9.9e-17", "1e15",
    "999999999999999", "1e16", "32767", "32768", "-32768", "-32769", "65536", "2147483648",
    "9223372036854775808", "1e19", "0.0101", "0.01", "0.011", "0.003", "0.1", "0.11", "90",
    "-90", "89.999", "45.0", "2.20", "50.0", "5", "4.99", "5.0", "60", "60.1", "61", "100",
    "101", "1e3", "-5", "\t5", "5\n", "5\r", " . ", "1e2147483648", "1e-2147483649",
    "1e99999999999999999999", "-.0001", "1E-05", " 1.5E-05", "1E+15", "0.00001", "3D", "7d7",
    "1e+", "6.0221e23", "-1e-320", "  -  5", "+ 5", "5-", "1e3e3"};

const char* const kLineTexts[] = {"K-alpha 1&2", "(K-alpha 1)", "(K-alpha 2)", "K -beta 1&3",
                                  "(K -beta 1)", "(K -beta 3)", "L-alpha 1&2", "(L-alpha 1)",
                                  "(L-alpha 2)", "L- beta 2",   "K",           "k-alpha 1&2",
                                  "K-alpha 1&2 ", "",           "L",           "(K-alpha 1"};

const char* const kFineTexts[] = {"0.5", "0.6", "0.7", "0.8", "0.9", "1.0", "1.1", "1.2",
                                  "1.3", "1.4", "1.5", "1",   "0",   "2",   "-1",  "1e-300",
                                  "1e300", "0.0001", "abc", ""};

const char* const kNonAscii[] = {"５", "Fé", "µ", "日本語", "\xC3\xA9", "\xE2\x88\x92" "5",
                                 "1\xC2\xA0" "5", "\xEF\xBB\xBF" "12", "\xF0\x9F\x98\x80",
                                 "\xFF\xFE", "\x80", "5\xC3", "Ω", "Å", "ﬀ", "\xE2\x80\x8B" "7"};

// Targets that can be calculated (atomic numbers 20 to 83), light ones and heavy ones.
const char* const kTargets[] = {"Ca", "Ti", "Cr", "Mn", "Fe", "Co", "Ni", "Cu", "Zn", "Ge",
                                "Se", "Sr", "Zr", "Mo", "Ag", "Sn", "Sb", "Te", "I",  "Ba",
                                "La", "Gd", "W",  "Pt", "Au", "Hg", "Pb", "Bi", "Ac", "U"};
const char* const kMatrixElements[] = {"O",  "Si", "Al", "C",  "N",  "H",  "Na", "Mg", "S",
                                       "Cl", "K",  "Ca", "Ti", "Fe", "Cu", "Zn", "Sr", "Ba",
                                       "Pb", "W",  "Ar", "Bi", "Te", "Po", "U",  "Xx", "Ac"};

std::string digits(Rng& rng, std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += static_cast<char>('0' + rng.below(10));
    return s;
}

std::string number_text(Rng& rng) {
    const double r = rng.unit();
    if (r < 0.25) return pick(rng, kSpecialNumbers);
    if (r < 0.45) return std::to_string(rng.below(120));
    if (r < 0.65) {  // a decimal such as 7.1609 or 0.05
        std::string s = std::to_string(rng.below(rng.chance(0.5) ? 10 : 150)) + "." +
                        digits(rng, 1 + rng.below(5));
        if (rng.chance(0.2)) s = "-" + s;
        if (rng.chance(0.2)) s = " " + s;
        return s;
    }
    if (r < 0.8) {  // mantissa and exponent
        std::string s = rng.chance(0.3) ? "-" : "";
        s += digits(rng, 1 + rng.below(3));
        if (rng.chance(0.5)) s += "." + digits(rng, rng.below(4));
        const char letters[] = {'E', 'e', 'D', 'd'};
        s += letters[rng.below(4)];
        if (rng.chance(0.6)) s += rng.chance(0.5) ? '-' : '+';
        s += rng.chance(0.1) ? digits(rng, 12 + rng.below(12)) : std::to_string(rng.below(420));
        return s;
    }
    if (r < 0.9) {  // many digits, the point anywhere
        std::string s = digits(rng, 1 + rng.below(400));
        if (rng.chance(0.6)) s.insert(rng.below(s.size() + 1), ".");
        return s;
    }
    // Digits mixed with blanks, tabs, commas and letters.
    std::string s;
    const char extras[] = {' ', '\t', ',', 'x', 'E', '.', '-', '\n'};
    for (std::size_t i = 0, n = 1 + rng.below(10); i < n; ++i)
        s += rng.chance(0.6) ? static_cast<char>('0' + rng.below(10)) : extras[rng.below(8)];
    return s;
}

std::string digits(Rng& rng, std::size_t n);

// A content as a user would give it: mostly a plain positive number.
std::string content_text(Rng& rng) {
    if (rng.chance(0.85)) {
        std::string s = std::to_string(1 + rng.below(99));
        if (rng.chance(0.4)) s += "." + digits(rng, 1 + rng.below(3));
        return s;
    }
    return number_text(rng);
}

std::string symbol_text(Rng& rng) {
    if (rng.chance(0.8)) return pick(rng, kSymbols);
    // Any one or two letters.
    std::string s(1, static_cast<char>('A' + rng.below(26)));
    if (rng.chance(0.7)) s += static_cast<char>('a' + rng.below(26));
    return s;
}

std::string junk_text(Rng& rng) {
    static const char chars[] = "abcXYZ \t\n\r\",.;:!?#$%&'()*+-/<=>@[\\]^_`{|}~0123456789";
    std::string s;
    for (std::size_t i = 0, n = rng.below(24); i < n; ++i)
        s += chars[rng.below(sizeof chars - 1)];
    if (rng.chance(0.1)) s += '\0';
    if (rng.chance(0.1)) s += "\r\n";
    return s;
}

std::string long_text(Rng& rng) {
    const std::size_t n = 10000;
    switch (rng.below(7)) {
        case 0: return std::string(n, '1');
        case 1: return "0." + std::string(n, '0') + "1";
        case 2: return std::string(n, 'a');
        case 3: return std::string(n, ' ');
        case 4: return "Fe" + std::string(n, ' ');
        case 5: return "1" + std::string(n, '0') + "E-" + std::string(40, '9');
        default: {
            std::string s;
            for (std::size_t i = 0; i < n; ++i) s += static_cast<char>(32 + rng.below(95));
            return s;
        }
    }
}

std::string blank_text(Rng& rng) {
    const char* const blanks[] = {"", " ", "  ", "\t", "\n", " \t \n "};
    return pick(rng, blanks);
}

std::string any_text(Rng& rng) {
    const double r = rng.unit();
    if (r < 0.30) return symbol_text(rng);
    if (r < 0.65) return number_text(rng);
    if (r < 0.72) return blank_text(rng);
    if (r < 0.80) return junk_text(rng);
    if (r < 0.85) return pick(rng, kNonAscii);
    if (r < 0.87) return long_text(rng);
    if (r < 0.93) return pick(rng, kLineTexts);
    return pick(rng, kFineTexts);
}

// A text suited to the field most of the time, anything otherwise.
std::string text_for(const RADirido& form, const Control& c, Rng& rng) {
    if (rng.chance(0.35)) return any_text(rng);
    if (&c == &form.Combo1) return pick(rng, kLineTexts);
    if (&c == &form.Combo2) return pick(rng, kFineTexts);
    if (&c == &form.Text1 || c.name().rfind("Text2(", 0) == 0) return symbol_text(rng);
    return number_text(rng);
}

// Splits a text into keystrokes: a multi-byte UTF-8 character is one keystroke.
std::vector<std::string> keystrokes(const std::string& s) {
    std::vector<std::string> keys;
    for (char ch : s) {
        const auto b = static_cast<unsigned char>(ch);
        if ((b & 0xC0) == 0x80 && !keys.empty())
            keys.back() += ch;
        else
            keys.emplace_back(1, ch);
    }
    return keys;
}

// ---------------------------------------------------------------------------
// Coordinates of the mouse

float plot_x(Rng& rng) {
    if (rng.chance(0.85)) return static_cast<float>(-10.0 + rng.unit() * 1038.0);
    const float extremes[] = {FLT_MAX, -FLT_MAX, 1e30f, -1e30f, 1e10f, -1e10f, 0.0f, -0.0f,
                              FLT_MIN, 1e-40f, 32768.5f, -32768.5f, 1023.5f, 1024.0f, 1e6f,
                              -0.5f, 0.49999997f, 2147483648.0f, 9.3e18f};
    return extremes[rng.below(sizeof extremes / sizeof extremes[0])];
}

float plot_y(Rng& rng) {
    if (rng.chance(0.85)) return static_cast<float>(-500.0 + rng.unit() * 12250.0);
    const float extremes[] = {FLT_MAX, -FLT_MAX, 1e30f, -1e30f, 0.0f, 499.0f, 500.0f,
                              11750.0f, 1e-40f, -32769.0f, 1e9f};
    return extremes[rng.below(sizeof extremes / sizeof extremes[0])];
}

MouseButton random_button(Rng& rng) {
    const MouseButton b[] = {MouseButton::None, MouseButton::Left, MouseButton::Right};
    return b[rng.below(3)];
}

const char* button_name(MouseButton b) {
    switch (b) {
        case MouseButton::Left: return "left";
        case MouseButton::Right: return "right";
        default: return "none";
    }
}

std::string fmt_float(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.9g", v);
    return buf;
}

// ---------------------------------------------------------------------------
// Checks

bool has_nan_or_inf(const std::string& s) {
    std::string lower(s);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The number-to-text form: a blank or minus, digits with at most one point, and
// an optional exponent "E+dd" / "E-dd"; reading it back and writing it again gives
// the same text.
bool number_form(const std::string& s) {
    if (s.size() < 2 || (s[0] != ' ' && s[0] != '-')) return false;
    std::size_t i = 1;
    int count = 0;
    bool point = false;
    for (; i < s.size() && (is_digit(s[i]) || (s[i] == '.' && !point)); ++i) {
        if (s[i] == '.')
            point = true;
        else
            ++count;
    }
    if (count == 0) return false;
    if (i < s.size()) {
        if (s[i] != 'E' || i + 2 >= s.size() || (s[i + 1] != '+' && s[i + 1] != '-'))
            return false;
        i += 2;
        const std::size_t first = i;
        while (i < s.size() && is_digit(s[i])) ++i;
        if (i != s.size() || i - first < 2) return false;
    }
    return text::Str(text::Val(s)) == s;
}

std::optional<std::string> read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void write_file(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// ---------------------------------------------------------------------------

class Session;
Session* g_current = nullptr;  // the running session, for the crash report

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
        g_current = this;
    }
    ~Session() {
        g_current = nullptr;
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    SessionResult run();
    // The seed, the action and the last actions, for a report.
    std::string history() const;

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
    bool type_into(Control& c);
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

    std::vector<Control*> visible_of(ControlKind kind) const;
    void set_typed(Control& c, const std::string& s);

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
    RADirido* form_ = nullptr;  // the planner's
    SessionResult result_;
    long index_ = 0;  // actions run so far
    std::deque<std::string> log_;
    std::map<const Control*, std::string> typed_;  // last text the user typed
    std::set<std::string> answers_;                // texts given to prompts
    Snapshot snapshot_;
};

void Session::make_files() {
    write_file(dir_ / "valid.txt", "2\r\n\"Fe\",\"10\"\r\n\"O\",\"60\"\r\n\"Si\",\"20\"\r\n");
    write_file(dir_ / "save.txt", "0\r\n\"Cu\",\"1\"\r\n");
    write_file(dir_ / "eleven.txt",
               "11\r\n\"Cu\",\"5\"\r\n\"O\",\"50\"\r\n\"Si\",\"20\"\r\n\"Al\",\"10\"\r\n"
               "\"Ca\",\"3\"\r\n\"Ti\",\"1\"\r\n\"Fe\",\"2\"\r\n\"Zn\",\"0.5\"\r\n\"Sr\",\"0.1\"\r\n"
               "\"Ba\",\"0.2\"\r\n\"Pb\",\"0.05\"\r\n\"U\",\"0.01\"\r\n");
    write_file(dir_ / "heavy.txt", "0\r\n\"Po\",\"1\"\r\n");
    write_file(dir_ / "lf.txt", "-10\n\"Zn\",\"3\"\n");
    write_file(dir_ / "odd.txt",
               "4\r\n\" Pb \",\"1e400\"\r\n\"fe\",\"-5\"\r\n\"\",\"abc\"\r\n\"Xx\",\"1,5\"\r\n"
               "\"W\",\"1e-320\"\r\n");
    write_file(dir_ / "minus3.txt", "-3\r\n\"Fe\",\"10\"\r\n");
    write_file(dir_ / "count12.txt", "12\r\n\"Fe\",\"10\"\r\n");
    write_file(dir_ / "truncated.txt", "3\r\n\"Fe\",\"10\"\r\n\"O\",\"60\"\r\n");
    write_file(dir_ / "noquote.txt", "1\r\nFe,10\r\nO,60\r\n");
    write_file(dir_ / "openquote.txt", "0\r\n\"Fe,\"10\r\n");
    write_file(dir_ / "empty.txt", "");
    write_file(dir_ / "broken.json", "{\"format\": \"lumetra-setup\", \"version\": 1, \"edge\": ");
    std::string garbage;
    for (int i = 0; i < 300; ++i) garbage += static_cast<char>(rng_.below(256));
    write_file(dir_ / "garbage.bin", garbage);
    write_file(dir_ / "big.txt", "1\r\n\"Fe\",\"10\"\r\n\"O\",\"" + std::string(70000, '6') + "\"\r\n");
    fs::create_directories(dir_ / "adir");
}

std::string Session::load_name() {
    const char* const names[] = {"valid.txt",   "save.txt",      "eleven.txt",   "heavy.txt",
                                 "lf.txt",      "odd.txt",       "count12.txt",  "truncated.txt",
                                 "minus3.txt",
                                 "noquote.txt", "openquote.txt", "empty.txt",    "garbage.bin",
                                 "big.txt",     "missing.txt",   "adir",         "new.txt"};
    return path(pick(rng_, names));
}

std::string Session::save_name() {
    const double r = rng_.unit();
    if (r < 0.05) return path("nodir/x.txt");  // a folder that does not exist
    if (r < 0.08) return path("adir");         // a folder, not a file
    if (r < 0.10) return path(std::string(300, 'n').c_str());  // name too long
    const char* const names[] = {"save.txt", "valid.txt", "eleven.txt", "new.txt",
                                 "truncated.txt", "garbage.bin"};
    return path(pick(rng_, names));
}

void Session::snapshot_files(Snapshot& out) const {
    out.clear();
    for (const auto& entry : fs::directory_iterator(dir_)) {
        if (!entry.is_regular_file()) continue;
        if (auto bytes = read_file(entry.path())) out[entry.path().filename().string()] = *bytes;
    }
}

// ---------------------------------------------------------------------------

SessionResult Session::run() {
    while (index_ < opt_.actions) {
        if (!random_action()) break;
    }
    result_.actions_done = index_;
    return result_;
}

bool Session::step(const std::string& what, const std::function<void()>& action, bool saving) {
    if (log_.size() == kLogLength) log_.pop_front();
    log_.push_back("#" + std::to_string(index_) + " " + what);
    if (opt_.trace) std::fprintf(stderr, "monkey %llu #%ld %s\n",
                                 static_cast<unsigned long long>(opt_.seed), index_, what.c_str());
    std::string failure;
    try {
        action();
    } catch (const std::exception& e) {
        failure = std::string("exception: ") + e.what();
    } catch (...) {
        failure = "unknown exception";
    }
    result_.dialogs += static_cast<long>(dialogs_.shown().size());
    for (const auto& d : dialogs_.shown()) {
        if (log_.size() == kLogLength) log_.pop_front();
        log_.push_back("    dialog: " + describe_text(d.text));
    }
    dialogs_.clear_shown();
    if (failure.empty()) failure = check();
    if (failure.empty()) failure = check_files(saving);
    ++index_;
    const auto& st = form_->st;
    if (st.Calc_state == 10) {
        ++result_.calculations;
        if (st.Sample_form == -10) ++result_.film_spectra;
        if (st.Edge_mode == -10) ++result_.l3_spectra;
    }
    if (form_->Picture1.picture().scale().bottom == 0.0f) ++result_.zoomed;
    result_.most_rows = std::max<int>(result_.most_rows, st.Elem_count);
    if (!failure.empty()) {
        result_.failure = failure + "\n" + history();
        return false;
    }
    return true;
}

std::string Session::history() const {
    std::ostringstream out;
    out << "monkey session seed " << opt_.seed << ", action #" << index_ << "\n";
    out << "reproduce: LUMETRA_MONKEY_SESSION=" << opt_.seed
        << " LUMETRA_MONKEY_ACTIONS=" << index_ + 1
        << " LUMETRA_MONKEY_TRACE=1 test_monkey --gtest_filter=MonkeyReplay.Session\n";
    out << "last actions:\n";
    for (const std::string& line : log_) out << "  " << line << "\n";
    return out.str();
}

void Session::maybe_queue_replies() {
    // At most one answer waits, so that Save and Load mostly get their file names.
    if (dialogs_.pending() == 0 && rng_.chance(0.15)) queue_random_reply();
}

void Session::queue_random_reply() {
    switch (rng_.below(6)) {
        case 0: dialogs_.queue_ok(); break;
        case 1: dialogs_.queue_yes(); break;
        case 2: dialogs_.queue_no(); break;
        case 3: {
            const char* const widths[] = {"0", "0.003", "abc", "0.02", "0.5", "", "1e400",
                                          "0.0101", "0.011", "-1", "nan", " .3"};
            std::string t = rng_.chance(0.7) ? pick(rng_, widths) : any_text(rng_);
            answers_.insert(t);
            dialogs_.queue_text(std::move(t));
            break;
        }
        case 4: dialogs_.queue_cancel(); break;
        default: dialogs_.queue_file(rng_.chance(0.5) ? load_name() : save_name()); break;
    }
}

std::vector<Control*> Session::visible_of(ControlKind kind) const {
    std::vector<Control*> out;
    for (Control* c : form_->controls())
        if (c->kind() == kind && c->visible() && c->enabled()) out.push_back(c);
    return out;
}

void Session::set_typed(Control& c, const std::string& s) {
    typed_[&c] = s;
    if (c.kind() == ControlKind::TextBox)
        static_cast<TextBox&>(c).set_text(s);
    else
        static_cast<ComboBox&>(c).set_text(s);
}

bool Session::random_action() {
    maybe_queue_replies();
    const double r = rng_.unit();
    if (r < 0.40) {
        std::vector<Control*> fields = visible_of(ControlKind::TextBox);
        for (Control* c : visible_of(ControlKind::ComboBox)) fields.push_back(c);
        if (fields.empty()) return click_button();
        return type_into(*lumetra::testing::field_favouring_the_sample(rng_, fields));
    }
    if (r < 0.55) return click_button();
    if (r < 0.61) return click_option();
    if (r < 0.66) return click_check();
    if (r < 0.74) return click_text_box();
    if (r < 0.79) return pick_item();
    if (r < 0.91) return plot_mouse();
    if (r < 0.95) return form_move();
    if (r < 0.96) return click_label();
    if (r < 0.975) return compose_sample();
    if (r < 0.985) return setup_file();
    if (r < 0.99) return composition_text();
    return save_or_load();
}

// The composition entry: texts as a lab writes them, odd ones and garbage, the
// problems accepted or not.
bool Session::composition_text() {
    const char* const texts[] = {"5 wt% Fe2O3, 95 wt% SiO2", "1 mM Cu(NO3)2 in H2O",
                                 "200 ppm As in SiO2",      "CuSO4.5H2O",
                                 "Fe2O3:5, SiO2:95",        "0.1 M ZnCl2 in water",
                                 "1 at% Pt in Al2O3",       "Mn0.5Fe0.5O",
                                 "co",                      "LiBNaMgAlSiPSClKCaTiFe",
                                 "5 wt% Xx in SiO2",        "103 wt% Fe"};
    const std::string t = rng_.chance(0.8) ? pick(rng_, texts) : any_text(rng_);
    const bool accept = rng_.chance(0.5);
    return step("composition \"" + t.substr(0, 40) + "\"",
                [&] { form_->apply_composition(t, accept); });
}

// Whole-setup files: save the window's setup, or load a good or a broken one.
bool Session::setup_file() {
    const bool save = rng_.chance(0.5);
    const fs::path p = dir_ / (save || rng_.chance(0.7) ? "setup.json" : "broken.json");
    return step(std::string(save ? "save setup " : "load setup ") + p.filename().string(), [&] {
        if (save) {
            planner_->save_setup(p.string());
        } else {
            planner_->load_setup(p.string());
        }
    });
}

// A whole sample typed in one go: a target that can be calculated, its content,
// matrix rows one after another, then often "Plot" or the L3 edge.
bool Session::compose_sample() {
    RADirido& f = *form_;
    auto type = [&](Control& c, const std::string& t) {
        return step("type " + c.name() + " " + describe_text(t), [&] { set_typed(c, t); });
    };
    if (!type(f.Text1, pick(rng_, kTargets))) return false;
    if (f.Text51.visible() && !type(f.Text51, content_text(rng_))) return false;
    const std::size_t rows = rng_.below(window::kRows + 1);
    for (std::size_t i = 0; i < rows; ++i) {
        TextBox& symbol = *f.Text2[i];
        if (!symbol.visible()) break;
        const std::string s = rng_.chance(0.9) ? pick(rng_, kMatrixElements) : symbol_text(rng_);
        if (!type(symbol, s)) return false;
        TextBox& content = *f.Text52[i];
        if (!content.visible()) break;
        if (!type(content, content_text(rng_))) return false;
    }
    if (rng_.chance(0.3) && !step("option Option2", [&] { f.Option2.user_click(); })) return false;
    if (rng_.chance(0.3) && !step("option Option6", [&] { f.Option6.user_click(); })) return false;
    if (f.Command1.visible() && f.Command1.enabled() && rng_.chance(0.7))
        return step("click Command1", [&] { f.Command1.click(); });
    return true;
}

bool Session::type_into(Control& c) {
    const std::string t = text_for(*form_, c, rng_);
    const std::string& current = c.caption();
    const double mode = rng_.unit();
    if (mode < 0.25 && t.size() <= 24) {
        // Select all and type the text key by key.
        std::string now;
        for (const std::string& key : keystrokes(t)) {
            now += key;
            const std::string s = now;
            if (!step("key " + c.name() + " " + describe_text(s), [&] { set_typed(c, s); }))
                return false;
        }
        return true;
    }
    if (mode < 0.35 && t.size() <= 24) {
        // Append to what stands there.
        std::string now = current;
        for (const std::string& key : keystrokes(t)) {
            now += key;
            const std::string s = now;
            if (!step("key " + c.name() + " " + describe_text(s), [&] { set_typed(c, s); }))
                return false;
        }
        return true;
    }
    if (mode < 0.42 && !current.empty()) {
        // Backspace a few times.
        std::vector<std::string> keys = keystrokes(current);
        for (std::size_t n = 1 + rng_.below(3); n > 0 && !keys.empty(); --n) {
            keys.pop_back();
            std::string s;
            for (const std::string& k : keys) s += k;
            if (!step("backspace " + c.name() + " " + describe_text(s), [&] { set_typed(c, s); }))
                return false;
        }
        return true;
    }
    // Paste the whole text at once.
    return step("type " + c.name() + " " + describe_text(t), [&] { set_typed(c, t); });
}

bool Session::click_button() {
    std::vector<Control*> buttons = visible_of(ControlKind::CommandButton);
    if (buttons.empty()) return step("no button", [] {});
    auto* b = static_cast<CommandButton*>(buttons[rng_.below(buttons.size())]);
    // Save and Load get a file name most of the time.
    if ((b == &form_->Command5 || b == &form_->Command6) && dialogs_.pending() == 0 &&
        rng_.chance(0.7)) {
        dialogs_.queue_file(b == &form_->Command5 ? save_name() : load_name());
    }
    const bool saving = b == &form_->Command5;
    return step("click " + b->name() + " " + describe_text(b->caption()), [b] { b->click(); },
                saving);
}

bool Session::click_option() {
    std::vector<Control*> options = visible_of(ControlKind::OptionButton);
    if (options.empty()) return step("no option", [] {});
    auto* o = static_cast<OptionButton*>(options[rng_.below(options.size())]);
    return step("option " + o->name(), [o] { o->user_click(); });
}

bool Session::click_check() {
    std::vector<Control*> checks = visible_of(ControlKind::CheckBox);
    if (checks.empty()) return step("no check box", [] {});
    auto* c = static_cast<CheckBox*>(checks[rng_.below(checks.size())]);
    return step("check " + c->name(), [c] { c->user_click(); });
}

bool Session::click_text_box() {
    std::vector<Control*> boxes = visible_of(ControlKind::TextBox);
    std::vector<Control*> rows;
    for (Control* c : boxes)
        if (c->name().rfind("Text2(", 0) == 0) rows.push_back(c);
    if (!rows.empty() && rng_.chance(0.85)) boxes = rows;
    if (boxes.empty()) return step("no text box", [] {});
    auto* t = static_cast<TextBox*>(boxes[rng_.below(boxes.size())]);
    const std::size_t how = rng_.below(3);
    if (how == 2 && dialogs_.pending() == 0 && rng_.chance(0.8)) {
        if (rng_.chance(0.6))
            dialogs_.queue_yes();
        else
            dialogs_.queue_no();
    }
    if (how == 0) return step("left click " + t->name(), [t] { t->user_left_click(); });
    if (how == 1) return step("right click " + t->name(), [t] { t->user_right_click(); });
    return step("double click " + t->name(), [t] { t->user_dbl_click(); });
}

bool Session::pick_item() {
    ComboBox& c = rng_.chance(0.5) ? form_->Combo1 : form_->Combo2;
    if (!c.visible() || c.items().empty()) return step("no list", [] {});
    const std::string item = c.items()[rng_.below(c.items().size())];
    return step("pick " + c.name() + " " + describe_text(item), [&] {
        typed_[&c] = item;
        c.user_pick(item);
    });
}

bool Session::plot_mouse() {
    window::PictureBox& p = form_->Picture1;
    auto event = [&](const char* kind, MouseButton b, float x, float y,
                     const std::function<void(MouseButton, float, float)>& handler) {
        return step(std::string("plot ") + kind + " " + button_name(b) + " " + fmt_float(x) + " " +
                        fmt_float(y),
                    [&] { handler(b, x, y); });
    };
    const double r = rng_.unit();
    if (r < 0.45) {
        // A drag with the left button: down, some moves, up.
        if (!event("down", MouseButton::Left, plot_x(rng_), plot_y(rng_), p.on_mouse_down))
            return false;
        for (std::size_t n = rng_.below(4); n > 0; --n)
            if (!event("move", MouseButton::Left, plot_x(rng_), plot_y(rng_), p.on_mouse_move))
                return false;
        return event("up", MouseButton::Left, plot_x(rng_), plot_y(rng_), p.on_mouse_up);
    }
    if (r < 0.6) {
        // A right click: back to the full view.
        const float x = plot_x(rng_), y = plot_y(rng_);
        if (!event("down", MouseButton::Right, x, y, p.on_mouse_down)) return false;
        return event("up", MouseButton::Right, x, y, p.on_mouse_up);
    }
    if (r < 0.85) return event("move", MouseButton::None, plot_x(rng_), plot_y(rng_), p.on_mouse_move);
    // A single event of any kind with any button.
    const MouseButton b = random_button(rng_);
    switch (rng_.below(3)) {
        case 0: return event("down", b, plot_x(rng_), plot_y(rng_), p.on_mouse_down);
        case 1: return event("move", b, plot_x(rng_), plot_y(rng_), p.on_mouse_move);
        default: return event("up", b, plot_x(rng_), plot_y(rng_), p.on_mouse_up);
    }
}

bool Session::form_move() {
    auto coordinate = [&](int lo, int hi) {
        if (rng_.chance(0.1)) {
            const int extremes[] = {INT_MIN, INT_MAX, -1, 0, 2524, 10810, 3380, 7460};
            return extremes[rng_.below(sizeof extremes / sizeof extremes[0])];
        }
        return lo + static_cast<int>(rng_.below(static_cast<std::size_t>(hi - lo)));
    };
    const int x = coordinate(-1000, 12000);
    const int y = coordinate(-1000, 9000);
    return step("window move " + std::to_string(x) + " " + std::to_string(y),
                [&] { form_->Form_MouseMove(x, y); });
}

bool Session::click_label() {
    std::vector<Label*> clickable;
    for (Control* c : form_->controls())
        if (c->kind() == ControlKind::Label && c->visible() && static_cast<Label*>(c)->on_click)
            clickable.push_back(static_cast<Label*>(c));
    if (clickable.empty()) return step("no clickable label", [] {});
    Label* l = clickable[rng_.below(clickable.size())];
    return step("click " + l->name(), [l] { l->click(); });
}

bool Session::save_or_load() {
    const bool save = rng_.chance(0.5);
    CommandButton& b = save ? form_->Command5 : form_->Command6;
    if (dialogs_.pending() == 0) {
        if (rng_.chance(0.9))
            dialogs_.queue_file(save ? save_name() : load_name());
        else
            dialogs_.queue_cancel();
    }
    return step(std::string(save ? "save" : "load") + " (click " + b.name() + ")",
                [&b] { b.click(); }, save);
}

// ---------------------------------------------------------------------------
// Invariants

std::string Session::check() {
    for (std::string failure : {check_state(), check_spectra(), check_labels(),
                                check_written_fields(), check_visibility(), check_picture()}) {
        if (!failure.empty()) return failure;
    }
    if (dialogs_.pending() > 16) return "dialog replies pile up: " + std::to_string(dialogs_.pending());
    return {};
}

std::string Session::check_state() const {
    const auto& st = form_->st;
    std::ostringstream out;
    if (!(st.Elem_count == -10 || (st.Elem_count >= 0 && st.Elem_count <= 11)))
        out << "Elem_count is " << st.Elem_count << "; ";
    if (!(st.Calc_state == -10 || st.Calc_state == 0 || st.Calc_state == 10))
        out << "Calc_state is " << st.Calc_state << "; ";
    if (st.Edge_mode != 10 && st.Edge_mode != -10) out << "Edge_mode is " << st.Edge_mode << "; ";
    if (st.Sample_form != 10 && st.Sample_form != -10)
        out << "Sample_form is " << st.Sample_form << "; ";
    if (form_->view.Coarse_index < 0 || form_->view.Coarse_index > 7)
        out << "Coarse_index is " << form_->view.Coarse_index << "; ";
    // The option groups agree with the state they choose.
    if (form_->Option1.value() == form_->Option2.value()) out << "edge options both alike; ";
    if (form_->Option2.value() != (st.Edge_mode == -10))
        out << "L3 option " << form_->Option2.value() << " with Edge_mode " << st.Edge_mode << "; ";
    if (form_->Option3.value() == form_->Option4.value()) out << "scale options both alike; ";
    if (form_->Option5.value() == form_->Option6.value()) out << "sample options both alike; ";
    if (form_->Option6.value() != (st.Sample_form == -10))
        out << "film option " << form_->Option6.value() << " with Sample_form " << st.Sample_form
            << "; ";
    for (int i = 0; i < engine::kElements; ++i) {
        if (!std::isfinite(st.Elem_content[i].num()) || !std::isfinite(st.Elem_mass[i]))
            out << "element " << i << " has a content or mass that is not finite; ";
        for (int j = 0; j < engine::kSlots; ++j)
            if (!std::isfinite(st.Line_energy[i][j]) || !std::isfinite(st.Line_yield[i][j]))
                out << "line " << i << "," << j << " not finite; ";
    }
    if (!std::isfinite(st.Areal_factor)) out << "Areal_factor not finite; ";
    return out.str();
}

std::string Session::check_spectra() const {
    const auto& st = form_->st;
    const std::pair<const char*, const engine::Spectrum*> arrays[] = {
        {"Spec_total", &st.Spec_total},     {"Spec_target", &st.Spec_target},
        {"Spec_line", &st.Spec_line},       {"Spec_mark", &st.Spec_mark},
        {"Spec_argon", &st.Spec_argon},     {"Spec_elastic", &st.Spec_elastic},
        {"Spec_escape", &st.Spec_escape},   {"Spec_pileup", &st.Spec_pileup}};
    for (const auto& [name, a] : arrays) {
        for (std::size_t k = 0; k < a->size(); ++k) {
            if (!std::isfinite((*a)[k]))
                return std::string(name) + "(" + std::to_string(k) + ") = " + fmt_float((*a)[k]);
        }
    }
    return {};
}

std::string Session::check_labels() const {
    // Labels are written only by the program.
    for (Control* c : form_->controls()) {
        if (c->kind() != ControlKind::Label) continue;
        if (has_nan_or_inf(c->caption()))
            return c->name() + " shows " + describe_text(c->caption());
    }
    // These always hold a number in the number-to-text form; the four ratios start
    // as the plain "1" of the start-up.
    for (const Label* l : {&form_->Label8, &form_->Label9, &form_->Label25, &form_->Label34,
                           &form_->Label35, &form_->Label37}) {
        const bool start_up_ratio = l != &form_->Label8 && l != &form_->Label9 &&
                                    l->caption() == "1";
        if (!start_up_ratio && !number_form(l->caption()))
            return l->name() + " is not a number: " + describe_text(l->caption());
    }
    // The edge energy: a number, or empty while there is no valid target.
    const std::string& edge = form_->Label30.caption();
    if (!edge.empty() && !number_form(edge))
        return "Label30 is not a number: " + describe_text(edge);
    return {};
}

std::string Session::check_written_fields() const {
    // Fields the program writes into as well as the user: what the program wrote
    // (anything but the user's last typing or a prompt answer) is a finite number.
    for (const TextBox* t : {&form_->Text11, &form_->Text16, &form_->Text19, &form_->Text20}) {
        auto it = typed_.find(t);
        if (it != typed_.end() && it->second == t->text()) continue;
        if (t == &form_->Text16 && answers_.count(t->text())) continue;
        if (has_nan_or_inf(t->text())) return t->name() + " was set to " + describe_text(t->text());
    }
    return {};
}

std::string Session::check_visibility() const {
    const RADirido& f = *form_;
    const bool film = f.st.Sample_form == -10;
    for (const Control* c : {static_cast<const Control*>(&f.Text23),
                             static_cast<const Control*>(&f.Text24),
                             static_cast<const Control*>(&f.Label49),
                             static_cast<const Control*>(&f.Label50)}) {
        if (c->visible() != film)
            return c->name() + (c->visible() ? " visible" : " hidden") + " with Sample_form " +
                   std::to_string(f.st.Sample_form);
    }
    return {};
}

std::string Session::check_picture() const {
    const display::Picture& pic = form_->Picture1.picture();
    const display::UserScale& s = pic.scale();
    if (!std::isfinite(s.left) || !std::isfinite(s.top) || !std::isfinite(s.right) ||
        !std::isfinite(s.bottom))
        return "plot scale not finite: " + fmt_float(s.left) + " " + fmt_float(s.top) + " " +
               fmt_float(s.right) + " " + fmt_float(s.bottom);
    for (const display::PlotOp& op : pic.ops()) {
        if (!std::isfinite(op.x1) || !std::isfinite(op.y1) || !std::isfinite(op.x2) ||
            !std::isfinite(op.y2))
            return "plot operation with a coordinate that is not finite";
    }
    return {};
}

std::string Session::composition_mismatch(const io::Composition& c) const {
    const RADirido& f = *form_;
    const int rows = std::clamp<int>(f.st.Elem_count, 0, window::kRows);
    const int count = f.st.Elem_count > window::kRows ? window::kRows : f.st.Elem_count;
    if (c.count != count) return "count " + std::to_string(c.count) + " for Elem_count " +
                                 std::to_string(f.st.Elem_count);
    if (c.target_symbol != f.Text1.text() || c.target_content != f.Text51.text())
        return "target line differs from the fields";
    if (static_cast<int>(c.rows.size()) != rows) return "row count differs";
    for (int i = 0; i < rows; ++i) {
        if (c.rows[i].first != f.Text2[i]->text() || c.rows[i].second != f.Text52[i]->text())
            return "row " + std::to_string(i) + " differs from the fields";
    }
    return {};
}

std::string Session::check_files(bool saving) {
    Snapshot now;
    snapshot_files(now);
    std::string failure;
    for (const auto& [name, bytes] : now) {
        // Save writes ".NAME.saving-XXXXXX" first and renames it over NAME.
        if (name.size() > 1 && name[0] == '.' && name.find(".saving-") != std::string::npos) {
            failure = "a half-written file was left behind: " + name;
            break;
        }
        auto old = snapshot_.find(name);
        if (old != snapshot_.end() && old->second == bytes) continue;
        // A setup file holds JSON, not a composition: whatever was saved reads back.
        if (name.size() > 5 && name.compare(name.size() - 5, 5, ".json") == 0) {
            const io::SetupParse setup = io::parse_setup(bytes);
            if (!setup.setup) {
                failure = "saved setup " + name + " does not read back: " + setup.error;
                break;
            }
            continue;
        }
        // A new or changed file: only Save writes, and only a complete composition,
        // the one the fields hold.
        if (!saving) {
            failure = name + " changed without a Save";
            break;
        }
        const io::ParseResult parsed = io::parse_parameters(bytes);
        if (!parsed.composition) {
            failure = "saved file " + name + " does not read back: " + parsed.error;
            break;
        }
        const std::string mismatch = composition_mismatch(*parsed.composition);
        if (!mismatch.empty()) {
            failure = "saved file " + name + ": " + mismatch;
            break;
        }
        ++result_.saves;
    }
    if (failure.empty()) {
        for (const auto& [name, bytes] : snapshot_) {
            if (!now.count(name)) {
                failure = name + " disappeared";
                break;
            }
        }
    }
    snapshot_ = std::move(now);
    return failure;
}

#ifdef LUMETRA_MONKEY_SANITIZED
void report_death() {
    if (g_current == nullptr) return;
    const std::string h = g_current->history();
    std::fputs(h.c_str(), stderr);
}
#else
extern "C" void report_signal(int sig) {
    if (g_current != nullptr) {
        const std::string h = g_current->history();
        if (::write(2, h.data(), h.size()) < 0) {
        }
    }
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}
#endif

void install_crash_report() {
    static bool installed = false;
    if (installed) return;
    installed = true;
#ifdef LUMETRA_MONKEY_SANITIZED
    __sanitizer_set_death_callback(report_death);
#else
    for (int sig : {SIGSEGV, SIGABRT, SIGFPE, SIGILL, SIGBUS}) std::signal(sig, report_signal);
#endif
}

}  // namespace

SessionResult run_session(const SessionOptions& options) {
    install_crash_report();
    Session session(options);
    return session.run();
}

}  // namespace lumetra::monkey
