// Opening the main window until its first frame is drawn (needs a display; run
// under xvfb-run). Each iteration builds the form and the window from scratch.
#include <QApplication>
#include <QTest>
#include <benchmark/benchmark.h>
#include <cstdlib>

#include "app/gl_form.h"
#include "platform/qt/desktop.h"
#include "platform/qt/gl_view.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_toolkit.h"

namespace {

QApplication* Application() {
  static int argc = 1;
  static char name[] = "kinemo_bench";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    SetDefaultSurfaceFormat();
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

} // namespace
