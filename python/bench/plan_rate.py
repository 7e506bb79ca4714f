"""Samples planned per second: a Python loop over lumetra.calculate, and lumetra-plan
on a table of 1,000 rows (start-up included), for a 10-element glass.

    PYTHONPATH=build/python /usr/bin/python3 python/bench/plan_rate.py [build/lumetra-plan]
"""

import os
import statistics
import subprocess
import sys
import tempfile
import time

import lumetra

GLASS = ("{fe} wt% Fe2O3, 15 wt% Na2O, 10 wt% CaO, 5 wt% MgO, 4 wt% Al2O3, 2 wt% K2O, "
         "1 wt% TiO2, 1 wt% P2O5 in SiO2")
ROWS = 1000


def loop_rate(setups):
    start = time.perf_counter()
    for s in setups:
        lumetra.calculate(s)
    return len(setups) / (time.perf_counter() - start)


def main():
    plan = sys.argv[1] if len(sys.argv) > 1 else "build/lumetra-plan"
    contents = [0.5 + 4.5 * i / ROWS for i in range(ROWS)]
    setups = [lumetra.Setup(target="Fe", composition=GLASS.format(fe=round(c, 3)), energy=7.2,
                            model="fp", flux=1e10) for c in contents]
    lumetra.calculate(setups[0])  # the first calculation asks the physics library once
    same = statistics.median(loop_rate([setups[0]] * ROWS) for _ in range(5))
    varied = statistics.median(loop_rate(setups) for _ in range(5))
    print(f"calculate loop, one setup:            {same:8.0f} samples/s")
    print(f"calculate loop, a new content a row:  {varied:8.0f} samples/s")

    with tempfile.TemporaryDirectory() as scratch:
        table = os.path.join(scratch, "glasses.csv")
        with open(table, "w", encoding="utf-8") as f:
            f.write("name,composition,target,energy,flux\n")
            for i, c in enumerate(contents):
                f.write(f'g{i},"{GLASS.format(fe=round(c, 3))}",Fe,7.2,1e10\n')
        times = []
        for _ in range(5):
            start = time.perf_counter()
            subprocess.run([plan, table, "-o", os.path.join(scratch, "out.csv")], check=True,
                           stderr=subprocess.DEVNULL)
            times.append(time.perf_counter() - start)
    t = statistics.median(times)
    print(f"lumetra-plan, {ROWS} rows:              {t:8.2f} s ({ROWS / t:.0f} samples/s)")


if __name__ == "__main__":
    main()
