// Sample form (bulk or film) and the geometry fields.

#include <cmath>

#include "common/numtext.h"
#include "window/radirido.h"

namespace lumetra::window {

namespace {

// Angles of 90 degrees or more (either sign) are marked invalid.
bool angle_valid(const std::string& t) { return std::fabs(text::Val(t)) < 90; }

}  // namespace

bool RADirido::film_value_valid(const std::string& t) {
    return text::Val(t) > 0.1;
}

void RADirido::Option5_Click() {
    st.Sample_form = 10;
    Label49.set_visible(false);
    Label50.set_visible(false);
    Text23.set_visible(false);
    Text24.set_visible(false);
    Text1_Change();
}

void RADirido::Option6_Click() {
    st.Sample_form = -10;
    Label49.set_visible(true);
    Label50.set_visible(true);
    Text23.set_visible(true);
    Text24.set_visible(true);
    Text1_Change();
}

namespace {

// Colours a sample field and clears the plot for a valid value.
template <typename Valid>
void check_field(TextBox& box, Valid valid, RADirido& form) {
    if (!valid(box.text())) {
        box.set_fore_color(common::colours::red);
    } else {
        form.clear_plot();
        box.set_fore_color(common::colours::black);
    }
}

}  // namespace

void RADirido::Text21_Change() {
    check_field(Text21, angle_valid, *this);
    if (st.Calc_state > 0) Re_calc();
}

void RADirido::Text22_Change() {
    check_field(Text22, angle_valid, *this);
    if (st.Calc_state > 0) Re_calc();
}

void RADirido::Text23_Change() {
    check_field(Text23, film_value_valid, *this);
    if (st.Calc_state > 0) Re_calc();
}

void RADirido::Text24_Change() {
    check_field(Text24, film_value_valid, *this);
    if (st.Calc_state > 0) Re_calc();
}

}  // namespace lumetra::window
