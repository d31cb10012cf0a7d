// The services TGL_Form takes from the window toolkit, as one small interface.
// Implementations: the Qt desktop window and the scripted headless toolkit
// (command line and tests).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

enum class TMsgIcon { None, Error, Warning, Information };
enum class TModalResult { OK, Cancel };

// The dialogs TGL_Form opens; their contents are models held by TGL_Form.
enum class TDialogId { Options, OptionsMRV, RobSel, View, Capture, Compression, About };

// The files the window asks the user to choose.
enum class TFileChoice { OpenScene, SaveScene };

class TToolkit {
public:
  virtual ~TToolkit() = default;

  // Modal message box with one OK button. An empty caption gives the default one.
  virtual void MessageBox(const std::string& text, const std::string& caption, TMsgIcon icon) = 0;
  // Modal question with the buttons "Oui" and "Non", "Non" being the default;
  // true for "Oui".
  virtual bool Question(const std::string& text, const std::string& caption) = 0;
  // Shows a dialog modally; the dialog reads and writes its model in TGL_Form.
  virtual TModalResult ShowModal(TDialogId id) = 0;
  // Shows or hides a modeless dialog (the view dialog).
  virtual void SetDialogVisible(TDialogId id, bool visible) = 0;
  // Gives the keyboard focus back from a control to the main window.
  virtual void ReturnFocus() = 0;
  // The user's decimal separator for number texts.
  virtual char DecimalSeparator() const = 0;
  // Milliseconds since an arbitrary origin (the frame-rate clock).
  virtual std::uint32_t TickCountMs() = 0;
  // Presents the frame just rendered.
  virtual void SwapBuffers() = 0;
  // Opens a document in the desktop's browser. The browser may start after
  // this returns; `failed` is called, then or later, if it could not.
  virtual void OpenDocument(const std::string& path, std::function<void()> failed) = 0;
  // Asks the main window to close.
  virtual void CloseWindow() = 0;
  // Asks for a file, starting from `start` (a folder or a file name); false
  // if the user cancelled. The caller confirms the replacement of a file.
  virtual bool ChooseFile(TFileChoice choice, const std::string& start, std::string& path) = 0;
};
