"""lumetra-plan on a table of five samples, one of them bad, and on files that are
no tables."""

import csv
import io
import json
import os

import pytest

from lumetra import plan

TABLE = """name,composition,target,edge,energy,flux
copper solution,1 mM Cu(NO3)2 in H2O,Cu,K,9.1,1e11
iron glass,5 wt% Fe2O3 in SiO2,Fe,K,7.2,1e9
lead in iron oxide,1 wt% PbO in Fe2O3,Pb,L3,13.2,1e9
broken,5 wt% Fe2O3 in Xx,Fe,K,7.2,1e10
zinc blende,ZnS,Zn,K,9.8,
"""


def run(args, capsys):
    status = plan.main(args)
    captured = capsys.readouterr()
    return status, captured.out, captured.err


def test_a_table_with_one_bad_row(tmp_path, capsys):
    table = tmp_path / "samples.csv"
    table.write_text(TABLE)
    status, out, err = run([str(table), "--max-dead-time", "0.3"], capsys)
    assert status == 1
    assert "row 5, column composition: unknown element 'Xx'" in err
    rows = list(csv.DictReader(io.StringIO(out)))
    assert [r["name"] for r in rows] == ["copper solution", "iron glass", "lead in iron oxide",
                                         "zinc blende"]
    for r in rows[:3]:
        assert float(r["target_rate"]) > 0 and 0 <= float(r["dead_time"]) < 0.3
        assert float(r["distance_for_dead_time"]) == 5.0
    # Pure zinc sulphide at the default 1e12 photons/s paralyses the detector: the
    # flux and the distance that bring its dead time to 30 % do so.
    zinc = rows[3]
    assert float(zinc["dead_time"]) > 0.99
    flux, distance = float(zinc["flux_for_dead_time"]), float(zinc["distance_for_dead_time"])
    assert 1e3 < flux < 1e12 and distance > 5.0
    import lumetra
    base = plan.setup_of(lumetra.Setup(), {"name": "z", "composition": "ZnS", "target": "Zn",
                                           "energy": "9.8"})
    for name, value in (("flux", flux), ("distance", repr(distance))):
        s = lumetra._copy(base)
        setattr(s, name, value)
        assert abs(lumetra.calculate(s).dead_time - 0.3) < 1e-3, name
    status, out, err = run([str(table), "--json"], capsys)
    assert status == 1 and len(json.loads(out)) == 4


def test_refused_tables(tmp_path, capsys):
    empty = tmp_path / "empty.csv"
    empty.write_text("")
    with pytest.raises(SystemExit, match="is empty"):
        plan.main([str(empty)])
    no_target = tmp_path / "no-target.csv"
    no_target.write_text("name,composition\na,ZnS\n")
    with pytest.raises(SystemExit, match="no column target"):
        plan.main([str(no_target)])
    binary = tmp_path / "binary.csv"
    binary.write_bytes(b"\x00\xff\xfe")
    with pytest.raises(SystemExit, match="not a text file"):
        plan.main([str(binary)])
    fifo = tmp_path / "fifo"
    os.mkfifo(fifo)
    with pytest.raises(SystemExit, match="not a regular file"):
        plan.main([str(fifo)])
    unknown = tmp_path / "unknown.csv"
    unknown.write_text("name,composition,target,fluxx\na,ZnS,Zn,5\n")
    status, _, err = run([str(unknown)], capsys)
    assert status == 1 and "row 2, column fluxx: no such setting" in err
