// Attenuation of the whole sample along the incident and the exit path.

#include <cmath>

#include "engine/calculation.h"
#include "engine/elements.h"
#include "engine/finite.h"

namespace lumetra::engine {
namespace {

// Sum over the elements of content x sigma (1e-20 cm2 per atom), divided by the
// sine of the path's angle to the surface.
double path_sum(CalcState& st, Host& host, double E, Field angle) {
    // The 0.0001 rad keeps the sine away from 0 at a grazing angle of 0.
    const double alpha = finite::mul(std::fabs(host.field(angle)), 3.1415927) / 180.0 + 0.0001;
    double sum = 0.0;
    const int last = last_element(st);  // taken once, as the loop starts
    for (int i = 0; i <= last; ++i) {
        const CrossSection cs = cross_section(host, st.Elem_z[i], E);
        const double term = finite::mul(finite::mul(st.Elem_content[i].num(), cs.mantissa),
                                        decade_scale(cs.exponent));
        sum = finite::add(sum, term);
    }
    return finite::div(sum, std::sin(alpha));
}

}  // namespace

double Ext_in(CalcState& st, Host& host, double E) {
    return path_sum(st, host, E, Field::IncidentAngle);
}

double Ext_out(CalcState& st, Host& host, double E) {
    return path_sum(st, host, E, Field::TakeoffAngle);
}

}  // namespace lumetra::engine
