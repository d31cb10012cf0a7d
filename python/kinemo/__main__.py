"""python3 -m kinemo show controller.py [scene.json]: a controller in the window.

controller.py defines control(sim), called with the window's simulation before
every tick; the window opens on the scene, else on the program's nine devices."""

from __future__ import annotations

import runpy
import sys
from typing import Sequence

from . import Simulation, load, show

USAGE = "usage: python3 -m kinemo show controller.py [scene.json]"


def main(argv: Sequence[str]) -> int:
    """Runs the command; returns the exit code."""
    if len(argv) not in (2, 3) or argv[0] != "show":
        print(USAGE, file=sys.stderr)
        return 2
    try:
        names = runpy.run_path(argv[1])
    except OSError as e:
        print(f"kinemo: {argv[1]}: {e.strerror}", file=sys.stderr)
        return 2
    control = names.get("control")
    if not callable(control):
        print(f"kinemo: {argv[1]} defines no function control(sim)", file=sys.stderr)
        return 2
    try:
        sim = load(argv[2]) if len(argv) == 3 else Simulation()
        show(sim, control)
    except (OSError, ValueError, RuntimeError) as e:
        print(f"kinemo: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
