// One simulation tick of the default device set, timer running, nothing drawn,
// with the cached contact pass the tick uses and with the plain pass it
// replaced (each pair tested afresh), in the same run.
#include <benchmark/benchmark.h>

#include "app/gl_form.h"
#include "platform/headless/headless_toolkit.h"

namespace {

void Tick(benchmark::State& state, bool reference_pass) {
  THeadlessToolkit tk;
  TGL_Form form(tk);
  form.ReferenceContactPass = reference_pass;
  form.AnimateClick();
  for (auto _ : state) {
    form.Timer1Timer();
    benchmark::DoNotOptimize(form.SimTime);
  }
}

void BM_TickDefaultSet(benchmark::State& state) {
  Tick(state, false);
}
void BM_TickDefaultSetReferencePass(benchmark::State& state) {
  Tick(state, true);
}

} // namespace

BENCHMARK(BM_TickDefaultSet);
BENCHMARK(BM_TickDefaultSetReferencePass);
