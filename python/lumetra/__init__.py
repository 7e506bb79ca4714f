"""Lumetra: the pulse-height spectrum an energy-dispersive detector records from a
sample, for planning fluorescence-mode X-ray absorption measurements.

A setup holds what the window's form and its planning panel hold, under the names
of the window's setup files; the sample is a composition as a lab writes it, or the
target's content and the matrix rows as the form holds them::

    import lumetra
    s = lumetra.Setup(target="Cu", composition="1 mM Cu(NO3)2 in H2O",
                      energy=9.1, model="fp", flux=1e11)
    r = lumetra.calculate(s)
    r.target_rate, r.background, r.time_per_point      # counts/s, counts/s, s
    r.energy, r.spectrum["total"]                      # keV, counts/s per channel

Functions:
    Setup(**settings)       a setup; Setup.load(path), setup.save(path)
    calculate(setup)        the spectrum and its figures (a Result)
    scan(setup)             the scan preview across the edge (a Scan)
    composition(text)       a composition read as the window reads it (a Composition)

Units: energies in keV, rates in counts/s, times in s, dead time, shares and
fractions from 0 to 1, distances in cm, thicknesses as the setting's caption says
(help(lumetra.Setup) lists every setting with its unit).

Setups load from and save to the window's setup files (Setup.load, Setup.save), so
a setup saved in the window runs here and back. Every calculation goes through the
same form and model as the window: the figures are the window's. The calculation
releases the interpreter's lock, so threads plan in parallel.

Bad values: a value of the wrong kind raises TypeError, a value out of range (NaN
and infinities included) ValueError, both naming the setting.
"""

import json as _json
import math as _math
import types as _types

from . import _lumetra


__version__ = _lumetra.__version__

__all__ = ["Setup", "Result", "Scan", "Composition", "calculate", "scan", "composition",
           "__version__"]

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
    "layers": (("planning", "layers"), "layers",
               "layers around the sample: a list of (side, composition, thickness um[, density "
               "g/cm3]), side 'front' or 'back', from the front; density 0 or left out: the "
               "composition's"),
    "beam_filters": (("planning", "beam_filters"), "beam_filters",
                     "filters in the beam: a list of (filter, thickness um), the filter as "
                     "the detector's ('Al', 'Al2O3:3.95')"),
    "edge_fp": (("planning", "edge"), ("form", "K", "L1", "L2", "L3", "M5"),
                "the edge the fp model counts the target at; 'form': the form's edge and line"),
    "edge_line": (("planning", "edge_line"), "text",
                  "edge_fp's line by its key ('L2M4', 'M5N7+M5N6') or name ('L-beta 1 (L2M4)');"
                  " '' the edge's first line"),
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
    if kind in ("layers", "beam_filters"):
        return _stack(name, kind, value)
    # rows
    if isinstance(value, (str, bytes)) or not hasattr(value, "__iter__"):
        raise TypeError(f"{name} must be a list of (symbol, content) pairs")
    rows = []
    for i, row in enumerate(value):
        if isinstance(row, (str, bytes)) or len(row) != 2:
            raise TypeError(f"{name}[{i}] must be a (symbol, content) pair")
        rows.append([_text(f"{name}[{i}] symbol", row[0]), _text(f"{name}[{i}] content", row[1])])
    return rows


_STACK_KEYS = {"layers": ("side", "composition", "thickness_um", "density"),
               "beam_filters": ("filter", "thickness_um")}


def _stack(name, kind, value):
    """A list of layers or beam filters as the setup file's objects; each entry a tuple
    in the keys' order (the last of a layer may be left out) or a dict of them."""
    if isinstance(value, (str, bytes, dict)) or not hasattr(value, "__iter__"):
        raise TypeError(f"{name} must be a list")
    keys = _STACK_KEYS[kind]
    out = []
    for i, entry in enumerate(value):
        where = f"{name}[{i}]"
        if isinstance(entry, dict):
            unknown = set(entry) - set(keys)
            if unknown:
                raise ValueError(f"{where} has no key {sorted(unknown)[0]!r}")
            items = [entry.get(k) for k in keys]
        elif isinstance(entry, (str, bytes)) or not hasattr(entry, "__iter__"):
            raise TypeError(f"{where} must be a tuple ({', '.join(keys)})")
        else:
            items = list(entry)
            if len(items) > len(keys):
                raise TypeError(f"{where} has more than {len(keys)} values")
            items += [None] * (len(keys) - len(items))
        obj = {}
        for key, v in zip(keys, items):
            if v is None and key == "density":
                v = 0
            if v is None:
                raise TypeError(f"{where} needs its {key}")
            if key == "side":
                if v not in ("front", "back"):
                    raise ValueError(f"{where} side must be 'front' or 'back', not {v!r}")
            elif key in ("composition", "filter"):
                if not isinstance(v, str):
                    raise TypeError(f"{where} {key} must be a text")
                if "\x00" in v:
                    raise ValueError(f"{where} {key} holds a NUL character")
            else:
                v = _number(f"{where} {key}", v)
            obj[key] = v
        out.append(obj)
    return out


class Setup:
    """Everything the window's form and planning panel hold, by the names of the
    window's setup files. A setting not given keeps the value of a freshly started
    window; reading a setting gives its value, given or not.

    The sample is either `composition`, a text as a lab writes it ("5 wt% Fe2O3 in
    SiO2", read with the target given beside it), or the form's own rows: `content`
    (the target's atomic content) and `matrix` (a list of (symbol, atomic content)).

    Settings (keyword arguments and attributes):
    """

    def __init__(self, **settings):
        object.__setattr__(self, "_given", {})
        object.__setattr__(self, "_composition", None)
        # The composition is read for the target, wherever the keywords name it.
        if "target" in settings:
            self.target = settings.pop("target")
        for name, value in settings.items():
            setattr(self, name, value)

    def __setattr__(self, name, value):
        if name == "composition":
            self.set_composition(value)
            return
        if name not in _SETTINGS:
            raise TypeError(f"unknown setting {name!r}")
        self._given[name] = _value(name, value)

    def __getattr__(self, name):
        if name == "composition":
            return self._composition
        if name.startswith("_") or name not in _SETTINGS:
            raise AttributeError(name)
        if name in self._given:
            return self._given[name]
        node = _json.loads(self.to_json())
        for key in _SETTINGS[name][0]:
            node = node.get(key) if isinstance(node, dict) else None
        return node

    def set_composition(self, text, target=None):
        """Sets the sample from a composition as a lab writes it: the target (this
        setup's, or `target` when given) takes its atomic content, every other element
        a matrix row. ValueError with the reason (and position) when the text cannot
        be read, holds no target or more elements than the form's matrix rows."""
        if not isinstance(text, str):
            raise TypeError(f"composition must be a text, not {type(text).__name__}")
        if target is not None:
            self.target = target
        symbol = self.target
        if not symbol:
            raise ValueError("composition: the target element is not set (give target=...)")
        c = composition(text, symbol)
        # The reading refuses a text without the target, so the target is there.
        mine = next(e for e in c.elements if e["symbol"] == symbol)
        rows = [(e["symbol"], repr(e["content"])) for e in c.elements if e["symbol"] != symbol]
        self.content = repr(mine["content"])
        self.matrix = rows
        object.__setattr__(self, "_composition", text)

    def __repr__(self):
        given = ", ".join(f"{k}={v!r}" for k, v in self._given.items())
        return f"lumetra.Setup({given})"

    def copy(self, **changes):
        """A copy of this setup with the settings named changed."""
        s = _copy(self)
        for name, value in changes.items():
            setattr(s, name, value)
        return s

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


Setup.__doc__ = Setup.__doc__.rstrip() + "\n" + "\n".join(
    f"        {name}: {about}" for name, (_, _, about) in
    [("composition", (None, None, "the sample as a lab writes it (sets content and matrix)"))]
    + list(_SETTINGS.items())) + "\n"
Setup.__init__.__doc__ = "Settings as keyword arguments: see help(lumetra.Setup)."


class Result(_types.SimpleNamespace):
    """What calculate() gives: the window's spectrum and, under the
    fundamental-parameter model, its figures.

    Under both models:
        model           "classic" or "fp"
        shown           True when the window shows a spectrum for the setup
        messages        what the window's dialogs said while calculating (texts)
        shown_figures   the figures as the window writes them, by the spectrum
                        file's keys (texts)
        full_scale_keV  the energy of the scale's end (keV)
        energy          the energy of each of the 1025 channels (keV, numpy array)
        layers          the plot's layers by name ("total", "target", "line", "mark",
                        "argon", "elastic", "escape", "pileup") in the plot's own
                        units, 10,000 at the highest channel of the plot's range
                        (numpy arrays of 1025 channels; 0 when nothing is shown)
    Under "fp" also:
        ok, reason      whether the model could calculate, and why not
        lines           every fluorescence line: dicts of Z, element, line (name),
                        energy (keV) and its parts in counts/s at the detector:
                        primary (excited by the beam), secondary (by other elements'
                        primary lines), self_excited (by the element's own lines),
                        tertiary (by other elements' secondary lines) and
                        scatter_excited (by the beam scattered in the sample);
                        layer: "sample", "front layer 1" (the outermost), "back
                        layer 1" (the one under the sample), ...
        rayleigh, compton   the scatter peaks: dicts of energy (keV), rate (counts/s)
        input_rate, output_rate   counts/s at and out of the detector's electronics
        dead_time       the share of the live time lost (0 to 1)
        paralysed       True when the input rate lies past the output rate's maximum
        target_rate     S, the target line's counts/s in the counting window
        background      B, every other count in the window (counts/s)
        background_parts   B's contributions: (name, counts/s), strongest first
        signal_to_background   S / B
        time_per_point  the counting time for the planned relative noise (s)
        self_absorption the damping of the target's XAFS by self-absorption (0 to 1)
        window_share    the share of the target line inside the window (0 to 1)
        window_width    the counting window's width (keV)
        spectrum        the layers in counts/s per channel (numpy arrays by name)
    """


class Scan(_types.SimpleNamespace):
    """What scan() gives, as numpy arrays of the preview's points across the edge:
    energy (keV), target_rate and background (counts/s in the counting window) and
    dead_time (0 to 1). Empty when the setup gives no spectrum."""


class Composition(_types.SimpleNamespace):
    """What composition() gives:
        elements        dicts of symbol, Z, content (atoms per formula unit),
                        mass_fraction and atom_fraction (0 to 1)
        formula_weight  g/mol of the formula unit
        density         the suggested density (g/cm3; 0 when none is known)
        notes           what the reading assumed (text)
        reading         the composition as it was read (text)
        target          the target's symbol when it was given and found, else None
    """


def calculate(setup, model=None):
    """Calculates a setup as the window's Plot does, under its model or the one
    named ("classic" or "fp"), and gives a Result (see help(lumetra.Result) for its
    fields and units). ValueError with the setup file's reason when the window would
    refuse the setup."""
    if not isinstance(setup, Setup):
        raise TypeError("calculate takes a lumetra.Setup")
    if model is not None:
        setup = _copy(setup)
        setup.model = model
    return Result(**_lumetra.calculate(setup.to_json()))


def scan(setup):
    """The scan preview across the edge under the fundamental-parameter model, as a
    Scan of numpy arrays: energy (keV), target_rate and background (counts/s),
    dead_time (0 to 1)."""
    if not isinstance(setup, Setup):
        raise TypeError("scan takes a lumetra.Setup")
    return Scan(**_lumetra.scan(setup.to_json()))


def composition(text, target=""):
    """Reads a composition as a lab writes it ("1 mM Cu(NO3)2 in H2O", "5 wt% Fe2O3
    in SiO2", "ZnS") as the window's composition dialog does, and gives a Composition
    (see help(lumetra.Composition)). With a target symbol the text must hold it.
    ValueError with the dialog's message and position when it cannot be read."""
    if not isinstance(text, str) or not isinstance(target, str):
        raise TypeError("composition takes a text (and a target symbol)")
    return Composition(**_lumetra.composition(text, target))


def _copy(setup):
    s = Setup()
    s._given.update(setup._given)
    object.__setattr__(s, "_composition", setup._composition)
    return s
