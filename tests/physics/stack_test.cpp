// The stack around the sample: attenuation by the layers above each piece, each layer's
// own lines and scatter, a thick stack against bulk, and the refusals of bad layers.

#include <gtest/gtest.h>
#include <xraylib/xraylib.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include "physics/fluorescence.h"
#include "physics/model.h"
#include "physics/neighbours.h"
#include "physics/orders.h"
#include "physics/scatter.h"
#include "physics/synthesis.h"
#include "reference.h"

namespace lumetra::physics {
namespace {

using reference::kPi;

Layer layer(std::vector<int> Z, std::vector<double> w, double density, double um) {
    return {std::move(Z), std::move(w), density, um};
}

// mu rho t of a layer at E, straight from the library, cm2/g x g/cm2.
double depth(const Layer& l, double E) {
    return reference::mu_of(l.Z, l.mass_fraction, E) * l.density * l.thickness_um * 1e-4;
}

double sine(double degrees) {
    return std::sin(degrees * kPi / 180.0);
}

// exp(-mu(E0) rho t / sin psi_in) exp(-mu(E) rho t / sin psi_out) of the given layers.
double passing(const physics::Setup& s, const std::vector<Layer>& layers, double E) {
    double x = 0.0;
    for (const Layer& l : layers)
        x += depth(l, s.E0) / sine(s.psi_in_deg) + depth(l, E) / sine(s.psi_out_deg);
    return std::exp(-x);
}

physics::Setup rust(double E0 = 10.0) {
    physics::Setup s;
    s.sample = {{26, 2}, {8, 3}, {24, 0.1}};
    s.E0 = E0;
    s.psi_in_deg = 30.0, s.psi_out_deg = 60.0;
    s.target_lines = {KL3_LINE, KL2_LINE};
    return s;
}

const Layer kAluminium = layer({13}, {1.0}, 2.699, 12.0);
const Layer kMylar = layer({1, 6, 8}, {0.042, 0.625, 0.333}, 1.38, 6.0);
const Layer kSilicon = layer({14}, {1.0}, 2.33, 100.0);

const LineRate* find(const Result& r, int layer, int Z, int line) {
    for (const LineRate& l : r.lines)
        if (l.layer == layer && l.Z == Z && l.line == line) return &l;
    return nullptr;
}

TEST(Stack, NoLayersGiveTheSampleAloneExactly) {
    for (bool film : {false, true}) {
        physics::Setup s = rust();
        s.film = film, s.density = 5.2, s.thickness_cm = 3e-4;
        // The model of the sample alone, piece by piece.
        const Sample sample(s);
        const DetectorPath path(s);
        Result alone;
        alone.lines = primary_lines(s, sample, path);
        add_secondary(alone.lines, s, sample, path);
        add_self_excitation(alone.lines, s, sample, path);
        add_tertiary(alone.lines, s, sample, path);
        add_scatter_excited(alone.lines, s, sample, path);
        synthesise(s, sample, Response(s.detector), scatter_rates(s, sample, path), alone);
        const Result r = calculate(s);
        ASSERT_TRUE(r.ok);
        ASSERT_EQ(r.lines.size(), alone.lines.size());
        for (std::size_t i = 0; i < r.lines.size(); ++i) {
            EXPECT_EQ(r.lines[i].primary, alone.lines[i].primary);
            for (double LineRate::*part : kLineParts)
                EXPECT_EQ(r.lines[i].*part, alone.lines[i].*part);
            EXPECT_EQ(r.lines[i].layer, 0);
        }
        EXPECT_EQ(r.rayleigh.rate, alone.rayleigh.rate);
        EXPECT_EQ(r.compton.rate, alone.compton.rate);
        EXPECT_EQ(r.compton.doppler_eV, alone.compton.doppler_eV);
        EXPECT_EQ(r.figures.target, alone.figures.target);
        EXPECT_EQ(r.figures.background, alone.figures.background);
        EXPECT_EQ(r.layers.total, alone.layers.total);
        EXPECT_EQ(r.note, "");
    }
}

TEST(Stack, CoverLayersAttenuateTheSamplesLinesOnTheWayInAndOut) {
    const physics::Setup bare = rust();
    physics::Setup covered = bare;
    covered.front = {kMylar, kAluminium};
    const Result a = calculate(bare), b = calculate(covered);
    ASSERT_TRUE(a.ok && b.ok);
    int checked = 0;
    for (const LineRate& l : a.lines) {
        const LineRate* m = find(b, 0, l.Z, l.line);
        ASSERT_NE(m, nullptr) << l.Z << " " << l.line;
        const double factor = passing(bare, covered.front, l.energy);
        EXPECT_NEAR(m->total() / l.total(), factor, 1e-12 * factor) << l.Z << " " << l.line;
        checked += l.secondary > 0.0 ? 1 : 0;
    }
    EXPECT_GT(checked, 0);  // Cr K gets secondary fluorescence from Fe K
    // The aluminium's own K lines are there, named by their layer: Al K-alpha from front
    // layer 2.
    const LineRate* al = find(b, -2, 13, KL3_LINE);
    ASSERT_NE(al, nullptr);
    EXPECT_EQ(al->element, 0);
    EXPECT_FALSE(al->in_sample());
}

// A silicon substrate under a 1 um copper film: the substrate's primary lines and its
// scatter, as a film of its own reached through the copper and seen through it.
TEST(Stack, ASubstrateUnderAFilmGivesItsOwnLinesAndScatter) {
    physics::Setup s = rust(12.0);
    s.sample = {{29, 1}};
    s.film = true, s.density = 8.96, s.thickness_cm = 1e-4;
    s.target_lines = {KL3_LINE};
    const Layer copper = layer({29}, {1.0}, 8.96, 1.0);
    physics::Setup on_si = s;
    on_si.back = {kSilicon};
    const Result r = calculate(on_si), alone = calculate(s);
    ASSERT_TRUE(r.ok && alone.ok);

    const double si = sine(s.psi_in_deg), so = sine(s.psi_out_deg);
    const double rho_t = kSilicon.density * kSilicon.thickness_um * 1e-4;
    const DetectorPath path(s);
    const double k = s.flux * path.omega() / si;
    auto mu = [](double E) { return CS_Total_Kissel(14, E, nullptr); };
    auto F = [&](double E) {
        const double chi = mu(s.E0) / si + mu(E) / so;
        return -std::expm1(-chi * rho_t) / chi;
    };
    const double E = LineEnergy(14, KL3_LINE, nullptr);
    const LineRate* ka = find(r, 1, 14, KL3_LINE);
    ASSERT_NE(ka, nullptr);
    const double expected = k / (4 * kPi) *
                            CS_FluorLine_Kissel_Cascade(14, KL3_LINE, s.E0, nullptr) * F(E) *
                            path.T(E) * passing(s, {copper}, E);
    EXPECT_NEAR(ka->primary, expected, 1e-9 * expected);
    EXPECT_GT(ka->secondary, 0.0);  // Cu K excites Si K
    EXPECT_EQ(ka->element, 0);

    const double theta = (s.psi_in_deg + s.psi_out_deg) * kPi / 180, P = s.polarisation;
    const double rayleigh = (1 + P) / 2 * DCSP_Rayl(14, s.E0, theta, 0, nullptr) +
                            (1 - P) / 2 * DCSP_Rayl(14, s.E0, theta, kPi / 2, nullptr);
    const double ray = k * rayleigh * F(s.E0) * path.T(s.E0) * passing(s, {copper}, s.E0);
    EXPECT_NEAR(r.rayleigh.rate - alone.rayleigh.rate, ray, 1e-9 * ray);
    EXPECT_GT(r.compton.rate, alone.compton.rate);
    EXPECT_EQ(r.note, "");

    // Under a bulk sample the substrate is not reached: nothing changes, and the note
    // says so.
    s.film = false;
    physics::Setup bulk = s;
    bulk.back = {kSilicon, kSilicon};
    const Result b = calculate(bulk), c = calculate(s);
    ASSERT_EQ(b.lines.size(), c.lines.size());
    EXPECT_EQ(b.figures.icr, c.figures.icr);
    EXPECT_EQ(b.note, "Bulk sample: the layers behind it have no effect.");
    bulk.back.pop_back();
    EXPECT_EQ(calculate(bulk).note, "Bulk sample: the layer behind it has no effect.");
}

// Totals of every line by element and code, the sample's and the layers' together.
std::map<std::pair<int, int>, double> by_line(const Result& r) {
    std::map<std::pair<int, int>, double> m;
    for (const LineRate& l : r.lines) m[{l.Z, l.line}] += l.total();
    return m;
}

// A 2 um film of a Fe-Cr alloy over (or under) a thick piece of the same alloy is the
// bulk alloy: every line, its secondary fluorescence between the pieces included, and
// the scatter within 0.5 %.
TEST(Stack, AThickStackOfOneCompositionIsTheBulk) {
    physics::Setup bulk;
    bulk.sample = {{26, 0.8 / 55.845}, {24, 0.2 / 51.996}};
    bulk.E0 = 10.0;
    bulk.target_lines = {KL3_LINE};
    const Layer thin = layer({26, 24}, {0.8, 0.2}, 7.5, 2.0);
    const Layer thick = layer({26, 24}, {0.8, 0.2}, 7.5, 2000.0);
    physics::Setup film_on_thick = bulk, thin_over_bulk = bulk, thick_film = bulk;
    film_on_thick.film = true, film_on_thick.density = 7.5, film_on_thick.thickness_cm = 2e-4;
    film_on_thick.back = {thick};
    thin_over_bulk.front = {thin};
    thick_film.film = true, thick_film.density = 7.5, thick_film.thickness_cm = 0.2;
    thick_film.back = {kSilicon};
    const Result ref = calculate(bulk);
    const auto expected = by_line(ref);
    for (const physics::Setup* s : {&film_on_thick, &thin_over_bulk, &thick_film}) {
        const Result r = calculate(*s);
        ASSERT_TRUE(r.ok);
        for (const auto& [key, rate] : by_line(r)) {
            if (key.first == 14) continue;  // the silicon under the thick film: nothing of it
            EXPECT_NEAR(rate / expected.at(key), 1.0, 0.005) << key.first << " " << key.second;
        }
        EXPECT_NEAR(r.rayleigh.rate / ref.rayleigh.rate, 1.0, 0.005);
        EXPECT_NEAR(r.compton.rate / ref.compton.rate, 1.0, 0.005);
    }
    // Cr K-alpha gains some 40 % by secondary fluorescence; in the film over the thick
    // piece part of it comes from the Fe below the film.
    const Result r = calculate(film_on_thick);
    const LineRate* cr = find(r, 0, 24, KL3_LINE);
    ASSERT_NE(cr, nullptr);
    physics::Setup film_alone = film_on_thick;
    film_alone.back.clear();
    EXPECT_GT(cr->secondary, 1.2 * find(calculate(film_alone), 0, 24, KL3_LINE)->secondary);
}

// The layers' lines of the target's own element are background, named by their layer;
// S stays the sample's.
TEST(Stack, ALayersLinesOfTheTargetElementCountInTheBackground) {
    physics::Setup s = rust();
    s.sample = {{26, 1}};
    s.film = true, s.density = 7.874, s.thickness_cm = 1e-5;
    s.detector.dead_time_us = 1e-9, s.detector.pulse_pair_us = 1e-9;
    physics::Setup on_steel = s;
    on_steel.back = {layer({26}, {1.0}, 7.874, 50.0)};
    const Result a = calculate(s), b = calculate(on_steel);
    ASSERT_TRUE(a.ok && b.ok) << a.reason << b.reason;
    // S at the input rate (the live share exp(-ICR tau) taken out) is the sample's alone.
    auto S = [](const Result& r) { return r.figures.target / std::exp(-r.figures.overload); };
    EXPECT_NEAR(S(b), S(a), 1e-12 * S(a));
    EXPECT_GT(b.figures.background, 10.0 * a.figures.background);
    const std::vector<Neighbour> n = neighbours(b);
    ASSERT_FALSE(n.empty());
    EXPECT_EQ(n.front().name, "Fe K-alpha 1 (back layer 1)");
    physics::Setup covered = s;
    covered.front = {layer({26}, {1.0}, 7.874, 0.5), kAluminium};
    EXPECT_EQ(neighbours(calculate(covered)).front().name, "Fe K-alpha 1 (front layer 1)");
}

TEST(Stack, BadLayersAreRefusedByName) {
    const struct {
        void (*spoil)(physics::Setup&);
        const char* reason;
    } cases[] = {
        {[](physics::Setup& s) { s.front[1].thickness_um = 0.0; },
         "Front layer 2 needs a thickness above 0."},
        {[](physics::Setup& s) { s.back[0].density = -1.0; },
         "Back layer 1 needs a density above 0."},
        {[](physics::Setup& s) { s.back[0].density = NAN; },
         "Back layer 1 needs a density above 0."},
        {[](physics::Setup& s) { s.front[0].thickness_um = INFINITY; },
         "Front layer 1 needs a thickness above 0."},
        {[](physics::Setup& s) { s.front[0].Z.clear(), s.front[0].mass_fraction.clear(); },
         "Front layer 1 has no elements."},
        {[](physics::Setup& s) {
             s.front[0].Z = {1, 6, 99};
         },
         "Front layer 1 has an unknown element."},
        {[](physics::Setup& s) { s.front[0].mass_fraction[1] = NAN; },
         "Front layer 1 needs mass fractions of 0 or more."},
        {[](physics::Setup& s) {
             s.front[0].mass_fraction = {0.0, -0.0, 0.0};
         },
         "Front layer 1 needs an element with a mass fraction above 0."},
        {[](physics::Setup& s) {
             s.front[0].mass_fraction = {1e308, 1e308, 1e308};
         },
         "Front layer 1 has mass fractions too large to add up."},
        {[](physics::Setup& s) { s.front[0].mass_fraction.push_back(0.5); },
         "Front layer 1 needs one mass fraction per element."},
        {[](physics::Setup& s) { s.back[0].density = 1e300, s.back[0].thickness_um = 1e10; },
         "Back layer 1 is too thick."},
        {[](physics::Setup& s) { s.front.resize(9, kAluminium); },
         "There can be at most 8 layers in front of the sample."},
        {[](physics::Setup& s) { s.back.resize(9, kSilicon); },
         "There can be at most 8 layers behind the sample."},
        // Behind a bulk sample too: the setup holds them.
        {[](physics::Setup& s) { s.film = false, s.back[0].thickness_um = -3.0; },
         "Back layer 1 needs a thickness above 0."},
    };
    for (const auto& c : cases) {
        physics::Setup s = rust();
        s.film = true, s.density = 5.2, s.thickness_cm = 1e-4;
        s.front = {kMylar, kAluminium};
        s.back = {kSilicon};
        ASSERT_TRUE(calculate(s).ok);
        c.spoil(s);
        const Result r = calculate(s);
        EXPECT_FALSE(r.ok) << c.reason;
        EXPECT_EQ(r.reason, c.reason);
        EXPECT_TRUE(r.lines.empty());
        EXPECT_EQ(r.figures.icr, 0.0);
    }
}

// Extreme but allowed stacks give finite numbers: of eight opaque covers only the
// outermost is seen; layers of one atom's thickness change nothing visible.
TEST(Stack, ExtremeStacksStayFinite) {
    physics::Setup s = rust();
    s.front.assign(8, layer({82}, {1.0}, 11.35, 1e4));
    Result r = calculate(s);
    ASSERT_TRUE(r.ok);
    ASSERT_FALSE(r.lines.empty());
    for (const LineRate& l : r.lines) EXPECT_EQ(l.layer, -1);
    s = rust();
    s.film = true, s.density = 5.2, s.thickness_cm = 1e-4;
    s.front.assign(8, layer({6}, {1.0}, 2.0, 1e-12));
    s.back.assign(8, layer({29, 30}, {0.6, 0.4}, 8.5, 1e-12));
    s.psi_in_deg = 1e-9;
    r = calculate(s);
    ASSERT_TRUE(r.ok);
    for (const LineRate& l : r.lines) EXPECT_TRUE(std::isfinite(l.total()) && l.total() > 0.0);
    for (double c : r.layers.total) EXPECT_TRUE(std::isfinite(c));
    EXPECT_TRUE(std::isfinite(r.compton.doppler_eV));
}

}  // namespace
}  // namespace lumetra::physics
