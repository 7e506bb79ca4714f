// Outcomes as Python values: figures as floats, lines as dictionaries, channels as
// numpy arrays.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include "binding.h"
#include "module.h"
#include "physics/stack.h"
#include "physics/xrl.h"

namespace lumetra::python {

namespace py = pybind11;

namespace {

py::array_t<double> array_of(const double* values, std::size_t n, double times) {
    py::array_t<double> a(static_cast<py::ssize_t>(n));
    double* out = a.mutable_data();
    for (std::size_t i = 0; i < n; ++i) out[i] = values[i] * times;
    return a;
}

// The layers by name; without a spectrum shown, every channel 0.
py::dict layers_of(const io::SpectrumTable& t, double times) {
    py::dict d;
    for (const io::SpectrumColumn& c : t.layers)
        d[c.name.c_str()] = array_of(c.values.data(), c.values.size(), t.shown ? times : 0.0);
    return d;
}

}  // namespace

py::dict to_python(const Outcome& o) {
    py::dict d;
    d["model"] = o.fp ? "fp" : "classic";
    const io::SpectrumTable& t = o.table;
    d["shown"] = t.shown;
    d["messages"] = o.messages;
    py::dict figures;
    for (const std::string& line : t.result_lines) {
        const std::size_t colon = line.find(": ");
        if (colon != std::string::npos)
            figures[line.substr(0, colon).c_str()] = line.substr(colon + 2);
    }
    d["shown_figures"] = figures;
    d["full_scale_keV"] = t.full_scale_keV;
    const std::size_t n = t.layers.empty() ? 0 : t.layers.front().values.size();
    py::array_t<double> energy(static_cast<py::ssize_t>(n));
    for (std::size_t i = 0; i < n; ++i)
        energy.mutable_data()[i] = t.full_scale_keV * static_cast<double>(i) / 1024.0;
    d["energy"] = energy;
    d["layers"] = layers_of(t, 1.0);
    if (!o.fp) return d;

    const physics::Result& r = o.result;
    d["ok"] = r.ok;
    d["reason"] = r.reason;
    if (!r.ok) return d;
    py::list lines;
    for (const physics::LineRate& l : r.lines) {
        py::dict line;
        line["Z"] = l.Z;
        line["element"] = physics::xrl::symbol(l.Z);
        line["line"] = physics::xrl::line_name(l.line);
        line["energy"] = l.energy;
        line["primary"] = l.primary;
        line["secondary"] = l.secondary;
        line["self_excited"] = l.self_excited;
        line["tertiary"] = l.tertiary;
        line["scatter_excited"] = l.scatter_excited;
        line["layer"] = physics::layer_name(l.layer);
        lines.append(line);
    }
    d["lines"] = lines;
    const auto scatter = [](const physics::ScatterRate& s) {
        py::dict x;
        x["energy"] = s.energy;
        x["rate"] = s.rate;
        return x;
    };
    d["rayleigh"] = scatter(r.rayleigh);
    d["compton"] = scatter(r.compton);
    const physics::Figures& f = r.figures;
    d["input_rate"] = f.icr;
    d["output_rate"] = f.ocr;
    d["dead_time"] = f.dead_time;
    d["target_rate"] = f.target;
    d["background"] = f.background;
    d["signal_to_background"] = f.signal_to_background;
    d["time_per_point"] = f.time_per_point;
    d["self_absorption"] = f.self_absorption;
    d["window_share"] = f.window_share;
    d["window_width"] = f.window_width;
    d["paralysed"] = f.paralysed();
    py::list parts;
    for (const auto& [name, rate] : o.background) parts.append(py::make_tuple(name, rate));
    d["background_parts"] = parts;
    d["spectrum"] = layers_of(t, t.counts_per_plot_unit.value_or(0.0));
    return d;
}

py::dict to_python(const std::vector<physics::ScanPoint>& points) {
    const std::size_t n = points.size();
    std::vector<double> E(n), S(n), B(n), dead(n);
    for (std::size_t i = 0; i < n; ++i) {
        E[i] = points[i].E;
        S[i] = points[i].target;
        B[i] = points[i].background;
        dead[i] = points[i].dead_time;
    }
    py::dict d;
    d["energy"] = array_of(E.data(), n, 1.0);
    d["target_rate"] = array_of(S.data(), n, 1.0);
    d["background"] = array_of(B.data(), n, 1.0);
    d["dead_time"] = array_of(dead.data(), n, 1.0);
    return d;
}

}  // namespace lumetra::python
