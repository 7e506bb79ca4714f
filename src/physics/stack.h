#pragma once
// The stack the beam passes through: the layers in front of the sample (from the
// outermost in), the sample, and the layers behind it (from the sample out). Each
// piece is reached by the beam through the pieces above it, and its photons leave
// towards the detector through the same pieces. A bulk sample ends the stack.

#include <string>
#include <vector>

#include "physics/cross_sections.h"
#include "physics/sample.h"
#include "physics/setup.h"

namespace lumetra::physics {

// The name of a LineRate::layer: "front layer 2" for -2 (Setup::front[1]), "back layer
// 1" for 1 (Setup::back[0]), "sample" for 0.
std::string layer_name(int layer);
// The same at the start of a sentence: "Front layer 2", "Back layer 1", "Sample".
std::string layer_title(int layer);

// Whether the beam reaches the layers behind the sample: not behind a bulk sample.
bool back_layers_reached(const Setup& setup);
// For the user when there are layers behind a bulk sample: "Bulk sample: the layer
// behind it has no effect." ("the layers behind it have" for more), else "".
std::string unreached_layers_note(const Setup& setup);

struct Piece {
    int layer = 0;  // as LineRate::layer
    Sample matter;  // a film but for a bulk sample
};

class Stack {
  public:
    // With a CrossSections the library's values are remembered (it must outlive the
    // stack).
    explicit Stack(const Setup& setup, CrossSections* xs = nullptr);

    // Pieces in depth order, 0 the outermost.
    int size() const { return static_cast<int>(pieces_.size()); }
    const Piece& piece(int p) const { return pieces_[static_cast<std::size_t>(p)]; }
    int sample_index() const { return sample_; }
    const Sample& sample() const { return piece(sample_).matter; }
    bool layered() const { return size() > 1; }

    // sum mu_q(E) rho t_q over the pieces strictly between p and q, the optical depth
    // normal to the surface; -1 for p is the surface.
    double between(int p, int q, double E) const;
    // The share of the beam reaching the top of piece p:
    // exp(-sum_{q above p} mu_q(E0) rho t_q / sin psi_in).
    double beam_to(int p, double E0) const;
    // The share of photons of E keV leaving the top of piece p towards the detector
    // that pass the pieces above it: exp(-sum_{q above p} mu_q(E) rho t_q / sin psi_out).
    double exit_from(int p, double E) const;

  private:
    std::vector<Piece> pieces_;
    int sample_ = 0;
    double sin_in_ = 1.0, sin_out_ = 1.0;
};

}  // namespace lumetra::physics
