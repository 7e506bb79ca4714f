#pragma once
// Gaussian peaks on the 1025-channel scale. Every line of the spectrum is a peak of
// one common width; a peak is evaluated only inside its window of +-h channels
// around the centre, cut to the channels 0..1024.

#include <cstdint>

#include "engine/calc_state.h"

namespace lumetra::engine {

// Where one peak falls on the channel scale.
struct PeakWindow {
    bool placed = false;  // false when the energy has no channel (0 keV on a 0 keV scale)
    long long k0 = 0;     // centre channel
    long long lo = 0;     // first channel, cut at 0 (may lie beyond 1024)
    long long hi = -1;    // last channel, cut at 1024 (may lie below 0)

    // A peak whose window starts at channel 1023 or later is not drawn into the layers.
    bool drawable() const { return placed && lo < 1023; }
};

class PeakShape {
public:
    // full_energy: keV at channel 1024; width: peak width in volts on the 0..10 V
    // scale. A width below 0.0001 V is taken as 0.0001 V, so the Gaussian coefficient
    // never divides by zero.
    PeakShape(double full_energy, double width);

    double keV_per_channel() const { return q_; }
    double sigma_channels() const { return s_; }
    double coefficient() const { return g_; }
    std::int16_t half_window() const { return h_; }

    // The window of a peak at E keV; centre Int(E / q + 0.5).
    PeakWindow window(double E) const;

    // Adds / writes height / exp(g (k0 - k)^2) into the channels of the window.
    void add(Spectrum& a, const PeakWindow& w, double height) const;
    void set(Spectrum& a, const PeakWindow& w, double height) const;

private:
    double value(const PeakWindow& w, long long k, double height) const;

    double q_;        // keV per channel
    double s_;        // Gaussian width, channels
    double g_;        // 1 / s^2
    std::int16_t h_;  // half-width of the window, channels
};

}  // namespace lumetra::engine
