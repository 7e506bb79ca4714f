// Speed of one recalculation and of one redraw: the spectrum of a target with
// eleven matrix elements, and its plot at full view and zoomed, on both scales.

#include <benchmark/benchmark.h>

#include <map>

#include "common/dialogs.h"
#include "common/numtext.h"
#include "display/plot.h"
#include "engine/calculation.h"

namespace {

using namespace lumetra;
using engine::Field;

class BenchHost : public engine::Host {
public:
    double field(Field f) override { return values.at(f); }
    void set_distance_text(const std::string& t) override { values[Field::Distance] = text::Val(t); }
    void show_calculating() override {}
    common::Dialogs& dialogs() override { return dialog_box; }
    void clear_matrix() override {}

    std::map<Field, double> values = {
        {Field::XrayEnergy, 10.0},   {Field::Width, 0.3},          {Field::FullEnergy, 12.994},
        {Field::Distance, 10.0},     {Field::Filter, 0.0},         {Field::IncidentAngle, 45.0},
        {Field::TakeoffAngle, 45.0}, {Field::Density, 2.2},        {Field::Thickness, 50.0},
        {Field::TargetLineEnergy, 6.4}};
    common::ScriptedDialogs dialog_box;
};

// Iron in a rock-like matrix of eleven elements, the copper row marked.
engine::CalcState twelve_elements() {
    struct E {
        std::int16_t z;
        double mass, content;
    };
    const E elements[] = {{26, 55.845, 2}, {8, 15.999, 60},  {14, 28.086, 20}, {13, 26.982, 8},
                          {20, 40.078, 3}, {12, 24.305, 2},  {11, 22.990, 2},  {19, 39.098, 1},
                          {22, 47.867, 0.5}, {25, 54.938, 0.2}, {29, 63.546, 0.1}, {30, 65.38, 0.1}};
    engine::CalcState st;
    for (int i = 0; i < 12; ++i) {
        st.Elem_z[i] = elements[i].z;
        st.Elem_mass[i] = elements[i].mass;
        st.Elem_content[i] = elements[i].content;
    }
    st.Elem_count = 11;
    st.Elem_mark = 11;
    st.Target_line = 0;
    st.Sample_form = 10;
    return st;
}

void BM_CalcSpectrum(benchmark::State& state) {
    BenchHost host;
    engine::CalcState st = twelve_elements();
    for (auto _ : state) {
        std::string share = engine::Calc_spectrum(st, host);
        benchmark::DoNotOptimize(share);
        benchmark::DoNotOptimize(st.Spec_total.data());
    }
}
BENCHMARK(BM_CalcSpectrum)->Unit(benchmark::kMicrosecond);

// Args: zoom steps, linear (1) or logarithmic (0).
void BM_PlotSpectrum(benchmark::State& state) {
    BenchHost host;
    engine::CalcState st = twelve_elements();
    engine::Calc_spectrum(st, host);
    display::ViewState view;
    view.Zoom_steps = static_cast<double>(state.range(0));
    view.Y_top = 11750.0;
    const display::PlotOptions options{state.range(1) == 1, 1, 1, 1, 1};
    display::Picture pic;
    for (auto _ : state) {
        display::Plot_spectrum(pic, st, view, options);
        benchmark::DoNotOptimize(pic.ops().data());
    }
    state.counters["ops"] = static_cast<double>(pic.ops().size());
}
BENCHMARK(BM_PlotSpectrum)
    ->ArgNames({"zoom", "linear"})
    ->Args({1, 1})
    ->Args({1, 0})
    ->Args({4, 1})
    ->Args({4, 0})
    ->Unit(benchmark::kMicrosecond);

// A whole recalculation and redraw, as one edit of a field causes it.
void BM_RecalcAndRedraw(benchmark::State& state) {
    BenchHost host;
    engine::CalcState st = twelve_elements();
    display::ViewState view;
    view.Zoom_steps = 4.0;
    view.Y_top = 11750.0;
    display::Picture pic;
    for (auto _ : state) {
        engine::Calc_spectrum(st, host);
        display::Plot_spectrum(pic, st, view, display::PlotOptions{true, 1, 1, 1, 1});
        benchmark::DoNotOptimize(pic.ops().data());
    }
}
BENCHMARK(BM_RecalcAndRedraw)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
