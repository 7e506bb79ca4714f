// The panel's list of the layers around the sample and the filters in the beam: the
// list shows the stack from the front (front layers from the outermost in, then the
// layers behind the sample from it outwards, then the beam's filters); the fields
// edit one entry, and a change that the model's rule refuses changes nothing and
// says why in red.

#include <algorithm>
#include <cstdlib>

#include "common/numtext.h"
#include "common/shortest.h"
#include "physics/stack_settings.h"
#include "planning/panel_figures.h"
#include "planning/planner.h"

namespace lumetra::planning {

namespace {

constexpr const char* kFront = "Front layer";
constexpr const char* kBack = "Back layer";
constexpr const char* kBeam = "Beam filter";
constexpr const char* kNone = "Layers and beam filters: none";

// An entry of the list: a layer (index into Settings::layers) or a beam filter.
struct Entry {
    bool beam = false;
    std::size_t index = 0;
};

// The entries in the order the list shows them.
std::vector<Entry> entries(const physics::Settings& p) {
    std::vector<Entry> out;
    for (bool behind : {false, true})
        for (std::size_t i = 0; i < p.layers.size(); ++i)
            if (p.layers[i].behind == behind) out.push_back({false, i});
    for (std::size_t i = 0; i < p.beam_filters.size(); ++i) out.push_back({true, i});
    return out;
}

// "Front 1: kapton, 7.5 um", with the density when one is given.
std::string item_text(const physics::Settings& p, const Entry& e) {
    if (e.beam) {
        const physics::BeamFilterSetting& f = p.beam_filters[e.index];
        return "Beam " + std::to_string(e.index + 1) + ": " + f.filter + ", " +
               common::shortest(f.thickness_um) + " um";
    }
    const physics::LayerSetting& l = p.layers[e.index];
    const int code = physics::layer_code(p, e.index);
    std::string text = (code < 0 ? "Front " : "Back ") + std::to_string(std::abs(code)) + ": " +
                       l.composition + ", " + common::shortest(l.thickness_um) + " um";
    if (l.density > 0.0) text += ", " + common::shortest(l.density) + " g/cm3";
    return text;
}

// The picked entry: the list's text among its items.
std::optional<Entry> picked(const ComboBox& list, const physics::Settings& p) {
    const std::vector<std::string>& items = list.items();
    const auto at = std::find(items.begin(), items.end(), list.text());
    const std::vector<Entry> all = entries(p);
    if (at == items.end() || static_cast<std::size_t>(at - items.begin()) >= all.size())
        return std::nullopt;
    return all[static_cast<std::size_t>(at - items.begin())];
}

bool blank(const std::string& s) {
    return s.find_first_not_of(" \t") == std::string::npos;
}

}  // namespace

void Planner::wire_stack_panel() {
    Panel& p = panel;
    for (const char* kind : {kFront, kBack, kBeam}) p.StackKind.add_item(kind);
    p.StackKind.set_text(kFront);
    p.StackList.on_click = [this] { StackList_Click(); };
    p.StackAdd.on_click = [this] { StackAdd_Click(); };
    p.StackReplace.on_click = [this] { StackReplace_Click(); };
    p.StackRemove.on_click = [this] { StackRemove_Click(); };
    p.StackUp.on_click = [this] { StackMove_Click(-1); };
    p.StackDown.on_click = [this] { StackMove_Click(1); };
}

std::string Planner::set_stack(const std::vector<physics::LayerSetting>& layers,
                               const std::vector<physics::BeamFilterSetting>& filters) {
    physics::Settings trial = session_.settings;
    trial.layers = layers;
    trial.beam_filters = filters;
    if (const auto refused = physics::stack_refusal(trial)) return refused->reason;
    session_.settings.layers = layers;
    session_.settings.beam_filters = filters;
    show_stack();
    if (form_.st.Calc_state > 0 && model() == Model::fp) form_.Command1_Click();
    return {};
}

void Planner::show_stack() {
    Panel& p = panel;
    const physics::Settings& s = session_.settings;
    const std::string was = p.StackList.text();
    p.StackList.clear_list();
    std::vector<std::string> items;
    for (const Entry& e : entries(s)) items.push_back(item_text(s, e));
    for (const std::string& item : items) p.StackList.add_item(item);
    if (std::find(items.begin(), items.end(), was) == items.end())
        p.StackList.set_text(items.empty() ? kNone : items.front());
    // What the last calculation says of the stack (a bulk sample ends it).
    p.StackMessage.set_fore_color(common::colours::black);
    const physics::Result& r = session_.result();
    std::string message;
    if (model() == Model::fp && r.ok) {
        message = r.note;
        if (message.empty() && !s.beam_filters.empty())
            message = "Flux on the sample " + three_digits(r.figures.flux_on_sample) + " photons/s";
    }
    p.StackMessage.set_caption(message);
}

void Planner::StackList_Click() {
    Panel& p = panel;
    const physics::Settings& s = session_.settings;
    const std::optional<Entry> e = picked(p.StackList, s);
    if (!e) return;
    if (e->beam) {
        const physics::BeamFilterSetting& f = s.beam_filters[e->index];
        p.StackKind.set_text(kBeam);
        p.StackText.set_text(f.filter);
        p.StackThickness.set_text(common::shortest(f.thickness_um));
        p.StackDensity.set_text("");
        return;
    }
    const physics::LayerSetting& l = s.layers[e->index];
    p.StackKind.set_text(l.behind ? kBack : kFront);
    p.StackText.set_text(l.composition);
    p.StackThickness.set_text(common::shortest(l.thickness_um));
    p.StackDensity.set_text(l.density > 0.0 ? common::shortest(l.density) : "");
}

namespace {

struct Lists {
    std::vector<physics::LayerSetting> layers;
    std::vector<physics::BeamFilterSetting> filters;
};

// A number as typed, by the window's reading rule; blank is 0.
double typed_number(const std::string& text) {
    return blank(text) ? 0.0 : text::Val(text);
}

// What the fields describe: a layer or a beam filter. A density left blank is the
// composition's; one typed that reads as no positive number is refused by the rule.
struct Edited {
    bool beam = false;
    physics::LayerSetting layer;
    physics::BeamFilterSetting filter;
};

Edited edited(const Panel& p) {
    Edited e;
    const double thickness = typed_number(p.StackThickness.text());
    e.beam = p.StackKind.text() == kBeam;
    e.filter = {p.StackText.text(), thickness};
    double density = typed_number(p.StackDensity.text());
    if (!blank(p.StackDensity.text()) && !(density > 0.0)) density = -1.0;
    e.layer = {p.StackKind.text() == kBack, p.StackText.text(), thickness, density};
    return e;
}

void erase(Lists& l, const Entry& e) {
    if (e.beam)
        l.filters.erase(l.filters.begin() + static_cast<std::ptrdiff_t>(e.index));
    else
        l.layers.erase(l.layers.begin() + static_cast<std::ptrdiff_t>(e.index));
}

}  // namespace

// Sets the lists, or shows in red why not; on success the entry (beam, index) is picked.
void Planner::change_stack(const std::vector<physics::LayerSetting>& layers,
                           const std::vector<physics::BeamFilterSetting>& filters, bool beam,
                           std::size_t index) {
    const std::string why = set_stack(layers, filters);
    if (!why.empty()) {
        panel.StackMessage.set_fore_color(common::colours::red);
        panel.StackMessage.set_caption(why);
        form_.dialogs().titled_message("Layers and beam filters", why);
        return;
    }
    const std::vector<Entry> all = entries(session_.settings);
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i].beam == beam && all[i].index == index)
            panel.StackList.set_text(panel.StackList.items()[i]);
}

void Planner::StackAdd_Click() {
    const Edited e = edited(panel);
    Lists l{session_.settings.layers, session_.settings.beam_filters};
    if (e.beam)
        l.filters.push_back(e.filter);
    else
        l.layers.push_back(e.layer);
    change_stack(l.layers, l.filters, e.beam, e.beam ? l.filters.size() - 1 : l.layers.size() - 1);
}

// The picked entry takes the fields' values in its place; a layer that becomes a beam
// filter (or back) leaves its list and joins the other's end.
void Planner::StackReplace_Click() {
    const std::optional<Entry> at = picked(panel.StackList, session_.settings);
    if (!at) return StackAdd_Click();
    const Edited e = edited(panel);
    Lists l{session_.settings.layers, session_.settings.beam_filters};
    if (e.beam == at->beam) {
        if (e.beam)
            l.filters[at->index] = e.filter;
        else
            l.layers[at->index] = e.layer;
        return change_stack(l.layers, l.filters, e.beam, at->index);
    }
    erase(l, *at);
    if (e.beam)
        l.filters.push_back(e.filter);
    else
        l.layers.push_back(e.layer);
    change_stack(l.layers, l.filters, e.beam, e.beam ? l.filters.size() - 1 : l.layers.size() - 1);
}

void Planner::StackRemove_Click() {
    const std::optional<Entry> e = picked(panel.StackList, session_.settings);
    if (!e) return;
    Lists l{session_.settings.layers, session_.settings.beam_filters};
    erase(l, *e);
    panel.StackList.set_text("");
    set_stack(l.layers, l.filters);
}

// Up and Down swap the entry with its neighbour on the same side (or among the filters).
void Planner::StackMove_Click(int by) {
    const physics::Settings& s = session_.settings;
    const std::optional<Entry> e = picked(panel.StackList, s);
    if (!e) return;
    const std::vector<Entry> all = entries(s);
    std::size_t at = 0;
    while (at < all.size() && !(all[at].beam == e->beam && all[at].index == e->index)) ++at;
    const std::ptrdiff_t other = static_cast<std::ptrdiff_t>(at) + by;
    if (other < 0 || other >= static_cast<std::ptrdiff_t>(all.size())) return;
    const Entry& n = all[static_cast<std::size_t>(other)];
    Lists l{s.layers, s.beam_filters};
    if (n.beam != e->beam) return;
    if (e->beam) {
        std::swap(l.filters[e->index], l.filters[n.index]);
    } else {
        if (l.layers[n.index].behind != l.layers[e->index].behind) return;
        std::swap(l.layers[e->index], l.layers[n.index]);
    }
    change_stack(l.layers, l.filters, e->beam, n.index);
}

}  // namespace lumetra::planning
