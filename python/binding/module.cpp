// The extension module `lumetra._lumetra`: setups as the setup file's JSON text in,
// Python values out. The package `lumetra` wraps it (see lumetra/__init__.py).

#include "module.h"

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include "binding.h"
#include "chem/composition.h"
#include "io/setup_format.h"
#include "physics/settings.h"

namespace py = pybind11;
using namespace lumetra;

namespace {

io::WindowSetup checked(const std::string& json) {
    io::SetupParse parsed = io::parse_setup(json);
    if (!parsed.setup) throw py::value_error(parsed.error);
    return *parsed.setup;
}

py::dict composition(const std::string& text, const std::string& target) {
    const chem::ParsedComposition c = chem::parse_composition(text, target);
    const std::string problem = c.blocking_problem(false);
    if (!problem.empty()) throw py::value_error(problem);
    py::list elements;
    for (const chem::CompositionElement& e : c.elements) {
        py::dict d;
        d["symbol"] = e.symbol;
        d["Z"] = e.Z;
        d["content"] = e.content;
        d["mass_fraction"] = e.weight_percent / 100.0;
        d["atom_fraction"] = e.atom_percent / 100.0;
        elements.append(d);
    }
    py::dict d;
    d["elements"] = elements;
    d["formula_weight"] = c.formula_weight;
    d["density"] = c.density;
    d["notes"] = c.notes;
    d["reading"] = c.reading;
    d["target"] = c.target >= 0 ? py::cast(c.elements[static_cast<std::size_t>(c.target)].symbol)
                                : py::none();
    return d;
}

}  // namespace

PYBIND11_MODULE(_lumetra, m) {
    m.doc() = "The planner's core: setups as setup-file JSON, results as Python values.";
    m.attr("__version__") = LUMETRA_VERSION;
    m.def(
        "default_setup", [] { return io::format_setup(io::WindowSetup{}); },
        "The setup file of a freshly started window (JSON text).");
    m.def(
        "check_setup", [](const std::string& json) { return io::format_setup(checked(json)); },
        py::arg("json"),
        "The setup file's text for a setup (JSON text), as the window would save it; "
        "ValueError with the file's line and reason when the window would refuse it.");
    m.def(
        "calculate",
        [](const std::string& json) {
            const io::WindowSetup s = checked(json);
            python::Outcome o;
            {
                py::gil_scoped_release unlocked;
                o = python::calculate(s);
            }
            return python::to_python(o);
        },
        py::arg("json"), "Calculates a setup (JSON text) under its model.");
    m.def(
        "scan",
        [](const std::string& json) {
            const io::WindowSetup s = checked(json);
            std::vector<physics::ScanPoint> points;
            {
                py::gil_scoped_release unlocked;
                points = python::scan(s);
            }
            return python::to_python(points);
        },
        py::arg("json"),
        "The scan preview of a setup (JSON text) under the fundamental-parameter model.");
    m.def(
        "planning_settings",
        [] {
            py::list out;
            for (const physics::SettingInfo& info : physics::setting_table())
                out.append(py::make_tuple(info.file_key, info.caption,
                                          info.kind == physics::SettingKind::number));
            return out;
        },
        "The planning settings as the setup file stores them: (name, caption with the "
        "unit, whether it is a number) in the file's order.");
    m.def("composition", &composition, py::arg("text"), py::arg("target") = "",
          "Reads a composition as a lab writes it; ValueError with the position when it cannot.");
}
