"""Sweeps: the same table here, in a pool and on Dask clusters, whatever dies or stops."""

from __future__ import annotations

import functools
import importlib
import math
import os
import pathlib
import signal
import subprocess
import sys
import threading
import time
from typing import Any, Iterator

import numpy as np
import numpy.typing as npt
import pandas as pd  # type: ignore[import]
import pytest

import kinemo

MONOCYCLE = ["TMonocycle"]
RUNS = kinemo.grid({"0.Kp": [2, 5, 20], "0.Ki": [0.0, 0.3], "0.Av": [0.1, 0.2]})
TICKS = 150
# The Python of the sanitizer builds runs under their runtimes: a cluster's
# processes there only test the sanitizers' patience.
SANITIZED = "asan" in os.environ.get("LD_PRELOAD", "")


Traces = dict[str, npt.NDArray[np.float64]]


def response(traces: Traces, marker: str | None = None) -> dict[str, Any]:
    """Step-response figures, and values whose text is easy to get wrong."""
    if marker is not None:
        try:
            os.close(os.open(marker, os.O_CREAT | os.O_EXCL))
        except FileExistsError:
            pass
        else:
            os.kill(os.getpid(), signal.SIGKILL)  # the first to get here dies with its batch
    theta, kp = traces["0.State[0]"], traces["0.Kp"][-1]
    if kp == 20 and traces["0.Av"][-1] == 0.2:
        raise ArithmeticError("no figure for this one")
    return {
        "peak": theta.max(),
        "fallen": bool(abs(theta[-1]) > 1.0),
        "third": theta[-1] / 3,
        "tiny": theta[-1] * 1e-300,
        "nan": math.nan if kp == 2 else -math.inf,
        "count": int(np.argmax(theta)),
        "label": "low" if kp < 10 else "high",
    }


RECORD = ["0.State[0]", "0.Kp", "0.Av"]


def local(measure: Any = response, **options: Any) -> pd.DataFrame:
    return kinemo.sweep(
        kinemo.Simulation(MONOCYCLE), RUNS, TICKS, measure, record=RECORD, progress=False, **options
    )


@pytest.fixture(scope="module")
def expected() -> pd.DataFrame:
    """The table, run by run in a plain loop."""
    rows: list[dict[str, Any]] = []
    for run in RUNS:
        sim = kinemo.Simulation(MONOCYCLE)
        device = sim.devices[0]
        device["Kp"], device["Ki"] = run["0.Kp"], run["0.Ki"]
        device.inputs["Av"] = run["0.Av"]
        traces = sim.run(TICKS, record=RECORD)
        try:
            rows.append({**run, **response(traces), "error": None})
        except ArithmeticError as e:
            rows.append({**run, "error": f"ArithmeticError: {e}"})
    table = pd.DataFrame(rows)
    assert table["error"].notna().sum() == 2 and table["peak"].nunique() > 6
    return table


def test_in_process_and_in_a_pool_the_table_of_a_plain_loop(
    tmp_path: pathlib.Path, expected: pd.DataFrame
) -> None:
    pd.testing.assert_frame_equal(local(workers=1), expected, check_exact=True)
    # Batches of one on two processes, one of which dies: rows come back out
    # of order, and the lost ones from another pool.
    killer = functools.partial(response, marker=str(tmp_path / "killed"))
    pd.testing.assert_frame_equal(
        local(workers=2, batch=1, measure=killer), expected, check_exact=True
    )
    # With another thread here, the processes come from a server of one thread.
    release = threading.Event()
    waiting = threading.Thread(target=release.wait)
    waiting.start()
    try:
        pd.testing.assert_frame_equal(local(workers=2), expected, check_exact=True)
    finally:
        release.set()
        waiting.join()
    finals = kinemo.sweep(
        kinemo.Simulation(MONOCYCLE), RUNS[:3], TICKS, ["0.State[0]", "0.Ce"], workers=1,
        progress=False,
    )
    assert list(finals.columns) == ["0.Kp", "0.Ki", "0.Av", "0.State[0]", "0.Ce", "error"]
    assert (finals["0.State[0]"] / 3).tolist() == expected["third"][:3].tolist()


def test_refusals_come_before_any_run(tmp_path: pathlib.Path) -> None:
    sim = kinemo.Simulation(MONOCYCLE)
    for runs, message in [
        ([{"Kp": 1}], "device-qualified"),
        ([{"1.Kp": 1}], "no device 1"),
        ([{"0.Kq": 1}], "no parameter or input 'Kq'"),
    ]:
        with pytest.raises(ValueError, match=message):
            kinemo.sweep(sim, runs, 10, ["0.Ce"], workers=1, progress=False)
    # A value out of range is that run's fault alone.
    table = kinemo.sweep(sim, [{"0.Kp": 500}, {"0.Kp": 5}], 10, ["0.Ce"], workers=1, progress=False)
    assert "Kp" in table["error"][0] and table["error"][1] is None


def test_an_interrupted_sweep_resumes_with_the_rows_it_lacks(
    tmp_path: pathlib.Path, expected: pd.DataFrame
) -> None:
    cache = tmp_path / "sweep.csv"
    calls: list[None] = []

    def interrupted(traces: Traces) -> dict[str, Any]:
        calls.append(None)
        if len(calls) == 5:
            raise KeyboardInterrupt
        return response(traces)

    with pytest.raises(KeyboardInterrupt):
        local(workers=1, cache=cache, measure=interrupted)
    assert len(pd.read_csv(cache)) == 4

    def counted(traces: Traces) -> dict[str, Any]:
        calls.append(None)
        return response(traces)

    calls.clear()
    table = kinemo.sweep(
        kinemo.Simulation(MONOCYCLE), RUNS, TICKS, counted, workers=1, record=RECORD,
        progress=False, cache=str(cache),
    )
    assert len(calls) == len(RUNS) - 4
    pd.testing.assert_frame_equal(table, expected, check_exact=True)
    # All there: nothing runs, the same table from the file alone.
    calls.clear()
    again = kinemo.sweep(
        kinemo.Simulation(MONOCYCLE), RUNS, TICKS, counted, workers=1, record=RECORD,
        progress=False, cache=str(cache),
    )
    assert not calls
    pd.testing.assert_frame_equal(again, expected, check_exact=True)
    # Another sweep's file is refused and kept.
    text = cache.read_text()
    with pytest.raises(ValueError, match="not those of this sweep"):
        kinemo.sweep(kinemo.Simulation(MONOCYCLE), [{"0.Kd": 1}], TICKS, ["0.Ce"], cache=cache)
    assert cache.read_text() == text


def dask() -> Any:
    """Dask's distributed, loaded only by the tests that use it (its types are partial)."""
    return importlib.import_module("distributed")


@pytest.fixture
def cluster(tmp_path: pathlib.Path) -> Iterator[tuple[str, list[subprocess.Popen[bytes]]]]:
    """A scheduler and two workers on the loopback, as one starts them by hand."""
    scheduler_file = tmp_path / "scheduler.json"
    env = {**os.environ, "PYTHONPATH": os.pathsep.join(sys.path)}
    common = ["--no-dashboard"]
    scheduler = subprocess.Popen(
        [sys.executable, "-m", "distributed.cli.dask_scheduler", "--host", "127.0.0.1",
         "--port", "0", "--scheduler-file", str(scheduler_file), *common],
        env=env, stderr=subprocess.DEVNULL,
    )
    processes = [scheduler]
    try:
        while not scheduler_file.exists():
            time.sleep(0.05)
        workers = [
            subprocess.Popen(
                [sys.executable, "-m", "distributed.cli.dask_worker", "--scheduler-file",
                 str(scheduler_file), "--nthreads", "1", "--no-nanny", "--host", "127.0.0.1",
                 *common],
                env=env, stderr=subprocess.DEVNULL,
            )
            for _ in range(2)
        ]
        processes += workers
        yield str(scheduler_file), workers
    finally:
        for p in reversed(processes):
            p.kill()
            p.wait()


@pytest.mark.skipif(SANITIZED, reason="the sanitizers check the C++, not Dask")
def test_on_dask_the_same_table_bit_for_bit(expected: pd.DataFrame) -> None:
    distributed = dask()
    with distributed.LocalCluster(
        n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None
    ) as local_cluster, distributed.Client(local_cluster) as client:
        pd.testing.assert_frame_equal(local(client=client, batch=2), expected, check_exact=True)


@pytest.mark.skipif(SANITIZED, reason="the sanitizers check the C++, not Dask")
def test_a_worker_killed_mid_sweep_loses_no_row(
    tmp_path: pathlib.Path,
    expected: pd.DataFrame,
    cluster: tuple[str, list[subprocess.Popen[bytes]]],
) -> None:
    distributed = dask()
    scheduler_file, workers = cluster
    with distributed.Client(scheduler_file=scheduler_file) as client:
        client.wait_for_workers(2, timeout=30)
        killer = functools.partial(response, marker=str(tmp_path / "killed"))
        table = local(client=client, batch=3, measure=killer)
    assert sum(w.poll() is not None for w in workers) == 1  # one died, the other ran its rows
    pd.testing.assert_frame_equal(table, expected, check_exact=True)
