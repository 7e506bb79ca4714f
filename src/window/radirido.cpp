#include "window/radirido.h"

#include "common/numtext.h"
#include "data/absorption.h"
#include "data/edges.h"
#include "data/symbols.h"

namespace lumetra::window {

RADirido::RADirido(common::Dialogs& dialogs) : dialogs_(dialogs) {
    build_controls();
    edge_group_ = {&Option1, &Option2};
    scale_group_ = {&Option3, &Option4};
    sample_group_ = {&Option5, &Option6};
    for (OptionButton* o : edge_group_) o->join_group(&edge_group_);
    for (OptionButton* o : scale_group_) o->join_group(&scale_group_);
    for (OptionButton* o : sample_group_) o->join_group(&sample_group_);
    wire_events();
    // Loading the window.
    st.Elem_count = -10;
    Init_form();
}

RADirido::~RADirido() = default;

void RADirido::register_control(Control& c) {
    all_.push_back(&c);
    by_name_[c.name()] = &c;
}

Control* RADirido::find(const std::string& name) const {
    auto it = by_name_.find(name);
    return it == by_name_.end() ? nullptr : it->second;
}

void RADirido::wire_events() {
    Text1.on_change = [this] { Text1_Change(); };
    Option1.on_click = [this] { Option1_Click(); };
    Option2.on_click = [this] { Option2_Click(); };
    Combo1.on_change = [this] { Combo1_Change(); };
    Combo1.on_click = [this] { Combo1_Click(); };
    Command1.on_click = [this] { Command1_Click(); };

    Text51.on_change = [this] { Text51_Change(); };
    for (int i = 0; i < kRows; ++i) {
        Text2[i]->on_change = [this, i] { Text2_Change(i); };
        Text2[i]->on_click = [this, i] { Text2_Click(i); };
        Text2[i]->on_dbl_click = [this, i] { Text2_DblClick(i); };
        Text2[i]->on_mouse_up = [this, i](MouseButton b) { Text2_MouseUp(i, b); };
        Text52[i]->on_change = [this, i] { Text52_Change(i); };
    }
    Command2.on_click = [this] { Command2_Click(); };
    Command3.on_click = [this] { Command3_Click(); };
    CompositionButton.on_click = [this] {
        if (on_composition_request) on_composition_request();
    };

    Option5.on_click = [this] { Option5_Click(); };
    Option6.on_click = [this] { Option6_Click(); };
    Text21.on_change = [this] { Text21_Change(); };
    Text22.on_change = [this] { Text22_Change(); };
    Text23.on_change = [this] { Text23_Change(); };
    Text24.on_change = [this] { Text24_Change(); };

    Command5.on_click = [this] { Command5_Click(); };
    Command6.on_click = [this] { Command6_Click(); };

    Combo2.on_change = [this] { Combo2_Change(); };
    Combo2.on_click = [this] { Combo2_Click(); };
    Command23.on_click = [this] { Command23_Click(); };
    Command24.on_click = [this] { Command24_Click(); };
    Command4.on_click = [this] { Command4_Click(); };
    Command9.on_click = [this] { Command9_Click(); };
    Command10.on_click = [this] { Command10_Click(); };
    Command11.on_click = [this] { Command11_Click(); };
    Text11.on_change = [this] { Text11_Change(); };
    Text12.on_change = [this] { Text12_Change(); };
    Text16.on_change = [this] { Text16_Change(); };

    Option3.on_click = [this] { Option3_Click(); };
    Option4.on_click = [this] { Option4_Click(); };
    Check1.on_click = [this] { Check1_Click(); };
    Check11.on_click = [this] { Check11_Click(); };
    Check21.on_click = [this] { Check21_Click(); };
    Check3.on_click = [this] { Check3_Click(); };
    Picture1.on_mouse_down = [this](MouseButton b, float x, float y) {
        Picture1_MouseDown(b, x, y);
    };
    Picture1.on_mouse_move = [this](MouseButton b, float x, float y) {
        Picture1_MouseMove(b, x, y);
    };
    Picture1.on_mouse_up = [this](MouseButton b, float x, float y) {
        Picture1_MouseUp(b, x, y);
    };

    Text19.on_change = [this] { Text19_Change(); };
    Text20.on_change = [this] { Text20_Change(); };
    Command26.on_click = [this] { Command26_Click(); };
    Command27.on_click = [this] { Command27_Click(); };
    Label37.on_click = [this] { Label37_Click(); };
}

void RADirido::clear_plot() {
    Picture1.picture().Cls();
    Picture1.drawing_changed();
    Label38.set_caption("");
    if (hook_) hook_->plot_cleared();
}

// ---- data lookups ----

void RADirido::Z_of_symbol(const std::string& Symbol, std::int16_t& Z, double& Mass) {
    data::Z_of_symbol(Symbol, Z, Mass, dialogs_);
}

void RADirido::Edge_data(const std::int16_t& Z, std::int16_t& Edge, double& Edge_energy) {
    data::Edge_data(Z, Edge, Edge_energy, dialogs_);
}

void RADirido::Myu_elem(const std::int16_t& Z, double& Energy, std::int16_t& Exponent,
                        double& Mantissa) {
    data::Myu_elem(Z, Energy, Exponent, Mantissa, dialogs_, [this] { Command2_Click(); });
}

// ---- what the calculation reads from the window ----

double RADirido::field(engine::Field f) {
    using engine::Field;
    switch (f) {
        case Field::XrayEnergy: return text::Val(Text11.text());
        case Field::Width: return text::Val(Text16.text());
        case Field::FullEnergy: return text::Val(Label8.caption());
        case Field::Distance: return text::Val(Text19.text());
        case Field::Filter: return text::Val(Text20.text());
        case Field::IncidentAngle: return text::Val(Text21.text());
        case Field::TakeoffAngle: return text::Val(Text22.text());
        case Field::Density: return text::Val(Text23.text());
        case Field::Thickness: return text::Val(Text24.text());
        case Field::TargetLineEnergy: return text::Val(Label32.caption());
    }
    return 0.0;
}

void RADirido::set_distance_text(const std::string& text) { Text19.set_text(text); }

void RADirido::show_calculating() {
    display::Picture& pic = Picture1.picture();
    pic.Cls();
    for (int i = 0; i < 4; ++i) pic.Print(" ");
    pic.Print("  !! Now calculating  !!  ");
    Picture1.drawing_changed();
}

}  // namespace lumetra::window
