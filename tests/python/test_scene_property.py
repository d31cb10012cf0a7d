"""Whatever the program saves, it opens again: random scenes it accepts, run on
by random actions, saved, reopened."""

from __future__ import annotations

import json
import random
from typing import Any

import pytest

import kinemo

ACTIONS = [
    "key:Num8", "key:Num2", "key:Num4", "key:Num6", "key:Num5", "key:Enter", "key:A",
    "key:Ctrl+D", "key:G", "key:E", "step", "menu:Resetrobots", "combo:3", "combo:4",
    "combo:6", "combo:8", "set:RailType=3", "set:ForceModel=2", "set:SBfs=100",
]


def window_free(sim: kinemo.Simulation) -> dict[str, Any]:
    """The state without what a scene does not carry on (frame counts, status)."""
    state = sim.state()
    for field in ("FrameCount", "FrameWindowStart", "StatusBar"):
        del state[field]
    return state


def extreme(value: float, rng: random.Random) -> float:
    """A value a scene may hold, from the ordinary to the reader's limit."""
    scale = rng.choice([1.0, 1e3, 1e6, 1e9, 1e11, 9.9e11])
    return rng.choice([value * scale, -value * scale, rng.uniform(-scale, scale)])


def damaged(sim: kinemo.Simulation, rng: random.Random) -> str:
    """The scene of `sim` with a few of its devices' values pushed to extremes."""
    scene: dict[str, Any] = json.loads(sim.to_json())
    for _ in range(rng.randrange(1, 4)):
        index = rng.randrange(len(sim.devices))
        robot = scene["Robots"][index]
        ranges = {p.field: (p.min, p.max) for p in sim.devices[index].parameters}
        fields = [f for f, v in robot.items() if isinstance(v, float)]
        if not fields:
            continue
        field = rng.choice(fields)
        if field in ranges:
            robot[field] = rng.choice(ranges[field])
        else:
            robot[field] = extreme(robot[field] or 1.0, rng)
    return json.dumps(scene)


@pytest.mark.parametrize("seed", range(40))
def test_every_saved_state_reopens(seed: int) -> None:
    rng = random.Random(seed)
    sim = kinemo.Simulation()
    sim.apply(" ".join(rng.choices(ACTIONS, k=5)))
    sim.step(rng.randrange(1, 50))
    for _ in range(20):
        try:
            sim = kinemo.Simulation.from_json(damaged(sim, rng))
        except ValueError:
            continue  # refused: it says why, and that is all it must do
        break
    else:
        pytest.fail("no damaged scene was accepted")
    for _ in range(5):
        sim.apply(" ".join(rng.choices(ACTIONS, k=3)))
        sim.step(rng.randrange(1, 20))
        text = sim.to_json()
        again = kinemo.Simulation.from_json(text)  # must not be refused
        assert window_free(again) == window_free(sim)


def test_a_robot_pushed_to_the_limits_saves_what_reopens() -> None:
    sim = kinemo.Simulation()
    robot = sim.devices[0]
    scene: dict[str, Any] = json.loads(sim.to_json())
    scene["Robots"][0].update(Vit=-1e11, VitX=-1e11)
    sim = kinemo.Simulation.from_json(json.dumps(scene))
    robot = sim.devices[0]
    for field, value in (("Mass", 0.01), ("FrictionViscous", 20.0)):
        if field in [p.field for p in robot.parameters]:
            robot[field] = value
    sim.step()
    assert window_free(kinemo.Simulation.from_json(sim.to_json())) == window_free(sim)
