// The scope: one repaint with four traces of 12 000 samples each (two minutes
// of history at the default time step), drawn by Qt's software rasteriser
// (QT_QPA_PLATFORM=offscreen, or xcb under xvfb-run).
#include <qcustomplot.h>

#include <QApplication>
#include <QTest>
#include <benchmark/benchmark.h>

#include "platform/headless/headless_toolkit.h"
#include "platform/qt/desktop.h"
#include "platform/qt/scope_dock.h"
#include "sim/scope_history.h"
#include "window/gl_form.h"

namespace {
namespace KINEMO_UNITY_ID {

void BM_ScopeRepaint(benchmark::State& state) {
  // On the platform QT_QPA_PLATFORM names: "offscreen" for the software
  // rasteriser without a display.
  if (!qApp) {
    static int argc = 1;
    static char name[] = "kinemo_bench";
    static char* argv[] = {name, nullptr};
    SetDefaultSurfaceFormat(); // as the window benchmarks need it, if they follow
    new QApplication(argc, argv);
  }
  THeadlessToolkit tk;
  TGL_Form form(tk);
  TScopeDock scope(form);
  scope.resize(1200, 360);
  scope.show();
  scope.SetWindowSeconds(120);
  for (auto [trace, field] : {std::pair{0, "PendTheta"}, {1, "CurrentCmd"}, {2, "PosX"}, {3, "Fx"}})
    scope.SetTrace(trace, scope.History().Find(8, field));
  form.AnimateClick();
  form.Timer1Timer(); // pendulum and controller on: curves that move
  std::uint16_t g = 'G';
  form.FormKeyDown(g, 0);
  for (int t = 0; t < 12000; ++t)
    form.Timer1Timer();
  QTest::qWait(50);
  for (auto _ : state) {
    form.Timer1Timer(); // something new to show
    scope.Refresh();
    scope.Plot()->replot(QCustomPlot::rpImmediateRefresh); // draws and paints
  }
  state.counters["points"] = static_cast<double>(4 * scope.Plot()->graph(0)->dataCount());
}
BENCHMARK(BM_ScopeRepaint)->Unit(benchmark::kMillisecond);

} // namespace KINEMO_UNITY_ID
} // namespace
