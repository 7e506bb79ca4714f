// The detector response against hand arithmetic and direct library calls.

#include "physics/response.h"

#include <gtest/gtest.h>
#include <xraylib/xraylib.h>

#include <cmath>
#include <limits>

namespace lumetra::physics {
namespace {

Detector detector_of(Crystal c, double resolution_eV) {
    Detector d = default_detector(c);
    d.resolution_eV = resolution_eV;
    return d;
}

// FWHM in eV: sqrt(R^2 + (2 sqrt(2 ln 2))^2 F w (E - 5898 eV)) when R is above the Fano
// width.
TEST(Response, WidthMatchesResolutionAndGrowsWithFanoTerm) {
    struct Case {
        Crystal crystal;
        double R_eV, fano, w_eV;
    };
    for (const Case& c :
         {Case{Crystal::si, 130.0, 0.118, 3.66}, Case{Crystal::ge, 150.0, 0.106, 2.96}}) {
        const Response r(detector_of(c.crystal, c.R_eV));
        EXPECT_NEAR(r.fwhm(5.898), c.R_eV * 1e-3, 1e-9);
        for (double E : {1.0, 17.48, 60.0}) {
            const double k = 8.0 * std::log(2.0) * c.fano * c.w_eV;
            const double expected_eV = std::sqrt(c.R_eV * c.R_eV + k * (E - 5.898) * 1e3);
            EXPECT_NEAR(r.fwhm(E), expected_eV * 1e-3, 1e-9) << E;
        }
    }
    // Below the Fano limit of silicon, 2.35482 sqrt(0.118 x 3.66 x 5898) = 118.85 eV,
    // the noise is 0 and the width is the Fano width, which goes as sqrt(E).
    const Response fano_only(detector_of(Crystal::si, 80.0));
    EXPECT_NEAR(fano_only.fwhm(5.898), 0.11885, 5e-5);
    EXPECT_NEAR(fano_only.fwhm(4 * 5.898), 2 * fano_only.fwhm(5.898), 1e-12);
}

// Mo K-alpha: escape peaks at E - E_K of the crystal, total fraction
// 1/2 omega_K (1 - 1/J_K) (1 - r ln(1 + 1/r)), r = mu_photo(E_KL3) / mu_photo(E).
TEST(Response, EscapePeaksOfMoKalpha) {
    const double E = LineEnergy(42, KL3_LINE, nullptr);
    // Silicon's K-beta (2.7 % of its K lines, 96 eV up) merges into one escape peak.
    struct Case {
        Crystal crystal;
        int Z;
        std::vector<double> offsets;  // keV
    };
    for (const Case& c : {Case{Crystal::si, 14, {1.740}}, Case{Crystal::ge, 32, {9.886, 10.982}}}) {
        const std::vector<Escape> esc = Response(default_detector(c.crystal)).escapes(E);
        ASSERT_EQ(esc.size(), c.offsets.size());
        double total = 0.0;
        for (std::size_t i = 0; i < esc.size(); ++i) {
            EXPECT_NEAR(esc[i].energy, c.offsets[i], 0.015);
            total += esc[i].fraction;
        }
        EXPECT_GT(esc[0].fraction, 5 * (total - esc[0].fraction));  // K-alpha dominates
        const double r = CS_Photo_Total(c.Z, LineEnergy(c.Z, KL3_LINE, nullptr), nullptr) /
                         CS_Photo_Total(c.Z, E, nullptr);
        const double expected = 0.5 * FluorYield(c.Z, K_SHELL, nullptr) *
                                (1.0 - 1.0 / JumpFactor(c.Z, K_SHELL, nullptr)) *
                                (1.0 - r * std::log(1.0 + 1.0 / r));
        EXPECT_NEAR(total, expected, 0.05 * expected);
    }
    // None at or below the K edge (Si 1.839, Ge 11.103 keV), nor for odd energies.
    EXPECT_TRUE(Response(default_detector(Crystal::si)).escapes(1.83).empty());
    EXPECT_TRUE(Response(default_detector(Crystal::ge)).escapes(11.0).empty());
    EXPECT_FALSE(Response(default_detector(Crystal::ge)).escapes(11.2).empty());
    for (double bad : {-5.0, 0.0, 1e9, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_TRUE(Response(default_detector(Crystal::ge)).escapes(bad).empty()) << bad;
}

// f = 5.898 / (1.0645 x 0.130) / 1e4 = 4.2620e-3 for 130 eV and 1e4.
TEST(Response, ShelfFractionAndOddDetectors) {
    EXPECT_NEAR(Response(default_detector(Crystal::si)).shelf_fraction(), 4.2620e-3, 1e-6);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double ptb : {0.0, -3.0, nan, 1e-300, 1e300}) {
        Detector d = default_detector(Crystal::si);
        d.peak_to_background = ptb;
        const double f = Response(d).shelf_fraction();
        EXPECT_TRUE(f >= 0.0 && f <= 1.0) << ptb;
        if (!(ptb > 0.0)) {
            EXPECT_EQ(f, 0.0) << ptb;
        }
    }
    for (double R : {nan, -1.0, 0.0, 1e300}) {
        const Response r(detector_of(Crystal::ge, R));
        for (double E : {-1.0, 0.0, 5.0, 1e300, nan}) EXPECT_TRUE(std::isfinite(r.fwhm(E)));
        EXPECT_GT(r.fwhm(5.0), 0.0);
    }
}

}  // namespace
}  // namespace lumetra::physics
