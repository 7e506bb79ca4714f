// Detected yield of every emission line of one element: photoabsorption at the
// incident energy, the line's share, self-absorption of the sample on the way in
// and out, air and aluminium filter.

#include <cmath>

#include "common/numtext.h"
#include "data/lines.h"
#include "engine/calculation.h"
#include "engine/elements.h"
#include "engine/finite.h"
#include "engine/line_yield.h"
#include "engine/transmission.h"

namespace lumetra::engine {
namespace {

constexpr double kNearestDistance = 5.0;   // cm
constexpr double kFarthestDistance = 60.0;  // cm
// Beyond this optical thickness a film absorbs like a bulk sample.
constexpr double kThickFilm = 36.0;

// Air path between sample and detector, cm. Below 5 cm the detector cannot come
// closer than its snout: 5. Above 60 cm the field itself is set back to 60 (its
// change handler runs at once) and the path is read again from it.
double air_path(Host& host, bool& reset) {
    const double v = host.field(Field::Distance);
    if (v < kNearestDistance) return kNearestDistance;
    if (v > kFarthestDistance) {
        reset = true;
        host.set_distance_text("60");
        return host.field(Field::Distance);
    }
    return v;
}

// Self-absorption factor of a line whose exit-path and incident-path attenuation
// sums add up to mu: 1 / mu for a bulk sample, times 1 - exp(-mu x areal factor)
// for a film that is not optically thick.
double self_absorption(const CalcState& st, double mu) {
    double A = finite::div(1.0, mu);
    if (st.Sample_form < 0) {
        const double t = finite::mul(mu, st.Areal_factor);
        if (t < kThickFilm) A = finite::mul(A, 1.0 - finite::div(1.0, std::exp(t)));
    }
    return A;
}

void fill_sum_slot(CalcState& st, const data::LineArray& lineE, int slot, int a, int b) {
    st.Line_energy[0][slot] = finite::held(lineE[slot]);
    st.Line_yield[0][slot] = finite::add(st.Line_yield[0][b], st.Line_yield[0][a]);
}

}  // namespace

bool line_yields(CalcState& st, Host& host, std::int16_t i, double mu_in) {
    if (i < 0 || i >= kElements) return false;

    bool distance_reset = false;
    double E0 = host.field(Field::XrayEnergy);
    const double d = air_path(host, distance_reset);
    const std::int16_t n = filter_steps(host.field(Field::Filter));

    data::LineArray lineE{};
    data::LineArray lineW{};
    const std::int16_t z = st.Elem_z[i];
    data::Line_data(z, E0, lineE, lineW);
    const CrossSection cs = cross_section(host, z, E0);
    const double sigma = finite::mul(cs.mantissa, decade_scale(cs.exponent));  // 1e-20 cm2

    // A line at or below 1 keV keeps the factor of the slot before it; its yield is
    // 0 through the air transmission anyway.
    double A = 0.0;
    for (int j = 1; j <= 21; ++j) {
        const double Ej = finite::held(lineE[j]);
        st.Line_energy[i][j] = Ej;
        if (Ej > 1.0) A = self_absorption(st, finite::add(Ext_out(st, host, Ej), mu_in));
        double y = finite::mul(finite::held(lineW[j]), sigma);
        y = finite::mul(y, Air_trans(Ej, d));
        y = finite::mul(y, Al_trans(Ej, n));
        st.Line_yield[i][j] = finite::mul(y, A);
    }

    if (i == 0) {
        fill_sum_slot(st, lineE, 0, 15, 16);   // K-alpha 1 and 2
        fill_sum_slot(st, lineE, 22, 1, 2);    // L-alpha 1 and 2
        fill_sum_slot(st, lineE, 23, 17, 19);  // K-beta 1 and 3
    }
    return distance_reset;
}

void Target_yield(CalcState& st, Host& host, std::int16_t i, double mu_in) {
    line_yields(st, host, i, mu_in);
}

}  // namespace lumetra::engine
