"""The environments against Gymnasium's rules for an environment, checked
without Gymnasium (Debian has none), and the vector batch."""

from __future__ import annotations

import os
import pickle
import signal
import subprocess
import sys
from typing import Any

import numpy as np
import pytest

import kinemo
from kinemo import envs

IDS = list(envs.ENVIRONMENTS)


def rollout(env: envs.Env, seed: int, steps: int = 40) -> list[Any]:
    obs, _ = env.reset(seed=seed)
    env.action_space.seed(seed)
    trace: list[Any] = [obs]
    for _ in range(steps):
        obs, reward, terminated, truncated, _ = env.step(env.action_space.sample())
        trace += [obs, reward, terminated, truncated]
        if terminated or truncated:
            obs, _ = env.reset()
            trace.append(obs)
    return trace


def same(a: list[Any], b: list[Any]) -> bool:
    return len(a) == len(b) and all(np.array_equal(x, y) for x, y in zip(a, b))


@pytest.mark.parametrize("env_id", IDS)
def test_the_environment_checkers_rules(env_id: str) -> None:
    env = envs.make(env_id, render_mode="rgb_array")
    # Seeding: same seed, same observations and generator; another, another.
    assert same(rollout(env, 7), rollout(env, 7))
    env.reset(seed=7)
    first = env.np_random.bit_generator.state
    env.reset(seed=7)
    assert env.np_random.bit_generator.state == first
    env.reset(seed=8)
    assert env.np_random.bit_generator.state != first
    assert not same(rollout(env, 7), rollout(env, 8))
    # Observations: fresh float32 arrays inside the space; finite rewards.
    obs, info = env.reset(seed=1)
    assert isinstance(info, dict)
    assert obs.dtype == np.float32 and env.observation_space.contains(obs)
    for _ in range(20):
        nxt, reward, terminated, truncated, info = env.step(env.action_space.sample())
        assert nxt is not obs and nxt.dtype == np.float32
        assert env.observation_space.contains(nxt) and np.isfinite(reward)
        assert isinstance(terminated, bool) and isinstance(truncated, bool)
        obs = nxt
    frame = env.render()
    assert frame is not None and frame.shape == (480, 640, 3) and frame.dtype == np.uint8
    assert env.metadata["render_fps"] == round(1 / (env.dt * env.ticks_per_step))
    env.close()
    env.close()


def test_bad_actions_and_modes_are_refused() -> None:
    env = envs.make("MagnetPendulum")
    env.reset(seed=0)
    for bad in (np.array([np.nan]), np.zeros(2), "left"):
        with pytest.raises(ValueError):
            env.step(bad)
    with pytest.raises(ValueError):
        envs.make("MagnetPendulumDiscrete-v0").step(2)
    with pytest.raises(ValueError):
        envs.make("NoSuchEnv-v0")
    with pytest.raises(ValueError):
        envs.MagnetPendulum(render_mode="human")
    # An instance's own episode length is the one its steps are judged by.
    env.max_episode_steps = 2
    env.reset(seed=0)
    assert [env.step(np.zeros(1))[3] for _ in range(2)] == [False, True]
    with pytest.raises(ValueError):
        env.max_episode_steps = 0


def test_seeded_episodes_are_the_same_in_another_process() -> None:
    code = (
        "from kinemo import envs; e = envs.make('Bicycle-v0'); o, _ = e.reset(seed=3);"
        "print(repr(e.step(e.action_space.sample() * 0 + 0.5)[0].tolist()))"
    )
    runs = {subprocess.run([sys.executable, "-c", code], capture_output=True, text=True,
                           check=True, env=None).stdout for _ in range(2)}
    env = envs.make("Bicycle-v0")
    env.reset(seed=3)
    here = repr(env.step(np.full(2, 0.5, dtype=np.float32))[0].tolist()) + "\n"
    assert runs == {here}


def test_a_linear_policy_solves_the_magnet_pendulum() -> None:
    env = envs.make("MagnetPendulum-v0")
    gains = np.array([2.0, 1.0, 0.5, 0.2]) / 2
    returns = []
    for seed in range(5):
        obs, _ = env.reset(seed=seed)
        total, done = 0.0, False
        while not done:
            obs, reward, terminated, truncated, _ = env.step(np.clip([gains @ obs], -1, 1))
            total += reward
            done = terminated or truncated
        returns.append(total)
    assert np.mean(returns) >= env.reward_threshold


@pytest.mark.parametrize(
    "env_id, threads", [("MagnetPendulum-v0", 3), ("Bicycle-v0", 1), ("MagnetPendulumDiscrete-v0", 3)]
)
def test_the_vector_batch_is_its_environments_one_by_one(env_id: str, threads: int) -> None:
    n, steps = 5, 60
    vec = envs.make_vec(env_id, n, num_threads=threads)
    assert vec._batch.threads == threads
    alone = [envs.make(env_id) for _ in range(n)]
    obs, _ = vec.reset(seed=10)
    assert obs.shape == (n,) + vec.single_observation_space.shape and obs.dtype == np.float32
    for i, env in enumerate(alone):
        assert np.array_equal(env.reset(seed=10 + i)[0], obs[i])
    rng = np.random.default_rng(0)
    pending = np.zeros(n, dtype=bool)
    resets = 0
    for _ in range(steps):
        if env_id.endswith("Discrete-v0"):
            actions: Any = rng.integers(0, 2, n)
        else:
            actions = rng.uniform(-1, 1, (n,) + vec.single_action_space.shape)
        obs, rewards, terminated, truncated, _ = vec.step(actions)
        for i, env in enumerate(alone):
            if pending[i]:  # autoreset on the step after the end
                expected = env.reset()[0]
                assert rewards[i] == 0 and not terminated[i] and not truncated[i]
            else:
                expected, reward, term, trunc, _ = env.step(actions[i])
                assert (rewards[i], terminated[i], truncated[i]) == (reward, term, trunc)
            assert np.array_equal(obs[i], expected)
        pending = terminated | truncated
        resets += int(pending.sum())
    assert resets > 0 or env_id.startswith("Bicycle")
    # A process forked from this one has none of its threads: the batch makes
    # its own there rather than wait for them.
    pid = os.fork()
    if pid == 0:  # pragma: no cover - the child
        signal.alarm(30)
        os._exit(0 if vec.step(actions)[0].shape == obs.shape else 1)
    assert os.waitpid(pid, 0)[1] == 0
    vec.close()
    vec.close()
    with pytest.raises(ValueError):
        vec.step(np.zeros((n + 1, 2)))


def test_refused_steps_change_nothing() -> None:
    # A refused action after an episode's end neither resets nor steps: the
    # batch goes on as its twin that was never handed it.
    vec, twin = envs.make_vec("MagnetPendulum", 2), envs.make_vec("MagnetPendulum", 2)
    for v in (vec, twin):
        v.reset(seed=5)
        while not v.step(np.ones((2, 1)))[2].any():
            pass
    bad: list[Any] = [np.full((2, 1), np.nan), np.zeros(3), "left"]
    for actions in bad:
        with pytest.raises(ValueError):
            vec.step(actions)
    for _ in range(3):
        assert same(list(vec.step(np.zeros((2, 1)))[:4]), list(twin.step(np.zeros((2, 1)))[:4]))
    # Devices made anew under an environment or a batch: refused, not read.
    env = envs.make("Monocycle")
    batch = kinemo.Batch([env.sim], ["0.Ce"], ["0.State[0]"])
    env.sim.open_json(kinemo.Simulation(["TMonocycle"]).to_json())
    with pytest.raises(RuntimeError):
        env.step(np.zeros(1))
    with pytest.raises(RuntimeError):
        batch.step(np.zeros((1, 1)))


def test_spaces_sample_what_they_contain() -> None:
    box = envs.Box(-1.0, 1.0, (3,), seed=4)
    assert all(box.contains(box.sample()) for _ in range(50))
    assert not box.contains(np.ones(3) * 2) and not box.contains(np.zeros(2))
    box.seed(4)
    first = box.sample()
    box.seed(4)
    assert np.array_equal(first, box.sample())
    disc = envs.Discrete(3, seed=1)
    assert {int(disc.sample()) for _ in range(60)} == {0, 1, 2}
    assert not disc.contains(3) and not disc.contains(True) and not disc.contains(1.0)
    assert pickle.loads(pickle.dumps(box)).shape == (3,)
