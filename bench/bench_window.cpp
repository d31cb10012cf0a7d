// The main window on a display (run under xvfb-run): opening it until its
// first frame is drawn, and its tick rate while it runs.
#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>
#include <cstdlib>

#include "platform/qt/desktop.h"
#include "platform/qt/gl_view.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_toolkit.h"
#include "window/gl_form.h"

namespace {
namespace KINEMO_UNITY_ID {

QApplication* Application() {
  static int argc = 1;
  static char name[] = "kinemo_bench";
  static char* argv[] = {name, nullptr};
  static QApplication* app = []() -> QApplication* {
    if (qApp) return qApp; // made by a benchmark run before
    SetDefaultSurfaceFormat();
    // The window's remembered settings stay out of the user's.
    static const QTemporaryDir settings;
    for (auto format : {QSettings::NativeFormat, QSettings::IniFormat})
      QSettings::setPath(format, QSettings::UserScope, settings.path());
    return new QApplication(argc, argv);
  }();
  return app;
}

void BM_WindowToFirstFrame(benchmark::State& state) {
  if (!DisplayAvailable(std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"),
                        std::getenv("WAYLAND_DISPLAY"))) {
    state.SkipWithError("no display: run under xvfb-run");
    return;
  }
  Application();
  for (auto _ : state) {
    TQtToolkit toolkit;
    TGL_Form form(toolkit);
    form.UseDataFolder(KINEMO_BUILD_DATA_DIR);
    TMainWindow window(form);
    toolkit.Attach(&window);
    if (!window.GLView) {
      state.SkipWithError("no OpenGL");
      return;
    }
    window.showMaximized();
    if (!QTest::qWaitFor([&] { return window.GLView->FramesShown() > 0; }, 10000)) {
      state.SkipWithError("no frame drawn");
      return;
    }
    window.close();
  }
}
BENCHMARK(BM_WindowToFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace KINEMO_UNITY_ID
} // namespace

// Ticks per second of the running window, with the instruments panel hidden
// (0) or shown (1), or the scope shown (2): each must cost the run no more
// than a tenth of its rate. The timer's period is 1 ms, so the ticks follow as fast as they can.
void BM_RunningWindowTickRate(benchmark::State& state) {
  if (!DisplayAvailable(std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"),
                        std::getenv("WAYLAND_DISPLAY"))) {
    state.SkipWithError("no display: run under xvfb-run");
    return;
  }
  Application();
  TQtToolkit toolkit;
  TGL_Form form(toolkit);
  form.UseDataFolder(KINEMO_BUILD_DATA_DIR);
  TMainWindow window(form);
  toolkit.Attach(&window);
  if (!window.GLView) {
    state.SkipWithError("no OpenGL");
    return;
  }
  window.resize(1280, 760);
  window.show();
  window.ShowInstruments(state.range(0) == 1);
  window.ShowScope(state.range(0) == 2);
  if (!QTest::qWaitFor([&] { return window.GLView->FramesShown() > 0; }, 10000)) {
    state.SkipWithError("no frame drawn");
    return;
  }
  // The same view size either way: a dock must not win by shrinking it.
  constexpr int kViewWidth = 1200, kViewHeight = 420; // the scope needs 1170 px across
  QTest::qWait(200);
  window.resize(window.width() + kViewWidth - window.GLView->width(),
                window.height() + kViewHeight - window.GLView->height());
  if (!QTest::qWaitFor(
          [&] {
            // A taller view only makes the case with a dock slower.
            return window.GLView->width() == kViewWidth && window.GLView->height() >= kViewHeight;
          },
          5000)) {
    state.SkipWithError(
        ("the view could not be given its size: " + std::to_string(window.GLView->width()) + "x" +
         std::to_string(window.GLView->height()))
            .c_str());
    return;
  }
  window.Dispatch([&] {
    form.SBtimer.SetPosition(1);
    form.AnimateClick();
  });
  QTest::qWait(500); // settled
  double ticks = 0, seconds = 0;
  for (auto _ : state) {
    const double t0 = form.Sim.SimTime;
    QElapsedTimer clock;
    clock.start();
    QTest::qWait(3000);
    seconds += clock.elapsed() * 0.001;
    ticks += (form.Sim.SimTime - t0) / form.Sim.Dt;
  }
  state.counters["ticks_per_s"] = ticks / seconds;
  state.counters["view_height"] = window.GLView->height();
  window.ShowInstruments(false); // not remembered for the next run
  window.ShowScope(false);
  window.close();
}
BENCHMARK(BM_RunningWindowTickRate)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
