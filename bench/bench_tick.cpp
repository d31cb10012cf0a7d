// One simulation tick of the default device set, timer running, nothing drawn,
// with the cached contact pass the tick uses and with the plain pass it
// replaced (each pair tested afresh), in the same run. A tick costs more while
// the balancing robots settle than once they rest, so each run is the same
// 100 000 ticks from the start: the figure is their mean, whatever iteration
// count the library would have picked. Then the tick of a Python environment.
#include <benchmark/benchmark.h>

#include <cmath>

#include "models/linear/mslin.h"
#include "platform/headless/headless_toolkit.h"
#include "sim/simulation.h"
#include "window/gl_form.h"

namespace {
namespace KINEMO_UNITY_ID {

void Tick(benchmark::State& state, bool reference_pass) {
  THeadlessToolkit tk;
  TGL_Form form(tk);
  form.Sim.ReferenceContactPass = reference_pass;
  form.AnimateClick();
  for (auto _ : state) {
    form.Timer1Timer();
    benchmark::DoNotOptimize(form.Sim.SimTime);
  }
}

void BM_TickDefaultSet(benchmark::State& state) {
  Tick(state, false);
}
void BM_TickDefaultSetReferencePass(benchmark::State& state) {
  Tick(state, true);
}

// The set of the Python environment MagnetPendulum (the magnet rail and its
// carriage, 5 ms ticks), its pendulum held up by a command from outside the
// model as a controller in Python sets it: what one environment-step costs.
void BM_TickMagnetPendulum(benchmark::State& state) {
  TSimulation sim;
  sim.SetDevices({"TRailAimant", "TMSlin"});
  sim.Dt = 0.005;
  TMSlin& cart = *sim.MsPtr;
  cart.ControllerOn = false;
  cart.ExternalCommand = true;
  cart.PendTheta = 0.03;
  for (auto _ : state) {
    const double u =
        (2.0 * (cart.PosX - cart.PosX0) + cart.VitX + 0.5 * cart.PendTheta + 0.2 * cart.PendOmega) /
        2;
    cart.CurrentCmd = std::fmin(std::fmax(u, -1.0), 1.0) * cart.CurrentMax;
    sim.Tick();
    benchmark::DoNotOptimize(cart.PendTheta);
  }
}

} // namespace KINEMO_UNITY_ID
} // namespace

constexpr benchmark::IterationCount kTicks = 100000;
BENCHMARK(BM_TickDefaultSet)->Iterations(kTicks);
BENCHMARK(BM_TickDefaultSetReferencePass)->Iterations(kTicks);
BENCHMARK(BM_TickMagnetPendulum)->Iterations(kTicks);
