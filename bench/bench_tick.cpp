// One simulation tick of the default device set, timer running, nothing drawn,
// with the cached contact pass the tick uses and with the plain pass it
// replaced (each pair tested afresh), in the same run. A tick costs more while
// the balancing robots settle than once they rest, so each run is the same
// 100 000 ticks from the start: the figure is their mean, whatever iteration
// count the library would have picked.
#include <benchmark/benchmark.h>

#include "platform/headless/headless_toolkit.h"
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

} // namespace KINEMO_UNITY_ID
} // namespace

constexpr benchmark::IterationCount kTicks = 100000;
BENCHMARK(BM_TickDefaultSet)->Iterations(kTicks);
BENCHMARK(BM_TickDefaultSetReferencePass)->Iterations(kTicks);
