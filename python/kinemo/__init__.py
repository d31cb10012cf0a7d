"""Kinemo from Python: the simulator's devices, stepped, recorded and drawn.

A ``Simulation`` is the simulation the program's window runs, without the
window: the same devices, the same ticks, the same checks and the same state
dumps, bit for bit. Build one, drive it through its devices' inputs or through
the command line's actions, record its quantities, render its view, save it::

    import kinemo

    sim = kinemo.Simulation(["TRailAimant", "TMSlin"])  # the pendulum alone
    cart = sim.devices[1]
    for _ in range(500):
        cart.inputs["CurrentCmd"] = -20.0 * cart["PendTheta"]  # a controller of your own
        sim.step()
    traces = sim.run(1000, record=["1.PendTheta", "1.PosX"])
    sim.save("pendulum.json")

Many runs of one scene, on every core or on a Dask cluster: `sweep`, `grid`.
A controller of your own live in the program's window: `show(sim, controller=fn)`.
"""

from __future__ import annotations

import time
from typing import Any, Sequence

import numpy as np
import numpy.typing as npt

from ._core import (
    SCENE_VERSION,
    Batch,
    Device,
    Inputs,
    Parameter,
    Quantity,
    Simulation,
    device_classes,
    load,
    standard_devices,
)
from .sweep import grid, sweep
from .window import close_window, show

__all__ = [
    "SCENE_VERSION",
    "Batch",
    "Device",
    "Inputs",
    "Parameter",
    "Quantity",
    "Simulation",
    "close_window",
    "device_classes",
    "grid",
    "load",
    "show",
    "standard_devices",
    "sweep",
]

_run = Simulation.run


def _bar(total: int) -> Any:
    """A tqdm bar of ticks (tqdm is loaded only for one)."""
    from tqdm import tqdm  # type: ignore[import]

    return tqdm(total=total, unit="tick", unit_scale=True)


def _run_in_steps(
    self: Simulation,
    ticks: int,
    record: Sequence[str] = (),
    every: int = 1,
    progress: bool = False,
) -> dict[str, npt.NDArray[np.float64]]:
    """Runs `ticks` ticks (as step) and returns {'time': ..., name: ...}: float64 arrays
    with a sample after every `every`-th tick of each recorded field ('8.PendTheta').
    progress: a tqdm bar of the ticks on the terminal."""
    if not progress or ticks <= 0 or every < 1:
        return _run(self, ticks, record, every)
    # Pieces of whole sampling periods, so that the samples fall on the same
    # ticks as in one call; their length grows to a tenth of a second or so.
    parts: list[dict[str, npt.NDArray[np.float64]]] = []
    piece = every * max(1, 1000 // every)
    with _bar(ticks) as bar:
        done = 0
        while done < ticks:
            n = min(piece, ticks - done)
            start = time.perf_counter()
            parts.append(_run(self, n, record, every))
            if time.perf_counter() - start < 0.05:
                piece *= 2
            done += n
            bar.update(n)
    return {key: np.concatenate([p[key] for p in parts]) for key in parts[0]}


_record = Simulation.record


def _record_with_progress(
    self: Simulation,
    path: str,
    ticks: int,
    fps: int = 25,
    size: tuple[int, int] = (1280, 720),
    codec: str = "mjpeg",
    progress: bool = False,
) -> None:
    """Records `ticks` ticks (as step) of the view into an AVI file, as --record does.
    progress: a tqdm bar of the ticks on the terminal; Ctrl+C ends the recording
    there, the file closed."""
    if not progress:
        return _record(self, path, ticks, fps, size, codec)
    with _bar(ticks) as bar:

        def heard(done: int) -> None:
            bar.update(done - bar.n)

        _record(self, path, ticks, fps, size, codec, on_ticks=heard)  # type: ignore[call-arg]


# The compiled methods, with a progress bar on request: every Simulation has
# them, however it was made (load, from_json, pickle).
setattr(Simulation, "run", _run_in_steps)
setattr(Simulation, "record", _record_with_progress)


from . import envs  # noqa: E402  (after the core it is built on)
