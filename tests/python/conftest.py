"""Where the tests find the build: KINEMO_BUILD_DIR (default: build/ at the top)."""

from __future__ import annotations

import os
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parents[2]
BUILD = pathlib.Path(os.environ.get("KINEMO_BUILD_DIR", ROOT / "build")).resolve()
sys.path.insert(0, str(BUILD / "python"))
# And for the interpreters the tests start (a seeded run in another process).
os.environ["PYTHONPATH"] = os.pathsep.join(
    p for p in (str(BUILD / "python"), os.environ.get("PYTHONPATH")) if p
)

#: The program, for comparing the module with its command line.
KINEMO = BUILD / "src" / "kinemo"
