#pragma once
// What the calculation needs from the window: the numbers in its input fields,
// the distance reset, the notice on the plot, dialogs and the matrix Clear.

#include <string>

#include "common/dialogs.h"

namespace lumetra::engine {

enum class Field {
    XrayEnergy,     // incident X-ray energy E0, keV
    Width,          // peak width W, V
    FullEnergy,     // full-scale energy (energy at 10 V), keV
    Distance,       // sample-detector distance, cm
    Filter,         // aluminium filter, steps
    IncidentAngle,  // degrees
    TakeoffAngle,   // degrees
    Density,        // film density, g/cm3
    Thickness,      // film thickness, nm
    TargetLineEnergy  // energy of the chosen target line, keV
};

class Host {
public:
    virtual ~Host() = default;
    // The field's text read as a number.
    virtual double field(Field f) = 0;
    // Writes a text into the distance field (its change handler runs at once).
    virtual void set_distance_text(const std::string& text) = 0;
    // Clears the plot surface and prints the "now calculating" notice on it.
    virtual void show_calculating() = 0;
    virtual common::Dialogs& dialogs() = 0;
    // The matrix editor's Clear (run after an unsupported heavy element).
    virtual void clear_matrix() = 0;
};

}  // namespace lumetra::engine
