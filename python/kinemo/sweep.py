"""Many independent runs of one scene: on every core, or on a Dask cluster.

A run starts from the base scene, sets its parameters and inputs, runs its
ticks and measures. A scene reopens bit for bit, so a run gives the same
numbers in this process, in a pool of processes or on a cluster's worker::

    import kinemo

    table = kinemo.sweep(
        kinemo.Simulation(["TMonocycle"]),
        kinemo.grid({"0.Kp": [4, 8, 12], "0.Ki": [0.0, 0.5]}),
        ticks=1000,
        measure=["0.State[0]"],
    )
"""

from __future__ import annotations

import concurrent.futures
import contextlib
import csv
import importlib.util
import itertools
import math
import multiprocessing
import os
import pickle
import re
import sys
import tempfile
import threading
import time
import warnings
from dataclasses import dataclass
from typing import TYPE_CHECKING, Any, Callable, Iterable, Iterator, Mapping, Sequence, Union

import numpy as np
import numpy.typing as npt

from ._core import Simulation, load

if TYPE_CHECKING:
    import pandas  # type: ignore[import]

Traces = dict[str, npt.NDArray[np.float64]]
#: What a run measures: quantities' final values by name ("3.Theta"), or a
#: function of the recorded traces returning {column: value}.
Measure = Union[Sequence[str], Callable[[Traces], Mapping[str, Any]]]
Value = Union[bool, int, float, str, None]

#: The column that holds why a run has no measures.
ERROR = "error"

# A batch should take about this long: long enough that a task's own cost
# (a few hundred microseconds in a local pool, a few milliseconds on Dask)
# stays small, short enough that the progress and the cache move often.
_BATCH_SECONDS = {"local": 0.1, "dask": 0.5}
# Batches per worker at the least, so that the last ones do not leave workers idle.
_BATCHES_PER_WORKER = 4
# The cache is rewritten whole, so not at every row.
_CACHE_SECONDS = 1.0
# Attempts of a batch whose local worker process died before it gives up.
_ATTEMPTS = 3


def grid(axes: Mapping[str, Iterable[float]]) -> list[dict[str, float]]:
    """Every combination of the axes' values, the last axis varying fastest.

    ``grid({"3.Kp": [4, 8], "3.Ki": [0, 0.5]})`` is the four runs
    ``{"3.Kp": 4, "3.Ki": 0}``, ``{"3.Kp": 4, "3.Ki": 0.5}``, ``{"3.Kp": 8, ...}``...
    """
    names = list(axes)
    values = [list(axes[name]) for name in names]
    return [dict(zip(names, combination)) for combination in itertools.product(*values)]


@dataclass(frozen=True)
class _Job:
    """What every run of a sweep shares; sent with each batch."""

    scene: str
    ticks: int
    names: tuple[str, ...] | None  # final values, when measure is a list of names
    function: bytes | None  # the measure function, pickled
    record: tuple[str, ...]
    every: int


def _scalar(value: Any) -> Any:
    return value.item() if isinstance(value, np.generic) else value


def _split(name: str) -> tuple[int, str]:
    index, dot, field = name.partition(".")
    if not dot or not index.isdigit() or not field:
        raise ValueError(f"{name!r}: a run sets device-qualified names such as '3.Kp'")
    return int(index), field


def _set(sim: Simulation, name: str, value: float) -> None:
    index, field = _split(name)
    device = sim.devices[index]
    if field in device.inputs:
        device.inputs[field] = value
    else:
        device[field] = value


def _checked_names(sim: Simulation, names: Iterable[str]) -> None:
    """ValueError naming the first name the set has no parameter or input for."""
    devices = sim.devices
    for name in names:
        index, field = _split(name)
        if index >= len(devices):
            raise ValueError(f"{name!r}: no device {index} (devices 0 to {len(devices) - 1})")
        device = devices[index]
        if field not in device.inputs and field not in {p.field for p in device.parameters}:
            raise ValueError(
                f"{name!r}: {device.class_name} has no parameter or input {field!r} "
                f"(parameters: {', '.join(p.field for p in device.parameters)}; "
                f"inputs: {', '.join(device.inputs.keys())})"
            )


def _measured(values: Mapping[str, Any]) -> dict[str, Value]:
    out: dict[str, Value] = {}
    for key, value in values.items():
        value = _scalar(value)
        if not isinstance(key, str) or key == ERROR:
            raise TypeError(f"measure returned the key {key!r}: text other than {ERROR!r}")
        if value is not None and not isinstance(value, (bool, int, float, str)):
            raise TypeError(
                f"measure returned {type(value).__name__} for {key!r}: "
                "numbers, booleans or text only"
            )
        if value is not None:
            out[key] = value
    return out


def _run_one(
    job: _Job, params: Mapping[str, float], function: Any
) -> tuple[dict[str, Value], str | None]:
    try:
        sim = Simulation.from_json(job.scene)
        for name, value in params.items():
            _set(sim, name, value)
        if job.names is not None:
            sim.step(job.ticks)
            values = {}
            for name in job.names:
                index, field = _split(name)
                values[name] = sim.devices[index][field]
            return _measured(values), None
        result = function(sim.run(job.ticks, record=list(job.record), every=job.every))
        if not isinstance(result, Mapping):
            raise TypeError(f"measure returned {type(result).__name__}, not a dict")
        return _measured(result), None
    except Exception as e:  # the run's own fault: its row says which
        return {}, f"{type(e).__name__}: {e}"


def _run_batch(
    job: _Job, batch: Sequence[tuple[int, Mapping[str, float]]]
) -> list[tuple[int, dict[str, Value], str | None]]:
    """The runs of one task, where it runs: (index, measures, error) each."""
    function = pickle.loads(job.function) if job.function is not None else None
    return [(i, *_run_one(job, params, function)) for i, params in batch]


# The cache: a CSV file, each cell a value written so that it reads back the
# same (repr of a float is its shortest exact form), empty for none.
_INT = re.compile(r"-?[0-9]+")


def _encode(value: Value) -> str:
    if value is None:
        return ""
    if isinstance(value, float):
        return repr(value)
    return str(value)


def _decode(text: str) -> Value:
    if text == "":
        return None
    if text in ("True", "False"):
        return text == "True"
    if _INT.fullmatch(text):
        return int(text)
    try:
        return float(text)
    except ValueError:
        return text


class _Cache:
    """Finished rows on disk, rewritten whole through a temporary file."""

    def __init__(self, path: str, params: list[str]) -> None:
        self.path = path
        self.params = params
        self.written = time.monotonic()

    def key(self, run: Mapping[str, float]) -> tuple[str, ...]:
        return tuple(_encode(run.get(p)) for p in self.params)

    def read(self) -> dict[tuple[str, ...], tuple[dict[str, Value], str | None]]:
        """The rows of an earlier sweep by their parameters' text."""
        if not os.path.exists(self.path):
            return {}
        with open(self.path, newline="", encoding="utf-8") as f:
            reader = csv.reader(f)
            header = next(reader, None)
            if header is None:
                return {}
            if header[: len(self.params)] != self.params or header[-1:] != [ERROR]:
                raise ValueError(
                    f"{self.path}: its columns {header} are not those of this sweep "
                    f"(parameters {self.params}, then measures, then {ERROR!r}); "
                    "remove it or name another file"
                )
            measures = header[len(self.params) : -1]
            rows: dict[tuple[str, ...], tuple[dict[str, Value], str | None]] = {}
            for cells in reader:
                if len(cells) != len(header):
                    continue  # not a row this module wrote: run it again
                values = {m: _decode(c) for m, c in zip(measures, cells[len(self.params) : -1])}
                rows[tuple(cells[: len(self.params)])] = (
                    {m: v for m, v in values.items() if v is not None},
                    cells[-1] or None,
                )
            return rows

    def write(
        self,
        runs: Sequence[Mapping[str, float]],
        rows: Mapping[int, tuple[dict[str, Value], str | None]],
        force: bool = False,
    ) -> None:
        now = time.monotonic()
        if not force and now - self.written < _CACHE_SECONDS:
            return
        order = sorted(rows)
        measures = _columns(rows[i][0] for i in order)
        folder = os.path.dirname(os.path.abspath(self.path))
        fd, temporary = tempfile.mkstemp(prefix=".sweep-", suffix=".csv", dir=folder)
        try:
            with os.fdopen(fd, "w", newline="", encoding="utf-8") as f:
                writer = csv.writer(f)
                writer.writerow([*self.params, *measures, ERROR])
                for i in order:
                    values, error = rows[i]
                    writer.writerow(
                        [self.key(runs[i])[k] for k in range(len(self.params))]
                        + [_encode(values.get(m)) for m in measures]
                        + [error or ""]
                    )
            os.replace(temporary, self.path)
        except BaseException:
            os.unlink(temporary)
            raise
        self.written = now


def _columns(rows: Iterable[Mapping[str, Any]]) -> list[str]:
    seen: dict[str, None] = {}
    for row in rows:
        seen.update(dict.fromkeys(row))
    return list(seen)


def _batches(todo: list[int], size: int) -> Iterator[list[int]]:
    for start in range(0, len(todo), size):
        yield todo[start : start + size]


def _batch_size(seconds_per_run: float, runs: int, workers: int, where: str) -> int:
    by_time = math.ceil(_BATCH_SECONDS[where] / max(seconds_per_run, 1e-6))
    by_balance = math.ceil(runs / (workers * _BATCHES_PER_WORKER))
    return max(1, min(by_time, by_balance))


def sweep(
    base: Simulation | str | os.PathLike[str],
    runs: Iterable[Mapping[str, float]],
    ticks: int,
    measure: Measure,
    client: Any = None,
    workers: int | None = None,
    progress: bool = True,
    cache: str | os.PathLike[str] | None = None,
    *,
    record: Sequence[str] | None = None,
    every: int = 1,
    batch: int | None = None,
) -> pandas.DataFrame:
    """Runs `ticks` ticks of `base` once per run and returns one row per run.

    base: a Simulation (its state now) or a scene file. runs: dicts of
    device-qualified parameters and inputs ({"3.Kp": 8, "8.CurrentCmd": 1.5}),
    e.g. from `grid`. measure: quantity names whose final values are the
    measures (["3.Theta"]), or a function of the run's traces
    (`Simulation.run(ticks, record, every)`, by default every quantity of every
    device) returning a dict of numbers, booleans or text.

    Without `client`, the runs go to `workers` processes (all cores by default;
    1 runs them here). With a `distributed.Client`,
    they go to its cluster in batches; the numbers are the same bit for bit.
    A cluster of several machines: ``dask scheduler`` on one, ``dask worker
    tcp://<its host>:8786`` on each (with kinemo installed), then
    ``distributed.Client("tcp://<its host>:8786")`` here.

    The DataFrame has the runs' parameters, then the measures, then `error`:
    why a run has no measures (its measure raised, a value was refused), else
    None; rows are in the order of `runs`. With `cache`, finished rows are kept
    in that CSV file as they arrive, and a sweep started again with the same
    file runs only the rows it lacks. `batch` sets the runs per task (by
    default about 0.1 s of work locally, 0.5 s on a cluster).
    """
    import pandas

    if ticks < 0:
        raise ValueError("ticks must be 0 or more")
    if every < 1:
        raise ValueError("every must be 1 or more")
    if workers is not None and workers < 1:
        raise ValueError("workers must be 1 or more")
    if batch is not None and batch < 1:
        raise ValueError("batch must be 1 or more")
    sim = base if isinstance(base, Simulation) else load(os.fspath(base))
    all_runs = [{str(k): _scalar(v) for k, v in run.items()} for run in runs]
    for run in all_runs:
        for name, value in run.items():
            if isinstance(value, bool) or not isinstance(value, (int, float)):
                raise TypeError(f"{name!r}: {value!r} is not a number")
    params = _columns(all_runs)
    if ERROR in params:
        raise ValueError(f"{ERROR!r} is the column of errors, not a parameter")
    _checked_names(sim, params)

    if callable(measure):
        names = None
        function: bytes | None = _pickled(measure)
        if record is None:
            record = [f"{d.index}.{q.field}" for d in sim.devices for q in d.quantities]
    elif isinstance(measure, str):
        raise TypeError("measure: a list of names (['3.Theta']) or a function")
    else:
        names = tuple(measure)
        function = None
        for name in names:
            index, field = _split(name)
            if index >= len(sim.devices):
                raise ValueError(f"{name!r}: no device {index}")
            sim.devices[index][field]  # KeyError naming the field if it has none
        if set(names) & set(params) or ERROR in names:
            raise ValueError("a measure may not share its name with a parameter or 'error'")
    job = _Job(sim.to_json(), ticks, names, function, tuple(record or ()), every)

    store = _Cache(os.fspath(cache), params) if cache is not None else None
    rows: dict[int, tuple[dict[str, Value], str | None]] = {}
    if store is not None:
        cached = store.read()
        for i, run in enumerate(all_runs):
            if store.key(run) in cached:
                rows[i] = cached[store.key(run)]
    todo = [i for i in range(len(all_runs)) if i not in rows]

    from tqdm import tqdm  # type: ignore[import]

    class Bar(tqdm):  # type: ignore[misc]
        # No monitor thread: the pool's processes fork best from a process
        # of one thread.
        monitor_interval = 0

    done = len(all_runs) - len(todo)
    bar = Bar(total=len(all_runs), initial=done, disable=not progress, unit="run")
    failed: dict[int, str] = {}  # the runs no worker finished: not cached
    try:
        if todo:
            _execute(job, all_runs, todo, client, workers, batch, measure, rows, failed, bar, store)
    finally:
        bar.close()
        if store is not None and todo:
            store.write(all_runs, rows, force=True)
    if failed:
        again = "; a sweep with the same cache runs them again" if store is not None else ""
        warnings.warn(
            f"{len(failed)} of {len(all_runs)} runs did not finish, their rows say why "
            f"({next(iter(failed.values()))}){again}",
            RuntimeWarning,
            stacklevel=2,
        )
    results = dict(rows)
    for i, why in failed.items():
        results[i] = ({}, why)
    if names is not None:
        measures = list(names)
    else:
        measures = _columns(results[i][0] for i in range(len(all_runs)))
    table: list[dict[str, Any]] = [
        {
            **{p: run.get(p) for p in params},
            **{m: results[i][0].get(m) for m in measures},
            ERROR: results[i][1],
        }
        for i, run in enumerate(all_runs)
    ]
    return pandas.DataFrame(table, columns=[*params, *measures, ERROR])


def _pickled(function: Callable[..., Any]) -> bytes:
    # cloudpickle (Dask's) carries lambdas and the main script's functions by value.
    try:
        import cloudpickle  # type: ignore[import]

        return bytes(cloudpickle.dumps(function))
    except ImportError:
        return pickle.dumps(function)


def _execute(
    job: _Job,
    runs: list[dict[str, Any]],
    todo: list[int],
    client: Any,
    workers: int | None,
    batch: int | None,
    measure: Measure,
    rows: dict[int, tuple[dict[str, Value], str | None]],
    failed: dict[int, str],
    bar: Any,
    store: _Cache | None,
) -> None:
    def done(results: list[tuple[int, dict[str, Value], str | None]]) -> None:
        for i, values, error in results:
            rows[i] = (values, error)
        bar.update(len(results))
        if store is not None:
            store.write(runs, rows)

    where = "dask" if client is not None else "local"
    if client is not None:
        count = max(1, sum(client.nthreads().values()))
    else:
        count = workers or os.cpu_count() or 1
        if count == 1:
            function = measure if callable(measure) else None
            for i in todo:
                done([(i, *_run_one(job, runs[i], function))])
            return
    if batch is None and len(todo) <= count * _BATCHES_PER_WORKER:
        batch = 1  # too few to batch
    if batch is None:
        # The first run here times a run; its numbers are those a worker gives.
        start = time.perf_counter()
        done(_run_batch(job, [(todo[0], runs[todo[0]])]))
        todo = todo[1:]
        batch = _batch_size(time.perf_counter() - start, len(todo), count, where)
    batches = [[(i, runs[i]) for i in b] for b in _batches(todo, batch)]
    if client is not None:
        _on_dask(client, job, batches, done, failed)
    else:
        _on_pool(count, job, batches, done, failed)


def _on_pool(
    count: int,
    job: _Job,
    batches: list[list[tuple[int, dict[str, Any]]]],
    done: Callable[[list[tuple[int, dict[str, Value], str | None]]], None],
    failed: dict[int, str],
) -> None:
    # Forked processes start at once with all this one has loaded, but only a
    # process without other threads forks safely (a thread may hold a lock the
    # copy then never sees released). Else the forkserver's, forked from a
    # server process of one thread which has loaded this module once.
    context: multiprocessing.context.BaseContext
    if threading.active_count() == 1:
        context = multiprocessing.get_context("fork")
    else:
        server = multiprocessing.get_context("forkserver")
        server.set_forkserver_preload([__name__])
        context = server
    attempts = 0
    while batches:
        attempts += 1
        lost: list[list[tuple[int, dict[str, Any]]]] = []
        processes = min(count, len(batches))
        with concurrent.futures.ProcessPoolExecutor(processes, mp_context=context) as pool:
            # The processes start as the first tasks go.
            with _main_script_hidden():
                pending = {pool.submit(_run_batch, job, b): b for b in batches}
            try:
                for future in concurrent.futures.as_completed(pending):
                    try:
                        done(future.result())
                    except concurrent.futures.process.BrokenProcessPool:
                        lost.append(pending[future])
            finally:
                for future in pending:
                    future.cancel()
        batches = lost
        if batches and attempts == _ATTEMPTS:
            for b in batches:
                for i, _ in b:
                    failed[i] = f"a worker process died {_ATTEMPTS} times running it"
            return


@contextlib.contextmanager
def _main_script_hidden() -> Iterator[None]:
    """New processes that do not run the main script again.

    Python's pool processes import the main script first (so that what was
    defined there unpickles), which needs the script to guard its work with
    ``if __name__ == "__main__":`` and fails for a script read from standard
    input. Here nothing comes by reference to the script: the measure
    function comes by value (cloudpickle). Without cloudpickle, unchanged.
    """
    main = sys.modules.get("__main__")
    if main is None or importlib.util.find_spec("cloudpickle") is None:
        yield
        return
    origin, file = main.__spec__, main.__dict__.pop("__file__", None)
    main.__spec__ = None
    try:
        yield
    finally:
        main.__spec__ = origin
        if file is not None:
            main.__file__ = file


def _on_dask(
    client: Any,
    job: _Job,
    batches: list[list[tuple[int, dict[str, Any]]]],
    done: Callable[[list[tuple[int, dict[str, Value], str | None]]], None],
    failed: dict[int, str],
) -> None:
    import distributed

    # The scheduler gives a lost worker's tasks to others; a task that has
    # killed several workers ends as an error here.
    futures = {client.submit(_run_batch, job, b, pure=False): b for b in batches}
    try:
        completed = distributed.as_completed(list(futures))  # type: ignore[no-untyped-call]
        for future in completed:
            try:
                done(future.result())
            except Exception as e:
                for i, _ in futures[future]:
                    failed[i] = f"{type(e).__name__}: {e}"
    finally:
        client.cancel(list(futures))
