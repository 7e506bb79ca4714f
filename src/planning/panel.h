#pragma once
// The planning panel beside the form: the model "Plot" calculates with, the beamline
// and detector settings of the fundamental-parameter model, the figures of the last
// calculation and the preview of an XAFS scan. Its controls behave like the form's.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "physics/settings.h"
#include "window/controls.h"

namespace lumetra::planning {

using window::ComboBox;
using window::CommandButton;
using window::Frame;
using window::Label;
using window::OptionButton;
using window::PictureBox;
using window::TextBox;

// One setting: its caption (with the unit), its field and the key it sets.
struct PanelSetting {
    const char* key;
    std::unique_ptr<Label> caption;
    std::unique_ptr<TextBox> field;
};

struct Panel {
    static constexpr int kLeft = 11280;  // twips: the panel's left edge in the window
    static constexpr int kWidth = 7920;  // twips
    static constexpr int kSettings = physics::kSettingCount;  // text boxes (the detector is a list)

    Label Title{"PanelTitle"};
    Frame ModelFrame{"ModelFrame"};
    OptionButton ModelClassic{"ModelClassic"};
    Label ModelClassicCaption{"ModelClassicCaption"};
    OptionButton ModelFp{"ModelFp"};
    Label ModelFpCaption{"ModelFpCaption"};

    Label DetectorCaption{"DetectorCaption"};
    ComboBox DetectorCombo{"DetectorCombo"};
    std::array<PanelSetting, kSettings> settings;

    // Results of the last calculation.
    Label ResultsTitle{"ResultsTitle"};
    Label Note{"PanelNote"};  // what the results need, or why there are none
    Label Icr{"IcrLabel"};
    Label Ocr{"OcrLabel"};
    Label DeadTime{"DeadTimeLabel"};
    Label Saturation{"SaturationLabel"};
    Label TargetRate{"TargetRateLabel"};
    Label Background{"BackgroundLabel"};
    Label WindowShare{"WindowShareLabel"};  // what of the target line S and B's window holds
    Label SignalToBackground{"SignalToBackgroundLabel"};
    Label TimePerPoint{"TimePerPointLabel"};
    Label SelfAbsorption{"SelfAbsorptionLabel"};
    Label SelfAbsorptionHint{"SelfAbsorptionHint"};
    Label NeighboursTitle{"NeighboursTitle"};
    std::array<std::unique_ptr<Label>, 5> Neighbours;

    // The scan preview: target rate, background and dead time against energy, with
    // its axes and legend in the drawing; the figures under the pointer below it.
    Label ScanTitle{"ScanTitle"};
    PictureBox ScanPicture{"ScanPicture"};
    Label ScanReadout{"ScanReadout"};

    // The layers around the sample and the beam's filters: the list, the fields of the
    // entry being edited, and what the last change or calculation says of them.
    ComboBox StackList{"StackList"};
    ComboBox StackKind{"StackKind"};  // front layer, back layer or beam filter
    TextBox StackText{"StackText"};   // a composition, or a filter as the detector's
    Label StackThicknessCaption{"StackThicknessCaption"};
    TextBox StackThickness{"StackThickness"};  // um
    Label StackDensityCaption{"StackDensityCaption"};
    TextBox StackDensity{"StackDensity"};  // g/cm3; blank: the composition's
    CommandButton StackAdd{"StackAdd"};
    CommandButton StackReplace{"StackReplace"};
    CommandButton StackRemove{"StackRemove"};
    CommandButton StackUp{"StackUp"};
    CommandButton StackDown{"StackDown"};
    Label StackMessage{"StackMessage"};
    // The edge the fundamental-parameter model counts the target at, and that edge's
    // line for the target element (greyed under the classic model).
    Label EdgeCaption{"EdgeCaption"};
    ComboBox EdgeCombo{"EdgeCombo"};          // "Form" (the form's edge), K, L1, L2, L3, M5
    ComboBox EdgeLineCombo{"EdgeLineCombo"};  // "L-beta 1 (L2M4)", ...

    std::vector<OptionButton*> model_group;

    // The field of a setting by its key, or nullptr.
    TextBox* field(const std::string& key) const;
    // Every result label, emptied together.
    std::vector<Label*> results();
};

}  // namespace lumetra::planning
