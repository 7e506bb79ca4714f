#include "physics/stack.h"

#include <algorithm>
#include <cmath>

namespace lumetra::physics {
namespace {

// exp(-x) of an optical depth, 0 for one past any number.
double passing(double x) {
    return std::isfinite(x) ? std::exp(-x) : 0.0;
}

}  // namespace

std::string layer_name(int layer) {
    if (layer == 0) return "sample";
    return (layer < 0 ? "front layer " : "back layer ") + std::to_string(std::abs(layer));
}

std::string layer_title(int layer) {
    std::string name = layer_name(layer);
    name.front() = static_cast<char>(name.front() - 'a' + 'A');
    return name;
}

bool back_layers_reached(const Setup& setup) {
    return setup.film;
}

std::string unreached_layers_note(const Setup& setup) {
    const std::size_t n = setup.back.size();
    if (n == 0 || back_layers_reached(setup)) return {};
    const std::string layers = n == 1 ? "the layer behind it has" : "the layers behind it have";
    return "Bulk sample: " + layers + " no effect.";
}

Stack::Stack(const Setup& setup, CrossSections* xs) {
    for (std::size_t i = 0; i < setup.front.size(); ++i)
        pieces_.push_back({-static_cast<int>(i) - 1, Sample(setup.front[i], setup, xs)});
    sample_ = size();
    pieces_.push_back({0, Sample(setup, xs)});
    if (back_layers_reached(setup))
        for (std::size_t i = 0; i < setup.back.size(); ++i)
            pieces_.push_back({static_cast<int>(i) + 1, Sample(setup.back[i], setup, xs)});
    sin_in_ = sample().sin_in();
    sin_out_ = sample().sin_out();
}

double Stack::between(int p, int q, double E) const {
    double depth = 0.0;
    for (int r = std::min(p, q) + 1; r < std::max(p, q); ++r) {
        const Sample& s = piece(r).matter;
        depth += s.mu(E) * s.areal_density();
    }
    return depth;
}

double Stack::beam_to(int p, double E0) const {
    return p == 0 ? 1.0 : passing(between(-1, p, E0) / sin_in_);
}

double Stack::exit_from(int p, double E) const {
    return p == 0 ? 1.0 : passing(between(-1, p, E) / sin_out_);
}

}  // namespace lumetra::physics
