"""Speed of sweeps: runs a second on one core, on two, and on a Dask cluster.

    PYTHONPATH=build/python /usr/bin/python3 bench/python/bench_sweep.py [runs]

2000 runs (by default) of 1000 ticks of the monocycle alone, a grid of its
gains, measured by the final angle: in this process, on a pool of 2 processes,
and on a Dask cluster of 2 worker processes on the loopback. Each figure is the
best of 3 sweeps (the start of the pool's processes included), with the
processor time the sweep took in all its processes: on a machine busy with
other work the wall-clock figures say little, the processor time still says
what the pool or the cluster costs beside the runs. Then what a task costs
beside its runs (batches of one run against the batch size chosen), the figure
the default batch size rests on.
"""

from __future__ import annotations

import os
import sys
import time
from typing import Any, Callable

import distributed
import numpy as np

import kinemo

TICKS = 1000
REPEATS = 3


def own_and_children() -> float:
    t = os.times()
    return t.user + t.system + t.children_user + t.children_system


def sweep(
    runs: list[dict[str, float]], processor: Callable[[], float], **options: Any
) -> tuple[float, float, float]:
    """Runs a second, seconds, and processor seconds a run, of the fastest of
    REPEATS sweeps (the least disturbed by the rest of the machine)."""
    best = (0.0, float("inf"), 0.0)
    for _ in range(REPEATS):
        cpu, start = processor(), time.perf_counter()
        monocycle = kinemo.Simulation(["TMonocycle"])
        kinemo.sweep(monocycle, runs, TICKS, ["0.State[0]"], progress=False, **options)
        seconds = time.perf_counter() - start
        if seconds < best[1]:
            best = (len(runs) / seconds, seconds, (processor() - cpu) / len(runs))
    return best


def main() -> None:
    count = int(sys.argv[1]) if len(sys.argv) > 1 else 2000
    side = int(np.ceil(np.sqrt(count)))
    grid = kinemo.grid({"0.Kp": np.linspace(1, 40, side), "0.Ki": np.linspace(0, 2, side)})
    runs, few = grid[:count], grid[:400]

    def line(what: str, figures: tuple[float, float, float], against: str = "") -> None:
        runs_s, cpu = figures[0], figures[2] * 1e3
        print(f"  {what:17} {runs_s:7.0f} runs/s  {cpu:6.3f} ms of processor a run  {against}")

    print(f"{count} runs of {TICKS} ticks of the monocycle:")
    one = sweep(runs, own_and_children, workers=1)
    line("1 process:", one)
    two = sweep(runs, own_and_children, workers=2)
    line("2 processes:", two, f"{two[0] / one[0]:.2f}x of 1 (target >= 1.8x)")
    single = sweep(few, own_and_children, workers=2, batch=1)
    batched = sweep(few, own_and_children, workers=2)
    local_task = 2 * (single[1] - batched[1]) / len(few)

    with distributed.LocalCluster(
        n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None
    ) as cluster, distributed.Client(cluster) as client:

        def everywhere() -> float:
            workers = client.run(own_and_children)
            return own_and_children() + sum(workers.values())

        dask = sweep(runs, everywhere, client=client)
        line("Dask, 2 workers:", dask, f"{dask[0] / two[0]:.2f}x of 2 processes (target >= 0.8x)")
        single = sweep(few, everywhere, client=client, batch=1)
        batched = sweep(few, everywhere, client=client)
        dask_task = 2 * (single[1] - batched[1]) / len(few)
    print(f"  a task beside its runs: {local_task * 1e3:.3f} ms on 2 processes, "
          f"{dask_task * 1e3:.3f} ms on Dask")
    print(f"  processor time a run over 1 process's: {two[2] / one[2]:.2f} on 2 processes, "
          f"{dask[2] / one[2]:.2f} on Dask ")


if __name__ == "__main__":
    main()
