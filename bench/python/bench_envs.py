"""Speed of the environments: env.step from Python, and the vector batch.

    PYTHONPATH=build/python /usr/bin/python3 bench/python/bench_envs.py

The pendulum is held up by a linear policy so that resets (rare in training)
do not weigh in. A policy computed with numpy costs more than the step itself
(``gains @ obs`` alone is about 1 µs), so the figures the speed targets name
are timed on the step alone: the policy's actions are worked out in a first
run, then replayed from the same seed, which gives the same states (the
simulation is deterministic) with nothing but ``env.step`` (and the resets
where episodes end) in the timed loop. The loops with their policy are timed
too, for what a user's script sees. Best of seven repeats.
"""

from __future__ import annotations

import os
import time
from typing import Any

import numpy as np

from kinemo import envs

REPEATS = 7
GAINS = np.array([2.0, 1.0, 0.5, 0.2]) / 2


def policy_run(env: envs.Env, steps: int, record: list[Any] | None = None) -> float:
    """Seconds a step with the policy computed in the loop; the actions and
    where episodes ended go to `record` if given."""
    obs, _ = env.reset(seed=0)
    action = np.zeros(1)
    start = time.perf_counter()
    for _ in range(steps):
        action[0] = min(1.0, max(-1.0, float(GAINS @ obs)))
        obs, _, terminated, truncated, _ = env.step(action)
        if record is not None:
            record.append((action.copy(), terminated or truncated))
        if terminated or truncated:
            obs, _ = env.reset()
    return (time.perf_counter() - start) / steps


def env_step(steps: int = 20_000) -> tuple[float, float]:
    """Seconds an env.step alone (replayed actions), and with its policy."""
    env = envs.make("MagnetPendulum-v0")
    actions: list[Any] = []
    policy_run(env, steps, actions)
    alone, with_policy = [], []
    for _ in range(REPEATS):
        with_policy.append(policy_run(env, steps))
        step = env.step
        env.reset(seed=0)
        start = time.perf_counter()
        for action, ended in actions:
            step(action)
            if ended:
                env.reset()
        alone.append((time.perf_counter() - start) / steps)
    return min(alone), min(with_policy)


def vector_step(num_envs: int = 256, steps: int = 400, threads: int = 1) -> tuple[float, float]:
    """Seconds an environment-step of the batch alone, and with its policy."""
    vec = envs.make_vec("MagnetPendulum-v0", num_envs, num_threads=threads)
    alone, with_policy = [], []
    for _ in range(REPEATS):
        obs, _ = vec.reset(seed=0)
        actions = []
        start = time.perf_counter()
        for _ in range(steps):
            action = np.clip(obs @ GAINS, -1, 1)[:, None]
            obs, *_ = vec.step(action)
            actions.append(action)
        with_policy.append(time.perf_counter() - start)
        vec.reset(seed=0)
        start = time.perf_counter()
        for action in actions:
            vec.step(action)
        alone.append(time.perf_counter() - start)
    return min(alone) / (steps * num_envs), min(with_policy) / (steps * num_envs)


def main() -> None:
    alone, with_policy = env_step()
    print(f"MagnetPendulum env.step:                 {alone * 1e6:6.3f} µs  (target <= 2)")
    print(f"  with its numpy policy in the loop:     {with_policy * 1e6:6.3f} µs")
    for threads in sorted({1, os.cpu_count() or 1}):
        alone, with_policy = vector_step(threads=threads)
        print(f"vector batch of 256 on {threads} thread(s), per env-step: {alone * 1e6:6.3f} µs  (target <= 0.5)")
        print(f"  with its numpy policy in the loop:     {with_policy * 1e6:6.3f} µs")


if __name__ == "__main__":
    main()
