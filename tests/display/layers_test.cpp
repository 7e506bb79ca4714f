// The description of the plot's layers against the plot's recorded drawing: every
// layer it lists as shown is drawn in exactly its colours, in its order, on either
// scale; what the plot draws flat on the base line is not shown.

#include "display/layers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "display/plot.h"

namespace lumetra::display {
namespace {

using common::Rgb;
using common::rgb;
using engine::CalcState;
using Key = std::tuple<int, int, int>;

constexpr std::array<LayerId, 8> kIds = {LayerId::Total,  LayerId::Target, LayerId::Line,
                                         LayerId::Mark,   LayerId::Argon,  LayerId::Elastic,
                                         LayerId::Escape, LayerId::Pileup};
constexpr int kWidth = 20;  // channels of each layer's peak

Key key(Rgb c) {
    return {c.r, c.g, c.b};
}

// The state's array of the layer (const or not, as the state).
template <class State>
auto& array(State& st, LayerId id) {
    switch (id) {
        case LayerId::Total:
            return st.Spec_total;
        case LayerId::Target:
            return st.Spec_target;
        case LayerId::Line:
            return st.Spec_line;
        case LayerId::Mark:
            return st.Spec_mark;
        case LayerId::Argon:
            return st.Spec_argon;
        case LayerId::Elastic:
            return st.Spec_elastic;
        case LayerId::Escape:
            return st.Spec_escape;
        case LayerId::Pileup:
            return st.Spec_pileup;
    }
    return st.Spec_total;
}

// Each layer's peak on channels of its own, so that a drawing operation tells by its
// place which layer it draws.
int first_channel(LayerId id) {
    return 60 + 110 * static_cast<int>(id);
}

CalcState separated() {
    CalcState st;
    for (LayerId id : kIds)
        for (int c = first_channel(id); c < first_channel(id) + kWidth; ++c)
            array(st, id)[c] = 40.0 + (c - first_channel(id));
    st.Calc_state = 10;
    return st;
}

ViewState view(double zoom_steps = 1) {
    ViewState v;
    v.Zoom_steps = zoom_steps;
    v.Y_top = 11750;
    return v;
}

PlotOptions options(bool linear, int boxes) {
    return PlotOptions{linear, boxes, boxes, boxes, boxes};
}

// The colours the plot draws each layer in, as the user sees them.
std::set<Key> expected_colours(LayerId id, bool linear) {
    switch (id) {
        case LayerId::Total:
            if (linear)
                return {key(rgb(100, 100, 20)), key(rgb(200, 200, 40)), key(rgb(255, 255, 50))};
            return {key(rgb(100, 100, 20)), key(rgb(255, 255, 50))};
        case LayerId::Target:
            return {key(rgb(25, 255, 25))};
        case LayerId::Line:
            return {key(rgb(255, 150, 255))};
        case LayerId::Mark:
            return {key(rgb(255, 255, 50))};
        case LayerId::Argon:
            return {key(linear ? rgb(12, 12, 128) : rgb(25, 25, 255))};
        case LayerId::Elastic:
            return {key(linear ? rgb(128, 12, 12) : rgb(255, 25, 25))};
        case LayerId::Escape:
            return {key(rgb(100, 100, 20))};
        case LayerId::Pileup:
            return {key(rgb(100, 100, 50))};
    }
    return {};
}

std::set<Key> colours_of(const Layer& l) {
    std::set<Key> out{key(l.bars)};
    if (l.segments) out.insert(key(*l.segments));
    if (l.outline) out.insert(key(*l.outline));
    return out;
}

// What the recorded picture draws off the base line, layer by layer (told by the
// channels it stands on), in the order each layer first appears.
struct Drawn {
    std::vector<LayerId> order;
    std::map<LayerId, std::set<Key>> colours;
};

Drawn drawn(const Picture& pic, bool linear) {
    const float base = linear ? 0.001f : 500.0f;
    Drawn out;
    for (const PlotOp& op : pic.ops()) {
        if (op.kind == PlotOp::Kind::Print || op.colour == Picture::foreground) continue;
        if (op.y1 == base && op.y2 == base) continue;
        const float x = std::max(op.x1, op.x2);
        const auto at = std::find_if(kIds.begin(), kIds.end(), [x](LayerId id) {
            return x >= first_channel(id) && x <= first_channel(id) + kWidth;
        });
        if (at == kIds.end()) {
            ADD_FAILURE() << "a drawing off the base line at channel " << x;
            continue;
        }
        if (!out.colours.count(*at)) out.order.push_back(*at);
        out.colours[*at].insert(key(op.colour));
    }
    return out;
}

std::vector<LayerId> ids(const std::vector<Layer>& layers) {
    std::vector<LayerId> out;
    for (const Layer& l : layers) out.push_back(l.id);
    return out;
}

TEST(PlotLayers, ShownLayersAreTheDrawingInItsColoursAndOrder) {
    using L = LayerId;
    const CalcState st = separated();
    struct Case {
        bool linear;
        int boxes;
        std::vector<LayerId> order;
    };
    const Case cases[] = {
        {true,
         1,
         {L::Total, L::Target, L::Mark, L::Line, L::Argon, L::Elastic, L::Escape, L::Pileup}},
        {true, 0, {L::Total, L::Target, L::Mark, L::Line}},
        // The log scale draws the escape layer whatever its box says, first.
        {false,
         1,
         {L::Escape, L::Total, L::Target, L::Line, L::Mark, L::Argon, L::Elastic, L::Pileup}},
        {false, 0, {L::Escape, L::Total, L::Target, L::Line, L::Mark}},
    };
    for (const Case& c : cases) {
        for (double zoom : {1.0, 4.0}) {
            const std::string what = std::string(c.linear ? "linear" : "log") + " boxes " +
                                     std::to_string(c.boxes) + " zoom " + std::to_string(zoom);
            Picture pic;
            Plot_spectrum(pic, st, view(zoom), options(c.linear, c.boxes));
            const Drawn d = drawn(pic, c.linear);
            const std::vector<Layer> shown =
                plot_layers(st, view(zoom), options(c.linear, c.boxes)).shown();
            EXPECT_EQ(ids(shown), c.order) << what;
            EXPECT_EQ(d.order, c.order) << what;
            for (const Layer& l : shown) {
                EXPECT_EQ(colours_of(l), expected_colours(l.id, c.linear)) << what << " " << l.name;
                EXPECT_EQ(d.colours.at(l.id), colours_of(l)) << what << " " << l.name;
                EXPECT_EQ(l.values, &array(st, l.id)) << l.name;
            }
        }
    }
}

// The plot draws every layer of its scale, but those whose bars and lines all lie on
// the base line have nothing to see.
TEST(PlotLayers, NothingToSeeIsNotShown) {
    for (bool linear : {true, false}) {
        CalcState st;
        const PlotLayers zeros = plot_layers(st, view(), options(linear, 1));
        EXPECT_EQ(zeros.layers.size(), 8u) << linear;
        EXPECT_TRUE(zeros.shown().empty()) << linear;

        // Far below what the plot's coordinates resolve: flat.
        st.Spec_target.fill(1e-12);
        EXPECT_TRUE(plot_layers(st, view(), options(linear, 1)).shown().empty()) << linear;
        // A peak layer stands only above its threshold.
        st.Spec_argon.fill(kPeakThreshold / 2);
        EXPECT_TRUE(plot_layers(st, view(), options(linear, 1)).shown().empty()) << linear;
        st.Spec_argon[300] = 1.0;
        EXPECT_EQ(ids(plot_layers(st, view(), options(linear, 1)).shown()),
                  std::vector<LayerId>{LayerId::Argon})
            << linear;
    }
    // The log scale's bars end at channel 1023, its outlines at 1024.
    CalcState st;
    st.Spec_target[1024] = 50.0;
    st.Spec_total[1024] = 50.0;
    EXPECT_EQ(ids(plot_layers(st, view(), options(false, 1)).shown()),
              std::vector<LayerId>{LayerId::Total});
    EXPECT_EQ(ids(plot_layers(st, view(), options(true, 1)).shown()),
              (std::vector<LayerId>{LayerId::Total, LayerId::Target}));
}

// A layer whose bars look like another shown layer's drawing is traced in a colour
// of its own; alone, it needs no trace.
TEST(PlotLayers, TracesWhereColoursAreShared) {
    const CalcState st = separated();
    for (bool linear : {true, false}) {
        std::map<LayerId, std::optional<Rgb>> trace;
        for (const Layer& l : plot_layers(st, view(), options(linear, 1)).shown())
            trace[l.id] = l.trace;
        EXPECT_EQ(trace.at(LayerId::Mark), layer_colours::kMarkTrace) << linear;
        EXPECT_EQ(trace.at(LayerId::Escape), layer_colours::kEscapeTrace) << linear;
        EXPECT_EQ(trace.at(LayerId::Pileup), layer_colours::kPileupTrace) << linear;
        for (LayerId id :
             {LayerId::Total, LayerId::Target, LayerId::Line, LayerId::Argon, LayerId::Elastic})
            EXPECT_FALSE(trace.at(id).has_value()) << linear << static_cast<int>(id);
    }
    CalcState escape_only;
    escape_only.Spec_escape[500] = 30.0;
    const std::vector<Layer> shown = plot_layers(escape_only, view(), options(true, 1)).shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_FALSE(shown[0].trace.has_value());
}

TEST(PlotLayers, NamesAsTheLegendShowsThem) {
    const CalcState st = separated();
    const LayerNames names{"Fe", "K-alpha 1&2", "marked Ca"};
    std::map<LayerId, std::string> name;
    for (const Layer& l : plot_layers(st, view(), options(true, 1), names).layers)
        name[l.id] = l.name;
    const std::map<LayerId, std::string> expected = {
        {LayerId::Total, "total"},         {LayerId::Target, "Fe, all lines"},
        {LayerId::Line, "Fe K-alpha 1&2"}, {LayerId::Mark, "marked Ca"},
        {LayerId::Argon, "argon"},         {LayerId::Elastic, "elastic scatter"},
        {LayerId::Escape, "escape"},       {LayerId::Pileup, "pile-up"}};
    EXPECT_EQ(name, expected);
    for (const Layer& l : plot_layers(st, view(), options(false, 0)).layers)
        if (l.id == LayerId::Mark) {
            EXPECT_EQ(l.name, "marked element");
        }
}

}  // namespace
}  // namespace lumetra::display
