"""The worked examples run green with a small budget, each reaching its result."""

from __future__ import annotations

import os
import pathlib
import subprocess
import sys

import pytest

from conftest import BUILD, ROOT

EXAMPLES = ROOT / "examples"


def run(script: str, *args: str, cwd: pathlib.Path) -> str:
    env = dict(os.environ, PYTHONPATH=str(BUILD / "python"), MPLBACKEND="Agg")
    done = subprocess.run([sys.executable, str(EXAMPLES / script), *args], cwd=cwd, env=env,
                          capture_output=True, text=True, timeout=300)
    assert done.returncode == 0, done.stdout + done.stderr
    return done.stdout


def test_the_lqr_balances_the_pendulum_near_the_centre(tmp_path: pathlib.Path) -> None:
    assert "mean return 500.0" in run("lqr_magnet_pendulum.py", "--episodes", "3", cwd=tmp_path)


def test_the_policy_search_reaches_the_threshold(tmp_path: pathlib.Path) -> None:
    assert "solved with weights" in run("policy_search.py", "--iterations", "20",
                                        "--evaluation", "5", cwd=tmp_path)


def test_the_pid_sweep_draws_its_maps(tmp_path: pathlib.Path) -> None:
    out = run("pid_sweep_monocycle.py", "--points", "3", "--workers", "1", "--png", "maps.png",
              cwd=tmp_path)
    assert "9 runs" in out
    assert (tmp_path / "maps.png").read_bytes()[:4] == b"\x89PNG"


def test_the_step_response_notebook_runs(monkeypatch: pytest.MonkeyPatch) -> None:
    nbformat = pytest.importorskip("nbformat")
    nbclient = pytest.importorskip("nbclient")
    notebook = nbformat.read(EXAMPLES / "step_response.ipynb", as_version=4)
    monkeypatch.setenv("PYTHONPATH", str(BUILD / "python"))
    monkeypatch.setenv("MPLBACKEND", "Agg")
    nbclient.NotebookClient(notebook, timeout=120, kernel_name="python3").execute()
    printed = "".join(o.get("text", "") for c in notebook.cells for o in c.get("outputs", []))
    final = float(printed.split("final angle ")[1].split("°")[0])
    assert abs(final - 5) < 0.5
