#include "planning/planner.h"

#include "planning/scan_preview_plot.h"

namespace lumetra::planning {

Planner::Planner(common::Dialogs& dialogs) : form_(dialogs) {
    build_panel();
    wire_panel();
    init_panel();
    form_.set_model_hook(this);
}

Planner::~Planner() {
    form_.set_model_hook(nullptr);
}

window::HookedSpectrum Planner::calculate(const window::FormSnapshot& snapshot,
                                          engine::CalcState& st) {
    const int scans = session_.preview().generation();
    const physics::Result& r = session_.calculate(snapshot);
    session_.plot_layers(st);
    if (r.ok) {
        // A fresh scan shows that it is being computed; a kept one moves its marker.
        if (session_.preview().generation() != scans) panel.ScanReadout.set_caption("");
        preview_note_ = false;
        draw_preview();
    } else {
        preview_clear();
    }
    return session_.shown();
}

void Planner::plot_cleared() {
    if (model() == Model::fp) clear_panel_results();
    preview_clear();
}

// ---- the scan preview ----

bool Planner::preview_step(int n) {
    const ScanPreview& preview = session_.preview();
    const bool was_complete = preview.plot().complete;
    const bool more = session_.preview().step(session_.model(), n);
    if (preview.shown() && preview.plot().complete && !was_complete) draw_preview();
    return more;
}

void Planner::preview_finish() {
    while (preview_step(ScanPreview::kPoints)) {
    }
}

void Planner::preview_clear() {
    panel.ScanReadout.set_caption("");
    session_.preview().hide();
    if (preview_note_) return;
    preview_note_ = true;
    display::Picture& pic = panel.ScanPicture.picture();
    pic.Cls();
    pic.Print("  Shown for a spectrum of the");
    pic.Print("  fundamental-parameter model.");
    panel.ScanPicture.drawing_changed();
}

void Planner::draw_preview() {
    ScanPreview& preview = session_.preview();
    preview.set_box(panel.ScanPicture.width(), panel.ScanPicture.height(),
                    panel.ScanPicture.font_pt);
    draw_scan_plot(panel.ScanPicture.picture(), preview.plot());
    panel.ScanPicture.drawing_changed();
}

void Planner::ScanPicture_MouseMove(float X, float Y) {
    const ScanPreview& preview = session_.preview();
    panel.ScanReadout.set_caption(preview.shown() ? scan_readout(preview.plot(), X, Y) : "");
}

void Planner::ScanPicture_MouseLeave() {
    panel.ScanReadout.set_caption("");
}

}  // namespace lumetra::planning
