#pragma once
// A started form with its planning session and panel, scripted dialogs, and the
// form's helpers.

#include "planning/planner.h"

namespace lumetra::planning {
inline window::RADirido& form_of(Planner& planner) {
    return planner.form();
}
}  // namespace lumetra::planning

#include "window/form_fixture.h"

namespace lumetra::window::testing {

using namespace lumetra::planning;

class PlannerTest : public FormTestOf<planning::Planner> {
  protected:
    planning::Planner& planner = owner;
    planning::PlanningSession& session = planner.session();
    planning::Panel& panel = planner.panel;
};

}  // namespace lumetra::window::testing
