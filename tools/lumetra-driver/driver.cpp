#include "driver.h"

#include <QBuffer>
#include <QPixmap>
#include <algorithm>
#include <array>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <functional>
#include <limits>
#include <map>
#include <vector>

#include "arguments.h"
#include "chem/composition.h"
#include "common/numtext.h"
#include "data/lines.h"
#include "engine/transmission.h"
#include "io/file_io.h"
#include "physics/xrl.h"
#include "picture_text.h"
#include "planning/spectrum_csv.h"
#include "window/qt/export.h"
#include "window/qt/report.h"

namespace lumetra::driver {

namespace {

using window::Control;
using window::ControlKind;
using window::MouseButton;

using Handler = void (window::RADirido::*)();

const std::map<std::string_view, Handler>& plain_procedures() {
    using F = window::RADirido;
    static const std::map<std::string_view, Handler> table = {
        {"Init_form", &F::Init_form},
        {"Text1_Change", &F::Text1_Change},
        {"Option1_Click", &F::Option1_Click},
        {"Option2_Click", &F::Option2_Click},
        {"Combo1_Change", &F::Combo1_Change},
        {"Combo1_Click", &F::Combo1_Click},
        {"Command1_Click", &F::Command1_Click},
        {"Line_select", &F::Line_select},
        {"Text51_Change", &F::Text51_Change},
        {"First_row", &F::First_row},
        {"Command2_Click", &F::Command2_Click},
        {"Command3_Click", &F::Command3_Click},
        {"Option5_Click", &F::Option5_Click},
        {"Option6_Click", &F::Option6_Click},
        {"Text21_Change", &F::Text21_Change},
        {"Text22_Change", &F::Text22_Change},
        {"Text23_Change", &F::Text23_Change},
        {"Text24_Change", &F::Text24_Change},
        {"Command5_Click", &F::Command5_Click},
        {"Command6_Click", &F::Command6_Click},
        {"Set_scale", &F::Set_scale},
        {"Auto_tune", &F::Auto_tune},
        {"Full_scale", &F::Full_scale},
        {"Combo2_Change", &F::Combo2_Change},
        {"Combo2_Click", &F::Combo2_Click},
        {"Command23_Click", &F::Command23_Click},
        {"Command24_Click", &F::Command24_Click},
        {"Command4_Click", &F::Command4_Click},
        {"Command9_Click", &F::Command9_Click},
        {"Command10_Click", &F::Command10_Click},
        {"Command11_Click", &F::Command11_Click},
        {"Text11_Change", &F::Text11_Change},
        {"Text12_Change", &F::Text12_Change},
        {"Text16_Change", &F::Text16_Change},
        {"Plot_spectrum", &F::Plot_spectrum},
        {"Option3_Click", &F::Option3_Click},
        {"Option4_Click", &F::Option4_Click},
        {"Check1_Click", &F::Check1_Click},
        {"Check11_Click", &F::Check11_Click},
        {"Check21_Click", &F::Check21_Click},
        {"Check3_Click", &F::Check3_Click},
        {"Text19_Change", &F::Text19_Change},
        {"Text20_Change", &F::Text20_Change},
        {"Command26_Click", &F::Command26_Click},
        {"Command27_Click", &F::Command27_Click},
        {"Label37_Click", &F::Label37_Click},
        {"Re_calc", &F::Re_calc},
        {"Calc_spectrum", &F::Calc_spectrum},
    };
    return table;
}

}  // namespace

Driver::Driver(std::ostream& out, int& argc, char** argv) : out_(out), argc_(argc), argv_(argv) {
    dialogs_.on_shown = [this](const common::DialogRecord& d) {
        using K = common::DialogRecord::Kind;
        switch (d.kind) {
            case K::Message:
                out_ << "MSG " << d.text << '\n';
                break;
            case K::Question:
                out_ << "ASK " << d.text << '\n';
                break;
            case K::Prompt:
                out_ << "PROMPT " << d.text << '\n';
                break;
            case K::FileSave:
                out_ << "FILE save\n";
                break;
            case K::FileLoad:
                out_ << "FILE load\n";
                break;
        }
    };
    planner_ = std::make_unique<planning::Planner>(dialogs_);
    form_ = &planner_->form();
    registry_ = std::make_unique<window::StateRegistry>(*form_);
}

Driver::~Driver() {
    view_.reset();
    registry_.reset();
    form_ = nullptr;
    planner_.reset();
}

void Driver::run_line(std::string_view line) {
    // A script saved with CR LF line ends reads the same.
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') return;
    std::string_view rest = line;
    const std::string_view command = take_word(rest);
    try {
        dispatch(command, rest);
    } catch (const Failure& f) {
        failed_ = true;
        out_ << "ERROR " << f.reason << '\n';
    } catch (const std::exception& e) {
        // Nothing in the form throws by design; should a library call do so (out of
        // memory on a giant text), the script still goes on.
        failed_ = true;
        out_ << "ERROR " << command << " failed: " << e.what() << '\n';
    }
}

void Driver::dispatch(std::string_view command, std::string_view rest) {
    if (command == "set") return cmd_set(rest);
    if (command == "click") return cmd_click(rest);
    if (command == "rclick") return cmd_rclick(rest, false);
    if (command == "dblclick") return cmd_rclick(rest, true);
    if (command == "pick") return cmd_pick(rest);
    if (command == "mouse") return cmd_mouse(rest);
    if (command == "formmove") return cmd_formmove(rest);
    if (command == "reply") return cmd_reply(rest);
    if (command == "get") return cmd_get(rest);
    if (command == "state") return cmd_state(rest);
    if (command == "spectrum") return cmd_spectrum(rest);
    if (command == "list") return cmd_list(rest);
    if (command == "picture") return cmd_picture(rest);
    if (command == "screenshot") return cmd_screenshot(rest);
    if (command == "grab") return cmd_grab(rest);
    if (command == "call") return cmd_call(rest);
    if (command == "let") return cmd_let(rest);
    if (command == "run") return cmd_run(rest);
    if (command == "model") return cmd_model(rest);
    if (command == "setup") return cmd_setup(rest);
    if (command == "rates") return cmd_rates(rest);
    if (command == "resize") return cmd_resize(rest);
    if (command == "setupfile") return cmd_setupfile(rest);
    if (command == "export") return cmd_export(rest);
    if (command == "composition") return cmd_composition(rest);
    if (command == "composition?") return cmd_composition_preview(rest);
    fail("unknown command " + std::string(command));
}

void Driver::cmd_resize(std::string_view rest) {
    const auto w = exactly(rest, 2, "resize W H");
    double width = 0, height = 0;
    if (!window::parse_number(w[0], width) || !window::parse_number(w[1], height) ||
        !(width >= 1 && width <= 16384 && height >= 1 && height <= 16384))
        fail("usage: resize W H (pixels, 1 to 16384)");
    ensure_view();
    view_->resize(static_cast<int>(width), static_cast<int>(height));
    QApplication::processEvents();
}

void Driver::cmd_set(std::string_view rest) {
    Control& c = control(take_word(rest));
    const std::string text = unescape(rest);
    if (c.kind() == ControlKind::TextBox) {
        static_cast<window::TextBox&>(c).set_text(text);
    } else if (c.kind() == ControlKind::ComboBox) {
        static_cast<window::ComboBox&>(c).set_text(text);
    } else {
        fail(c.name() + " is a " + kind_name(c.kind()) + ", not a text or combo box");
    }
}

void Driver::cmd_click(std::string_view rest) {
    Control& c = control(exactly(rest, 1, "click NAME")[0]);
    switch (c.kind()) {
        case ControlKind::CommandButton:
            static_cast<window::CommandButton&>(c).click();
            return;
        case ControlKind::OptionButton:
            static_cast<window::OptionButton&>(c).user_click();
            return;
        case ControlKind::CheckBox:
            static_cast<window::CheckBox&>(c).user_click();
            return;
        case ControlKind::Label:
        case ControlKind::Frame:
            static_cast<window::Label&>(c).click();
            return;
        case ControlKind::TextBox:
            static_cast<window::TextBox&>(c).user_left_click();
            return;
        default:
            fail(c.name() + " is a " + kind_name(c.kind()) + " and takes no click");
    }
}

void Driver::cmd_rclick(std::string_view rest, bool dbl) {
    Control& c = control(exactly(rest, 1, dbl ? "dblclick NAME" : "rclick NAME")[0]);
    if (c.kind() != ControlKind::TextBox) fail(c.name() + " is not a text box");
    auto& box = static_cast<window::TextBox&>(c);
    if (dbl) {
        box.user_dbl_click();
    } else {
        box.user_right_click();
    }
}

void Driver::cmd_pick(std::string_view rest) {
    Control& c = control(take_word(rest));
    if (c.kind() != ControlKind::ComboBox) fail(c.name() + " is not a combo box");
    auto& combo = static_cast<window::ComboBox&>(c);
    const std::string item = unescape(rest);
    const auto& items = combo.items();
    if (std::find(items.begin(), items.end(), item) == items.end()) {
        fail(c.name() + " has no list item " + item);
    }
    combo.user_pick(item);
}

void Driver::cmd_mouse(std::string_view rest) {
    const auto w = exactly(rest, 4, "mouse down|move|up BUTTON X Y");
    const MouseButton b = button_arg(w[1]);
    const float x = coordinate(w[2]);
    const float y = coordinate(w[3]);
    window::PictureBox& pic = form_->Picture1;
    const std::function<void(MouseButton, float, float)>* handler = nullptr;
    if (w[0] == "down") {
        handler = &pic.on_mouse_down;
    } else if (w[0] == "move") {
        handler = &pic.on_mouse_move;
    } else if (w[0] == "up") {
        handler = &pic.on_mouse_up;
    } else {
        fail("mouse action must be down, move or up");
    }
    if (*handler) (*handler)(b, x, y);
}

void Driver::cmd_formmove(std::string_view rest) {
    const auto w = exactly(rest, 2, "formmove X Y");
    const int x = int_arg(w[0]);
    const int y = int_arg(w[1]);
    form_->Form_MouseMove(x, y);
}

void Driver::cmd_reply(std::string_view rest) {
    using R = common::ScriptedDialogs::Reply;
    const std::string_view kind = take_word(rest);
    if (kind == "text") return dialogs_.queue_text(unescape(rest));
    if (kind == "file") {
        if (rest.empty()) fail("usage: reply file PATH");
        return dialogs_.queue_file(std::string(rest));
    }
    if (!rest.empty()) fail("usage: reply ok|yes|no|cancel|text TEXT|file PATH");
    if (kind == "ok") return dialogs_.queue({R::Kind::Ok, {}});
    if (kind == "yes") return dialogs_.queue_yes();
    if (kind == "no") return dialogs_.queue_no();
    if (kind == "cancel") return dialogs_.queue_cancel();
    fail("unknown reply " + std::string(kind));
}

void Driver::cmd_get(std::string_view rest) {
    const auto w = words(rest);
    if (w.empty() || w.size() > 2) fail("usage: get NAME [PROP]");
    Control& c = control(w[0]);
    if (w.size() == 1) {
        out_ << c.name() << '=' << c.caption() << '\n';
        return;
    }
    const std::string_view prop = w[1];
    std::string value;
    if (prop == "ForeColor") {
        value = c.fore_color().text();
    } else if (prop == "BackColor") {
        value = c.back_color().text();
    } else if (prop == "Visible") {
        value = c.visible() ? "1" : "0";
    } else if (prop == "Enabled") {
        value = c.enabled() ? "1" : "0";
    } else if (prop == "Left") {
        value = std::to_string(c.left());
    } else if (prop == "Top") {
        value = std::to_string(c.top());
    } else if (prop == "Width") {
        value = std::to_string(c.width());
    } else if (prop == "Height") {
        value = std::to_string(c.height());
    } else if (prop == "Value") {
        if (c.kind() == ControlKind::OptionButton) {
            value = static_cast<window::OptionButton&>(c).value() ? "1" : "0";
        } else if (c.kind() == ControlKind::CheckBox) {
            value = std::to_string(static_cast<window::CheckBox&>(c).value());
        } else {
            fail(c.name() + " has no Value");
        }
    } else {
        fail("unknown property " + std::string(prop));
    }
    out_ << c.name() << '.' << prop << '=' << value << '\n';
}

void Driver::cmd_state(std::string_view rest) {
    const auto name = exactly(rest, 1, "state NAME")[0];
    std::string value, error;
    if (!registry_->read(name, value, error)) fail(error);
    out_ << name << '=' << value << '\n';
}

void Driver::cmd_spectrum(std::string_view rest) {
    const auto name = exactly(rest, 1, "spectrum NAME")[0];
    const engine::Spectrum* s = registry_->spectrum(name);
    if (!s) fail("unknown spectrum " + std::string(name));
    std::string line(name);
    line += '=';
    for (std::size_t i = 0; i < s->size(); ++i) {
        if (i) line += ' ';
        line += window::format_number((*s)[i]);
    }
    out_ << line << '\n';
}

void Driver::cmd_list(std::string_view rest) {
    Control& c = control(exactly(rest, 1, "list NAME")[0]);
    if (c.kind() != ControlKind::ComboBox) fail(c.name() + " is not a combo box");
    const auto& items = static_cast<window::ComboBox&>(c).items();
    out_ << c.name() << '=';
    for (std::size_t i = 0; i < items.size(); ++i) out_ << (i ? "|" : "") << items[i];
    out_ << '\n';
}

void Driver::cmd_picture(std::string_view rest) {
    // "picture" is the spectrum plot; "picture ScanPicture" the panel's scan preview
    // (finished first); "summary" after either prints the drawing in brief.
    bool scan = false, summary = false;
    for (std::string_view w : words(rest)) {
        if (w == "ScanPicture" && !scan && !summary) {
            scan = true;
        } else if (w == "summary" && !summary) {
            summary = true;
        } else {
            fail("usage: picture [ScanPicture] [summary]");
        }
    }
    const display::Picture* chosen = &form_->Picture1.picture();
    if (scan) {
        planner_->preview_finish();
        chosen = &planner_->panel.ScanPicture.picture();
    }
    out_ << picture_text(*chosen, summary);
}

void Driver::ensure_view() {
    if (!app_) {
        if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        app_ = std::make_unique<QApplication>(argc_, argv_);
        // Qt adopts the environment's locale; numbers keep their full stop.
        std::setlocale(LC_NUMERIC, "C");
    }
    if (!view_) {
        view_ = std::make_unique<window::qt::MainWindow>(*planner_, dialogs_);
        view_->show();
    }
    QApplication::processEvents();
}

void Driver::cmd_screenshot(std::string_view rest) {
    if (rest.empty()) fail("usage: screenshot PATH");
    ensure_view();
    save_grab(*view_, rest);
}

// One widget of the window, the control NAME as the window shows it.
void Driver::cmd_grab(std::string_view rest) {
    const std::string name(take_word(rest));
    if (name.empty() || rest.empty()) fail("usage: grab NAME PATH");
    ensure_view();
    QWidget* w = view_->view()->widget(name);
    if (!w) fail("no widget shows " + name);
    save_grab(*w, rest);
}

void Driver::save_grab(QWidget& widget, std::string_view path) {
    planner_->preview_finish();  // a picture shows the finished scan preview
    QApplication::processEvents();
    // Saved like every export: whole or not at all, with the reason when not.
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !widget.grab().save(&buffer, "PNG"))
        fail("cannot draw the screenshot");
    const std::string problem = io::write_replacing(std::string(path), png.toStdString());
    if (!problem.empty()) fail(problem);
}

void Driver::cmd_call(std::string_view rest) {
    const std::string_view function = take_word(rest);
    if (function == "Z_of_symbol") {
        std::int16_t z = 0;
        double mass = 0.0;
        form_->Z_of_symbol(unescape(rest), z, mass);
        out_ << z << ' ' << window::format_number(mass) << '\n';
    } else if (function == "Val") {
        out_ << window::format_number(text::Val(unescape(rest))) << '\n';
    } else if (function == "Str") {
        const auto w = exactly(rest, 1, "call Str NUMBER");
        const std::string shown = text::Str(number(w[0]));
        out_ << '[' << shown << "]\n";
    } else if (function == "Edge_data") {
        const auto w = exactly(rest, 2, "call Edge_data Z EDGE");
        const std::int16_t z = int16_arg(w[0]);
        std::int16_t edge = int16_arg(w[1]);
        // NaN marks an energy the procedure leaves alone.
        double energy = std::numeric_limits<double>::quiet_NaN();
        form_->Edge_data(z, edge, energy);
        out_ << edge << ' ' << (std::isnan(energy) ? "unset" : window::format_number(energy))
             << '\n';
    } else if (function == "Myu_elem") {
        const auto w = exactly(rest, 2, "call Myu_elem Z ENERGY");
        const std::int16_t z = int16_arg(w[0]);
        double energy = number(w[1]);
        std::int16_t exponent = 0;
        double mantissa = 0.0;
        form_->Myu_elem(z, energy, exponent, mantissa);
        out_ << exponent << ' ' << window::format_number(mantissa) << ' '
             << window::format_number(energy) << '\n';
    } else if (function == "Line_data") {
        const auto w = exactly(rest, 2, "call Line_data Z ENERGY");
        data::LineArray energies{}, weights{};
        data::Line_data(int16_arg(w[0]), number(w[1]), energies, weights);
        std::string line;
        for (double v : energies) line += window::format_number(v) + ' ';
        for (double v : weights) line += window::format_number(v) + ' ';
        line.back() = '\n';
        out_ << line;
    } else if (function == "Air_trans") {
        const auto w = exactly(rest, 2, "call Air_trans E D");
        out_ << window::format_number(engine::Air_trans(number(w[0]), number(w[1]))) << '\n';
    } else if (function == "Al_trans") {
        const auto w = exactly(rest, 2, "call Al_trans E N");
        out_ << window::format_number(engine::Al_trans(number(w[0]), int16_arg(w[1]))) << '\n';
    } else {
        fail("unknown function " + std::string(function));
    }
}

void Driver::cmd_let(std::string_view rest) {
    const std::string_view name = take_word(rest);
    if (name.empty()) fail("usage: let NAME VALUE");
    std::string error;
    if (!registry_->write(name, unescape(rest), error)) fail(error);
}

void Driver::cmd_run(std::string_view rest) {
    const std::string_view name = take_word(rest);
    const auto args = words(rest);
    window::RADirido& f = *form_;
    auto arity = [&](std::size_t n, const char* usage) {
        if (args.size() != n) fail(std::string("usage: run ") + usage);
    };
    const auto& plain = plain_procedures();
    if (auto it = plain.find(name); it != plain.end()) {
        arity(0, it->first.data());
        (f.*(it->second))();
    } else if (name == "Target_yield") {
        arity(2, "Target_yield I MU");
        const int i = ranged(args[0], 0, engine::kElements - 1, "element");
        f.Target_yield(static_cast<std::int16_t>(i), number(args[1]));
    } else if (name == "Next_row") {
        arity(1, "Next_row K");
        std::int16_t k = static_cast<std::int16_t>(ranged(args[0], 1, window::kRows, "row"));
        f.Next_row(k);
    } else if (name == "Text2_Change" || name == "Text52_Change" || name == "Text2_Click" ||
               name == "Text2_DblClick") {
        arity(1, "HANDLER INDEX");
        const int i = ranged(args[0], 0, window::kRows - 1, "index");
        if (name == "Text2_Change") f.Text2_Change(i);
        if (name == "Text52_Change") f.Text52_Change(i);
        if (name == "Text2_Click") f.Text2_Click(i);
        if (name == "Text2_DblClick") f.Text2_DblClick(i);
    } else if (name == "Text2_MouseUp") {
        arity(2, "Text2_MouseUp INDEX BUTTON");
        const int i = ranged(args[0], 0, window::kRows - 1, "index");
        f.Text2_MouseUp(i, button_arg(args[1]));
    } else if (name == "Picture1_MouseDown" || name == "Picture1_MouseMove" ||
               name == "Picture1_MouseUp") {
        arity(3, "Picture1_MouseDown|MouseMove|MouseUp BUTTON X Y");
        const MouseButton b = button_arg(args[0]);
        const float x = coordinate(args[1]);
        const float y = coordinate(args[2]);
        if (name == "Picture1_MouseDown") f.Picture1_MouseDown(b, x, y);
        if (name == "Picture1_MouseMove") f.Picture1_MouseMove(b, x, y);
        if (name == "Picture1_MouseUp") f.Picture1_MouseUp(b, x, y);
    } else if (name == "Form_MouseMove") {
        arity(2, "Form_MouseMove X Y");
        f.Form_MouseMove(int_arg(args[0]), int_arg(args[1]));
    } else {
        fail("unknown procedure " + std::string(name));
    }
}

// "export csv|png|svg|pdf PATH": the spectrum as CSV or the plot as a picture;
// silent when saved.
}  // namespace lumetra::driver
