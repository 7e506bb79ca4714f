"""lumetra-plan: plans a table of samples with the fundamental-parameter model.

Reads a CSV table with one sample a row: the columns `name`, `composition` (as a
lab writes it: "1 mM Cu(NO3)2 in H2O", "5 wt% Fe2O3 in SiO2") and `target` are
required; `edge`, `energy` and any setting of lumetra.Setup (by its name: flux,
distance, area_mm2, filter, ...) may follow and override the base setup (--setup,
else a freshly started window's) for that row. Writes the figures of every sample
as CSV (or JSON with --json) to standard output or --output. A row that cannot be
planned is named with its column and reason on standard error; the other rows are
planned, and the exit status is 1.
"""

import argparse
import csv
import io
import json
import math
import os
import stat
import sys

import lumetra

MAX_TABLE_BYTES = 64 * 1024 * 1024
FIGURES = ["input_rate", "output_rate", "dead_time", "target_rate", "background",
           "signal_to_background", "time_per_point", "self_absorption"]
REQUIRED = ["name", "composition", "target"]


class RowError(Exception):
    def __init__(self, column, reason):
        super().__init__(reason)
        self.column = column


def read_table(path):
    """The table's text; a pipe, a device or a folder is refused without waiting."""
    try:
        fd = os.open(path, os.O_RDONLY | os.O_NONBLOCK)
    except OSError as e:
        raise SystemExit(f"lumetra-plan: cannot read {path}: {e.strerror}")
    with os.fdopen(fd, "rb") as f:
        if not stat.S_ISREG(os.fstat(f.fileno()).st_mode):
            raise SystemExit(f"lumetra-plan: {path} is not a regular file")
        data = f.read(MAX_TABLE_BYTES + 1)
    if len(data) > MAX_TABLE_BYTES:
        raise SystemExit(f"lumetra-plan: {path} is larger than 64 MiB")
    if b"\x00" in data:
        raise SystemExit(f"lumetra-plan: {path} is not a text file")
    try:
        return data.decode("utf-8-sig")
    except UnicodeDecodeError:
        raise SystemExit(f"lumetra-plan: {path} is not UTF-8 text")


def setting_value(name, text):
    """A table cell as the setting's kind of value."""
    kind = lumetra._SETTINGS[name][1]
    if kind == "number":
        try:
            return float(text)
        except ValueError:
            raise RowError(name, f"{text!r} is not a number")
    if kind == "whole":
        try:
            return int(text)
        except ValueError:
            raise RowError(name, f"{text!r} is not a whole number")
    if kind == "flag":
        if text.lower() not in ("true", "false", "1", "0", "yes", "no"):
            raise RowError(name, f"{text!r} is not true or false")
        return text.lower() in ("true", "1", "yes")
    return text


def setup_of(base, row):
    s = lumetra._copy(base)
    target = row["target"].strip()
    if not target:
        raise RowError("target", "no target element")
    try:
        s.set_composition(row["composition"], target)
    except ValueError as e:
        raise RowError("composition", str(e))
    s.model = "fp"
    for column, text in row.items():
        if column in REQUIRED or text is None or text.strip() == "":
            continue
        if column not in lumetra._SETTINGS:
            raise RowError(column, "no such setting")
        try:
            setattr(s, column, setting_value(column, text.strip()))
        except (TypeError, ValueError) as e:
            raise RowError(column, str(e))
    return s


def dead_time_of(setup, name, value):
    t = lumetra._copy(setup)
    setattr(t, name, value)
    r = lumetra.calculate(t)
    return r.dead_time if r.ok else 1.0


def limit(setup, name, low, high, limit_dead, rising):
    """The value of `name` between low and high at which the dead time reaches the
    limit (by bisection, on a logarithmic scale); None when none in the range does."""
    lo, hi = math.log(low), math.log(high)
    at = lambda v: dead_time_of(setup, name, math.exp(v)) - limit_dead
    f_lo, f_hi = at(lo), at(hi)
    if (f_lo > 0) == (f_hi > 0):
        return None
    for _ in range(40):
        mid = 0.5 * (lo + hi)
        if (at(mid) > 0) == (f_lo > 0):
            lo = mid
        else:
            hi = mid
    return math.exp(lo if rising else hi)


def plan_row(base, row, max_dead_time):
    s = setup_of(base, row)
    try:
        r = lumetra.calculate(s)
    except ValueError as e:
        raise RowError("", str(e))
    if not r.ok:
        raise RowError("", r.reason)
    out = {"name": row["name"]}
    out.update({k: getattr(r, k) for k in FIGURES})
    if max_dead_time is not None:
        # The largest flux and the nearest distance that keep the dead time under the limit.
        out["flux_for_dead_time"] = limit(s, "flux", 1e3, 1e16, max_dead_time, rising=True)
        distance = float(s.distance) if s.distance.strip() else 5.0
        out["distance_for_dead_time"] = (
            distance if r.dead_time <= max_dead_time else
            limit(s, "distance", 0.1, 1e4, max_dead_time, rising=False))
    return out


def main(argv=None):
    p = argparse.ArgumentParser(prog="lumetra-plan", description=__doc__.split("\n\n")[0],
                                epilog=__doc__.split("\n\n", 1)[1],
                                formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("table", help="CSV table of samples")
    p.add_argument("--setup", help="setup file the rows start from")
    p.add_argument("--json", action="store_true", help="write JSON instead of CSV")
    p.add_argument("--max-dead-time", type=float, metavar="FRACTION",
                   help="also give the flux and the distance that keep the dead time under "
                        "this fraction (0 to 1)")
    p.add_argument("--output", "-o", help="file to write (standard output without)")
    a = p.parse_args(argv)
    if a.max_dead_time is not None and not 0 < a.max_dead_time < 1:
        p.error("--max-dead-time must lie between 0 and 1")

    try:
        base = lumetra.Setup.load(a.setup) if a.setup else lumetra.Setup()
    except (OSError, ValueError) as e:
        raise SystemExit(f"lumetra-plan: {a.setup}: {e}")
    text = read_table(a.table)
    reader = csv.DictReader(io.StringIO(text))
    if not reader.fieldnames:
        raise SystemExit(f"lumetra-plan: {a.table} is empty")
    missing = [c for c in REQUIRED if c not in reader.fieldnames]
    if missing:
        raise SystemExit(f"lumetra-plan: {a.table} has no column {', '.join(missing)}")
    rows = list(reader)
    planned, failed = [], 0
    every = max(50, len(rows) // 10)  # a progress line for long tables
    for i, row in enumerate(rows, start=2):  # the header is line 1
        try:
            planned.append(plan_row(base, row, a.max_dead_time))
        except RowError as e:
            failed += 1
            where = f", column {e.column}" if e.column else ""
            print(f"lumetra-plan: {a.table} row {i}{where}: {e}", file=sys.stderr)
        if len(rows) >= 50 and (i - 1) % every == 0:
            print(f"lumetra-plan: {i - 1} of {len(rows)} samples", file=sys.stderr)

    out = io.StringIO()
    if a.json:
        json.dump(planned, out, indent=1)
        out.write("\n")
    else:
        columns = ["name"] + FIGURES
        if a.max_dead_time is not None:
            columns += ["flux_for_dead_time", "distance_for_dead_time"]
        w = csv.DictWriter(out, columns, lineterminator="\n")
        w.writeheader()
        for r in planned:
            w.writerow({k: ("" if r.get(k) is None else
                            repr(r[k]) if isinstance(r[k], float) else r[k]) for k in columns})
    if a.output:
        with open(a.output, "w", encoding="utf-8", newline="") as f:
            f.write(out.getvalue())
    else:
        sys.stdout.write(out.getvalue())
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
