// kinemo._window: the program's own window on a simulation from Python, with
// a Python function called before every tick. A module of its own, so that
// `import kinemo` never loads Qt.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <dlfcn.h>

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/qt/desktop.h"
#include "platform/qt/icons.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_toolkit.h"
#include "sim/scene.h"
#include "sim/state_json.h"
#include "window/gl_form.h"

namespace py = pybind11;

namespace {

// The window now shown, for close_window (one at a time: run does not return
// before it closes).
QPointer<TMainWindow> shown;

// Qt keeps the arguments for the life of the application, which is the
// interpreter's: it is made at the first window and kept for the next.
QApplication& Application() {
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return *app;
  static char name[] = "kinemo";
  static char* argv[] = {name, nullptr};
  static int argc = 1;
  SetDefaultSurfaceFormat();
  auto* app = new QApplication(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kinemo"));
  QApplication::setApplicationVersion(QStringLiteral("2.3"));
  QApplication::setWindowIcon(ProgramIcon());
  QApplication::setDesktopFileName(QStringLiteral("kinemo"));
  // The window closing ends run, not the application.
  QApplication::setQuitOnLastWindowClosed(false);
  return *app;
}

// The data folder (pictures, help page) beside this module: where the build
// tree or the installed tree puts it.
std::string DataFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&DataFolder), &info) == 0 || info.dli_fname == nullptr)
    return {};
  const std::filesystem::path here = std::filesystem::path(info.dli_fname).parent_path();
  for (const char* relative : {KINEMO_DATA_FROM_MODULE_BUILD, KINEMO_DATA_FROM_MODULE_INSTALL}) {
    std::error_code ec;
    const std::filesystem::path folder = (here / relative).lexically_normal();
    if (std::filesystem::is_directory(folder, ec)) return folder.string();
  }
  return {};
}

// The program's window, which ends the loop running it once it closes.
class TShownWindow : public TMainWindow {
public:
  TShownWindow(TGL_Form& form, QEventLoop& loop) : TMainWindow(form), loop_(loop) {}

protected:
  void closeEvent(QCloseEvent* event) override {
    TMainWindow::closeEvent(event);
    if (event->isAccepted()) loop_.quit();
  }

private:
  QEventLoop& loop_;
};

// Closes the window as its close box does, an open message box or modal
// dialog first, as if cancelled (its handler must return before the window goes).
void CloseShown() {
  if (!shown) return;
  if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal != shown) {
    modal->close();
    QTimer::singleShot(20, shown.data(), &CloseShown);
    return;
  }
  shown->close();
}

// The controller's exception as Python prints it.
std::string Traceback(py::error_already_set& e) {
  try {
    const py::object format = py::module_::import("traceback").attr("format_exception");
    std::string text;
    for (const py::handle line : format(e.type(), e.value(), e.trace()))
      text += line.cast<std::string>();
    return text;
  } catch (const py::error_already_set&) {
    return e.what();
  }
}

py::tuple Run(const std::string& scene_text, const py::object& controller, bool animate,
              double close_after) {
  if (!DisplayAvailable(std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"),
                        std::getenv("WAYLAND_DISPLAY")))
    throw std::runtime_error("no display (DISPLAY and WAYLAND_DISPLAY are unset): the window "
                             "cannot open; without one, step the Simulation itself");
  if (shown) throw std::runtime_error("a Kinemo window is already shown");
  Application();
  TQtToolkit toolkit;
  if (!OpenGLAvailable()) throw std::runtime_error("no OpenGL context can be made on this display");

  TGL_Form form(toolkit);
  form.UseDataFolder(DataFolder());
  // The scene as opening its file would bring it, checked before anything shows.
  {
    TScene scene;
    std::string error;
    if (!ParseScene(scene_text, form, scene, error)) throw py::value_error("not a scene: " + error);
    form.ApplyScene(scene);
  }

  const py::module_ core = py::module_::import("kinemo._core");
  py::object window_sim = py::none();
  std::vector<std::string> errors;
  bool in_controller = false;
  if (!controller.is_none()) {
    window_sim = core.attr("_borrow_form")(py::capsule(&form, "kinemo.window_form"));
    form.BeforeTick = [&] {
      // A controller that steps its simulation itself runs those ticks bare.
      if (in_controller) return true;
      std::string traceback;
      {
        py::gil_scoped_acquire gil;
        in_controller = true;
        try {
          controller(window_sim);
        } catch (py::error_already_set& e) {
          traceback = Traceback(e);
        }
        in_controller = false;
      }
      if (traceback.empty()) return true;
      // Paused as Animate pauses it; the tick the controller did not prepare
      // is not run. The message box waits without the interpreter.
      form.Timer1.Enabled = false;
      errors.push_back(traceback);
      std::cerr << traceback << std::flush;
      toolkit.MessageBox(traceback, "Controller error", TMsgIcon::Error);
      return false;
    };
  }

  {
    QEventLoop loop;
    TShownWindow window(form, loop);
    toolkit.Attach(&window);
    shown = &window;
    ShowMaximisedWindow(window);
    window.Dispatch([&form, animate] {
      form.RenderScene();
      if (animate && !form.Timer1.Enabled) form.AnimateClick();
    });
    if (close_after > 0)
      QTimer::singleShot(static_cast<int>(close_after * 1000), &window, &CloseShown);
    // Python threads run while the window is shown.
    {
      py::gil_scoped_release free;
      loop.exec();
    }
    form.BeforeTick = {};
    toolkit.Attach(nullptr);
    shown = nullptr;
  }
  if (!window_sim.is_none()) core.attr("_detach_form")(window_sim);
  return py::make_tuple(StateJson(form), errors);
}

} // namespace

PYBIND11_MODULE(_window, m) {
  m.doc() = "The program's window on a simulation, with a controller before every tick.";
  m.def("run", &Run, py::arg("scene"), py::arg("controller"), py::arg("animate") = true,
        py::arg("close_after") = 0.0,
        "Shows the window on a scene's text until it closes, calling controller(window_sim) "
        "before every tick; returns the final scene and the controller's tracebacks shown. "
        "close_after: seconds after which the window closes itself (0: never).");
  m.def(
      "close_window",
      [] {
        // From any thread: the window is closed in its own.
        if (QCoreApplication* app = QCoreApplication::instance())
          QMetaObject::invokeMethod(app, &CloseShown, Qt::QueuedConnection);
      },
      "Closes the shown window once the running tick is done, as its close box does.");
}
