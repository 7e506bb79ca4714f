#pragma once
// The window RADirido: every control, the window-level state and the handlers.
// Writing a field from code runs its handler at once (see controls.h); the
// handlers call each other directly and through such writes.

#include <array>
#include <functional>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/dialogs.h"
#include "display/plot.h"
#include "display/view_state.h"
#include "engine/calc_state.h"
#include "engine/host.h"
#include "window/controls.h"
#include "window/model_hook.h"

namespace lumetra::window {

constexpr int kRows = 11;  // matrix rows 0..10

class RADirido : private engine::Host {
public:
    // Builds the controls and runs the start-up defaults (Init_form).
    explicit RADirido(common::Dialogs& dialogs);
    ~RADirido() override;

    static constexpr const char* kCaption = "Lumetra (ver. 1.33)";
    static constexpr int kClientWidth = 11160;  // twips
    static constexpr int kClientHeight = 8085;

    // Every control, in creation order, and lookup by name ("Text2(3)").
    const std::vector<Control*>& controls() const { return all_; }
    Control* find(const std::string& name) const;
    // Controls of a panel beside the form join its list (the view draws them, scripts
    // find them by name); they must outlive the form.
    void add_control(Control& c) { register_control(c); }

    // The window-level state.
    engine::CalcState st;
    display::ViewState view;
    std::array<std::string, 24> Line_label{};

    common::Dialogs& dialogs() override { return dialogs_; }

    // ---- controls ----
    // Target area
    Label Label40{"Label40"};
    CommandButton Command3{"Command3"};
    // Composition as a lab writes it: the window's view opens its dialog.
    CommandButton CompositionButton{"CompositionButton"};
    std::function<void()> on_composition_request;
    Label Label18{"Label18"};
    TextBox Text1{"Text1"};
    Label Label22{"Label22"};
    TextBox Text51{"Text51"};
    Frame Frame1{"Frame1"};
    OptionButton Option1{"Option1"};
    Label Label19{"Label19"};
    OptionButton Option2{"Option2"};
    Label Label28{"Label28"};
    ComboBox Combo1{"Combo1"};
    Label Label29{"Label29"};
    Label Label30{"Label30"};
    Label Label31{"Label31"};
    Label Label32{"Label32"};
    // Parameter area
    CheckBox Check1{"Check1"};
    Label Label6{"Label6"};
    CheckBox Check11{"Check11"};
    Label Label7{"Label7"};
    CheckBox Check21{"Check21"};
    Label Label51{"Label51"};
    CheckBox Check3{"Check3"};
    Label Label54{"Label54"};
    CommandButton Command5{"Command5"};
    CommandButton Command6{"Command6"};
    Label Label44{"Label44"};
    TextBox Text21{"Text21"};
    Label Label45{"Label45"};
    TextBox Text22{"Text22"};
    Frame Frame3{"Frame3"};
    OptionButton Option5{"Option5"};
    Label Label46{"Label46"};
    OptionButton Option6{"Option6"};
    Label Label48{"Label48"};
    Label Label49{"Label49"};
    TextBox Text23{"Text23"};
    Label Label50{"Label50"};
    TextBox Text24{"Text24"};
    Label Label1{"Label1"};
    TextBox Text11{"Text11"};
    CommandButton Command9{"Command9"};
    CommandButton Command10{"Command10"};
    CommandButton Command11{"Command11"};
    TextBox Text12{"Text12"};
    Label Label10{"Label10"};
    TextBox Text19{"Text19"};
    Label Label27{"Label27"};
    Label Label34{"Label34"};
    Label Label33{"Label33"};
    Label Label35{"Label35"};
    Label Label24{"Label24"};
    TextBox Text20{"Text20"};
    CommandButton Command26{"Command26"};
    CommandButton Command27{"Command27"};
    Label Label26{"Label26"};
    Label Label25{"Label25"};
    Label Label36{"Label36"};
    Label Label37{"Label37"};
    // Amplifier settings
    Shape Shape1{"Shape1"};
    Label Label13{"Label13"};
    CommandButton Command4{"Command4"};
    Label Label52{"Label52"};
    CheckBox Check2{"Check2"};
    Label Label3{"Label3"};
    Label Label9{"Label9"};
    CommandButton Command23{"Command23"};
    CommandButton Command24{"Command24"};
    Label Label11{"Label11"};
    ComboBox Combo2{"Combo2"};
    Label Label2{"Label2"};
    TextBox Text16{"Text16"};
    Label Label23{"Label23"};
    Label Label8{"Label8"};
    // Matrix editor
    Label Label41{"Label41"};
    CommandButton Command2{"Command2"};
    Label Label42{"Label42"};
    Label Label58{"Label58"};
    std::array<std::unique_ptr<TextBox>, kRows> Text2;
    std::array<std::unique_ptr<TextBox>, kRows> Text52;
    CommandButton Command1{"Command1"};
    // Display
    Frame Frame2{"Frame2"};
    OptionButton Option3{"Option3"};
    Label Label4{"Label4"};
    OptionButton Option4{"Option4"};
    Label Label5{"Label5"};
    Label Label39{"Label39"};
    Label Label38{"Label38"};
    Label Label43{"Label43"};
    Label Label16{"Label16"};
    Label Lvolt_p{"Lvolt_p"};
    Label Label53{"Label53"};
    Label LY_p{"LY_p"};
    Label Label60{"Label60"};
    Label Label12{"Label12"};
    Label LYtot_p{"LYtot_p"};
    Label Label59{"Label59"};
    Label LYtarget_p{"LYtarget_p"};
    PictureBox Picture1{"Picture1"};
    Label Label55{"Label55"};
    Label Label20{"Label20"};
    Label Label56{"Label56"};
    Label Label14{"Label14"};
    Label Label21{"Label21"};
    Label Label15{"Label15"};
    // Rules
    LineShape Line1{"Line1", 0, 2160, kClientWidth, 2160};
    LineShape Line2{"Line2", 4920, 0, 4920, 2160};

    // ---- start-up ----
    void Init_form();

    // ---- target element, edge and line ----
    void Text1_Change();
    void Option1_Click();
    void Option2_Click();
    void Combo1_Change();
    void Combo1_Click();
    void Command1_Click();
    void Line_select();

    // ---- matrix composition ----
    void Text51_Change();
    void First_row();
    void Next_row(std::int16_t& k);
    void Text2_Change(int Index);
    void Text52_Change(int Index);
    void Text2_Click(int Index);
    void Text2_MouseUp(int Index, MouseButton Button);
    void Text2_DblClick(int Index);
    void Command2_Click();
    void Command3_Click();

    // ---- sample form and geometry ----
    void Option5_Click();
    void Option6_Click();
    void Text21_Change();
    void Text22_Change();
    void Text23_Change();
    void Text24_Change();
    // The film's density (g/cm3) and thickness fields take values above 0.1.
    static bool film_value_valid(const std::string& t);

    // ---- compositions as a laboratory writes them (chem/composition.h) ----
    // Clears all, writes the target and the matrix rows as typing would and plots
    // again when a spectrum was shown, and the film density when the composition
    // suggests one that field takes; "" when done, else the problem (nothing
    // changed). accept_problems accepts those a user may accept (elements left out);
    // target_symbol chooses the target instead of the default.
    std::string apply_composition(const std::string& text, bool accept_problems = false,
                                  const std::string& target_symbol = "");
    // The target and the completed rows in weight %: "Fe 69.9 wt%, O 30.1 wt%".
    std::string composition_in_weight_percent() const;

    // ---- parameter files ----
    void Command5_Click();
    void Command6_Click();
    // Opens a composition file as "Load" does (checked whole, then Plot); "" when
    // done, else the message.
    std::string load_composition(const std::string& path);

    // ---- gain, energy and width ----
    void Set_scale();
    void Auto_tune();
    void Full_scale();
    void Combo2_Change();
    void Combo2_Click();
    void Command23_Click();
    void Command24_Click();
    void Command4_Click();
    void Command9_Click();
    void Command10_Click();
    void Command11_Click();
    void Text11_Change();
    void Text12_Change();
    void Text16_Change();

    // ---- plot ----
    void Plot_spectrum();
    display::PlotOptions plot_options() const;  // the scale and layers the plot draws
    void Option3_Click();
    void Option4_Click();
    void Check1_Click();
    void Check11_Click();
    void Check21_Click();
    void Check3_Click();
    void Picture1_MouseDown(MouseButton Button, float X, float Y);
    void Picture1_MouseMove(MouseButton Button, float X, float Y);
    void Picture1_MouseUp(MouseButton Button, float X, float Y);
    void Form_MouseMove(int X, int Y);

    // ---- detection-ratio chain ----
    void Text19_Change();
    void Text20_Change();
    void Command26_Click();
    void Command27_Click();
    void Label37_Click();

    // ---- recalculation ----
    void Re_calc();
    void Calc_spectrum();
    void Target_yield(std::int16_t i, double mu_in);

    // ---- data lookups with the window's dialogs ----
    void Z_of_symbol(const std::string& Symbol, std::int16_t& Z, double& Mass);
    void Edge_data(const std::int16_t& Z, std::int16_t& Edge, double& Edge_energy);
    void Myu_elem(const std::int16_t& Z, double& Energy, std::int16_t& Exponent,
                  double& Mantissa);

    // ---- another model beside the classic one ----
    // The hook chooses the model "Plot" calculates with (none: the classic model); it
    // must outlive the form or be taken away first.
    void set_model_hook(ModelHook* hook) { hook_ = hook; }
    bool hooked_model() const { return hook_ && hook_->replaces_classic(); }
    // The sample and the geometry as the fields hold them.
    FormSnapshot snapshot() const;
    // Counts/s of one plot unit when the hook's model drew the plot shown, else 0.
    double plot_units() const { return hooked_model() && hooked_.ok ? hooked_.units : 0.0; }
    // The model's spectrum is being shown (or would be, at the next "Plot").
    const HookedSpectrum& hooked_spectrum() const { return hooked_; }

    // Clears the plot surface (Cls) and tells the view. The target share beside the
    // plot goes with it; the next calculation writes it anew.
    void clear_plot();

private:
    // engine::Host
    double field(engine::Field f) override;
    void set_distance_text(const std::string& text) override;
    void show_calculating() override;
    void clear_matrix() override { Command2_Click(); }

    void build_controls();   // names, captions, colours, positions
    void wire_events();      // handlers of every control
    void register_control(Control& c);
    void set_axis_labels_full_view();  // axis marks of the full 0..10 V view
    void energy_axis_labels();         // keV marks of the view as it stands, from Label8
    void set_target_line_energy(const std::string& caption);  // Label32 and its ratios
    void distance_ratios();                     // solid angle and air of the target line
    void filter_ratio();                        // filter transmission of the target line
    void list_edge_lines(int first, int last);  // the line list of an edge
    void colour_edge_fields(common::Rgb c);     // text colour of the edge-dependent fields
    void text20_steps();               // steps 1..3 of the filter field's handler
    void energy_step(double E);        // arrow and edge buttons of the X-ray energy

    common::Dialogs& dialogs_;
    bool starting_up_ = false;  // while Init_form gives the fields their first values
    ModelHook* hook_ = nullptr;
    HookedSpectrum hooked_;  // the last calculation with the hook's model
    std::vector<Control*> all_;
    std::map<std::string, Control*> by_name_;
    std::vector<OptionButton*> edge_group_;
    std::vector<OptionButton*> scale_group_;
    std::vector<OptionButton*> sample_group_;
};

}  // namespace lumetra::window
