// Speed of the fundamental-parameter model: a 16-element sample, first with nothing
// remembered, then as a recalculation after a content edit (the model remembers the
// library's values) and after a step of the incident energy; and a film between two
// cover layers and a substrate, recalculated after a content edit.

#include <benchmark/benchmark.h>

#include "physics/model.h"

namespace {

using namespace lumetra::physics;

// Iron in a rock of fifteen further elements at 7.2 keV; the iron row is the target.
Setup rock() {
    Setup s;
    const Component elements[] = {
        {26, 2},   {8, 60},   {14, 20},  {13, 8},   {20, 3},    {12, 2},    {11, 2},   {19, 1},
        {22, 0.5}, {25, 0.2}, {29, 0.1}, {30, 0.1}, {38, 0.05}, {56, 0.05}, {15, 0.3}, {16, 0.2}};
    for (const Component& c : elements) s.sample.push_back(c);
    s.E0 = 7.2;
    s.target_lines = {-3, -2};  // K-alpha 1 and 2
    s.full_energy = 9.745;
    return s;
}

void BM_FpNothingRemembered(benchmark::State& state) {
    const Setup s = rock();
    for (auto _ : state) benchmark::DoNotOptimize(calculate(s));
}
BENCHMARK(BM_FpNothingRemembered)->Unit(benchmark::kMicrosecond);

void BM_FpAfterAContentEdit(benchmark::State& state) {
    Setup s = rock();
    Model model;
    model.calculate(s);
    int i = 0;
    for (auto _ : state) {
        s.sample[0].atoms = (++i % 2) ? 2.0 : 2.5;
        benchmark::DoNotOptimize(model.calculate(s));
    }
}
BENCHMARK(BM_FpAfterAContentEdit)->Unit(benchmark::kMicrosecond);

void BM_FpAfterAnEnergyStep(benchmark::State& state) {
    Setup s = rock();
    Model model;
    int i = 0;
    for (auto _ : state) {
        s.E0 = 7.2 + 0.001 * (++i % 1000);
        benchmark::DoNotOptimize(model.calculate(s));
    }
}
BENCHMARK(BM_FpAfterAnEnergyStep)->Unit(benchmark::kMicrosecond);

// A 2 um film of stainless steel under a Kapton window and an aluminium foil, on a
// silicon wafer, at 10 keV; the iron row is the target.
Setup covered_film_on_wafer() {
    Setup s;
    s.sample = {{26, 70}, {24, 18}, {28, 10}, {25, 2}};
    s.film = true, s.density = 7.9, s.thickness_cm = 2e-4;
    s.E0 = 10.0;
    s.target_lines = {-3, -2};
    s.front = {{{1, 6, 7, 8}, {0.026, 0.691, 0.073, 0.209}, 1.42, 8.0}, {{13}, {1.0}, 2.699, 6.0}};
    s.back = {{{14}, {1.0}, 2.33, 500.0}};
    return s;
}

void BM_FpStackAfterAContentEdit(benchmark::State& state) {
    Setup s = covered_film_on_wafer();
    Model model;
    model.calculate(s);
    int i = 0;
    for (auto _ : state) {
        s.sample[0].atoms = (++i % 2) ? 70.0 : 72.0;
        benchmark::DoNotOptimize(model.calculate(s));
    }
}
BENCHMARK(BM_FpStackAfterAContentEdit)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
