"""Lumetra: the pulse-height spectrum an energy-dispersive detector records from a
sample, for planning fluorescence-mode X-ray absorption measurements.

A setup holds what the window's form and its planning panel hold, under the names
of the window's setup files::

    import lumetra
    s = lumetra.Setup(target="Cu", content="0.0018",
                      matrix=[("O", "88.8"), ("H", "11.2")],
                      energy=9.1, model="fp", flux=1e11)
    r = lumetra.calculate(s)
    r.target_rate, r.background, r.time_per_point      # counts/s, counts/s, s
    r.energy, r.spectrum["total"]                      # keV, counts/s per channel

Setups load from and save to the window's setup files (Setup.load, Setup.save), so
a setup saved in the window runs here and back. Every calculation goes through the
same form and model as the window: the figures are the window's.
"""

import json as _json
import math as _math
import types as _types

from . import _lumetra

__version__ = _lumetra.__version__

__all__ = ["Setup", "calculate", "scan", "composition", "__version__"]

# The settings by their names in Python: where each stands in the setup file and
# what kind of value it takes.
#   text: a field of the form, stored as typed (a number is written as Python writes it)
#   number, whole, flag: a number, a whole number, True or False
#   a tuple: one of those texts
_SETTINGS = {
    "target": (("target", "symbol"), "text", "the target element's symbol (Text1)"),
    "content": (("target", "content"), "text", "the target's atomic content (Text51)"),
    "matrix": (("matrix",), "rows", "matrix rows: a list of (symbol, atomic content)"),
    "element_count": (("element_count",), "whole", "completed matrix rows (-10 or 0..11)"),
    "edge": (("edge",), ("K", "L3"), "the absorption edge"),
    "line": (("line",), "text", "the counted line, as the window lists it ('K-alpha 1&2')"),
    "energy": (("energy",), "text", "X-ray energy, keV"),
    "step": (("step",), "text", "energy step, keV"),
    "coarse_gain_index": (("coarse_gain_index",), "whole", "coarse gain button, 0..7"),
    "coarse_gain": (("coarse_gain",), "whole", "coarse gain: 5, 10, 20, 50, 100, 200, 500 or 1000"),
    "fine_gain": (("fine_gain",), "text", "fine gain"),
    "fix": (("fix",), "flag", "gains fixed"),
    "width": (("width",), "text", "peak width, keV"),
    "incidence": (("incidence",), "text", "incident angle, degrees"),
    "takeoff": (("takeoff",), "text", "take-off angle, degrees"),
    "sample": (("sample",), ("bulk", "film"), "bulk sample or film"),
    "film_density": (("film_density",), "text", "film density, g/cm3"),
    "film_thickness": (("film_thickness",), "text", "film thickness, nm"),
    "distance": (("distance",), "text", "sample to detector, cm"),
    "al_filter": (("al_filter",), "text", "aluminium filter steps"),
    "marked_row": (("marked_row",), "whole", "the marked matrix row from 1, 0 for none"),
    "scale": (("scale",), ("linear", "log"), "the plot's scale"),
    "argon": (("layers", "argon"), "flag", "argon layer shown"),
    "elastic": (("layers", "elastic"), "flag", "elastic scattering shown"),
    "escape": (("layers", "escape"), "flag", "escape peaks shown"),
    "pileup": (("layers", "pileup"), "flag", "pile-up shown"),
    "model": (("model",), ("classic", "fp"), "the classic model or fundamental parameters"),
}
# The planning settings, from the model's own table, with the detector's crystal
# after the polarisation as in the file.
for _name, _caption, _is_number in _lumetra.planning_settings():
    _SETTINGS[_name] = (("planning", _name), "number" if _is_number else "text", _caption)
    if _name == "polarisation":
        _SETTINGS["detector"] = (("planning", "detector"), ("si", "ge"), "the detector's crystal")


def _number(name, value):
    if isinstance(value, bool) or not isinstance(value, (int, float)):
        raise TypeError(f"{name} must be a number, not {type(value).__name__}")
    if not _math.isfinite(value):
        raise ValueError(f"{name} must be a finite number, not {value!r}")
    return value


def _text(name, value):
    if isinstance(value, str):
        if "\x00" in value:
            raise ValueError(f"{name} holds a NUL character")
        return value
    return repr(_number(name, value))


def _value(name, value):
    kind = _SETTINGS[name][1]
    if isinstance(kind, tuple):
        if value not in kind:
            raise ValueError(f"{name} must be one of {', '.join(kind)}, not {value!r}")
        return value
    if kind == "text":
        return _text(name, value)
    if kind == "number":
        return _number(name, value)
    if kind == "whole":
        if isinstance(value, bool) or not isinstance(value, int):
            raise TypeError(f"{name} must be a whole number, not {type(value).__name__}")
        return value
    if kind == "flag":
        if not isinstance(value, bool):
            raise TypeError(f"{name} must be True or False, not {type(value).__name__}")
        return value
    # rows
    if isinstance(value, (str, bytes)) or not hasattr(value, "__iter__"):
        raise TypeError(f"{name} must be a list of (symbol, content) pairs")
    rows = []
    for i, row in enumerate(value):
        if isinstance(row, (str, bytes)) or len(row) != 2:
            raise TypeError(f"{name}[{i}] must be a (symbol, content) pair")
        rows.append([_text(f"{name}[{i}] symbol", row[0]), _text(f"{name}[{i}] content", row[1])])
    return rows


class Setup:
    """Everything the window's form and planning panel hold, by the names of the
    window's setup files (see help(lumetra.Setup.__init__) for the list). A setting
    not given keeps the value of a freshly started window."""

    def __init__(self, **settings):
        object.__setattr__(self, "_given", {})
        for name, value in settings.items():
            setattr(self, name, value)

    def __setattr__(self, name, value):
        if name not in _SETTINGS:
            raise TypeError(f"unknown setting {name!r}")
        self._given[name] = _value(name, value)

    def __getattr__(self, name):
        if name.startswith("_") or name not in _SETTINGS:
            raise AttributeError(name)
        if name in self._given:
            return self._given[name]
        node = _json.loads(self.to_json())
        for key in _SETTINGS[name][0]:
            node = node.get(key) if isinstance(node, dict) else None
        return node

    def __repr__(self):
        given = ", ".join(f"{k}={v!r}" for k, v in self._given.items())
        return f"lumetra.Setup({given})"

    def to_json(self):
        """The setup file's text (JSON), as the window saves it; ValueError with the
        file's line and reason when the window would refuse the setup."""
        top = {"format": "lumetra-setup", "version": 1}
        for name, value in self._given.items():
            path = _SETTINGS[name][0]
            node = top
            for key in path[:-1]:
                node = node.setdefault(key, {})
            node[path[-1]] = value
        return _lumetra.check_setup(_json.dumps(top, ensure_ascii=False))

    def save(self, path):
        """Writes the setup file `path` (replacing it whole or not at all)."""
        text = self.to_json()
        with open(path, "w", encoding="utf-8", newline="") as f:
            f.write(text)

    @classmethod
    def load(cls, path):
        """Reads a setup file the window saved; ValueError when the window would
        refuse it."""
        with open(path, "rb") as f:
            data = f.read(256 * 1024 + 1)
        try:
            text = data.decode("utf-8")
        except UnicodeDecodeError as e:
            raise ValueError(f"{path}: not a setup file (not UTF-8 text)") from e
        tree = _json.loads(_lumetra.check_setup(text))
        s = cls()
        for name, (path_keys, _, _) in _SETTINGS.items():
            node = tree
            for key in path_keys:
                node = node.get(key) if isinstance(node, dict) else None
            if node is not None:
                s._given[name] = node
        return s


Setup.__init__.__doc__ = "Settings, as keyword arguments:\n\n" + "\n".join(
    f"    {name}: {about}" for name, (_, _, about) in _SETTINGS.items())


def _result(d):
    return _types.SimpleNamespace(**d)


def calculate(setup, model=None):
    """Calculates a setup as the window's Plot does, under its model or the one
    named ("classic" or "fp"). The result has:

    model, shown, messages (what the window's dialogs said), shown_figures (the
    figures as the window writes them, by the spectrum file's keys), energy (keV of
    each of the 1025 channels) and layers (the eight layers in plot units, by name).
    Under "fp" also: ok and reason; lines (element, line, energy keV, primary and
    secondary counts/s); rayleigh and compton (energy keV, rate counts/s);
    input_rate, output_rate (counts/s), dead_time (0..1), target_rate and background
    (counts/s in the counting window), signal_to_background, time_per_point (s),
    self_absorption (0..1), window_share (0..1), window_width (keV),
    background_parts ((name, counts/s), strongest first) and spectrum (the layers in
    counts/s per channel)."""
    if not isinstance(setup, Setup):
        raise TypeError("calculate takes a lumetra.Setup")
    if model is not None:
        setup = _copy(setup)
        setup.model = model
    return _result(_lumetra.calculate(setup.to_json()))


def scan(setup):
    """The scan preview across the edge under the fundamental-parameter model:
    energy (keV), target_rate and background (counts/s), dead_time (0..1), as numpy
    arrays (empty when the setup gives no spectrum)."""
    if not isinstance(setup, Setup):
        raise TypeError("scan takes a lumetra.Setup")
    return _result(_lumetra.scan(setup.to_json()))


def composition(text, target=""):
    """Reads a composition as a lab writes it ("1 mM Cu(NO3)2 in H2O"): elements
    (symbol, Z, content in atoms per formula unit, mass_fraction, atom_fraction),
    formula_weight (g/mol), density (g/cm3, 0 when unknown), notes and reading.
    ValueError with the position when it cannot be read."""
    if not isinstance(text, str) or not isinstance(target, str):
        raise TypeError("composition takes a text (and a target symbol)")
    return _result(_lumetra.composition(text, target))


def _copy(setup):
    s = Setup()
    s._given.update(setup._given)
    return s
