#include "platform/qt/desktop.h"

#include <iostream>
#include <sstream>

#include <QApplication>
#include <QFile>
#include <QOpenGLContext>
#include <QScreen>
#include <QSocketNotifier>
#include <QSurfaceFormat>
#include <QTimer>
#include <unistd.h>

#include "io/stop_signals.h"
#include "platform/qt/icons.h"
#include "platform/qt/language.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_toolkit.h"
#include "window/gl_form.h"

namespace {
bool Set(const char* value) {
  return value != nullptr && *value != '\0';
}
} // namespace

bool DisplayAvailable(const char* qpa_platform, const char* display, const char* wayland_display) {
  return Set(qpa_platform) || Set(display) || Set(wayland_display);
}

void SetDefaultSurfaceFormat() {
  // OpenGL 1.x immediate mode with display lists needs a compatibility context.
  QSurfaceFormat format;
  format.setRenderableType(QSurfaceFormat::OpenGL);
  format.setProfile(QSurfaceFormat::CompatibilityProfile);
  format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
  format.setRedBufferSize(8);
  format.setGreenBufferSize(8);
  format.setBlueBufferSize(8);
  format.setAlphaBufferSize(8);
  format.setDepthBufferSize(24);
  format.setStencilBufferSize(0);
  QSurfaceFormat::setDefaultFormat(format);
}

bool OpenGLAvailable() {
  static const bool available = [] {
    QOpenGLContext probe;
    return probe.create();
  }();
  return available;
}

void ShowMaximisedWindow(QWidget& window) {
  // Without a window manager nothing maximises the window: start at full
  // size. With one, the restored window fits itself again (TMainWindow).
  if (const QScreen* screen = window.screen()) window.resize(screen->availableGeometry().size());
  window.showMaximized();
}

void OpenSceneArgument(TMainWindow& window, TGL_Form& form, const std::vector<std::string>& args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--devices" || arg == "--lang") ++i; // their values are no scene
    if (arg.empty() || arg[0] == '-') continue;
    QTimer::singleShot(0, &window, [&window, &form, path = arg] {
      window.Dispatch([&form, &path] { form.OpenScene(path); });
    });
    return;
  }
}

namespace {

void CloseForStop(QWidget& window) {
  // The dialog's handler must return before the window goes.
  if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal != &window) {
    modal->close();
    QTimer::singleShot(20, &window, [&window] { CloseForStop(window); });
    return;
  }
  window.close();
}

} // namespace

void CloseOnStopSignal(QWidget& window) {
  if (TStopSignals::Fd() < 0) return;
  auto* notifier = new QSocketNotifier(TStopSignals::Fd(), QSocketNotifier::Read, &window);
  QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
    char bytes[16];
    while (::read(TStopSignals::Fd(), bytes, sizeof bytes) > 0) {
    }
    CloseForStop(window);
  });
}

int RunDesktop(int argc, char** argv, const std::string& data_folder) {
  SetDefaultSurfaceFormat();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kinemo"));
  QApplication::setApplicationVersion(QStringLiteral("2.3"));
  QApplication::setWindowIcon(ProgramIcon());
  QApplication::setDesktopFileName(QStringLiteral("kinemo"));

  TQtToolkit toolkit;
  // Without an OpenGL context nothing can be drawn: say so and stop, as a
  // failed pixel-format choice does.
  if (!OpenGLAvailable()) {
    toolkit.MessageBox("ChoosePixelFormat failed", "Error", TMsgIcon::Error);
    return 1;
  }
  // Qt has taken its own options out of the arguments.
  std::vector<std::string> args;
  const QStringList all = QApplication::arguments();
  for (qsizetype i = 1; i < all.size(); ++i)
    args.push_back(QFile::encodeName(all[i]).toStdString());
  // --lang fr|en for this run, else the language chosen in the menu.
  QString language;
  std::string language_error;
  if (!LanguageArgument(args, language, language_error)) {
    std::cerr << "kinemo: " << language_error << "\n";
    return 2;
  }
  InstallLanguage(language.isEmpty() ? LanguageCode(RememberedLanguage()) : language);
  TGL_Form form(toolkit);
  form.UseDataFolder(data_folder);
  // --devices LIST: the window opens on that set of devices.
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--devices") continue;
    std::vector<std::string> classes;
    std::istringstream in(i + 1 < args.size() ? args[i + 1] : "");
    for (std::string name; std::getline(in, name, ',');)
      classes.push_back(name);
    if (const TSetProblem problem = form.SetDevices(classes)) {
      std::cerr << "kinemo: --devices: " << problem.English() << "\n";
      return 2;
    }
  }
  TStopSignals stop; // outlives the window, whose notifier reads its pipe
  TMainWindow window(form);
  toolkit.Attach(&window);
  CloseOnStopSignal(window);
  ShowMaximisedWindow(window);
  OpenSceneArgument(window, form, args);
  const int code = app.exec();
  return TStopSignals::Received() != 0 ? TStopSignals::ExitCode(TStopSignals::Received()) : code;
}
