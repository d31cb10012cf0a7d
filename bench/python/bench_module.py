"""Speed of the Python module: what a call from Python costs beside the tick.

    PYTHONPATH=build/python /usr/bin/python3 bench/python/bench_module.py

Each figure is the best of several repeats (the least disturbed by the rest of
the machine). The C++ tick of a set is `sim.step(n)` for a large n: one call,
the loop in C++.
"""

from __future__ import annotations

import threading
import time
from typing import Callable

import kinemo

PENDULUM = ["TRailAimant", "TMSlin"]
REPEATS = 7


def best(run: Callable[[], None], count: int) -> float:
    """Seconds per unit of the fastest of REPEATS runs of `count` units."""
    run()  # warm: caches, the processor's clock
    times = []
    for _ in range(REPEATS):
        start = time.perf_counter()
        run()
        times.append(time.perf_counter() - start)
    return min(times) / count


def tick_in_cpp(devices: list[str] | None, ticks: int = 100_000) -> float:
    sim = kinemo.Simulation(devices)
    sim.apply("menu:Animate")
    return best(lambda: sim.step(ticks), ticks)


def step_from_python(devices: list[str] | None, calls: int = 50_000) -> float:
    sim = kinemo.Simulation(devices)
    sim.apply("menu:Animate")
    step = sim.step

    def run() -> None:
        for _ in range(calls):
            step()

    return best(run, calls)


def run_recording(ticks: int = 100_000) -> float:
    sim = kinemo.Simulation()
    sim.apply("menu:Animate")
    fields = ["8.PendTheta", "8.PosX", "3.Theta", "0.PosX"]
    return best(lambda: sim.run(ticks, record=fields), ticks)


def threads_against_one(devices: list[str] | None, ticks: int = 200_000) -> float:
    """Throughput of two simulations on two threads over one alone."""

    def one() -> None:
        kinemo.Simulation(devices).step(ticks)

    alone = best(one, 1)

    def two() -> None:
        threads = [threading.Thread(target=one) for _ in range(2)]
        for t in threads:
            t.start()
        for t in threads:
            t.join()

    together = best(two, 1)
    return 2 * alone / together


def main() -> None:
    full_cpp, pend_cpp = tick_in_cpp(None), tick_in_cpp(PENDULUM)
    full_py, pend_py = step_from_python(None), step_from_python(PENDULUM)
    print(f"tick, nine devices, in C++:           {full_cpp * 1e6:7.3f} µs")
    print(f"tick, pendulum set, in C++:           {pend_cpp * 1e6:7.3f} µs  (target <= 0.5)")
    print(f"sim.step() from Python, nine devices: {full_py * 1e6:7.3f} µs"
          f"  (+{(full_py - full_cpp) * 1e6:.3f} over C++, target <= 1)")
    print(f"sim.step() from Python, pendulum set: {pend_py * 1e6:7.3f} µs"
          f"  (+{(pend_py - pend_cpp) * 1e6:.3f} over C++, target <= 1)")
    recorded = run_recording()
    print(f"sim.run(100000, 4 quantities):        {recorded * 1e6:7.3f} µs a tick"
          f"  ({(recorded / full_cpp - 1) * 100:+.1f}% over C++, target within 10%)")
    print(f"two threads over one, nine devices:   {threads_against_one(None):7.2f}x"
          "  (target >= 1.8)")
    print(f"two threads over one, pendulum set:   {threads_against_one(PENDULUM, 1_000_000):7.2f}x")


if __name__ == "__main__":
    main()
