// The planning panel's design: places (twips, right of the form), captions, colours.
//
//   +-------------------------------------------+
//   | Beamline and detector   (o) Classic  (o) FP |
//   | settings: caption, field | results         |
//   |   ...                    |   ...           |
//   | near the target line     | scan preview    |
//   +-------------------------------------------+

#include <array>
#include <string>

#include "planning/planner.h"

namespace lumetra::planning {

namespace {

using common::rgb;

constexpr double kSmallPt = 8.25;
constexpr int kRow = 300;  // settings and results pitch
constexpr int kRowHeight = 270;
constexpr int kSettingsTop = 840;
constexpr int kCaptionWidth = 2240;
constexpr int kFieldWidth = 1000;
constexpr int kResultsLeft = Panel::kLeft + 3440;
constexpr int kResultsWidth = 4360;
constexpr int kPreviewHeight = 3000;
constexpr double kPreviewPt = 7.5;  // the scan preview's axis labels

}  // namespace

void Planner::build_panel() {
    Panel& p = panel;
    auto place = [this](window::Control& c, int left, int top, int width, int height) {
        c.set_bounds(left, top, width, height);
        form_.add_control(c);
    };
    auto caption = [&](Label& l, const char* text, int left, int top, int width) {
        l.set_caption(text);
        l.font_pt = kSmallPt;
        place(l, left, top, width, kRowHeight);
    };
    const int x = Panel::kLeft;

    p.Title.set_caption("Beamline and detector");
    p.Title.bold = true;
    p.Title.font_pt = 10.0;
    place(p.Title, x, 90, 2800, kRowHeight);
    place(p.ModelClassic, x + 3440, 90, 240, 240);
    caption(p.ModelClassicCaption, "Classic", x + 3700, 90, 900);
    place(p.ModelFp, x + 4700, 90, 240, 240);
    caption(p.ModelFpCaption, "Fundamental parameters", x + 4960, 90, 2400);
    p.model_group = {&p.ModelClassic, &p.ModelFp};
    for (OptionButton* o : p.model_group) o->join_group(&p.model_group);

    caption(p.DetectorCaption, "Detector", x, kSettingsTop - kRow, kCaptionWidth);
    place(p.DetectorCombo, x + kCaptionWidth + 40, kSettingsTop - kRow, kFieldWidth, kRowHeight);
    for (int i = 0; i < Panel::kSettings; ++i) {
        PanelSetting& s = p.settings[i];
        const physics::SettingInfo& d = physics::setting_table()[static_cast<std::size_t>(i)];
        s.key = d.key;
        s.caption = std::make_unique<Label>(std::string(d.field_name) + "Caption");
        s.field = std::make_unique<TextBox>(d.field_name);
        const int top = kSettingsTop + i * kRow;
        caption(*s.caption, d.caption, x, top, kCaptionWidth);
        s.field->set_back_color(common::colours::white);
        place(*s.field, x + kCaptionWidth + 40, top, kFieldWidth, kRowHeight);
    }

    p.ResultsTitle.set_caption("Last calculation");
    p.ResultsTitle.bold = true;
    place(p.ResultsTitle, kResultsLeft, kSettingsTop - kRow, 1560, kRowHeight);
    int row = 0;
    for (Label* l :
         {&p.Note, &p.Icr, &p.Ocr, &p.DeadTime, &p.Saturation, &p.TargetRate, &p.Background,
          &p.SignalToBackground, &p.TimePerPoint, &p.SelfAbsorption, &p.SelfAbsorptionHint}) {
        l->font_pt = kSmallPt;
        place(*l, kResultsLeft, kSettingsTop + row++ * kRow, kResultsWidth, kRowHeight);
    }
    p.Note.set_fore_color(rgb(0, 0, 160));
    p.Saturation.set_fore_color(common::colours::red);
    p.SelfAbsorptionHint.set_fore_color(rgb(160, 80, 0));

    const int near_top = kSettingsTop + Panel::kSettings * kRow + 120;
    caption(p.NeighboursTitle, "Strongest other counts near the target line", x, near_top, 3300);
    for (std::size_t i = 0; i < p.Neighbours.size(); ++i) {
        p.Neighbours[i] = std::make_unique<Label>("Neighbour" + std::to_string(i + 1));
        p.Neighbours[i]->font_pt = kSmallPt;
        place(*p.Neighbours[i], x + 120, near_top + kRow + static_cast<int>(i) * 270, 3200,
              kRowHeight);
    }

    // Below the neighbours: the share of the target line the counting window holds.
    p.WindowShare.font_pt = kSmallPt;
    place(p.WindowShare, x, near_top + kRow + static_cast<int>(p.Neighbours.size()) * 270 + 60,
          3300, kRowHeight);

    build_stack_panel(near_top + kRow + static_cast<int>(p.Neighbours.size()) * 270 + 60 + kRow);

    const int scan_top = kSettingsTop + 11 * kRow + 120;
    caption(p.ScanTitle, "Scan preview: edge - 150 eV to edge + 1000 eV", kResultsLeft, scan_top,
            kResultsWidth);
    p.ScanPicture.bordered = true;
    p.ScanPicture.font_pt = kPreviewPt;
    place(p.ScanPicture, kResultsLeft, scan_top + kRow, kResultsWidth, kPreviewHeight);
    p.ScanPicture.on_mouse_move = [this](window::MouseButton, float x, float y) {
        ScanPicture_MouseMove(x, y);
    };
    // Two lines under the picture: "9.150 keV (edge +171 eV): target ..., dead time ...".
    p.ScanReadout.font_pt = kSmallPt;
    place(p.ScanReadout, kResultsLeft, scan_top + kRow + kPreviewHeight + 20, kResultsWidth, 480);
    p.ScanPicture.set_back_color(common::colours::white);
    build_edge_panel();
}

// The stack: five rows under the counting window's share.
//   [Front layer 1: kapton, 7.5 um, 1.42 g/cm3                       v]
//   [Front layer v] [composition or filter                            ]
//   Thickness (um) [    ]   Density (g/cm3) [    ]
//   [Add] [Replace] [Remove] [Up] [Down]
//   what the last calculation says of the stack
void Planner::build_stack_panel(int top) {
    Panel& p = panel;
    const int x = Panel::kLeft;
    constexpr int kWidth = 3300;
    auto place = [this](window::Control& c, int left, int row_top, int width) {
        c.font_pt = kSmallPt;
        c.set_bounds(left, row_top, width, kRowHeight);
        form_.add_control(c);
    };
    place(p.StackList, x, top, kWidth);
    place(p.StackKind, x, top + kRow, 1200);
    place(p.StackText, x + 1240, top + kRow, kWidth - 1240);
    p.StackThicknessCaption.set_caption("Thickness (um)");
    place(p.StackThicknessCaption, x, top + 2 * kRow, 1160);
    place(p.StackThickness, x + 1170, top + 2 * kRow, 420);
    p.StackDensityCaption.set_caption("Density (g/cm3)");
    place(p.StackDensityCaption, x + 1640, top + 2 * kRow, 1240);
    place(p.StackDensity, x + 2880, top + 2 * kRow, kWidth - 2880);
    for (TextBox* t : {&p.StackText, &p.StackThickness, &p.StackDensity}) {
        t->set_text("");
        t->set_back_color(common::colours::white);
    }
    const std::pair<CommandButton*, const char*> buttons[] = {{&p.StackAdd, "Add"},
                                                              {&p.StackReplace, "Replace"},
                                                              {&p.StackRemove, "Remove"},
                                                              {&p.StackUp, "Up"},
                                                              {&p.StackDown, "Down"}};
    int left = x;
    for (const auto& [button, caption] : buttons) {
        const int width = std::string(caption).size() > 4 ? 760 : 560;
        button->set_caption(caption);
        place(*button, left, top + 3 * kRow, width);
        left += width + 40;
    }
    place(p.StackMessage, x, top + 4 * kRow, kWidth);
}

}  // namespace lumetra::planning
