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

from ._core import EnvBatch, EnvCore, Simulation

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
    inputs set from the action and its fields observed, the step in C++."""

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
    #: Whether the action is 0 or 1 (the full command towards -1 or +1).
    discrete = False

    def __init__(self, render_mode: str | None = None) -> None:
        if render_mode not in (None, "rgb_array"):
            raise ValueError(f"render_mode must be None or 'rgb_array', not {render_mode!r}")
        self.render_mode = render_mode
        self.sim = Simulation(list(self.devices), dt=self.dt)
        self._prepare(self.sim)
        self._core = EnvCore(
            self.sim,
            list(self.inputs),
            list(self.observed),
            self.ticks_per_step,
            self.max_episode_steps,
            discrete=self.discrete,
            **self._rules(),
        )
        self._np_random: np.random.Generator | None = None
        self._closed = False

    def __setattr__(self, name: str, value: Any) -> None:
        # Truncation is judged in C++: an instance's own limit goes there too.
        if name == "max_episode_steps" and "_core" in self.__dict__:
            self._core.max_steps = int(value)
        super().__setattr__(name, value)

    # --- What each environment says ---
    def _prepare(self, sim: Simulation) -> None:
        """Once, after the simulation is made: modes, controllers off."""

    def _start(self, sim: Simulation, rng: np.random.Generator) -> None:
        """The start state of an episode, drawn from `rng`."""

    def _rules(self) -> dict[str, Any]:
        """How the observed fields make the observation, the reward and the end
        (see EnvCore): here the first column is an angle kept within max_angle."""
        count = len(self.observed)
        low = [-math.inf] * count
        high = [math.inf] * count
        low[0], high[0] = -self.max_angle, self.max_angle
        return {"origin": [0.0] * count, "low": low, "high": high}

    def _action_values(self, action: Any) -> list[float]:
        """The action's values in the order of `inputs`: any array-like of that
        many finite numbers (ValueError otherwise)."""
        values = action.tolist() if isinstance(action, np.ndarray) else action
        if not isinstance(values, (list, tuple)):
            values = [values]
        if any(isinstance(v, (list, tuple)) for v in values):  # a column or a nested list
            values = np.asarray(action).reshape(-1).tolist()
        floats: list[float]
        try:
            floats = [float(v) for v in values]
        except (TypeError, ValueError):
            floats = []
        if len(floats) != len(self.inputs) or not all(map(math.isfinite, floats)):
            raise ValueError(f"{type(self).__name__}: action {action!r} is not in {self.action_space}")
        return floats

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
        self._core.steps = 0
        return self._core.observe(), {}

    def step(
        self, action: Any
    ) -> tuple[npt.NDArray[np.float32], float, bool, bool, dict[str, Any]]:
        """One step: the action held for `ticks_per_step` ticks."""
        # Arrays of floats (and ints 0 or 1 when discrete) go straight through;
        # anything else is converted and checked here first.
        outcome = self._core.step(action)
        if outcome is None:
            outcome = self._core.step_values(self._action_values(action))
        return outcome

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

    def _prepare(self, sim: Simulation) -> None:
        cart = sim.devices[1]
        cart.set_state("ControllerOn", 0)
        cart.set_state("ExternalCommand", 1)
        rail = sim.devices[0]
        self._x0 = float(cart["PosX0"])
        self._limits = (float(rail["XMin"]) - self._x0, float(rail["XMax"]) - self._x0)

    def _rules(self) -> dict[str, Any]:
        # The carriage measured from its start; within `margin` of an end of
        # its rail the episode ends, as it does with the pendulum beyond max_angle.
        low, high = self._limits
        return {
            "origin": [self._x0, 0.0, 0.0, 0.0],
            "low": [low + self.margin, -math.inf, -self.max_angle, -math.inf],
            "high": [high - self.margin, math.inf, self.max_angle, math.inf],
        }

    def _start(self, sim: Simulation, rng: np.random.Generator) -> None:
        cart = sim.devices[1]
        x, v, theta, omega = rng.uniform(-0.05, 0.05, 4)
        cart.set_state("PosX", self._x0 + x)
        cart.set_state("VitX", v)
        cart.set_state("PendTheta", theta)
        cart.set_state("PendOmega", omega)


class MagnetPendulumDiscrete(MagnetPendulum):
    """MagnetPendulum with two actions: full current towards −x (0) or +x (1)."""

    discrete = True

    def __init__(self, render_mode: str | None = None) -> None:
        super().__init__(render_mode)
        self.action_space = _discrete(2)

    def _action_values(self, action: Any) -> list[float]:
        if not self.action_space.contains(action):
            raise ValueError(f"MagnetPendulumDiscrete: action {action!r} is not 0 or 1")
        return [1.0 if int(action) else -1.0]


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

    @property
    def target(self) -> float:
        """The heading to reach [rad], drawn at reset."""
        return self._core.target

    @target.setter
    def target(self, value: float) -> None:
        self._core.target = float(value)

    def _rules(self) -> dict[str, Any]:
        # The heading becomes the error to the target, which the reward reads.
        return {**super()._rules(), "heading": 2, "reward": 2}

    def _prepare(self, sim: Simulation) -> None:
        sim.devices[0].set_state("ControllerOn", 0)

    def _start(self, sim: Simulation, rng: np.random.Generator) -> None:
        device = sim.devices[0]
        angle, rate = rng.uniform(-0.05, 0.05, 2)
        device.set_state("State[0]", angle)
        device.set_state("State[1]", rate)
        self.target = float(rng.uniform(-np.pi / 2, np.pi / 2))


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
    observation with reward 0 and neither flag set).

    ``num_threads`` threads (the caller's included) share each step's
    environments, e.g. ``os.cpu_count()``; every result is the same whatever
    their number."""

    def __init__(self, env_id: str, num_envs: int, num_threads: int = 1) -> None:
        if num_envs < 1:
            raise ValueError("num_envs must be 1 or more")
        if num_threads < 1:
            raise ValueError("num_threads must be 1 or more")
        self.num_envs = num_envs
        self.envs = [make(env_id) for _ in range(num_envs)]
        first = self.envs[0]
        self.single_observation_space = first.observation_space
        self.single_action_space = first.action_space
        self.metadata = first.metadata
        self._batch = EnvBatch([e._core for e in self.envs], [e.reset for e in self.envs], num_threads)

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
        self._batch.clear_ends()
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
        """One step of every environment (those that ended are reset instead):
        actions in rows of the action space (one 0 or 1 each when discrete);
        ValueError, and nothing done, otherwise."""
        return self._batch.step(actions)

    def close(self) -> None:
        """Closes every environment; safe to call again."""
        for e in self.envs:
            e.close()


def make_vec(env_id: str, num_envs: int = 1, num_threads: int = 1) -> VectorEnv:
    """`num_envs` environments of one id stepped together, on `num_threads`
    threads (see VectorEnv)."""
    return VectorEnv(env_id, num_envs, num_threads)


if _gym is not None:  # pragma: no cover - depends on what is installed
    for _id, _cls in ENVIRONMENTS.items():
        if f"kinemo/{_id}" not in _gym.registry:
            _gym.register(id=f"kinemo/{_id}", entry_point=_cls, max_episode_steps=_cls.max_episode_steps)
