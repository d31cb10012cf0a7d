"""Environments with Gymnasium's interface on Kinemo's balancing devices.

``reset(seed=...) -> (obs, info)``, ``step(action) -> (obs, reward, terminated,
truncated, info)``, ``action_space`` and ``observation_space``, ``render()`` as an
RGB array, ``close()``. They work without Gymnasium (Debian has none); when
``gymnasium`` can be imported they subclass ``gymnasium.Env``, their spaces are
Gymnasium's and their ids are registered (``gymnasium.make("kinemo/MagnetPendulum-v0")``).

Seeding follows Gymnasium: ``reset(seed=s)`` makes ``np_random`` a
``np.random.Generator(np.random.PCG64(np.random.SeedSequence(s)))``, the only
randomness there is (the simulation itself is deterministic).

MagnetPendulum-v0
    The synchronous carriage on its magnet rail alone, balancing its inverted
    pendulum under a current command of your own (the built-in controller off).
    Action: ``Box(-1, 1, (1,))``, scaled to ±``CurrentMax`` (2 A); the discrete
    variant ``MagnetPendulumDiscrete-v0`` takes ``Discrete(2)``: full current
    towards −x (0) or +x (1). Observation (float32): carriage position from its
    start [m], carriage speed [m/s], pendulum angle from upright [rad], its rate
    [rad/s]. Start: each uniformly in ±0.05. One step: two ticks of 10 ms.
    Reward: +1 for every step, the terminating one included. Terminated: the
    angle beyond ±12° or the carriage within 5 cm of an end of its rail.
    Truncated: after 500 steps. Solved: an average return of 475 or more over
    100 consecutive episodes.
Monocycle-v0
    The monocycle alone, its rod balanced by the wheel's torque (its controller
    off). Action: ``Box(-1, 1, (1,))`` scaled to ±``CeMax``. Observation
    (float32): rod angle [rad], its rate [rad/s], position [m], speed [m/s].
    Start: each uniformly in ±0.05. One step: two ticks. Reward +1 a step;
    terminated when the rod leans beyond ±12°; truncated after 500 steps;
    solved at an average return of 475.
Bicycle-v0
    The two-wheel robot alone: balance its rod and turn to a heading drawn at
    reset, with its two wheel torques. Action: ``Box(-1, 1, (2,))`` scaled to
    ±``TorqueMax``. Observation (float32): rod angle [rad], its rate [rad/s],
    heading error (target − heading, within ±π) [rad], yaw rate [rad/s]. Start:
    rod angle and rate uniformly in ±0.05, target heading uniformly in ±π/2.
    Reward a step: 1 − |heading error|/π while standing. Terminated when the rod
    leans beyond ±12°; truncated after 500 steps; solved at an average return of
    400.
"""

from __future__ import annotations

import math
from typing import Any, Generic, Sequence, TypeVar

import numpy as np
import numpy.typing as npt

from ._core import Batch, Simulation

try:  # pragma: no cover - depends on what is installed
    import gymnasium as _gym  # type: ignore[import]

    _Env: Any = _gym.Env
except ImportError:  # Debian 12 has no Gymnasium
    _gym = None
    _Env = object

__all__ = [
    "Box",
    "Discrete",
    "Env",
    "MagnetPendulum",
    "MagnetPendulumDiscrete",
    "Monocycle",
    "Bicycle",
    "VectorEnv",
    "make",
    "make_vec",
    "ENVIRONMENTS",
]

T = TypeVar("T")


class Space(Generic[T]):
    """A set of values with a generator to sample it, as Gymnasium's spaces."""

    def __init__(self, shape: tuple[int, ...], dtype: Any, seed: int | None = None) -> None:
        self.shape = shape
        self.dtype = np.dtype(dtype)
        self._np_random = np.random.Generator(np.random.PCG64(np.random.SeedSequence(seed)))

    def seed(self, seed: int | None = None) -> list[int | None]:
        """Reseeds the space's own generator (``sample`` uses it alone)."""
        self._np_random = np.random.Generator(np.random.PCG64(np.random.SeedSequence(seed)))
        return [seed]

    def sample(self) -> T:
        """A value drawn from the space."""
        raise NotImplementedError

    def contains(self, x: object) -> bool:
        """Whether `x` is a value of the space."""
        raise NotImplementedError

    def __contains__(self, x: object) -> bool:
        return self.contains(x)


class Box(Space[npt.NDArray[Any]]):
    """A box of real vectors, ``low <= x <= high`` elementwise."""

    def __init__(
        self,
        low: float | npt.ArrayLike,
        high: float | npt.ArrayLike,
        shape: tuple[int, ...] | None = None,
        dtype: Any = np.float32,
        seed: int | None = None,
    ) -> None:
        shape = shape if shape is not None else np.shape(low)
        super().__init__(tuple(shape), dtype, seed)
        self.low = np.broadcast_to(np.asarray(low, dtype=self.dtype), self.shape).copy()
        self.high = np.broadcast_to(np.asarray(high, dtype=self.dtype), self.shape).copy()

    def sample(self) -> npt.NDArray[Any]:
        low = np.where(np.isfinite(self.low), self.low, -1e6)
        high = np.where(np.isfinite(self.high), self.high, 1e6)
        return self._np_random.uniform(low, high, self.shape).astype(self.dtype)

    def contains(self, x: object) -> bool:
        if not isinstance(x, np.ndarray):
            try:
                x = np.asarray(x, dtype=self.dtype)
            except (TypeError, ValueError):
                return False
        assert isinstance(x, np.ndarray)
        return bool(
            x.shape == self.shape
            and np.can_cast(x.dtype, self.dtype)
            and np.all(x >= self.low)
            and np.all(x <= self.high)
        )

    def __repr__(self) -> str:
        return f"Box({self.low.min()}, {self.high.max()}, {self.shape}, {self.dtype})"


class Discrete(Space[np.int64]):
    """The integers 0 .. n-1."""

    def __init__(self, n: int, seed: int | None = None) -> None:
        if n < 1:
            raise ValueError("a discrete space needs at least one value")
        super().__init__((), np.int64, seed)
        self.n = n

    def sample(self) -> np.int64:
        return np.int64(self._np_random.integers(self.n))

    def contains(self, x: object) -> bool:
        if isinstance(x, (int, np.integer)) and not isinstance(x, bool):
            return 0 <= int(x) < self.n
        if isinstance(x, np.ndarray) and x.shape == () and np.issubdtype(x.dtype, np.integer):
            return 0 <= int(x) < self.n
        return False

    def __repr__(self) -> str:
        return f"Discrete({self.n})"


def _box(low: Any, high: Any, shape: tuple[int, ...]) -> Any:
    if _gym is not None:
        return _gym.spaces.Box(low, high, shape, np.float32)
    return Box(low, high, shape, np.float32)


def _discrete(n: int) -> Any:
    return _gym.spaces.Discrete(n) if _gym is not None else Discrete(n)


class Env(_Env):  # type: ignore[misc]
    """What the three environments share: a simulation of one device set, its
    inputs set from the action and its fields observed, the loop in C++."""

    metadata: dict[str, Any] = {"render_modes": ["rgb_array"], "render_fps": 50}
    #: Ticks of the simulation a step lasts.
    ticks_per_step = 2
    max_episode_steps = 500
    max_angle = 12 * math.pi / 180
    reward_threshold = 475.0
    devices: Sequence[str] = ()
    #: The integration step of a tick [s].
    dt = 0.01
    inputs: Sequence[str] = ()
    observed: Sequence[str] = ()

    def __init__(self, render_mode: str | None = None) -> None:
        if render_mode not in (None, "rgb_array"):
            raise ValueError(f"render_mode must be None or 'rgb_array', not {render_mode!r}")
        self.render_mode = render_mode
        self.sim = Simulation(list(self.devices), dt=self.dt)
        self._prepare(self.sim)
        self._batch = Batch([self.sim], list(self.inputs), list(self.observed), self.ticks_per_step)
        self._scale = np.array(
            [self.sim.devices[int(n.split(".")[0])].inputs.bound(n.split(".")[1]) for n in self.inputs]
        )
        self._bounds = self._scale.tolist()
        self._shape = (len(self.inputs),)
        self._steps = 0
        self._np_random: np.random.Generator | None = None
        self._closed = False

    # --- What each environment says ---
    def _prepare(self, sim: Simulation) -> None:
        """Once, after the simulation is made: modes, controllers off."""

    def _start(self, sim: Simulation, rng: np.random.Generator) -> None:
        """The start state of an episode, drawn from `rng`."""

    # One environment, in plain floats: numpy's cost on a few values would
    # outweigh the tick many times over.
    def _observe1(self, row: list[float]) -> list[float]:
        return row

    def _reward1(self, row: list[float]) -> float:
        return 1.0

    def _ended1(self, row: list[float]) -> bool:
        return abs(row[0]) > self.max_angle

    # Batched: one row per environment of the same kind (`envs`); the same
    # values as the plain ones, row by row.
    def _observations(self, fields: npt.NDArray[np.float64], envs: Sequence[Env]) -> npt.NDArray[np.float32]:
        return fields.astype(np.float32)

    def _rewards(self, obs: npt.NDArray[np.float32], envs: Sequence[Env]) -> npt.NDArray[np.float64]:
        return np.ones(len(obs))

    def _terminations(self, obs: npt.NDArray[np.float32]) -> npt.NDArray[np.bool_]:
        terminated: npt.NDArray[np.bool_] = np.abs(obs[:, 0]) > self.max_angle
        return terminated

    def _to_inputs(self, action: Any) -> list[float]:
        if type(action) is np.ndarray and action.shape == self._shape:  # the usual case
            values = action.tolist()
            if all(map(math.isfinite, values)):
                return [min(1.0, max(-1.0, v)) * b for v, b in zip(values, self._bounds)]
        values = action.tolist() if isinstance(action, np.ndarray) else action
        if not isinstance(values, (list, tuple)):
            values = [values]
        if any(isinstance(v, (list, tuple)) for v in values):  # a column or a nested list
            values = np.asarray(action).reshape(-1).tolist()
        try:
            values = [float(v) for v in values]
        except (TypeError, ValueError):
            values = []
        if len(values) != len(self.inputs) or not all(map(math.isfinite, values)):
            raise ValueError(f"{type(self).__name__}: action {action!r} is not in {self.action_space}")
        return [min(1.0, max(-1.0, v)) * b for v, b in zip(values, self._bounds)]

    # --- Gymnasium's interface ---
    @property
    def np_random(self) -> np.random.Generator:
        """The environment's generator (made from a fresh seed if none was given)."""
        if self._np_random is None:
            self._np_random = np.random.Generator(np.random.PCG64(np.random.SeedSequence()))
        return self._np_random

    @np_random.setter
    def np_random(self, value: np.random.Generator) -> None:
        self._np_random = value

    def reset(
        self, *, seed: int | None = None, options: dict[str, Any] | None = None
    ) -> tuple[npt.NDArray[np.float32], dict[str, Any]]:
        """Starts an episode: the simulation reset, a start state drawn."""
        if seed is not None:
            self._np_random = np.random.Generator(np.random.PCG64(np.random.SeedSequence(seed)))
        self.sim.apply("menu:Resetrobots")
        self._start(self.sim, self.np_random)
        self._steps = 0
        row = self._observe1(self._batch.observe()[0].tolist())
        return np.array(row, dtype=np.float32), {}

    def step(
        self, action: Any
    ) -> tuple[npt.NDArray[np.float32], float, bool, bool, dict[str, Any]]:
        """One step: the action held for `ticks_per_step` ticks."""
        row = self._observe1(self._batch.step_one(self._to_inputs(action)))
        # Judged on what the observation holds, as the batch judges it.
        obs = np.array(row, dtype=np.float32)
        shown = obs.tolist()
        self._steps += 1
        return (
            obs,
            self._reward1(shown),
            self._ended1(shown),
            self._steps >= self.max_episode_steps,
            {},
        )

    def render(self) -> npt.NDArray[np.uint8] | None:
        """The 3D view as an RGB array (height, width, 3), 640 x 480."""
        if self.render_mode != "rgb_array":
            return None
        return self.sim.render(640, 480)

    def close(self) -> None:
        """Nothing to let go of but the simulation; safe to call again."""
        self._closed = True


class MagnetPendulum(Env):
    """The synchronous carriage balancing its pendulum (see the module's text)."""

    devices = ("TRailAimant", "TMSlin")
    # The pendulum is short and quick (about 50 rad/s unstable): 5 ms a step.
    dt = 0.005
    ticks_per_step = 1
    metadata: dict[str, Any] = {"render_modes": ["rgb_array"], "render_fps": 200}
    inputs = ("1.CurrentCmd",)
    observed = ("1.PosX", "1.VitX", "1.PendTheta", "1.PendOmega")
    margin = 0.05

    def __init__(self, render_mode: str | None = None) -> None:
        super().__init__(render_mode)
        self.action_space = _box(-1.0, 1.0, (1,))
        high = np.array([np.inf, np.inf, np.pi, np.inf], dtype=np.float32)
        self.observation_space = _box(-high, high, (4,))
        rail = self.sim.devices[0]
        self._x0 = float(self.sim.devices[1]["PosX0"])
        self._limits = (float(rail["XMin"]) - self._x0, float(rail["XMax"]) - self._x0)

    def _prepare(self, sim: Simulation) -> None:
        cart = sim.devices[1]
        cart.set_state("ControllerOn", 0)
        cart.set_state("ExternalCommand", 1)

    def _start(self, sim: Simulation, rng: np.random.Generator) -> None:
        cart = sim.devices[1]
        x, v, theta, omega = rng.uniform(-0.05, 0.05, 4)
        cart.set_state("PosX", self._x0 + x)
        cart.set_state("VitX", v)
        cart.set_state("PendTheta", theta)
        cart.set_state("PendOmega", omega)

    def _observe1(self, row: list[float]) -> list[float]:
        row[0] -= self._x0
        return row

    def _ended1(self, row: list[float]) -> bool:
        low, high = self._limits
        return abs(row[2]) > self.max_angle or row[0] < low + self.margin or row[0] > high - self.margin

    def _observations(self, fields: npt.NDArray[np.float64], envs: Sequence[Env]) -> npt.NDArray[np.float32]:
        fields[:, 0] -= self._x0
        return fields.astype(np.float32)

    def _terminations(self, obs: npt.NDArray[np.float32]) -> npt.NDArray[np.bool_]:
        low, high = self._limits
        x = obs[:, 0]
        ended: npt.NDArray[np.bool_] = (
            (np.abs(obs[:, 2]) > self.max_angle) | (x < low + self.margin) | (x > high - self.margin)
        )
        return ended


class MagnetPendulumDiscrete(MagnetPendulum):
    """MagnetPendulum with two actions: full current towards −x (0) or +x (1)."""

    def __init__(self, render_mode: str | None = None) -> None:
        super().__init__(render_mode)
        self.action_space = _discrete(2)

    def _to_inputs(self, action: Any) -> list[float]:
        if not self.action_space.contains(action):
            raise ValueError(f"MagnetPendulumDiscrete: action {action!r} is not 0 or 1")
        return [b * (1.0 if int(action) else -1.0) for b in self._bounds]


class Monocycle(Env):
    """The monocycle balancing its rod by its wheel's torque (see the module's text)."""

    devices = ("TMonocycle",)
    inputs = ("0.Ce",)
    observed = ("0.State[0]", "0.State[1]", "0.State[2]", "0.State[3]")

    def __init__(self, render_mode: str | None = None) -> None:
        super().__init__(render_mode)
        self.action_space = _box(-1.0, 1.0, (1,))
        high = np.array([np.pi, np.inf, np.inf, np.inf], dtype=np.float32)
        self.observation_space = _box(-high, high, (4,))

    def _prepare(self, sim: Simulation) -> None:
        sim.devices[0].set_state("ControllerOn", 0)

    def _start(self, sim: Simulation, rng: np.random.Generator) -> None:
        device = sim.devices[0]
        for i, value in enumerate(rng.uniform(-0.05, 0.05, 4)):
            device.set_state(f"State[{i}]", value)


class Bicycle(Env):
    """The two-wheel robot: balance and reach a heading (see the module's text)."""

    devices = ("TBicycle",)
    inputs = ("0.Torque1", "0.Torque2")
    observed = ("0.State[0]", "0.State[1]", "0.State[2]", "0.State[3]")
    reward_threshold = 400.0

    def __init__(self, render_mode: str | None = None) -> None:
        super().__init__(render_mode)
        self.action_space = _box(-1.0, 1.0, (2,))
        high = np.array([np.pi, np.inf, np.pi, np.inf], dtype=np.float32)
        self.observation_space = _box(-high, high, (4,))
        self.target = 0.0

    def _prepare(self, sim: Simulation) -> None:
        sim.devices[0].set_state("ControllerOn", 0)

    def _start(self, sim: Simulation, rng: np.random.Generator) -> None:
        device = sim.devices[0]
        angle, rate = rng.uniform(-0.05, 0.05, 2)
        device.set_state("State[0]", angle)
        device.set_state("State[1]", rate)
        self.target = float(rng.uniform(-np.pi / 2, np.pi / 2))

    def _observe1(self, row: list[float]) -> list[float]:
        row[2] = float(np.remainder(self.target - row[2] + np.pi, 2 * np.pi) - np.pi)
        return row

    def _reward1(self, row: list[float]) -> float:
        return 1.0 - abs(row[2]) / math.pi

    def _observations(self, fields: npt.NDArray[np.float64], envs: Sequence[Env]) -> npt.NDArray[np.float32]:
        targets = np.array([e.target for e in envs if isinstance(e, Bicycle)])
        fields[:, 2] = np.remainder(targets - fields[:, 2] + np.pi, 2 * np.pi) - np.pi
        return fields.astype(np.float32)

    def _rewards(self, obs: npt.NDArray[np.float32], envs: Sequence[Env]) -> npt.NDArray[np.float64]:
        return 1.0 - np.abs(obs[:, 2].astype(np.float64)) / np.pi


#: The environments by id.
ENVIRONMENTS: dict[str, type[Env]] = {
    "MagnetPendulum-v0": MagnetPendulum,
    "MagnetPendulumDiscrete-v0": MagnetPendulumDiscrete,
    "Monocycle-v0": Monocycle,
    "Bicycle-v0": Bicycle,
}


def _lookup(env_id: str) -> type[Env]:
    name = env_id.removeprefix("kinemo/")
    if name not in ENVIRONMENTS and f"{name}-v0" in ENVIRONMENTS:
        name = f"{name}-v0"
    if name not in ENVIRONMENTS:
        raise ValueError(f"no environment {env_id!r}: {', '.join(ENVIRONMENTS)}")
    return ENVIRONMENTS[name]


def make(env_id: str, render_mode: str | None = None) -> Env:
    """An environment by id (``"MagnetPendulum-v0"``, or its name alone)."""
    return _lookup(env_id)(render_mode=render_mode)


class VectorEnv:
    """N environments of one kind stepped together in C++ from an action array,
    with Gymnasium's vector conventions: ``num_envs``, ``single_observation_space``,
    ``single_action_space``, batched arrays, and autoreset on the next step (an
    environment that ended is reset by the step after, which returns its start
    observation with reward 0 and neither flag set)."""

    def __init__(self, env_id: str, num_envs: int) -> None:
        if num_envs < 1:
            raise ValueError("num_envs must be 1 or more")
        self.num_envs = num_envs
        self.envs = [make(env_id) for _ in range(num_envs)]
        first = self.envs[0]
        self.single_observation_space = first.observation_space
        self.single_action_space = first.action_space
        self.metadata = first.metadata
        self._batch = Batch(
            [e.sim for e in self.envs], list(first.inputs), list(first.observed), first.ticks_per_step
        )
        self._needs_reset = np.zeros(num_envs, dtype=bool)
        self._steps = np.zeros(num_envs, dtype=np.int64)

    def reset(
        self, *, seed: int | Sequence[int] | None = None, options: dict[str, Any] | None = None
    ) -> tuple[npt.NDArray[np.float32], dict[str, Any]]:
        """Resets every environment; an int seed s seeds them s, s+1, ..."""
        seeds: Sequence[int | None]
        if seed is None:
            seeds = [None] * self.num_envs
        elif isinstance(seed, int):
            seeds = [seed + i for i in range(self.num_envs)]
        else:
            seeds = list(seed)
        obs = np.stack([e.reset(seed=s)[0] for e, s in zip(self.envs, seeds)])
        self._needs_reset[:] = False
        self._steps[:] = 0
        return obs, {}

    def step(
        self, actions: npt.ArrayLike
    ) -> tuple[
        npt.NDArray[np.float32],
        npt.NDArray[np.float64],
        npt.NDArray[np.bool_],
        npt.NDArray[np.bool_],
        dict[str, Any],
    ]:
        """One step of every environment (those that ended are reset instead)."""
        first = self.envs[0]
        if isinstance(first, MagnetPendulumDiscrete):
            a = np.asarray(actions)
            if a.shape != (self.num_envs,) or not np.all((a == 0) | (a == 1)):
                raise ValueError("actions: one 0 or 1 per environment")
            inputs = np.where(a == 1, 1.0, -1.0)[:, None] * first._scale
        else:
            a = np.asarray(actions, dtype=np.float64).reshape(self.num_envs, -1)
            if a.shape[1] != len(first.inputs) or not np.all(np.isfinite(a)):
                raise ValueError(f"actions: {self.num_envs} rows of {len(first.inputs)} finite values")
            inputs = np.clip(a, -1.0, 1.0) * first._scale
        resetting = self._needs_reset.copy()
        for i in np.flatnonzero(resetting):
            self.envs[i].reset()
        fields = self._batch.step(inputs, ~resetting)
        obs = first._observations(fields, self.envs)
        stepped = ~resetting
        self._steps = np.where(resetting, 0, self._steps + 1)
        rewards = np.where(stepped, first._rewards(obs, self.envs), 0.0)
        terminated = stepped & first._terminations(obs)
        truncated = stepped & (self._steps >= first.max_episode_steps)
        self._needs_reset = terminated | truncated
        return obs, rewards, terminated, truncated, {}

    def close(self) -> None:
        """Closes every environment; safe to call again."""
        for e in self.envs:
            e.close()


def make_vec(env_id: str, num_envs: int = 1) -> VectorEnv:
    """`num_envs` environments of one id stepped together (see VectorEnv)."""
    return VectorEnv(env_id, num_envs)


if _gym is not None:  # pragma: no cover - depends on what is installed
    for _id, _cls in ENVIRONMENTS.items():
        if f"kinemo/{_id}" not in _gym.registry:
            _gym.register(id=f"kinemo/{_id}", entry_point=_cls, max_episode_steps=_cls.max_episode_steps)
