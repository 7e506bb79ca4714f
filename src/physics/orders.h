#pragma once
// Fluorescence beyond the secondary order within one homogeneous layer (bulk or film):
// an element's lines exciting its own shells, the secondary lines exciting a third
// element, and the beam's Rayleigh and Compton scatter exciting the lines. Each adds to
// its own member of the lines, with the same detection factor T as the primary part;
// the primary and secondary rates are read, not changed.

#include <vector>

#include "physics/detector_path.h"
#include "physics/result.h"
#include "physics/sample.h"
#include "physics/secondary_integral.h"

namespace lumetra::physics {

// LineRate::self_excited: the element's own primary lines as emitters.
void add_self_excitation(std::vector<LineRate>& lines, const Setup& setup, const Sample& sample,
                         const DetectorPath& path);

// LineRate::tertiary: primary line k of element i excites line m of element l (l != i), and
// m excites line L of element j (j != l). Bulk, and a film of 30 attenuation lengths for
// every energy of the chains, with the first step in closed form (tertiary.cpp); a thinner
// film by depth profiles (tertiary_film.h).
void add_tertiary(std::vector<LineRate>& lines, const Setup& setup, const Sample& sample,
                  const DetectorPath& path);

// LineRate::scatter_excited: the beam's photons scattered inside the sample, at E0
// (Rayleigh) and at the Compton energy of each direction, taken as isotropic emitters.
void add_scatter_excited(std::vector<LineRate>& lines, const Setup& setup, const Sample& sample,
                         const DetectorPath& path);

// The scattered beam as emitters (secondary_integral.h): Rayleigh at E0 first, then the
// Compton photons by direction. None for an energy outside 1..150 keV.
std::vector<Emitter> scatter_emitters(const Sample& sample, double E0);

}  // namespace lumetra::physics
