"""An LQR controller for the magnet pendulum, its model identified from the
simulation itself.

The carriage and its pendulum are put in states near upright, one coordinate
nudged at a time, and stepped once with and without a nudge of current: the
differences give the linear model x[k+1] = A x[k] + B u[k] of one environment
step. The discrete Riccati equation then gives the gain K of u = -K x.

    PYTHONPATH=build/python /usr/bin/python3 examples/lqr_magnet_pendulum.py [--episodes N]
"""

from __future__ import annotations

import argparse

import numpy as np
import numpy.typing as npt
import scipy.linalg

import kinemo
from kinemo import envs

STATE = ("PosX", "VitX", "PendTheta", "PendOmega")


def identify(env: envs.MagnetPendulum, eps: float = 1e-6) -> tuple[npt.NDArray[np.float64], npt.NDArray[np.float64]]:
    """A and B of one step, by central differences around upright and at rest."""
    sim = kinemo.Simulation(list(env.devices), dt=env.dt)
    cart = sim.devices[1]
    cart.set_state("ControllerOn", 0)
    cart.set_state("ExternalCommand", 1)
    batch = kinemo.Batch([sim], ["1.CurrentCmd"], [f"1.{f}" for f in STATE], env.ticks_per_step)
    start = sim.to_json()

    def step(x: npt.NDArray[np.float64], u: float) -> npt.NDArray[np.float64]:
        nonlocal sim, batch
        sim = kinemo.Simulation.from_json(start)
        for field, value, origin in zip(STATE, x, (cart["PosX0"], 0, 0, 0)):
            sim.devices[1].set_state(field, origin + value)
        batch = kinemo.Batch([sim], ["1.CurrentCmd"], [f"1.{f}" for f in STATE], env.ticks_per_step)
        out = batch.step(np.array([u]))[0]
        out[0] -= cart["PosX0"]
        return out

    a = np.zeros((4, 4))
    for i in range(4):
        dx = np.zeros(4)
        dx[i] = eps
        a[:, i] = (step(dx, 0.0) - step(-dx, 0.0)) / (2 * eps)
    b = ((step(np.zeros(4), eps) - step(np.zeros(4), -eps)) / (2 * eps)).reshape(4, 1)
    return a, b


def lqr(a: npt.NDArray[np.float64], b: npt.NDArray[np.float64]) -> npt.NDArray[np.float64]:
    """The gain of the discrete LQR: keep the angle near 0 and the carriage near its start."""
    q = np.diag([10.0, 1.0, 100.0, 1.0])
    r = np.array([[1.0]])
    p = scipy.linalg.solve_discrete_are(a, b, q, r)
    k: npt.NDArray[np.float64] = np.linalg.solve(r + b.T @ p @ b, b.T @ p @ a)
    return k


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--episodes", type=int, default=20)
    args = parser.parse_args()
    env = envs.MagnetPendulum()
    a, b = identify(env)
    k = lqr(a, b)
    scale = env.sim.devices[1].inputs.bound("CurrentCmd")
    print("A =", np.array2string(a, precision=4), "\nB =", b.ravel(), "\nK =", k.ravel())
    returns, drift = [], []
    for episode in range(args.episodes):
        obs, _ = env.reset(seed=episode)
        total, done = 0.0, False
        while not done:
            u = float(-(k @ obs.astype(np.float64))[0]) / scale
            obs, reward, terminated, truncated, _ = env.step(np.array([u]))
            total += reward
            done = terminated or truncated
        returns.append(total)
        drift.append(abs(float(obs[0])))
    print(f"mean return {np.mean(returns):.1f} over {args.episodes} episodes "
          f"(solved at {env.reward_threshold}); carriage at most {max(drift) * 100:.1f} cm "
          "from its start at the end")
    if np.mean(returns) < env.reward_threshold or max(drift) > 0.1:
        raise SystemExit("the controller did not balance the pendulum near the centre")


if __name__ == "__main__":
    main()
