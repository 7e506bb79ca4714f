// The session's files and a user's actions: typing, clicking, picking, the mouse
// on the plot and over the window, dialogs answered, files saved and loaded.

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>

#include "io/setup_format.h"
#include "monkey/inputs.h"
#include "monkey/session.h"

namespace lumetra::monkey {

namespace {

constexpr std::size_t kLogLength = 30;

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

}  // namespace

void Session::make_files() {
    write_file(dir_ / "valid.txt", "2\r\n\"Fe\",\"10\"\r\n\"O\",\"60\"\r\n\"Si\",\"20\"\r\n");
    write_file(dir_ / "save.txt", "0\r\n\"Cu\",\"1\"\r\n");
    write_file(
        dir_ / "eleven.txt",
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
    write_file(dir_ / "big.txt",
               "1\r\n\"Fe\",\"10\"\r\n\"O\",\"" + std::string(70000, '6') + "\"\r\n");
    fs::create_directories(dir_ / "adir");
}

std::string Session::load_name() {
    const char* const names[] = {
        "valid.txt",   "save.txt",      "eleven.txt",  "heavy.txt",   "lf.txt",        "odd.txt",
        "count12.txt", "truncated.txt", "minus3.txt",  "noquote.txt", "openquote.txt", "empty.txt",
        "garbage.bin", "big.txt",       "missing.txt", "adir",        "new.txt"};
    return path(pick(rng_, names));
}

std::string Session::save_name() {
    const double r = rng_.unit();
    if (r < 0.05) return path("nodir/x.txt");                  // a folder that does not exist
    if (r < 0.08) return path("adir");                         // a folder, not a file
    if (r < 0.10) return path(std::string(300, 'n').c_str());  // name too long
    const char* const names[] = {"save.txt", "valid.txt",     "eleven.txt",
                                 "new.txt",  "truncated.txt", "garbage.bin"};
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
    if (opt_.trace)
        std::fprintf(stderr, "monkey %llu #%ld %s\n", static_cast<unsigned long long>(opt_.seed),
                     index_, what.c_str());
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
            const char* const widths[] = {"0",     "0.003",  "abc",   "0.02", "0.5", "",
                                          "1e400", "0.0101", "0.011", "-1",   "nan", " .3"};
            std::string t = rng_.chance(0.7) ? pick(rng_, widths) : any_text(rng_);
            answers_.insert(t);
            dialogs_.queue_text(std::move(t));
            break;
        }
        case 4:
            dialogs_.queue_cancel();
            break;
        default:
            dialogs_.queue_file(rng_.chance(0.5) ? load_name() : save_name());
            break;
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
    const char* const texts[] = {"5 wt% Fe2O3, 95 wt% SiO2",
                                 "1 mM Cu(NO3)2 in H2O",
                                 "200 ppm As in SiO2",
                                 "CuSO4.5H2O",
                                 "Fe2O3:5, SiO2:95",
                                 "0.1 M ZnCl2 in water",
                                 "1 at% Pt in Al2O3",
                                 "Mn0.5Fe0.5O",
                                 "co",
                                 "LiBNaMgAlSiPSClKCaTiFe",
                                 "5 wt% Xx in SiO2",
                                 "103 wt% Fe"};
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
    if (!type(f.Text1, target_symbol(rng_))) return false;
    if (f.Text51.visible() && !type(f.Text51, content_text(rng_))) return false;
    const std::size_t rows = rng_.below(window::kRows + 1);
    for (std::size_t i = 0; i < rows; ++i) {
        TextBox& symbol = *f.Text2[i];
        if (!symbol.visible()) break;
        const std::string s = rng_.chance(0.9) ? matrix_symbol(rng_) : symbol_text(rng_);
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

// Types t key by key after `start`, each keystroke one action.
bool Session::type_keys(Control& c, const std::string& start, const std::string& t) {
    std::string now = start;
    for (const std::string& key : keystrokes(t)) {
        now += key;
        const std::string s = now;
        if (!step("key " + c.name() + " " + describe_text(s), [&] { set_typed(c, s); }))
            return false;
    }
    return true;
}

bool Session::type_into(Control& c) {
    const std::string t = text_for(*form_, c, rng_);
    const std::string& current = c.caption();
    const double mode = rng_.unit();
    if (mode < 0.25 && t.size() <= 24) {
        // Select all and type the text key by key.
        return type_keys(c, "", t);
    }
    if (mode < 0.35 && t.size() <= 24) {
        // Append to what stands there.
        return type_keys(c, current, t);
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
    return step(
        "click " + b->name() + " " + describe_text(b->caption()), [b] { b->click(); }, saving);
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
    if (r < 0.85)
        return event("move", MouseButton::None, plot_x(rng_), plot_y(rng_), p.on_mouse_move);
    // A single event of any kind with any button.
    const MouseButton b = random_button(rng_);
    switch (rng_.below(3)) {
        case 0:
            return event("down", b, plot_x(rng_), plot_y(rng_), p.on_mouse_down);
        case 1:
            return event("move", b, plot_x(rng_), plot_y(rng_), p.on_mouse_move);
        default:
            return event("up", b, plot_x(rng_), plot_y(rng_), p.on_mouse_up);
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
    return step(
        std::string(save ? "save" : "load") + " (click " + b.name() + ")", [&b] { b.click(); },
        save);
}

}  // namespace lumetra::monkey
