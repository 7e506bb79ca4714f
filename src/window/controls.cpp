#include "window/controls.h"

#include <algorithm>
#include <cstdlib>

namespace lumetra::window {

Control::Control(std::string name, ControlKind kind)
    : name_(std::move(name)), kind_(kind), caption_(name_) {}

void Control::changed() {
    if (observer) observer(*this);
}

void Control::set_bounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    changed();
}

void Control::move(int left, int top) {
    if (left == left_ && top == top_) return;
    left_ = left;
    top_ = top;
    changed();
}

void Control::set_visible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    changed();
}

void Control::set_enabled(bool e) {
    if (e == enabled_) return;
    enabled_ = e;
    changed();
}

void Control::set_fore_color(common::Rgb c) {
    if (c == fore_) return;
    fore_ = c;
    changed();
}

void Control::set_back_color(common::Rgb c) {
    if (c == back_) return;
    back_ = c;
    changed();
}

void Control::set_caption_silently(const std::string& s) {
    caption_ = s;
    changed();
}

Label::Label(std::string name, ControlKind kind) : Control(std::move(name), kind) {}

void Label::set_caption(const std::string& s) {
    if (s != caption()) set_caption_silently(s);
}

void Label::click() {
    if (on_click) on_click();
}

CommandButton::CommandButton(std::string name)
    : Control(std::move(name), ControlKind::CommandButton) {}

void CommandButton::set_caption(const std::string& s) {
    if (s != caption()) set_caption_silently(s);
}

void CommandButton::click() {
    if (on_click) on_click();
}

TextBox::TextBox(std::string name) : Control(std::move(name), ControlKind::TextBox) {
    set_back_color(common::colours::white);
}

void TextBox::set_text(const std::string& s) {
    if (s == text()) return;
    set_caption_silently(s);
    if (on_change) on_change();
}

void TextBox::user_left_click() {
    if (on_mouse_up) on_mouse_up(MouseButton::Left);
    if (on_click) on_click();
}

void TextBox::user_right_click() {
    if (on_mouse_up) on_mouse_up(MouseButton::Right);
}

void TextBox::user_dbl_click() {
    if (on_mouse_up) on_mouse_up(MouseButton::Left);
    if (on_click) on_click();
    if (on_dbl_click) on_dbl_click();
    if (on_mouse_up) on_mouse_up(MouseButton::Left);
}

OptionButton::OptionButton(std::string name)
    : Control(std::move(name), ControlKind::OptionButton) {}

void OptionButton::set_value(bool v) {
    if (v == value_) return;
    value_ = v;
    changed();
    if (!v) return;
    if (group_) {
        for (OptionButton* other : *group_) {
            if (other != this && other->value_) {
                other->value_ = false;
                other->changed();
            }
        }
    }
    if (on_click) on_click();
}

CheckBox::CheckBox(std::string name) : Control(std::move(name), ControlKind::CheckBox) {}

void CheckBox::set_value(int v) {
    v = v != 0 ? 1 : 0;
    if (v == value_) return;
    value_ = v;
    changed();
    if (on_click) on_click();
}

ComboBox::ComboBox(std::string name) : Control(std::move(name), ControlKind::ComboBox) {
    set_back_color(common::colours::white);
}

void ComboBox::set_text(const std::string& s) {
    if (s == text()) return;
    set_caption_silently(s);
    if (on_change) on_change();
}

void ComboBox::clear_list() {
    items_.clear();
    changed();
}

void ComboBox::add_item(const std::string& s) {
    items_.push_back(s);
    changed();
}

void ComboBox::user_pick(const std::string& item) {
    if (item != text()) set_caption_silently(item);
    if (on_click) on_click();
}

PictureBox::PictureBox(std::string name) : Control(std::move(name), ControlKind::PictureBox) {}

LineShape::LineShape(std::string name, int x1_, int y1_, int x2_, int y2_)
    : Control(std::move(name), ControlKind::LineShape), x1(x1_), y1(y1_), x2(x2_), y2(y2_) {
    set_bounds(std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) + 1, std::abs(y2 - y1) + 1);
}

}  // namespace lumetra::window
