#pragma once
// The form and the planning session together, as the program's window and the
// scripted driver use them: the planning panel beside the form (its controls join
// the form's list, so the view draws them and scripts find them by name), the hook
// through which "Plot" calculates with the chosen model, and whole-setup files.

#include <string>
#include <vector>

#include "common/dialogs.h"
#include "io/setup_format.h"
#include "physics/result.h"
#include "physics/settings.h"
#include "planning/panel.h"
#include "planning/session.h"
#include "window/radirido.h"

namespace lumetra::planning {

class Planner : private window::ModelHook {
  public:
    explicit Planner(common::Dialogs& dialogs);
    ~Planner() override;
    Planner(const Planner&) = delete;
    Planner& operator=(const Planner&) = delete;

    // The form and the planning panel beside it, twips.
    static constexpr int kWindowWidth = Panel::kLeft + Panel::kWidth;

    window::RADirido& form() { return form_; }
    const window::RADirido& form() const { return form_; }
    PlanningSession& session() { return session_; }
    const PlanningSession& session() const { return session_; }
    Panel panel;

    // Chooses the model or changes a setting through the panel's controls, as the
    // user would; false for an unknown setting or detector.
    void set_model(Model m);
    bool set_planning(const std::string& key, const std::string& text);
    void write_planning(const physics::Settings& p);  // every setting into the panel's fields
    Model model() const { return session_.settings.model; }
    // The last calculation with the fundamental-parameter model.
    const physics::Result& fp_result() const { return session_.result(); }

    // The panel's handlers.
    void Model_Click(Model m);
    void DetectorCombo_Change();
    void Setting_Change(int i);
    // The edge and its line under the fundamental-parameter model (edge_handlers.cpp).
    void EdgeCombo_Change();
    void EdgeLineCombo_Change();
    bool set_edge(const std::string& key, const std::string& text);  // "edge", "edgeline"
    void write_edge(const physics::Settings& p);
    void show_panel_results();  // the figures of the last calculation, or what they need
    void clear_panel_results();

    // The scan preview: requested after each calculation with the model, computed a
    // few energies at a time (preview_step returns whether more remain). Clearing it
    // (with the plot, or when the spectrum shown is not of the model) keeps the
    // computed points for a plot of the same scan.
    bool preview_pending() const { return session_.preview().pending(); }
    bool preview_step(int n);
    void preview_finish();
    void preview_clear();
    const ScanPlot& preview_plot() const { return session_.preview().plot(); }
    // The readout of the point under the pointer (user coordinates), emptied when the
    // pointer leaves.
    void ScanPicture_MouseMove(float X, float Y);
    void ScanPicture_MouseLeave();

    // Whole-setup files; each gives "" when done, else the message.
    std::string save_setup(const std::string& path);
    std::string load_setup(const std::string& path);
    // The layers around the sample and the beam's filters, all at once: "" when set
    // (recalculating a shown spectrum), else why not, and nothing changes.
    std::string set_stack(const std::vector<physics::LayerSetting>& layers,
                          const std::vector<physics::BeamFilterSetting>& filters);
    const physics::Settings& settings() const { return session_.settings; }

    // The stack's handlers: the list picks the entry the fields edit; Add, Replace,
    // Remove, Up and Down change the list (Up and Down within the entry's own side).
    void StackList_Click();
    void StackAdd_Click();
    void StackReplace_Click();
    void StackRemove_Click();
    void StackMove_Click(int by);

    // The same without a file: the setup the form and the panel hold, and a checked
    // setup set through the form's handlers, ending with "Plot".
    io::WindowSetup setup() const;
    void apply_setup(const io::WindowSetup& s);

  private:
    // window::ModelHook
    bool replaces_classic() const override { return session_.settings.model == Model::fp; }
    window::HookedSpectrum calculate(const window::FormSnapshot& snapshot,
                                     engine::CalcState& st) override;
    void calculated() override { show_panel_results(); }
    void plot_cleared() override;

    void build_panel();  // places, captions, colours
    void build_stack_panel(int top);
    void wire_stack_panel();
    void show_stack();  // the list from the settings, and the note of the last result
    // Sets the stack and picks the entry (beam filter or layer, its index), or shows in
    // red why it cannot be.
    void change_stack(const std::vector<physics::LayerSetting>& layers,
                      const std::vector<physics::BeamFilterSetting>& filters, bool beam,
                      std::size_t index);
    void build_edge_panel();
    void wire_edge_panel();
    void grey_edge(bool fp);
    void fill_edge_lines();     // the target element's lines of the chosen edge
    void preset_edge_energy();  // the X-ray energy just above the chosen edge
    void wire_panel();
    void init_panel();
    void draw_preview();

    window::RADirido form_;
    PlanningSession session_;
    bool preview_note_ = false;  // the scan picture shows the note of a cleared preview
};

}  // namespace lumetra::planning
