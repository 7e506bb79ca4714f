#include "planning/scan_preview_plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace lumetra::planning {

namespace {

using Place = display::PlotOp::Place;

// Colours that stand out on the picture's dark ground.
constexpr common::Rgb kTarget = common::rgb(90, 220, 90);
constexpr common::Rgb kBackground = common::rgb(110, 170, 255);
constexpr common::Rgb kDead = common::rgb(255, 110, 110);
constexpr common::Rgb kDeadLimit = common::rgb(210, 90, 90);
constexpr common::Rgb kMarker = common::rgb(230, 230, 230);
constexpr common::Rgb kGrid = common::rgb(96, 96, 96);
constexpr common::Rgb kAxis = common::rgb(200, 200, 200);
constexpr common::Rgb kText = display::Picture::foreground;

// Sizes in ems of the picture's font (its point size in twips x 20): one text line
// above the plot (legend and axis titles), two below (the energies and the caption),
// the decade labels left, the per cent labels right.
constexpr double kCharEm = 0.62;       // a character, about
constexpr double kLineCentreEm = 0.7;  // from a text line's edge to its middle
constexpr double kTopEm = 2.0, kBottomEm = 2.7;
constexpr double kLeftEm = 0.8 + 4 * kCharEm, kRightEm = 0.8 + 3 * kCharEm;
constexpr double kTickEm = 0.3, kMinorTickEm = 0.2, kLabelGapEm = 0.5;
constexpr double kTwipsPerPoint = 20.0;

constexpr double kDeadTimeLimit = 0.3;  // beyond it the output rate falls fast
constexpr int kMostDecades = 6, kFewestDecades = 2;
constexpr int kDeadTimeStepPercent = 20;

// The picture's user scale: x in eV from the edge, y from 0 to 1 over the plot area,
// and the user units of one em.
struct Geometry {
    double x0 = 0.0, x1 = 1.0;  // the plot area's left and right, eV
    double ux = 1.0, uy = 1.0;  // user units per em
    double left() const { return x0 - kLeftEm * ux; }
    double right() const { return x1 + kRightEm * ux; }
    double top() const { return 1.0 + kTopEm * uy; }
    double bottom() const { return -kBottomEm * uy; }
    double mid() const { return 0.5 * (x0 + x1); }
};

bool usable(const ScanFrame& f) {
    return std::isfinite(f.left_eV) && std::isfinite(f.right_eV) && f.right_eV > f.left_eV;
}

// A box too small for its margins is drawn as if it had room for a plot area of
// 8 by 4 ems: the text then overlaps, the numbers stay finite.
Geometry geometry(const ScanPlot& s, const ScanFrame& f) {
    const double pt = std::isfinite(s.font_pt) && s.font_pt > 0.0 ? s.font_pt : 7.5;
    const double em = pt * kTwipsPerPoint;
    const auto ems = [&](double twips) { return std::isfinite(twips) ? twips / em : 0.0; };
    Geometry g;
    g.x0 = f.left_eV;
    g.x1 = f.right_eV;
    g.ux = (g.x1 - g.x0) / std::max(ems(s.width_twips) - kLeftEm - kRightEm, 8.0);
    g.uy = 1.0 / std::max(ems(s.height_twips) - kTopEm - kBottomEm, 4.0);
    return g;
}

float u(double v) {
    return static_cast<float>(v);
}

void line(display::Picture& pic, double x1, double y1, double x2, double y2, common::Rgb c) {
    pic.Line(u(x1), u(y1), u(x2), u(y2), c);
}

void text(display::Picture& pic, double x, double y, const std::string& t, Place place,
          common::Rgb c = kText) {
    pic.Print(u(x), u(y), t, place, c);
}

std::string printed(const char* format, double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

// A rate in three significant digits, plain from 0.01 to 9999, else as 1.23e4.
std::string rate_text(double v) {
    if (!std::isfinite(v) || !(v > 0.0)) return "0";
    int e = static_cast<int>(std::floor(std::log10(v)));
    if (e >= -2 && e < 4) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*f", std::max(0, 2 - e), v);
        return buf;
    }
    double mantissa = std::round(v / std::pow(10.0, e) * 100.0) / 100.0;
    if (mantissa >= 10.0) {
        mantissa /= 10.0;
        ++e;
    }
    return printed("%.2f", mantissa) + "e" + std::to_string(e);
}

// An energy in keV to the eV, or in three significant digits when that is absurdly long.
std::string kev_text(double E) {
    return printed(std::isfinite(E) && std::fabs(E) < 1e6 ? "%.3f" : "%.3g", E);
}

std::string signed_ev(double eV) {
    const long rounded = std::lround(std::clamp(eV, -1e9, 1e9));
    return (rounded > 0 ? "+" : "") + std::to_string(rounded);
}

// The smallest of 1, 2, 5 x 10^k that gives tick spacings of at least `least`.
double nice_step(double least) {
    if (!(least > 0.0) || !std::isfinite(least)) return 1.0;
    const double decade = std::pow(10.0, std::floor(std::log10(least)));
    for (double m : {1.0, 2.0, 5.0})
        if (m * decade >= least) return m * decade;
    return 10.0 * decade;
}

void frame(display::Picture& pic, const Geometry& g) {
    line(pic, g.x0, 0.0, g.x1, 0.0, kAxis);
    line(pic, g.x1, 0.0, g.x1, 1.0, kAxis);
    line(pic, g.x1, 1.0, g.x0, 1.0, kAxis);
    line(pic, g.x0, 1.0, g.x0, 0.0, kAxis);
}

// Ticks every 1, 2 or 5 x 10^k eV, an em apart at least between their labels.
void energy_axis(display::Picture& pic, const Geometry& g, const ScanPlot& s) {
    const std::size_t widest = std::max(std::to_string(std::lround(g.x0)).size(),
                                        std::to_string(std::lround(g.x1)).size());
    const double step = nice_step((widest * kCharEm + 1.0) * g.ux);
    const double label_y = -(kTickEm + kLineCentreEm) * g.uy;
    for (double k = std::ceil(g.x0 / step); k * step <= g.x1; k += 1.0) {
        const double x = k * step;
        line(pic, x, 0.0, x, -kTickEm * g.uy, kAxis);
        text(pic, x, label_y, std::to_string(std::lround(x)), Place::Centre);
    }
    text(pic, g.mid(), -(kBottomEm - kLineCentreEm) * g.uy,
         "eV from the " + s.edge_name + " edge at " + kev_text(s.edge_keV) + " keV", Place::Centre);
}

// The decades the rates span: the highest's at the top, at most six below it and at
// least two in all; 1 to 1000 when there are no counts.
struct Decades {
    int bottom = 0, top = 3;
    bool counts = false;
    double y(double v) const {
        if (!std::isfinite(v) || !(v > 0.0)) return 0.0;
        return std::clamp((std::log10(v) - bottom) / (top - bottom), 0.0, 1.0);
    }
};

Decades decades(const std::vector<physics::ScanPoint>& points) {
    double high = 0.0, low = std::numeric_limits<double>::infinity();
    for (const physics::ScanPoint& p : points)
        for (double v : {p.target, p.background})
            if (std::isfinite(v) && v > 0.0) {
                high = std::max(high, v);
                low = std::min(low, v);
            }
    Decades d;
    if (!(high > 0.0)) return d;
    d.counts = true;
    d.top = static_cast<int>(std::ceil(std::log10(high)));
    d.bottom = std::max(d.top - kMostDecades, static_cast<int>(std::floor(std::log10(low))));
    d.bottom = std::min(d.bottom, d.top - kFewestDecades);
    return d;
}

void rate_axis(display::Picture& pic, const Geometry& g, const Decades& d) {
    const double span = d.top - d.bottom;
    for (int k = d.bottom; k <= d.top; ++k) {
        const double y = (k - d.bottom) / span;
        if (k > d.bottom && k < d.top) line(pic, g.x0, y, g.x1, y, kGrid);
        line(pic, g.x0 - kTickEm * g.ux, y, g.x0, y, kAxis);
        text(pic, g.x0 - kLabelGapEm * g.ux, y, decade_label(k), Place::End);
        if (k == d.top) break;
        for (double m : {2.0, 5.0}) {
            const double ym = (k + std::log10(m) - d.bottom) / span;
            line(pic, g.x0, ym, g.x0 + kMinorTickEm * g.ux, ym, kAxis);
        }
    }
}

void dead_time_axis(display::Picture& pic, const Geometry& g) {
    for (int percent = 0; percent <= 100; percent += kDeadTimeStepPercent) {
        const double y = percent / 100.0;
        line(pic, g.x1, y, g.x1 + kTickEm * g.ux, y, kAxis);
        text(pic, g.x1 + kLabelGapEm * g.ux, y, std::to_string(percent), Place::Start);
    }
    // The 30 % mark, dashed across the plot and labelled on the axis.
    const double dash = 0.4 * g.ux, pitch = 0.7 * g.ux;
    for (double x = g.x0; x < g.x1; x += pitch)
        line(pic, x, kDeadTimeLimit, std::min(x + dash, g.x1), kDeadTimeLimit, kDeadLimit);
    text(pic, g.x1 + kLabelGapEm * g.ux, kDeadTimeLimit, "30", Place::Start, kDead);
}

double dead_fraction(const physics::ScanPoint& p) {
    return std::isfinite(p.dead_time) ? std::clamp(p.dead_time, 0.0, 1.0) : 0.0;
}

template <typename Y>
void curve(display::Picture& pic, const std::vector<physics::ScanPoint>& points, const ScanFrame& f,
           double edge_keV, Y y, common::Rgb c) {
    const auto x = [&](const physics::ScanPoint& p) {
        return std::clamp((p.E - edge_keV) * 1000.0, f.left_eV, f.right_eV);
    };
    const auto known = [](const physics::ScanPoint& p) { return std::isfinite(p.E); };
    if (points.size() == 1 && known(points[0])) pic.PSet(u(x(points[0])), u(y(points[0])), c);
    for (std::size_t i = 1; i < points.size(); ++i)
        if (known(points[i - 1]) && known(points[i]))
            line(pic, x(points[i - 1]), y(points[i - 1]), x(points[i]), y(points[i]), c);
}

// Above the plot, in the curves' colours: the rate unit and the two rates on the
// left, the dead time's title on the right.
void legend(display::Picture& pic, const Geometry& g) {
    const double y = g.top() - kLineCentreEm * g.uy;
    double at = g.left() + 0.4 * g.ux;
    for (const auto& [name, colour] :
         {std::pair<std::string, common::Rgb>{"counts/s:", kText},
          std::pair<std::string, common::Rgb>{"target", kTarget},
          std::pair<std::string, common::Rgb>{"background", kBackground}}) {
        text(pic, at, y, name, Place::Start, colour);
        at += (name.size() * kCharEm + 0.8) * g.ux;
    }
    text(pic, g.right() - 0.4 * g.ux, y, "dead time %", Place::End, kDead);
}

// Where an arrow at one side of the plot covers least: the height farthest from the
// curves at that end and from the 30 % mark.
double arrow_height(const ScanPlot& s, const Decades* d, bool right) {
    if (!d || s.points.empty()) return 0.5;
    const physics::ScanPoint& p = right ? s.points.back() : s.points.front();
    const double taken[] = {d->counts ? d->y(p.target) : -1.0,
                            d->counts ? d->y(p.background) : -1.0, dead_fraction(p),
                            kDeadTimeLimit};
    double best = 0.5, room = -1.0;
    for (double y : {0.12, 0.45, 0.65, 0.88}) {
        double nearest = 1.0;
        for (double t : taken) nearest = std::min(nearest, std::fabs(y - t));
        if (nearest > room) {
            room = nearest;
            best = y;
        }
    }
    return best;
}

// The incident energy: a line across the plot, or an arrow at the side it lies beyond
// with its value.
void incident_energy(display::Picture& pic, const Geometry& g, const ScanPlot& s,
                     const Decades* d) {
    if (!std::isfinite(s.E0_keV) || !(s.E0_keV > 0.0)) return;
    const double x = (s.E0_keV - s.edge_keV) * 1000.0;
    if (x >= g.x0 && x <= g.x1) {
        line(pic, x, 0.0, x, 1.0, kMarker);
        const bool room_right = x + 1.6 * g.ux <= g.x1;
        text(pic, x + (room_right ? 0.2 : -0.2) * g.ux, 1.0 - kLineCentreEm * g.uy, "E0",
             room_right ? Place::Start : Place::End, kMarker);
        return;
    }
    const bool right = x > g.x1;
    const double tip = right ? g.x1 - 0.1 * g.ux : g.x0 + 0.1 * g.ux;
    const double dir = right ? -1.0 : 1.0;  // from the tip into the plot
    const double y = arrow_height(s, d, right);
    line(pic, tip + dir * 1.8 * g.ux, y, tip, y, kMarker);
    line(pic, tip, y, tip + dir * 0.6 * g.ux, y + 0.3 * g.uy, kMarker);
    line(pic, tip, y, tip + dir * 0.6 * g.ux, y - 0.3 * g.uy, kMarker);
    text(pic, tip + dir * 2.1 * g.ux, y, "E0 " + kev_text(s.E0_keV) + " keV",
         right ? Place::End : Place::Start, kMarker);
}

}  // namespace

ScanFrame scan_frame(const ScanPlot& s) {
    return ScanFrame{(s.first_keV - s.edge_keV) * 1000.0, (s.last_keV - s.edge_keV) * 1000.0};
}

std::string decade_label(int exponent) {
    switch (exponent) {
        case -2:
            return "0.01";
        case -1:
            return "0.1";
        case 0:
            return "1";
        case 1:
            return "10";
        case 2:
            return "100";
        case 3:
            return "1000";
        default:
            return "1e" + std::to_string(exponent);
    }
}

void draw_scan_plot(display::Picture& pic, const ScanPlot& s) {
    pic.Cls();
    const ScanFrame f = scan_frame(s);
    if (!usable(f) || !std::isfinite(s.edge_keV)) {
        pic.Scale(0.0f, 1.0f, 1.0f, 0.0f);
        text(pic, 0.5, 0.5, "No edge of the target to scan.", Place::Centre);
        return;
    }
    const Geometry g = geometry(s, f);
    pic.Scale(u(g.left()), u(g.top()), u(g.right()), u(g.bottom()));
    frame(pic, g);
    energy_axis(pic, g, s);
    legend(pic, g);
    if (!s.complete) {
        text(pic, g.mid(), 0.5, "Computing the scan ...", Place::Centre);
        incident_energy(pic, g, s, nullptr);
    } else {
        const Decades d = decades(s.points);
        rate_axis(pic, g, d);
        dead_time_axis(pic, g);
        if (d.counts) {
            const auto target = [&](const physics::ScanPoint& p) { return d.y(p.target); };
            const auto background = [&](const physics::ScanPoint& p) { return d.y(p.background); };
            curve(pic, s.points, f, s.edge_keV, background, kBackground);
            curve(pic, s.points, f, s.edge_keV, target, kTarget);
        } else {
            text(pic, g.mid(), 0.6, "No target or background counts.", Place::Centre);
        }
        curve(pic, s.points, f, s.edge_keV, dead_fraction, kDead);
        incident_energy(pic, g, s, &d);
    }
}

std::string scan_readout(const ScanPlot& s, float x, float y) {
    const ScanFrame f = scan_frame(s);
    if (!s.complete || s.points.empty() || !usable(f)) return "";
    if (!(x >= f.left_eV && x <= f.right_eV && y >= 0.0f && y <= 1.0f)) return "";
    const double E = s.edge_keV + x / 1000.0;
    const auto distance = [&](const physics::ScanPoint& p) {
        return std::isfinite(p.E) ? std::fabs(p.E - E) : std::numeric_limits<double>::infinity();
    };
    const auto nearest =
        std::min_element(s.points.begin(), s.points.end(),
                         [&](const physics::ScanPoint& a, const physics::ScanPoint& b) {
                             return distance(a) < distance(b);
                         });
    if (!std::isfinite(distance(*nearest))) return "";
    const physics::ScanPoint& p = *nearest;
    return kev_text(p.E) + " keV (edge " + signed_ev((p.E - s.edge_keV) * 1000.0) +
           " eV): target " + rate_text(p.target) + " /s, background " + rate_text(p.background) +
           " /s, dead time " + printed("%.1f", 100.0 * dead_fraction(p)) + " %";
}

}  // namespace lumetra::planning
