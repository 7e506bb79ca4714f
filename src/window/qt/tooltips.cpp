#include "window/qt/tooltips.h"

#include <array>

namespace lumetra::window::qt {

namespace {

struct Tip {
    const char* name;
    const char* text;
};

constexpr Tip kTips[] = {
    {"Text1", "Target element: its chemical symbol (calcium to bismuth)"},
    {"Text51", "Atomic content of the target, atoms per formula unit"},
    {"Command3", "All Clear: empty the target, the matrix and the plot"},
    {"ScanReadout", "The figures of the scan point under the pointer"},
    {"CompositionButton", "Enter a composition as a lab writes it (5 wt% Fe2O3 in SiO2)"},
    {"Option1", "Excite the K edge"},
    {"Option2", "Excite the L3 edge (tellurium and heavier)"},
    {"Combo1", "The emission line counted for the XAFS signal"},
    {"Label30", "Energy of the absorption edge, keV"},
    {"Label32", "Energy of the chosen emission line, keV"},
    {"Text11", "Energy of the incident X-rays, keV"},
    {"Command9", "Raise the X-ray energy by the step"},
    {"Command10", "Lower the X-ray energy by the step"},
    {"Command11", "Set the energy 50 eV above the edge"},
    {"Text12", "Energy step of the arrow buttons, keV (0.01 to 10)"},
    {"Check1", "Show the argon fluorescence of the air"},
    {"Check11", "Show the elastic (and, with fundamental parameters, Compton) scattering"},
    {"Check21", "Show the detector's escape peaks and germanium fluorescence"},
    {"Check3", "Show the pile-up peaks"},
    {"Option5", "Bulk sample: thicker than the X-rays reach"},
    {"Option6", "Thin film: give its density and thickness"},
    {"Text21", "Incidence angle of the beam to the sample surface, degrees"},
    {"Text22", "Take-off angle of the detector to the sample surface, degrees"},
    {"Text23", "Density of the film, g/cm3"},
    {"Text24", "Thickness of the film, nm"},
    {"Command5", "Save the composition (target and matrix) to a file"},
    {"Command6", "Load a composition from a file and plot it"},
    {"Text19", "Distance from the sample to the detector, cm"},
    {"Label34",
     "Solid angle of the detector relative to 5 cm"
     " (classic model; grey under fundamental parameters)"},
    {"Label35",
     "Transmission of the air for the target line"
     " (classic model; grey under fundamental parameters)"},
    {"Text20", "Aluminium filter thickness in steps of 11.7 um"},
    {"Command26", "One aluminium filter step more"},
    {"Command27", "One aluminium filter step less"},
    {"Label25",
     "Transmission of the aluminium filter for the target line"
     " (classic model; grey under fundamental parameters)"},
    {"Label37",
     "Detection ratio: solid angle x air x filter"
     " (classic model; grey under fundamental parameters)"},
    {"Command4", "Choose gains automatically"},
    {"Check2", "Fix: keep the gains when the target changes"},
    {"Label9", "Coarse gain of the amplifier"},
    {"Command23", "Next higher coarse gain"},
    {"Command24", "Next lower coarse gain"},
    {"Combo2", "Fine gain of the amplifier"},
    {"Text16", "Peak width (FWHM) on the amplifier's scale, V"},
    {"Label8", "Photon energy at 10 V, the end of the scale, keV"},
    {"Command2", "Clear the matrix rows (the target stays)"},
    {"Command1", "Calculate and plot the spectrum"},
    {"Option3", "Linear vertical scale"},
    {"Option4", "Logarithmic vertical scale"},
    {"Label38", "The target line's share of all counts, per cent"},
    {"Lvolt_p", "Voltage and photon energy under the pointer"},
    {"LY_p", "Height of the pointer (per cent of the highest channel, or counts/s)"},
    {"LYtot_p", "Counts of the channel under the pointer: all"},
    {"LYtarget_p", "Counts of the channel under the pointer: the target element"},
    {"Picture1", "Drag to zoom, right-click for the whole scale"},
    {"ModelClassic", "Classic model: relative heights from built-in tables"},
    {"ModelFp", "Fundamental parameters: absolute count rates from the physics library"},
    {"DetectorCombo", "Crystal of the detector: si (silicon drift) or ge (germanium)"},
    {"EdgeCombo", "Edge the target is counted at (fundamental parameters): the form's, or K to M5"},
    {"EdgeLineCombo", "Line of the chosen edge counted as the target line"},
    {"FluxText", "Photons per second on the sample"},
    {"PolarisationText", "Degree of linear polarisation of the beam, horizontal, 0 to 1"},
    {"AreaText", "Active area of the detector crystal, mm2"},
    {"WindowText", "Beryllium entrance window of the detector, um"},
    {"CrystalText", "Thickness of the detector crystal, mm"},
    {"ResolutionText", "Energy resolution (FWHM) at 5.898 keV, eV"},
    {"DeadTimeText", "Paralysable dead time per event, us"},
    {"PulsePairText", "Pulse-pair resolving time (pile-up), us"},
    {"PeakBackgroundText", "Peak-to-background ratio at 5.898 keV, as the maker quotes it"},
    {"FilterText", "Filter before the detector: an element (Al) or a formula:density"},
    {"FilterThicknessText", "Thickness of that filter, um"},
    {"IcrLabel", "Every event the crystal absorbs per second"},
    {"OcrLabel", "Events per second the electronics record (paralysable dead time)"},
    {"DeadTimeLabel", "Share of the time the detector is busy: 1 - output / input"},
    {"TargetRateLabel",
     "The target line's full-energy peak inside the counting window, at the output rate"},
    {"BackgroundLabel",
     "Everything else in the counting window around the target line (the setting's width in FWHM)"},
    {"WindowShareLabel",
     "Share of the target line's peak inside the counting window, where S is counted"},
    {"TimePerPointLabel", "Counting time per energy point for 0.1 % noise on the edge step"},
    {"ScanPicture", "Target rate, background and dead time across an XAFS scan"},
};

}  // namespace

std::string tooltip_for(const std::string& name) {
    // Every row of the matrix shares its column's tip.
    if (name.rfind("Text2(", 0) == 0) return "Matrix element: its chemical symbol";
    if (name.rfind("Text52(", 0) == 0) return "Atomic content of the matrix element";
    for (const Tip& t : kTips)
        if (name == t.name) return t.text;
    return {};
}

}  // namespace lumetra::window::qt
