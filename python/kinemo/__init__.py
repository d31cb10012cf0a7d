"""Kinemo from Python: the simulator's devices, stepped, recorded and drawn.

A ``Simulation`` is the simulation the program's window runs, without the
window: the same devices, the same ticks, the same checks and the same state
dumps, bit for bit. Build one, drive it through its devices' inputs or through
the command line's actions, record its quantities, render its view, save it::

    import kinemo

    sim = kinemo.Simulation(["TRailAimant", "TMSlin"])  # the pendulum alone
    cart = sim.devices[1]
    for _ in range(500):
        cart.inputs["CurrentCmd"] = -20.0 * cart["PendTheta"]  # a controller of your own
        sim.step()
    traces = sim.run(1000, record=["1.PendTheta", "1.PosX"])
    sim.save("pendulum.json")
"""

from ._core import (
    SCENE_VERSION,
    Batch,
    Device,
    Inputs,
    Parameter,
    Quantity,
    Simulation,
    device_classes,
    load,
    standard_devices,
)

__all__ = [
    "SCENE_VERSION",
    "Batch",
    "Device",
    "Inputs",
    "Parameter",
    "Quantity",
    "Simulation",
    "device_classes",
    "load",
    "standard_devices",
]

from . import envs  # noqa: E402  (after the core it is built on)
