"""The Python module against the scripted window: the same setup gives the same
figures, setup files go both ways, and bad values are refused at the boundary."""

import csv
import math
import os
import subprocess
import threading

import numpy
import pytest

import lumetra

DRIVER = os.environ.get("LUMETRA_DRIVER", "build/lumetra-driver")

# Three samples a planner would measure: a dilute solution, a glass, a heavy
# element's L3 edge in an oxide.
SAMPLES = [
    dict(target="Cu", content="0.0018", matrix=[("O", "88.8"), ("H", "11.2")], energy=9.1,
         flux=1e11),
    dict(target="Fe", content="1", matrix=[("O", "61"), ("Si", "24"), ("Na", "9"),
                                           ("Ca", "4"), ("Mg", "1")], energy=7.2, flux=1e10),
    dict(target="Pb", content="0.5", matrix=[("Fe", "50"), ("O", "50")], edge="L3",
         energy=13.2, flux=1e9, distance=10),
]


def driver(lines):
    run = subprocess.run([DRIVER], input="\n".join(lines) + "\n", capture_output=True,
                         text=True, timeout=120,
                         env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    return run.stdout.splitlines()


def typed(sample):
    """The driver's keystrokes for a sample, ending with Plot under the model."""
    lines = [f"set Text1 {sample['target']}", f"set Text51 {sample['content']}"]
    for i, (symbol, content) in enumerate(sample["matrix"]):
        lines += [f"set Text2({i}) {symbol}", f"set Text52({i}) {content}"]
    if sample.get("edge") == "L3":
        lines.append("click Option2")
    lines.append(f"set Text11 {sample['energy']}")
    if "distance" in sample:
        lines.append(f"set Text19 {sample['distance']}")
    lines += ["model fp", f"setup flux {sample['flux']!r}", "click Command1"]
    return lines


def rates(output):
    """The driver's `rates` lines: every line's and the figures' numbers."""
    lines, figures = [], {}
    for line in output:
        words = line.split()
        if words[:1] == ["LINE"]:
            lines.append((int(words[1]), words[2], *map(float, words[3:9])))
        elif words[:1] == ["SCATTER"]:
            figures[words[1]] = (float(words[2]), float(words[3]))
        elif len(words) == 2 and words[0].isupper() and words[0] != "MSG":
            try:
                figures[words[0]] = float(words[1])
            except ValueError:
                pass
    return lines, figures


def close(a, b):
    return a == b or abs(a - b) <= 1e-12 * max(abs(a), abs(b))


def assert_same_rates(result, output):
    lines, figures = rates(output)
    assert result.ok, result.reason
    assert len(result.lines) == len(lines) > 0
    for mine, theirs in zip(result.lines, lines):
        assert (mine["Z"], mine["line"]) == theirs[:2]
        parts = ("energy", "primary", "secondary", "self_excited", "tertiary", "scatter_excited")
        for a, b in zip((mine[p] for p in parts), theirs[2:]):
            assert close(a, b), (mine, theirs)
    pairs = {"ICR": result.input_rate, "OCR": result.output_rate, "DEADTIME": result.dead_time,
             "TARGET": result.target_rate, "BACKGROUND": result.background,
             "TIME_PER_POINT": result.time_per_point, "SELF_ABSORPTION": result.self_absorption}
    for key, mine in pairs.items():
        assert close(mine, figures[key]), (key, mine, figures[key])
    assert close(result.rayleigh["rate"], figures["RAYLEIGH"][1])
    assert close(result.compton["rate"], figures["COMPTON"][1])


@pytest.mark.parametrize("sample", SAMPLES, ids=lambda s: s["target"])
def test_figures_equal_the_windows(sample, tmp_path):
    path = tmp_path / "setup.json"
    output = driver(typed(sample) + ["rates", f"setupfile save {path}", "export csv "
                                     f"{tmp_path / 'window.csv'}"])
    # Typed as keyword arguments, and loaded from the file the window saved.
    setup = lumetra.Setup(model="fp", **{k: v for k, v in sample.items()})
    assert_same_rates(lumetra.calculate(setup), output)
    loaded = lumetra.Setup.load(path)
    result = lumetra.calculate(loaded)
    assert_same_rates(result, output)

    # Every layer channel for channel, as the window's spectrum file gives it.
    with open(tmp_path / "window.csv", newline="") as f:
        rows = [r for r in csv.reader(line for line in f if not line.startswith("#"))]
    header, data = rows[0], numpy.array(rows[1:], dtype=float)
    assert data.shape == (1025, len(header))
    assert result.energy.shape == (1025,)
    numpy.testing.assert_allclose(result.energy, data[:, header.index("keV")], rtol=1e-15)
    for name, layer in result.layers.items():
        assert layer.shape == (1025,)
        numpy.testing.assert_allclose(layer, data[:, header.index(name)], rtol=1e-12, atol=0)
        numpy.testing.assert_allclose(result.spectrum[name], data[:, header.index(name + "_cps")],
                                      rtol=1e-12, atol=0)
        assert numpy.isfinite(layer).all()

    # The classic model of the same setup: its relative layers and share as the window's.
    classic = driver([f"setupfile load {path}", "model classic", "click Command1",
                      f"export csv {tmp_path / 'classic.csv'}"])
    assert not [line for line in classic if line.startswith("ERROR")]
    mine = lumetra.calculate(loaded, model="classic")
    with open(tmp_path / "classic.csv", newline="") as f:
        text = f.read()
    rows = [r for r in csv.reader(l for l in text.splitlines() if not l.startswith("#"))]
    data = numpy.array(rows[1:], dtype=float)
    for name, layer in mine.layers.items():
        numpy.testing.assert_allclose(layer, data[:, rows[0].index(name)], rtol=1e-12, atol=0)
    share = [l for l in text.splitlines() if l.startswith("# target_line_share_percent: ")]
    assert mine.shown_figures["target_line_share_percent"] == share[0].split(": ")[1]


def test_a_layered_sample_equals_the_windows():
    """Cover layers and a beam filter given in Python and typed into the window's driver
    give the same lines, the layers' own lines named by their layer."""
    sample = dict(SAMPLES[1], film_density="2.5", film_thickness="2000", sample="film")
    stack = dict(layers=[("front", "kapton", 7.5), ("front", "Al", 12, 2.7),
                         ("back", "SiO2", 500)], beam_filters=[("Al", 50)])
    mine = lumetra.calculate(lumetra.Setup(model="fp", **sample, **stack))
    # The film first: its handler presets the energy that the sample's lines then type.
    typed_lines = ["click Option6", "set Text23 2.5", "set Text24 2000"] + typed(SAMPLES[1])[:-1] + [
        "setup layer front kapton 7.5", "setup layer front Al 12 2.7",
        "setup layer back SiO2 500", "setup beamfilter Al 50", "click Command1", "rates"]
    output = driver(typed_lines)
    assert_same_rates(mine, output)
    layers = {l["layer"] for l in mine.lines}
    # Kapton's lines lie below 1 keV: the aluminium and the silica give lines of their own.
    assert layers == {"sample", "front layer 2", "back layer 1"}
    named = [line.split()[-1] for line in output if line.startswith("LINE")]
    for l, word in zip(mine.lines, named):
        expected = {"sample": None, "front layer 1": "front1", "front layer 2": "front2",
                    "back layer 1": "back1"}[l["layer"]]
        assert expected is None or word == expected
    assert mine.shown_figures["flux_on_sample_photons_s"]


def test_a_setup_saved_in_python_loads_in_the_window(tmp_path):
    sample = SAMPLES[0]
    setup = lumetra.Setup(model="fp", **sample)
    path = tmp_path / "from-python.json"
    setup.save(path)
    output = driver([f"setupfile load {path}", "rates"])
    assert_same_rates(lumetra.calculate(setup), output)
    assert lumetra.Setup.load(path).to_json() == setup.to_json()


def test_compositions_and_their_refusals():
    c = lumetra.composition("1 mM Cu(NO3)2 in H2O")
    symbols = [e["symbol"] for e in c.elements]
    assert symbols[:1] == ["Cu"] and "O" in symbols and "H" in symbols
    assert math.isclose(sum(e["mass_fraction"] for e in c.elements), 1.0, rel_tol=1e-9)
    assert c.formula_weight > 0
    for bad, where in [("Fe2O3 + Xx", "position 9"), ("5 wt% Fe2O3, 90 wt% SiO2", "whole"),
                       ("Fe((O)", "position")]:
        with pytest.raises(ValueError) as e:
            lumetra.composition(bad)
        assert where in str(e.value), str(e.value)


def test_a_composition_sets_the_forms_rows():
    s = lumetra.Setup(composition="5 wt% Fe2O3 in SiO2", target="Fe", energy=7.2, model="fp")
    c = lumetra.composition("5 wt% Fe2O3 in SiO2", "Fe")
    fe = next(e for e in c.elements if e["symbol"] == "Fe")
    assert float(s.content) == fe["content"]
    assert [row[0] for row in s.matrix] == [e["symbol"] for e in c.elements if e is not fe]
    assert s.composition == "5 wt% Fe2O3 in SiO2"
    # The same sample typed as rows plans the same.
    rows = lumetra.Setup(target="Fe", content=s.content, matrix=s.matrix, energy=7.2, model="fp")
    assert lumetra.calculate(rows).target_rate == lumetra.calculate(s).target_rate
    with pytest.raises(ValueError, match="target element is not set"):
        lumetra.Setup(composition="ZnS")
    with pytest.raises(ValueError, match="'Cu' is not in the composition"):
        lumetra.Setup(target="Cu", composition="ZnS")
    with pytest.raises(ValueError, match="position"):
        lumetra.Setup(target="Zn", composition="ZnS + Qq")
    with pytest.raises(TypeError, match="composition"):
        lumetra.Setup(target="Zn", composition=["Zn", "S"])


def test_the_manual_names_every_setting_with_its_unit():
    manual = lumetra.Setup.__doc__
    for name in lumetra._SETTINGS:
        assert f"    {name}: " in manual, name
    for unit in ("keV", "cm", "counts/s", "g/cm3"):
        assert unit in manual + lumetra.Result.__doc__ + lumetra.Composition.__doc__


def test_scan_preview_arrays():
    s = lumetra.scan(lumetra.Setup(model="fp", **SAMPLES[0]))
    assert len(s.energy) > 10
    for a in (s.energy, s.target_rate, s.background, s.dead_time):
        assert a.shape == s.energy.shape and numpy.isfinite(a).all()
    assert (numpy.diff(s.energy) > 0).all()


def test_bad_values_are_refused_with_the_settings_name():
    with pytest.raises(TypeError, match="flux"):
        lumetra.Setup(flux="a lot")
    with pytest.raises(ValueError, match="flux"):
        lumetra.Setup(flux=float("nan"))
    with pytest.raises(ValueError, match="energy"):
        lumetra.Setup(energy=float("inf"))
    with pytest.raises(TypeError, match="fix"):
        lumetra.Setup(fix=1)
    with pytest.raises(ValueError, match="edge"):
        lumetra.Setup(edge="M")
    with pytest.raises(TypeError, match="unknown setting 'fluxx'"):
        lumetra.Setup(fluxx=1)
    with pytest.raises(TypeError, match="matrix"):
        lumetra.Setup(matrix="O 88.8")
    # The model's own rule, with the file's reason.
    with pytest.raises(ValueError, match="The flux must be above 0."):
        lumetra.calculate(lumetra.Setup(flux=0))
    with pytest.raises(TypeError):
        lumetra.calculate("Cu in water")


def test_threads_plan_in_parallel():
    setups = [lumetra.Setup(model="fp", **s) for s in SAMPLES]
    alone = [lumetra.calculate(s).target_rate for s in setups]
    found = [None] * len(setups)

    def plan(i):
        found[i] = lumetra.calculate(setups[i]).target_rate

    threads = [threading.Thread(target=plan, args=(i,)) for i in range(len(setups))]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert found == alone
    assert lumetra.__version__


def test_lead_at_its_l2_edge_with_l_beta_1(tmp_path):
    pb = dict(SAMPLES[2], edge_fp="L2", edge_line="L-beta 1 (L2M4)", energy=15.25)
    r = lumetra.calculate(lumetra.Setup(model="fp", **pb))
    assert r.target_rate > 0 and math.isfinite(r.target_rate)
    # The window counts the same line at the same edge.
    lines = typed(pb)[:-1] + ["setup edge L2", "setup edgeline L2M4", "click Command1", "rates"]
    assert math.isclose(rates(driver(lines))[1]["TARGET"], r.target_rate, rel_tol=1e-9)
    s = lumetra.scan(lumetra.Setup(model="fp", **pb))
    assert s.energy[0] < 15.2 < s.energy[-1]
    # Kept in the file as the line's key, and refused when it is not the edge's.
    path = tmp_path / "pb-l2.json"
    lumetra.Setup(model="fp", **pb).save(path)
    back = lumetra.Setup.load(path)
    assert (back.edge_fp, back.edge_line) == ("L2", "L2M4")
    with pytest.raises(ValueError, match="not a line of the L2 edge"):
        lumetra.Setup(edge_fp="L2", edge_line="L3M5").to_json()
    with pytest.raises(ValueError, match="edge_fp"):
        lumetra.Setup(edge_fp="L4")
