#pragma once
// Outcomes turned into Python values (with the interpreter's lock held).

#include <pybind11/pybind11.h>

#include <vector>

#include "binding.h"

namespace lumetra::python {

pybind11::dict to_python(const Outcome& o);
pybind11::dict to_python(const std::vector<physics::ScanPoint>& points);

}  // namespace lumetra::python
