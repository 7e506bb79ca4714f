#include "engine/peaks.h"

#include <algorithm>
#include <cmath>

#include "common/numtext.h"
#include "engine/finite.h"

namespace lumetra::engine {
namespace {

constexpr double kNarrowestWidth = 0.0001;  // V
constexpr double kWidthDivisor = 60.0;
constexpr double kWindowSigmas = 4.3;
constexpr long long kLastChannel = kChannels - 1;
// Centres are held within this many channels of the scale: far enough that the
// widest window (32767 channels) still misses the scale entirely, near enough
// that every channel difference is exact in a double.
constexpr double kCentreLimit = 1.0e9;

}  // namespace

PeakShape::PeakShape(double full_energy, double width) {
    const double w = width > kNarrowestWidth ? width : kNarrowestWidth;
    q_ = full_energy / 1024.0;
    s_ = finite::held(w / kWidthDivisor * 1024.0);
    g_ = 1.0 / (s_ * s_);  // 0 when s^2 overflows: a flat peak over the whole window
    h_ = text::to_int16(text::Int(kWindowSigmas * s_) + 1.0);
}

PeakWindow PeakShape::window(double E) const {
    PeakWindow w;
    const double x = E / q_ + 0.5;
    if (std::isnan(x)) return w;  // 0 keV on a scale of 0 keV per channel
    w.placed = true;
    w.k0 = static_cast<long long>(std::clamp(std::floor(x), -kCentreLimit, kCentreLimit));
    w.lo = std::max<long long>(w.k0 - h_, 0);
    w.hi = std::min<long long>(w.k0 + h_, kLastChannel);
    return w;
}

double PeakShape::value(const PeakWindow& w, long long k, double height) const {
    const double dk = static_cast<double>(w.k0 - k);
    return height / std::exp(g_ * (dk * dk));
}

void PeakShape::add(Spectrum& a, const PeakWindow& w, double height) const {
    if (!w.placed) return;
    for (long long k = w.lo; k <= w.hi; ++k) {
        auto& c = a[static_cast<std::size_t>(k)];
        c = finite::add(c, value(w, k, height));
    }
}

void PeakShape::set(Spectrum& a, const PeakWindow& w, double height) const {
    if (!w.placed) return;
    for (long long k = w.lo; k <= w.hi; ++k) a[static_cast<std::size_t>(k)] = value(w, k, height);
}

}  // namespace lumetra::engine
