#pragma once
// A headless model of the form's controls with the event semantics the form's
// handlers rely on:
// - a text box or combo box runs Change whenever its text takes a different
//   value, from code or from the user;
// - an option button runs Click when it goes from not selected to selected,
//   and silently clears the other options of its group;
// - a check box runs Click on every change of its value;
// - emptying a combo box's list changes neither its text nor raises an event;
// - a left click on a text box runs MouseUp, then Click.
// Events run at once, nested inside the write that raised them.
// The Qt view mirrors these controls through their observer.

#include <functional>
#include <string>
#include <vector>

#include "common/colour.h"
#include "display/picture.h"

namespace lumetra::window {

enum class ControlKind {
    TextBox,
    Label,
    CommandButton,
    OptionButton,
    CheckBox,
    ComboBox,
    PictureBox,
    Frame,
    LineShape,
    Shape
};

enum class MouseButton { None = 0, Left = 1, Right = 2 };

class Control {
public:
    Control(std::string name, ControlKind kind);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return name_; }
    ControlKind kind() const { return kind_; }
    // Index within a control array, -1 for a single control.
    int index() const { return index_; }
    void set_index(int i) { index_ = i; }

    // Position and size in twips, relative to the window's client area.
    int left() const { return left_; }
    int top() const { return top_; }
    int width() const { return width_; }
    int height() const { return height_; }
    void set_bounds(int left, int top, int width, int height);
    void move(int left, int top);

    bool visible() const { return visible_; }
    void set_visible(bool v);
    bool enabled() const { return enabled_; }
    void set_enabled(bool e);
    common::Rgb fore_color() const { return fore_; }
    void set_fore_color(common::Rgb c);
    common::Rgb back_color() const { return back_; }
    void set_back_color(common::Rgb c);

    // Static text of labels, buttons and frames; the text of text and combo boxes.
    const std::string& caption() const { return caption_; }

    // Presentation hints for the view.
    bool centred = false;
    bool bordered = false;
    double font_pt = 9.0;
    bool serif_font = false;  // Times-style font instead of the sans-serif one
    bool bold = false;

    // The view's listener: called after every property change.
    std::function<void(Control&)> observer;

protected:
    void changed();
    void set_caption_silently(const std::string& s);

private:
    std::string name_;
    ControlKind kind_;
    int index_ = -1;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    common::Rgb fore_ = common::colours::black;
    common::Rgb back_ = common::colours::inactive_border;
    std::string caption_;
};

class Label : public Control {
public:
    explicit Label(std::string name, ControlKind kind = ControlKind::Label);
    void set_caption(const std::string& s);
    std::function<void()> on_click;
    void click();
};

class Frame : public Label {
public:
    explicit Frame(std::string name) : Label(std::move(name), ControlKind::Frame) {}
};

class CommandButton : public Control {
public:
    explicit CommandButton(std::string name);
    void set_caption(const std::string& s);
    std::function<void()> on_click;
    void click();
};

class TextBox : public Control {
public:
    explicit TextBox(std::string name);
    const std::string& text() const { return caption(); }
    // Runs Change when the text differs from the current one.
    void set_text(const std::string& s);

    std::function<void()> on_change;
    std::function<void()> on_click;
    std::function<void()> on_dbl_click;
    std::function<void(MouseButton)> on_mouse_up;

    // What the platform raises for the user's mouse actions.
    void user_left_click();   // MouseUp(left), Click
    void user_right_click();  // MouseUp(right)
    void user_dbl_click();    // MouseUp, Click, DblClick, MouseUp
};

class OptionButton : public Control {
public:
    explicit OptionButton(std::string name);
    bool value() const { return value_; }
    // Selecting an option that was not selected clears the others of its group
    // (without events) and runs Click; deselecting is silent.
    void set_value(bool v);
    void join_group(std::vector<OptionButton*>* group) { group_ = group; }
    std::function<void()> on_click;
    void user_click() { set_value(true); }

private:
    bool value_ = false;
    std::vector<OptionButton*>* group_ = nullptr;
};

class CheckBox : public Control {
public:
    explicit CheckBox(std::string name);
    int value() const { return value_; }
    // Runs Click when the value changes.
    void set_value(int v);
    std::function<void()> on_click;
    void user_click() { set_value(value_ == 0 ? 1 : 0); }

private:
    int value_ = 0;
};

class ComboBox : public Control {
public:
    explicit ComboBox(std::string name);
    const std::string& text() const { return caption(); }
    void set_text(const std::string& s);  // Change when the text differs
    const std::vector<std::string>& items() const { return items_; }
    void clear_list();  // the text stays, no event
    void add_item(const std::string& s);
    // The user picks a list item: the text takes its value (no Change), then Click.
    void user_pick(const std::string& item);

    std::function<void()> on_change;
    std::function<void()> on_click;

private:
    std::vector<std::string> items_;
};

class PictureBox : public Control {
public:
    explicit PictureBox(std::string name);
    display::Picture& picture() { return picture_; }
    const display::Picture& picture() const { return picture_; }
    // Tells the view that the drawing changed.
    void drawing_changed() { changed(); }

    // Mouse events in user coordinates.
    std::function<void(MouseButton, float, float)> on_mouse_down;
    std::function<void(MouseButton, float, float)> on_mouse_move;
    std::function<void(MouseButton, float, float)> on_mouse_up;

private:
    display::Picture picture_;
};

// Decorative rule (x1, y1) to (x2, y2) in twips.
class LineShape : public Control {
public:
    LineShape(std::string name, int x1, int y1, int x2, int y2);
    int x1, y1, x2, y2;
};

// Decorative rectangle.
class Shape : public Control {
public:
    explicit Shape(std::string name) : Control(std::move(name), ControlKind::Shape) {}
};

}  // namespace lumetra::window
