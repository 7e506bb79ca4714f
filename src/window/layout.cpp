// The window's design: every control's place (twips, inside the 11160 x 8085
// client area), static caption, design-time colours and presentation hints.
//
//   +------------------------+-----------------------------------------------+
//   | target: symbol,        | X-ray energy    | sample form,  | files,      |
//   | content, edge, line,   | plot layers     | angles, film  | detector    |
//   | edge and line energy   |                 |               | chain       |
//   +------------------------+-----------------------------------------------+  Line1
//   | matrix  | scale type, share | amplifier settings (Shape1)            |
//   | editor  |           cursor readout line                              |
//   | rows    |           spectrum plot (Picture1)                         |
//   |         |           axis marks                                       |
//   +---------+------------------------------------------------------------+
//
// Text boxes, combo boxes and result labels keep their own name as design text:
// the start-up replaces every one of them.

#include <string>

#include "window/radirido.h"

namespace lumetra::window {

namespace {

using common::rgb;

constexpr common::Rgb kPink = rgb(255, 192, 192);
constexpr common::Rgb kMint = rgb(192, 255, 192);
constexpr common::Rgb kViolet = rgb(255, 192, 255);
constexpr common::Rgb kCream = rgb(255, 255, 192);
constexpr common::Rgb kCyan = rgb(192, 255, 255);
constexpr common::Rgb kYellow = rgb(255, 255, 0);
constexpr common::Rgb kDarkGreen = rgb(0, 128, 0);

constexpr double kSmallPt = 8.25;  // captions of the crowded parameter area

// Matrix rows: the editor moves "Plot" on this grid.
constexpr int kRowTop = 3360;
constexpr int kRowPitch = 360;
constexpr int kSymbolLeft = 480;
constexpr int kContentLeft = 1200;
constexpr int kRowWidth = 615;
constexpr int kRowHeight = 270;

// Picture1 and the readout line above it.
constexpr int kPlotLeft = 2520;
constexpr int kPlotTop = 3360;
constexpr int kPlotWidth = 8296;
constexpr int kPlotHeight = 4095;
constexpr int kReadoutTop = 3030;

void heading(Label& l) {
    l.serif_font = true;
    l.bold = true;
    l.font_pt = 12.0;
}

}  // namespace

void RADirido::build_controls() {
    auto place = [this](Control& c, int left, int top, int width, int height) {
        c.set_bounds(left, top, width, height);
        register_control(c);
    };
    auto label = [&](Label& l, const char* caption, int left, int top, int width,
                     int height = 240) {
        l.set_caption(caption);
        place(l, left, top, width, height);
    };
    auto small_label = [&](Label& l, const char* caption, int left, int top, int width,
                           int height = 240) {
        label(l, caption, left, top, width, height);
        l.font_pt = kSmallPt;
    };
    auto result = [&](Label& l, int left, int top, int width, int height, common::Rgb back) {
        l.bordered = true;
        l.centred = true;
        l.set_back_color(back);
        place(l, left, top, width, height);
    };
    auto button = [&](CommandButton& b, const char* caption, int left, int top, int width,
                      int height) {
        b.set_caption(caption);
        place(b, left, top, width, height);
    };
    // Arrow and round buttons carry a symbol, not a word.
    auto symbol_button = [&](CommandButton& b, const char* caption, int left, int top,
                             int width, int height) {
        button(b, caption, left, top, width, height);
        b.font_pt = 7.0;
    };
    auto field = [&](TextBox& t, int left, int top, int width, common::Rgb back,
                     int height = 285) {
        t.set_back_color(back);
        place(t, left, top, width, height);
    };
    auto frame = [&](Frame& f, const char* caption, int left, int top, int width, int height) {
        f.set_caption(caption);
        f.set_fore_color(kDarkGreen);
        f.bold = true;
        place(f, left, top, width, height);
    };
    const common::Rgb white = common::colours::white;

    // ---- target area (left of Line2, above Line1) ----
    label(Label40, "Target", 240, 90, 1200, 330);
    heading(Label40);
    Label40.set_fore_color(kYellow);
    button(Command3, "All Clear", 3480, 90, 1215, 330);
    button(CompositionButton, "Composition...", 1560, 90, 1500, 330);

    label(Label18, "element", 240, 540, 735);
    field(Text1, 240, 780, 735, kPink, 330);
    Text1.centred = true;
    label(Label22, " atomic content", 1095, 540, 1290);
    field(Text51, 1095, 780, 1095, kMint, 330);
    Text51.centred = true;

    frame(Frame1, "Edge", 2430, 465, 855, 975);
    place(Option1, 2550, 780, 255, 255);
    label(Label19, " K", 2805, 780, 450, 255);
    place(Option2, 2550, 1095, 255, 255);
    label(Label28, " L3", 2805, 1095, 450, 255);
    Label28.set_fore_color(common::colours::blue);

    place(Combo1, 3405, 780, 1395, 330);
    Combo1.set_back_color(kViolet);

    label(Label29, "Excitation Energy(KeV)", 240, 1470, 2070);
    result(Label30, 240, 1710, 1575, 315, kCream);
    label(Label31, "Flourecence Energy(KeV)", 2430, 1470, 2370);
    result(Label32, 2430, 1710, 1575, 315, white);

    // ---- parameter area (right of Line2, above Line1) ----
    // X-ray energy, its step, and the layers of the plot.
    const int xa = 5085;
    small_label(Label1, "X-ray Energy (Kev)", xa, 75, 1635);
    field(Text11, xa, 330, 1065, kCream, 345);
    symbol_button(Command9, "\u25B2", xa + 1080, 315, 330, 188);
    symbol_button(Command10, "\u25BC", xa + 1080, 503, 330, 188);
    symbol_button(Command11, "\u25CB", xa, 750, 330, 300);
    field(Text12, xa + 390, 750, 675, kCream, 300);
    const int check_top = 1170;
    const int check_pitch = 240;
    place(Check1, xa, check_top, 240, 240);
    small_label(Label6, "Ar flourescence", xa + 270, check_top, 1500);
    place(Check11, xa, check_top + check_pitch, 240, 240);
    small_label(Label7, "Elastic scattering", xa + 270, check_top + check_pitch, 1500);
    place(Check21, xa, check_top + 2 * check_pitch, 240, 240);
    small_label(Label51, "Escape and Ge", xa + 270, check_top + 2 * check_pitch, 1500);
    place(Check3, xa, check_top + 3 * check_pitch, 240, 240);
    small_label(Label54, "Pile up", xa + 270, check_top + 3 * check_pitch, 1500);

    // Sample form and geometry.
    const int xb = 6990;
    const int xb_field = xb + 1185;
    frame(Frame3, "Sample", xb, 15, 1800, 630);
    place(Option5, xb + 120, 300, 240, 240);
    small_label(Label46, "bulk", xb + 375, 300, 450);
    Label46.set_fore_color(common::colours::red);
    place(Option6, xb + 960, 300, 240, 240);
    small_label(Label48, "film", xb + 1215, 300, 450);
    Label48.set_fore_color(common::colours::blue);
    small_label(Label44, "Incident angle", xb, 750, 1155);
    field(Text21, xb_field, 720, 615, kCream, 300);
    small_label(Label45, "Take-off angle", xb, 1080, 1155);
    field(Text22, xb_field, 1050, 615, kCream, 300);
    small_label(Label49, "Density(g/cm3)", xb, 1410, 1155);
    field(Text23, xb_field, 1380, 615, white, 300);
    small_label(Label50, "Thickness (nm)", xb, 1740, 1155);
    field(Text24, xb_field, 1710, 615, white, 300);

    // Parameter files and the detector chain.
    const int xc = 8940;
    const int xc_value = xc + 1260;
    const int value_width = 840;
    button(Command5, "Save", xc, 45, 900, 285);
    button(Command6, "Load", xc + 1200, 45, 900, 285);
    const int chain_top = 405;
    const int chain_pitch = 285;
    auto chain_row = [&](int k) { return chain_top + k * chain_pitch; };
    small_label(Label10, "Distance (cm)", xc, chain_row(0) + 15, 1230);
    field(Text19, xc_value, chain_row(0), value_width, kCream, 270);
    small_label(Label27, "Solid angle", xc, chain_row(1) + 15, 1230);
    result(Label34, xc_value, chain_row(1), value_width, 270, Label34.back_color());
    small_label(Label33, "Air absorption", xc, chain_row(2) + 15, 1230);
    result(Label35, xc_value, chain_row(2), value_width, 270, Label35.back_color());
    small_label(Label24, " Al filter", xc, chain_row(3) + 15, 1230);
    field(Text20, xc_value, chain_row(3), value_width - 285, kCream, 270);
    symbol_button(Command26, "\u25B2", xc_value + value_width - 270, chain_row(3), 270, 135);
    symbol_button(Command27, "\u25BC", xc_value + value_width - 270, chain_row(3) + 135, 270,
                  135);
    small_label(Label26, "Attenuation", xc, chain_row(4) + 15, 1230);
    result(Label25, xc_value, chain_row(4), value_width, 270, white);
    small_label(Label36, "Detection Ratio", xc, chain_row(5) + 15, 1230);
    result(Label37, xc_value, chain_row(5), value_width, 270, Label37.back_color());

    // ---- lower half: amplifier settings inside Shape1 ----
    place(Shape1, 5160, 2205, 5775, 735);
    const int amp_head = 2265;
    const int amp_value = 2535;
    small_label(Label13, "Auto tune", 5265, amp_head, 840);
    symbol_button(Command4, "\u25CB", 5415, amp_value, 330, 300);
    place(Check2, 5850, amp_value + 30, 240, 240);
    small_label(Label52, "Fix", 6090, amp_value + 30, 330);
    small_label(Label3, "Gain Course", 6555, amp_head, 1005);
    result(Label9, 6555, amp_value, 705, 300, kCyan);
    symbol_button(Command23, "\u25B2", 7275, amp_value, 285, 150);
    symbol_button(Command24, "\u25BC", 7275, amp_value + 150, 285, 150);
    small_label(Label11, "Fine", 7710, amp_head, 840);
    place(Combo2, 7710, amp_value, 840, 300);
    Combo2.set_back_color(kCyan);
    small_label(Label2, "Width (V) ", 8685, amp_head, 840);
    field(Text16, 8685, amp_value, 720, kCyan, 300);
    small_label(Label23, "Max Energy (KeV)", 9540, amp_head, 1335);
    result(Label8, 9540, amp_value, 1275, 300, white);

    // ---- lower half: matrix editor, left of the plot ----
    label(Label41, "Matrix", 240, 2295, 900, 330);
    heading(Label41);
    Label41.set_fore_color(kYellow);
    button(Command2, "Clear", kContentLeft, 2310, 735, 300);
    // The content heading takes two lines and ends level with the symbol heading.
    small_label(Label42, "element", kSymbolLeft, 3120, 690);
    small_label(Label58, " atomic content", kContentLeft, 3000, 855, 360);
    for (int i = 0; i < kRows; ++i) {
        const std::string index = std::to_string(i);
        Text2[i] = std::make_unique<TextBox>("Text2(" + index + ")");
        Text52[i] = std::make_unique<TextBox>("Text52(" + index + ")");
        Text2[i]->set_index(i);
        Text52[i]->set_index(i);
        const int top = kRowTop + kRowPitch * i;
        field(*Text2[i], kSymbolLeft, top, kRowWidth, kMint, kRowHeight);
        field(*Text52[i], kContentLeft, top, kRowWidth, kMint, kRowHeight);
        Text2[i]->centred = true;
        Text52[i]->centred = true;
    }
    button(Command1, "Plot", kContentLeft, kRowTop, 495, 315);
    Command1.set_back_color(kPink);

    // ---- lower half: scale type and target share, left of Shape1 ----
    frame(Frame2, "Scale type", 2520, 2220, 1200, 720);
    place(Option3, 2625, 2475, 240, 225);
    small_label(Label4, "Linear", 2880, 2475, 735, 225);
    place(Option4, 2625, 2700, 240, 225);
    small_label(Label5, "Log", 2880, 2700, 735, 225);
    small_label(Label39, "Target / Matrix", 3870, 2265, 1245);
    result(Label38, 3870, amp_value, 900, 300, Label38.back_color());
    small_label(Label43, "%", 4800, amp_value + 30, 240);

    // ---- lower half: cursor readout line between Shape1 and the plot ----
    auto readout = [&](Label& l, int left, int width) {
        l.font_pt = kSmallPt;
        place(l, left, kReadoutTop, width, 255);
    };
    small_label(Label16, "X= ", kPlotLeft, kReadoutTop, 300, 255);
    readout(Lvolt_p, 2820, 2475);
    small_label(Label53, "Y=", 5415, kReadoutTop, 270, 255);
    readout(LY_p, 5685, 840);
    small_label(Label60, "Yield ", 6690, kReadoutTop, 495, 255);
    small_label(Label12, "(Total)", 7185, kReadoutTop, 600, 255);
    readout(LYtot_p, 7785, 975);
    small_label(Label59, "(Target) ", 8925, kReadoutTop, 735, 255);
    readout(LYtarget_p, 9660, 975);

    // ---- lower half: the plot and its axis marks ----
    place(Picture1, kPlotLeft, kPlotTop, kPlotWidth, kPlotHeight);
    const int volt_top = kPlotTop + kPlotHeight + 45;
    const int energy_top = volt_top + 255;
    const int mark_width = 1320;
    const int middle = kPlotLeft + kPlotWidth / 2 - mark_width / 2;
    const int right = kPlotLeft + kPlotWidth - 1020;
    auto mark = [&](Label& l, int left, int top, bool centred) {
        l.font_pt = kSmallPt;
        l.centred = centred;
        place(l, left, top, mark_width, 255);
    };
    mark(Label55, kPlotLeft, volt_top, false);
    mark(Label20, middle, volt_top, true);
    mark(Label56, right, volt_top, false);
    mark(Label14, kPlotLeft, energy_top, false);
    mark(Label21, middle, energy_top, true);
    mark(Label15, right, energy_top, false);

    // ---- rules ----
    register_control(Line1);
    register_control(Line2);

    // Design-time choices: the K edge and the linear scale. No handler is wired yet.
    Option1.set_value(true);
    Option3.set_value(true);
}

}  // namespace lumetra::window
