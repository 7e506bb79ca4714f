#pragma once
// The window-level calculation state: the sample's elements, their lines and
// yields, and the eight spectrum arrays. Element 0 is the target, element i + 1
// is matrix row i. All arrays are fixed-size: stale rows are read, never memory
// outside them.

#include <array>
#include <cstdint>

#include "common/variant.h"

namespace lumetra::engine {

constexpr int kElements = 13;   // element indices 0..12
constexpr int kSlots = 24;      // line slots 0..23
constexpr int kChannels = 1025; // channels 0..1024

using Spectrum = std::array<double, kChannels>;

struct CalcState {
    std::int16_t Elem_count = -10;  // highest element index in use; -10 before the editor starts
    std::array<std::int16_t, kElements> Elem_z{};
    std::array<double, kElements> Elem_mass{};          // g/mol
    std::array<common::Variant, kElements> Elem_content{};  // atoms per formula unit
    std::int16_t Elem_mark = 0;    // marked element (row + 1); 0 or less: none
    std::int16_t Target_line = 0;  // line slot of the chosen target line
    std::int16_t Edge_mode = 0;    // 10: K edge, -10: L3 edge
    std::int16_t Sample_form = 0;  // 10: bulk, -10: film
    std::array<std::array<double, kSlots>, kElements> Line_energy{};  // keV
    std::array<std::array<double, kSlots>, kElements> Line_yield{};   // per unit content
    double Areal_factor = 0.0;     // film areal factor

    Spectrum Spec_total{};
    Spectrum Spec_target{};
    Spectrum Spec_line{};
    Spectrum Spec_mark{};
    Spectrum Spec_argon{};
    Spectrum Spec_elastic{};
    Spectrum Spec_escape{};
    Spectrum Spec_pileup{};

    std::int16_t Calc_state = 0;  // 10 once a spectrum is shown; -10 after a target change
};

}  // namespace lumetra::engine
