// The desktop program: the Qt application around one main window.
#pragma once

#include <string>
#include <vector>

// Whether a window can be opened: a platform chosen through QT_QPA_PLATFORM,
// or an X11 or Wayland display. Arguments are the environment values (null
// when unset).
bool DisplayAvailable(const char* qpa_platform, const char* display, const char* wayland_display);

// Requests the OpenGL surface the view needs; call before the first widget.
void SetDefaultSurfaceFormat();

// Whether an OpenGL context can be created on this platform (checked once).
bool OpenGLAvailable();

class QWidget;
// Shows the main window as the program opens it: maximised, and at the size
// of the screen's available area where nothing maximises it.
void ShowMaximisedWindow(QWidget& window);

class TGL_Form;
class TMainWindow;
// `kinemo scene.json`: the first of `args` (the program's name left out) that
// is not an option names a scene, opened once the event loop runs, so that a
// refusal is shown over the window.
void OpenSceneArgument(TMainWindow& window, TGL_Form& form, const std::vector<std::string>& args);

// While a TStopSignals lives, a stop signal closes `window` as its close box
// does (the running recording is completed); an open modal dialog or message
// box is closed first, as if cancelled. The notifier belongs to `window`.
void CloseOnStopSignal(QWidget& window);

// Opens the maximised window and runs until it closes; returns the exit code
// (128 + the signal's number when a stop signal closed it).
// `data_folder` holds the pictures and the help page. A file named among the
// arguments is a scene, opened once the window shows.
int RunDesktop(int argc, char** argv, const std::string& data_folder);
