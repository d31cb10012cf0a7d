// One simulation tick of the default device set, timer running, nothing drawn.
#include <benchmark/benchmark.h>

#include "app/gl_form.h"
#include "platform/headless/headless_toolkit.h"

static void BM_TickDefaultSet(benchmark::State& state) {
  THeadlessToolkit tk;
  TGL_Form form(tk);
  form.AnimateClick();
  for (auto _ : state) {
    form.Timer1Timer();
    benchmark::DoNotOptimize(form.SimTime);
  }
}
BENCHMARK(BM_TickDefaultSet);
