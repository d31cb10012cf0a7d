"""The module against the command line, and its checks of what Python hands it."""

from __future__ import annotations

import copy
import json
import pathlib
import pickle
import subprocess
import threading
import warnings
from typing import Any, Callable

import numpy as np
import pytest

import kinemo
from conftest import KINEMO

# What a scene holds of the window's frame counting and status line: not part
# of the simulation, so a scene does not carry it on.
WINDOW_ONLY = ("FrameCount", "FrameWindowStart", "StatusBar")

# Action scripts over every kind of device and command.
SCRIPTS = {
    "pilots": "key:Ctrl+D ticks:300",
    "demonstration": "menu:ModeDmo1 menu:Animate ticks:900",
    "rails and force models": " ".join(
        f"set:RailType={r} set:ForceModel={m} combo:6 menu:Animate ticks:60 menu:Animate"
        for r in range(4)
        for m in (1, 2, 3)
    ),
    "manual balancing": "combo:3 key:Num8 key:Num8 menu:Animate ticks:200 combo:4 key:Num4 ticks:100",
    "edited parameters": "param:8.Kp=9 param:3.Ki=0.5 combo:8 key:Enter menu:Animate ticks:400",
    "steps and dt": "set:Dt=0.004 step step set:SBfs=40 menu:Animate ticks:150",
}


def comparable(state: dict[str, Any]) -> dict[str, Any]:
    return {k: v for k, v in state.items() if k not in WINDOW_ONLY}


def command_line(tmp_path: pathlib.Path, *args: str) -> dict[str, Any]:
    out = tmp_path / "state.json"
    subprocess.run(
        [str(KINEMO), "--headless", "--quiet", *args, "--state", str(out)], check=True, cwd=tmp_path
    )
    state: dict[str, Any] = json.loads(out.read_text())
    return state


@pytest.mark.parametrize("script", SCRIPTS.values(), ids=SCRIPTS.keys())
def test_actions_give_the_command_lines_state_bit_for_bit(
    tmp_path: pathlib.Path, script: str
) -> None:
    sim = kinemo.Simulation()
    sim.apply(script)
    # JSON carries doubles in their shortest exact form: equal text, equal bits.
    assert json.dumps(sim.state()) == json.dumps(command_line(tmp_path, "--do", script))


def test_a_new_simulation_is_the_window_at_start() -> None:
    sim = kinemo.Simulation()
    assert [d.class_name for d in sim.devices] == kinemo.standard_devices()
    assert sim.selected == 8 and sim.time == 0 and sim.ticks == 0 and sim.dt == 0.01
    assert sim.state()["Timer1"]["Enabled"] is False  # paused
    sim.apply("ticks:50")  # a paused timer delivers nothing
    assert sim.ticks == 0
    sim.step(3)
    assert sim.ticks == 3 and sim.time == pytest.approx(0.03)


def test_custom_sets_run_save_and_reopen_and_bad_sets_say_why(tmp_path: pathlib.Path) -> None:
    sim = kinemo.Simulation(["TRailAimant", "TMSlin"], dt=0.005)
    assert [d.name for d in sim.devices] and sim.dt == 0.005
    sim.devices[1].inputs["CurrentCmd"] = 3.0
    sim.step(100)
    path = tmp_path / "pendulum.json"
    sim.save(str(path))
    again = kinemo.load(str(path))
    assert [d.class_name for d in again.devices] == ["TRailAimant", "TMSlin"]
    assert comparable(again.state()) == comparable(sim.state())
    assert command_line(tmp_path, "--load", str(path))["Devices"] == ["TRailAimant", "TMSlin"]

    refused: list[tuple[list[str], str]] = [
        (["TMSlin"], "lacks"),
        (["TNoSuchDevice"], "TNoSuchDevice"),
        (["TRailAimant", "TRailAimant", "TMSlin"], "TRailAimant"),
        ([], "device"),
    ]
    for devices, reason in refused:
        with pytest.raises(ValueError, match=reason):
            kinemo.Simulation(devices)
    with pytest.raises(TypeError):
        kinemo.Simulation(42)  # type: ignore[arg-type]


def test_pickle_and_deepcopy_continue_bit_for_bit() -> None:
    sim = kinemo.Simulation()
    sim.apply("key:Ctrl+D combo:3 key:Num8 menu:Animate ticks:123")
    twins = [pickle.loads(pickle.dumps(sim)), copy.deepcopy(sim)]
    for s in [sim, *twins]:
        s.step(250)
    for twin in twins:
        assert json.dumps(comparable(twin.state())) == json.dumps(comparable(sim.state()))


def test_scenes_are_checked_as_the_window_checks_them(tmp_path: pathlib.Path) -> None:
    text = kinemo.Simulation().to_json()
    scene = json.loads(text)
    scene["Dt"] = -1
    with pytest.raises(ValueError, match="Dt"):
        kinemo.Simulation.from_json(json.dumps(scene))
    for spoilt in ("{not json", text + "\0garbage", text + "]"):
        with pytest.raises(ValueError, match="JSON"):
            kinemo.Simulation.from_json(spoilt)
    with pytest.raises(FileNotFoundError, match="missing.json"):
        kinemo.load(str(tmp_path / "missing.json"))
    kept = tmp_path / "kept.json"
    kept.write_text("earlier")
    with pytest.raises(OSError):
        kinemo.Simulation().save(str(tmp_path / "no-folder" / "x.json"))
    assert kept.read_text() == "earlier"


def test_parameters_and_inputs_keep_their_bounds() -> None:
    sim = kinemo.Simulation()
    mono = sim.devices[3]
    kp = next(p for p in mono.parameters if p.field == "Kp")
    mono["Kp"] = kp.max
    assert mono["Kp"] == kp.max
    for bad in (kp.max * 2 + 1, float("nan"), float("inf")):
        with pytest.raises(ValueError):
            mono["Kp"] = bad
    assert mono["Kp"] == kp.max
    with pytest.raises(ValueError):
        mono["PosX"] = 1.0  # a state field, not a parameter
    with pytest.raises(KeyError):
        mono["NoSuchField"]

    cart = sim.devices[8]
    bound = cart.inputs.bound("CurrentCmd")
    cart.inputs["CurrentCmd"] = 10 * bound
    assert cart.inputs["CurrentCmd"] == bound  # held as the keys hold it
    cart.inputs["CurrentCmd"] = -10 * bound
    assert cart.inputs["CurrentCmd"] == -bound
    with pytest.raises(ValueError):
        cart.inputs["CurrentCmd"] = float("nan")
    with pytest.raises(KeyError):
        cart.inputs["Torque1"]
    assert set(sim.devices[4].inputs) >= {"Torque1", "Torque2"}


def test_refusals_are_value_errors_and_leave_the_state() -> None:
    sim = kinemo.Simulation()
    sim.step(5)
    before = sim.state()
    refusals: list[Callable[[], object]] = [
        lambda: sim.apply("key:NoSuchKey"),
        lambda: sim.apply("param:99.Kp=1"),
        lambda: sim.apply("ticks:5 set:NoSuchSetting=1"),
        lambda: sim.step(-1),
        lambda: sim.select(9),
        lambda: sim.run(10, record=["8.NoSuchField"]),
        lambda: sim.run(10, record=["PendTheta"]),
        lambda: sim.run(10, every=0),
        lambda: sim.render(0, 10),
        lambda: sim.devices[8].press("NoSuchKey"),
    ]
    for call in refusals:
        with pytest.raises(ValueError):
            call()
    for dt in (-0.01, float("nan"), 1e9):
        with pytest.raises(ValueError):
            sim.dt = dt
    assert sim.state() == before


def test_a_device_of_a_set_made_anew_is_gone() -> None:
    sim = kinemo.Simulation()
    old = sim.devices[8]
    sim2 = kinemo.Simulation.from_json(kinemo.Simulation(["TRailAimant", "TMSlin"]).to_json())
    assert len(sim2.devices) == 2
    sim.apply("menu:Resetrobots")
    assert old["PosX"] == sim.devices[8]["PosX"]  # the same set: still there


def test_run_records_what_steps_would_read() -> None:
    a, b = kinemo.Simulation(), kinemo.Simulation()
    for s in (a, b):
        s.apply("key:Ctrl+D combo:8 key:Enter")
    traces = a.run(400, record=["8.PendTheta", "0.PosX"], every=4)
    assert set(traces) == {"time", "8.PendTheta", "0.PosX"}
    assert all(v.dtype == np.float64 and v.shape == (100,) for v in traces.values())
    theta = []
    for _ in range(100):
        b.step(4)
        theta.append(b.devices[8]["PendTheta"])
    assert np.array_equal(traces["8.PendTheta"], np.array(theta))
    assert traces["time"][-1] == b.time


def test_simulations_on_threads_end_as_each_alone() -> None:
    scripts = list(SCRIPTS.values())[:4]

    def run(script: str) -> str:
        sim = kinemo.Simulation()
        sim.apply(script)
        sim.step(2000)
        return json.dumps(sim.state())

    alone = [run(s) for s in scripts]
    together: list[str] = [""] * len(scripts)

    def worker(i: int) -> None:
        together[i] = run(scripts[i])

    threads = [threading.Thread(target=worker, args=(i,)) for i in range(len(scripts))]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert together == alone


def test_one_simulation_used_from_two_threads_is_refused_not_raced() -> None:
    sim = kinemo.Simulation()
    errors: list[BaseException] = []

    def worker() -> None:
        try:
            sim.step(200000)
        except RuntimeError as e:
            errors.append(e)

    threads = [threading.Thread(target=worker) for _ in range(2)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert sim.ticks in (200000, 400000)
    assert sim.ticks == 200000 * (2 - len(errors))


def test_render_is_the_command_lines_screenshot(tmp_path: pathlib.Path) -> None:
    image = pytest.importorskip("PIL.Image")
    script = "key:Ctrl+D menu:Animate ticks:40 combo:2"
    sim = kinemo.Simulation()
    sim.apply(script)
    pixels = sim.render(320, 200)
    assert pixels.dtype == np.uint8 and pixels.shape == (200, 320, 3)
    out = tmp_path / "view.png"
    subprocess.run(
        [str(KINEMO), "--headless", "--quiet", "--size", "320x200", "--do", script,
         "--screenshot", str(out)],
        check=True,
    )
    assert np.array_equal(np.asarray(image.open(out).convert("RGB")), pixels)
    assert pixels.std() > 0  # a picture, not a blank


def test_record_writes_an_avi(tmp_path: pathlib.Path) -> None:
    path = tmp_path / "run.avi"
    sim = kinemo.Simulation(["TRailAimant", "TMSlin"])
    sim.record(str(path), 50, fps=25, size=(160, 120))
    data = path.read_bytes()
    assert data[:4] == b"RIFF" and data[8:12] == b"AVI "
    assert sim.ticks == 50
    with pytest.raises(ValueError):
        sim.record(str(path), 10, codec="h264")


def test_progress_bars_change_nothing_and_ctrl_c_ends_a_recording(
    tmp_path: pathlib.Path, monkeypatch: pytest.MonkeyPatch
) -> None:
    a, b = kinemo.Simulation(), kinemo.Simulation()
    for s in (a, b):
        s.apply("key:Ctrl+D combo:8 key:Enter")
    fields = ["8.PendTheta", "0.PosX"]
    # Pieces of whole periods of 7 ticks, and a remainder.
    with_bar, without = a.run(5003, record=fields, every=7, progress=True), b.run(5003, fields, 7)
    assert all(np.array_equal(with_bar[k], without[k]) for k in without)
    assert with_bar["time"].shape == (714,) and a.to_json() == b.to_json()

    paths = [tmp_path / "bar.avi", tmp_path / "plain.avi"]
    for path, bar in zip(paths, (True, False)):
        pendulum = kinemo.Simulation(["TRailAimant", "TMSlin"])
        pendulum.record(str(path), 60, size=(96, 64), progress=bar)
    assert paths[0].read_bytes() == paths[1].read_bytes()

    import tqdm  # type: ignore[import]

    def interrupted(bar: Any, n: int = 1) -> None:
        raise KeyboardInterrupt

    monkeypatch.setattr(tqdm.tqdm, "update", interrupted)
    sim = kinemo.Simulation(["TRailAimant", "TMSlin"])
    with pytest.raises(KeyboardInterrupt):
        sim.record(str(paths[0]), 10_000, size=(96, 64), progress=True)
    assert 0 < sim.ticks < 100
    data = paths[0].read_bytes()  # ended and closed: its header counts its frames
    assert data[:4] == b"RIFF" and int.from_bytes(data[4:8], "little") == len(data) - 8


def test_messages_the_window_would_show_become_warnings() -> None:
    sim = kinemo.Simulation(["TRailAimant", "TMSlin"])
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        with pytest.raises(ValueError, match="[Dd]emo|robot"):
            sim.apply("menu:ModeDmo1")
    assert not [w for w in caught if "Traceback" in str(w.message)]
