"""Random search of a linear policy for MagnetPendulum until it is solved.

Basic random search: perturb the policy's weights in random directions, keep
the step that the returns of the perturbed policies point to, until the mean
return over the evaluation episodes reaches the environment's threshold.

    PYTHONPATH=build/python /usr/bin/python3 examples/policy_search.py [--iterations N]
"""

from __future__ import annotations

import argparse

import numpy as np
import numpy.typing as npt

from kinemo import envs


def episode_return(env: envs.Env, weights: npt.NDArray[np.float64], seed: int) -> float:
    obs, _ = env.reset(seed=seed)
    total, done = 0.0, False
    while not done:
        action = np.clip([float(weights @ obs)], -1.0, 1.0)
        obs, reward, terminated, truncated, _ = env.step(action)
        total += reward
        done = terminated or truncated
    return total


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--iterations", type=int, default=100)
    parser.add_argument("--evaluation", type=int, default=20, help="episodes to judge a policy")
    args = parser.parse_args()
    env = envs.make("MagnetPendulum-v0")
    rng = np.random.default_rng(0)
    weights = np.zeros(4)
    directions, step, noise = 8, 0.5, 0.5
    for iteration in range(args.iterations):
        seeds = rng.integers(1 << 31, size=2)
        deltas = rng.standard_normal((directions, 4))
        plus = np.array([np.mean([episode_return(env, weights + noise * d, int(s)) for s in seeds])
                         for d in deltas])
        minus = np.array([np.mean([episode_return(env, weights - noise * d, int(s)) for s in seeds])
                          for d in deltas])
        spread = np.concatenate([plus, minus]).std() or 1.0
        weights += step / (directions * spread) * ((plus - minus) @ deltas)
        score = np.mean([episode_return(env, weights, 10_000 + i) for i in range(args.evaluation)])
        print(f"iteration {iteration}: mean return {score:.1f}")
        if score >= env.reward_threshold:
            print(f"solved with weights {np.round(weights, 3)}")
            return
    raise SystemExit(f"not solved in {args.iterations} iterations")


if __name__ == "__main__":
    main()
