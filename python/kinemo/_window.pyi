from typing import Any, Callable

def run(
    scene: str,
    controller: Callable[[Any], object] | None,
    animate: bool = True,
    close_after: float = 0.0,
) -> tuple[str, list[str]]: ...
def close_window() -> None: ...
