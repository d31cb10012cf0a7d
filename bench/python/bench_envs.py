"""Speed of the environments: env.step from Python, and the vector batch.

    PYTHONPATH=build/python /usr/bin/python3 bench/python/bench_envs.py

The pendulum is held up by a linear policy so that resets (rare in training)
do not weigh in; best of five repeats.
"""

from __future__ import annotations

import time

import numpy as np

from kinemo import envs

REPEATS = 5
GAINS = np.array([2.0, 1.0, 0.5, 0.2]) / 2


def env_step(steps: int = 20_000) -> float:
    env = envs.make("MagnetPendulum-v0")
    times = []
    for _ in range(REPEATS):
        obs, _ = env.reset(seed=0)
        action = np.zeros(1)
        start = time.perf_counter()
        for _ in range(steps):
            action[0] = min(1.0, max(-1.0, float(GAINS @ obs)))
            obs, _, terminated, truncated, _ = env.step(action)
            if terminated or truncated:
                obs, _ = env.reset()
        times.append(time.perf_counter() - start)
    return min(times) / steps


def vector_step(num_envs: int = 256, steps: int = 400) -> float:
    vec = envs.make_vec("MagnetPendulum-v0", num_envs)
    times = []
    for _ in range(REPEATS):
        obs, _ = vec.reset(seed=0)
        start = time.perf_counter()
        for _ in range(steps):
            obs, *_ = vec.step(np.clip(obs @ GAINS, -1, 1)[:, None])
        times.append(time.perf_counter() - start)
    return min(times) / (steps * num_envs)


def main() -> None:
    print(f"MagnetPendulum env.step with its policy: {env_step() * 1e6:6.3f} µs  (target <= 2)")
    print(f"vector batch of 256, per env-step:       {vector_step() * 1e6:6.3f} µs  (target <= 0.5)")


if __name__ == "__main__":
    main()
