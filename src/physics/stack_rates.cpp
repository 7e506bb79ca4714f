#include "physics/stack_rates.h"

#include <algorithm>
#include <cmath>

#include "physics/fluorescence.h"
#include "physics/orders.h"
#include "physics/secondary_between.h"

namespace lumetra::physics {
namespace {

// The pieces in the order their lines are listed: the sample, then the rest by depth.
std::vector<int> listing_order(const Stack& stack) {
    std::vector<int> order = {stack.sample_index()};
    for (int p = 0; p < stack.size(); ++p)
        if (p != stack.sample_index()) order.push_back(p);
    return order;
}

// The lines of one homogeneous piece on its own, every order within it.
std::vector<LineRate> own_lines(const Setup& setup, const Sample& matter,
                                const DetectorPath& path) {
    std::vector<LineRate> lines = primary_lines(setup, matter, path);
    add_secondary(lines, setup, matter, path);
    add_self_excitation(lines, setup, matter, path);
    add_tertiary(lines, setup, matter, path);
    add_scatter_excited(lines, setup, matter, path);
    return lines;
}

// Lines of piece p as for a sample of its own, tagged and attenuated by what lies above.
void lines_of_piece(int p, const Setup& setup, const Stack& stack, const DetectorPath& path,
                    std::vector<LineRate>& out) {
    const Piece& piece = stack.piece(p);
    std::vector<LineRate> lines = own_lines(setup, piece.matter, path);
    const double beam = stack.beam_to(p, setup.E0);
    for (LineRate& l : lines) {
        l.layer = piece.layer;
        const double passed = beam * stack.exit_from(p, l.energy);
        for (double LineRate::*part : kLineParts) l.*part *= passed;
        out.push_back(l);
    }
}

// The scatter of every piece through what lies above it, summed.
Scatter scatter_of_stack(const Setup& setup, const Stack& stack, const DetectorPath& path) {
    Scatter sum;
    double doppler_squares = 0.0;  // sum of rate x width^2 of the Compton lines
    for (int p : listing_order(stack)) {
        const Scatter s = scatter_rates(setup, stack.piece(p).matter, path);
        const double beam = stack.beam_to(p, setup.E0);
        const double rayleigh = s.rayleigh.rate * beam * stack.exit_from(p, s.rayleigh.energy);
        const double compton = s.compton.rate * beam * stack.exit_from(p, s.compton.energy);
        sum.rayleigh.energy = s.rayleigh.energy;
        sum.compton.energy = s.compton.energy;
        sum.rayleigh.rate += rayleigh;
        sum.compton.rate += compton;
        doppler_squares += compton * s.compton.doppler_eV * s.compton.doppler_eV;
    }
    const double width = std::sqrt(doppler_squares / sum.compton.rate);
    sum.compton.doppler_eV = std::isfinite(width) ? width : 0.0;
    return sum;
}

}  // namespace

StackRates stack_rates(const Setup& setup, const Stack& stack, const DetectorPath& path) {
    StackRates out;
    if (!stack.layered()) {
        out.lines = own_lines(setup, stack.sample(), path);
        out.scatter = scatter_rates(setup, stack.sample(), path);
        return out;
    }
    for (int p : listing_order(stack)) lines_of_piece(p, setup, stack, path, out.lines);
    add_secondary_between(out.lines, setup, stack, path);
    out.lines.erase(std::remove_if(out.lines.begin(), out.lines.end(),
                                   [](const LineRate& l) { return !(l.total() > 0.0); }),
                    out.lines.end());
    out.scatter = scatter_of_stack(setup, stack, path);
    return out;
}

}  // namespace lumetra::physics
