"""Tuning the monocycle's PID by a sweep: settling time and overshoot over a
grid of (Kp, Ki), drawn as two maps into a PNG.

The monocycle starts 30 degrees off upright with its controller on; each run
records the rod's angle and measures when it stays within 1 degree for good,
its overshoot past upright, and whether it fell.

    PYTHONPATH=build/python /usr/bin/python3 examples/pid_sweep_monocycle.py [--points N] [--png FILE]
"""

from __future__ import annotations

import argparse
import math
from typing import Any

import matplotlib

matplotlib.use("Agg")  # files only, no display needed
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

import kinemo  # noqa: E402

ANGLE = "0.State[0]"
SETTLED = math.radians(1)


def measure(traces: dict[str, np.ndarray]) -> dict[str, Any]:
    t, angle = traces["time"], traces[ANGLE]
    outside = np.flatnonzero(np.abs(angle) > SETTLED)
    fallen = bool(np.abs(angle).max() > math.radians(80))
    settled = outside.size == 0 or outside[-1] < len(t) - 1
    return {
        "settling_time": float(t[outside[-1] + 1]) if outside.size and settled else (0.0 if settled else math.nan),
        "overshoot_deg": float(math.degrees(max(0.0, -angle.min()))),
        "fallen": fallen,
    }


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--points", type=int, default=8, help="values of each gain")
    parser.add_argument("--png", default="pid-sweep-monocycle.png")
    parser.add_argument("--workers", type=int, default=None)
    args = parser.parse_args()
    base = kinemo.Simulation(["TMonocycle"])
    kp = np.linspace(1, 40, args.points)
    ki = np.linspace(0, 5, args.points)
    table = kinemo.sweep(base, kinemo.grid({"0.Kp": list(kp), "0.Ki": list(ki)}), ticks=500,
                         measure=measure, record=[ANGLE], workers=args.workers, progress=False)
    print(table.to_string(max_rows=12))
    fig, axes = plt.subplots(1, 2, figsize=(10, 4), constrained_layout=True)
    for ax, column, label in zip(axes, ("settling_time", "overshoot_deg"),
                                 ("settling time [s]", "overshoot [°]")):
        grid = table.pivot(index="0.Ki", columns="0.Kp", values=column).to_numpy(dtype=float)
        image = ax.imshow(grid, origin="lower", aspect="auto",
                          extent=(kp[0], kp[-1], ki[0], ki[-1]))
        ax.set_xlabel("Kp")
        ax.set_ylabel("Ki")
        fig.colorbar(image, ax=ax, label=label)
    fig.suptitle("Monocycle from 30°: PID gains (blank: did not settle in 5 s)")
    fig.savefig(args.png, dpi=80)
    print(f"{len(table)} runs, {int(table['fallen'].sum())} fell; maps in {args.png}")


if __name__ == "__main__":
    main()
