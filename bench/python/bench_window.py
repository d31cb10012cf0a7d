"""The window's tick rate with a Python controller against the same window without one.

    xvfb-run -a -s "-screen 0 1280x800x24" env PYTHONPATH=build/python \\
        /usr/bin/python3 bench/python/bench_window.py

The magnet pendulum runs in the program's window with its timer at its
shortest period (1 ms), for SECONDS each way, alternately, REPEATS times; the
figure is the best rate of each (the least disturbed by the rest of the machine).
The controller only reads: the same motion both ways, since a tick's cost
depends on it (a falling pendulum's ticks are dearer).
"""

from __future__ import annotations

from typing import Callable

import kinemo
from kinemo import _window

SECONDS = 4.0
REPEATS = 4


def rate(controller: Callable[[kinemo.Simulation], object] | None) -> float:
    """Ticks per second of one window shown for SECONDS."""
    sim = kinemo.Simulation(["TRailAimant", "TMSlin"])
    sim.apply("set:SBtimer=1")
    final, _ = _window.run(sim.to_json(), controller, True, SECONDS)
    return kinemo.Simulation.from_json(final).ticks / SECONDS


def trivial(sim: kinemo.Simulation) -> None:
    """Reads what a controller reads, and leaves the run as it is: a tick's cost
    depends on the motion, which must be the same both ways."""
    cart = sim.devices[1]
    _ = cart["PendTheta"], cart["PosX"]


def main() -> None:
    bare: list[float] = []
    with_controller: list[float] = []
    for _ in range(REPEATS):
        bare.append(rate(None))
        with_controller.append(rate(trivial))
    print(f"without a controller: {max(bare):8.0f} ticks/s")
    print(f"with a controller:    {max(with_controller):8.0f} ticks/s")
    print(f"ratio:                {max(with_controller) / max(bare):8.1%}")


if __name__ == "__main__":
    main()
