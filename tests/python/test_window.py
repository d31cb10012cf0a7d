"""A Python controller in the program's window, under Xvfb."""

from __future__ import annotations

import json
import os
import shutil
import subprocess
import sys

import pytest

import kinemo
from conftest import BUILD
from test_simulation import comparable

# Run in a process of its own: Qt stays out of the test process, and the
# window gets a display of its own.
SCRIPT = r"""
import json, sys
import kinemo

PENDULUM = ["TRailAimant", "TMSlin"]
calls, kept = [], []

def control(w):
    cart = w.devices[1]
    calls.append(w.ticks)
    kept[:] = [w]
    cart.inputs["CurrentCmd"] = -20.0 * cart["PendTheta"]
    if len(calls) == 40:
        kinemo.close_window()

shown = kinemo.Simulation(PENDULUM)
kinemo.show(shown, control)
replay = kinemo.Simulation(PENDULUM)
for _ in range(40):
    cart = replay.devices[1]
    cart.inputs["CurrentCmd"] = -20.0 * cart["PendTheta"]
    replay.step()

def failing(w):
    if w.ticks == 4:
        # Queued: it closes the message box the exception opens, then the window.
        kinemo.close_window()
        1 / 0

broken = kinemo.Simulation(PENDULUM)
kinemo.show(broken, failing)
json.dump({"calls": calls, "kept_ticks": kept[0].ticks, "shown": json.loads(shown.to_json()),
           "replay": json.loads(replay.to_json()), "broken_ticks": broken.ticks}, sys.stdout)
"""



def test_controller_drives_the_window_and_its_exception_pauses_it() -> None:
    if shutil.which("xvfb-run") is None or not list((BUILD / "python" / "kinemo").glob("_window*")):
        # A skip in CI would hide a window that no longer opens.
        if os.environ.get("KINEMO_REQUIRE_ALL") == "1":
            pytest.fail("required (KINEMO_REQUIRE_ALL=1): xvfb-run and the window module")
        pytest.skip("needs xvfb-run and the window module")
    env = dict(os.environ, PYTHONPATH=str(BUILD / "python"), QT_QPA_PLATFORM="xcb")
    done = subprocess.run(
        ["xvfb-run", "-a", "-s", "-screen 0 1280x800x24", sys.executable, "-c", SCRIPT],
        env=env, capture_output=True, text=True, timeout=120,
    )
    assert done.returncode == 0, done.stderr
    out = json.loads(done.stdout)
    # Once before each tick, and the window stopped after the tick of the last call.
    assert out["calls"] == list(range(40))
    assert comparable(out["shown"]) == comparable(out["replay"])
    # The controller's Simulation outlives the window, in its final state.
    assert out["kept_ticks"] == 40
    # Paused at the exception: the tick it left unprepared never ran; the
    # traceback was shown (and closed with the window).
    assert out["broken_ticks"] == 4
    assert "ZeroDivisionError" in done.stderr


def test_without_a_display_show_says_so(monkeypatch: pytest.MonkeyPatch) -> None:
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
        monkeypatch.delenv(name, raising=False)
    sim = kinemo.Simulation(["TRailAimant", "TMSlin"])
    with pytest.raises(RuntimeError, match="no display"):
        kinemo.show(sim, lambda w: None)
    assert sim.ticks == 0
