// The panel's edge choice: in the row of "Last calculation", to its right.

#include "physics/edge_choice.h"
#include "planning/planner.h"

namespace lumetra::planning {

namespace {

constexpr int kLeft = Panel::kLeft + 3440 + 1580;  // right of "Last calculation"
constexpr int kTop = 540;
constexpr int kHeight = 270;

}  // namespace

void Planner::build_edge_panel() {
    Panel& p = panel;
    const auto place = [this](window::Control& c, int left, int width) {
        c.set_bounds(left, kTop, width, kHeight);
        form_.add_control(c);
    };
    p.EdgeCaption.set_caption("Edge");
    p.EdgeCaption.font_pt = 8.25;
    place(p.EdgeCaption, kLeft, 400);
    p.EdgeCombo.font_pt = 8.25;
    place(p.EdgeCombo, kLeft + 400, 760);
    p.EdgeLineCombo.font_pt = 8.25;
    place(p.EdgeLineCombo, kLeft + 1200, 1580);
    p.EdgeCombo.add_item("Form");
    for (physics::EdgeChoice e : physics::edge_choices())
        if (e != physics::EdgeChoice::form) p.EdgeCombo.add_item(physics::edge_choice_name(e));
    p.EdgeCombo.set_text("Form");
    p.EdgeLineCombo.set_text("");  // the form's edge has no line of its own
}

}  // namespace lumetra::planning
