"""A simulation in the program's own window, a Python controller acting on it live."""

from __future__ import annotations

import os
import sys
from typing import Callable

from ._core import Simulation

#: A controller: called with the window's simulation before every tick.
Controller = Callable[[Simulation], object]


def show(sim: Simulation, controller: Controller | None = None, *, animate: bool = True) -> None:
    """Opens the Kinemo window (instruments, scope, recording, every menu) on `sim`'s
    scene and runs until it is closed; `sim` is then in the window's final state.

    controller(window_sim) is called before every tick, the timer's and 'Pas à pas';
    window_sim is a Simulation over the window's own: set inputs, read quantities
    (``window_sim.devices[1].inputs["CurrentCmd"] = -20 * window_sim.devices[1]["PendTheta"]``).
    An exception in it pauses the run and shows its traceback (also on stderr);
    Animate runs on. animate: start running as the window opens.
    RuntimeError when there is no display to open the window on."""
    if not any(os.environ.get(v) for v in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")):
        raise RuntimeError(
            "no display (DISPLAY and WAYLAND_DISPLAY are unset): the window cannot open; "
            "without one, step the Simulation itself (sim.step, sim.run)"
        )
    from . import _window  # Qt is loaded here only

    final, _errors = _window.run(sim.to_json(), controller, animate)
    sim.open_json(final)


def close_window() -> None:
    """Closes the shown window once the running tick is done, as its close box does
    (an open message box first); safe from any thread, and when none is shown."""
    window = sys.modules.get(__name__.rpartition(".")[0] + "._window")
    if window is not None:  # else no window was ever shown
        window.close_window()
