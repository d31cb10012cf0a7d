// One simulation driven by a program rather than a person: the window's form
// on the scripted toolkit, driven as the command line drives it (the same
// action grammar, handlers and checks), with an OpenGL context made only when
// pixels are asked for. The Python module wraps one per `Simulation`; any
// number live side by side, each used by one thread at a time. A session may
// also borrow a form that another toolkit shows (a program driving the
// desktop window): it then neither draws nor records, the window does.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/headless/actions.h"
#include "platform/headless/headless_toolkit.h"
#include "window/gl_form.h"

class TEglContext;

class TSession {
public:
  // The program's nine devices, paused, the synchronous carriage selected.
  TSession();
  // A session over `form`, which must outlive it or be let go by Detach.
  explicit TSession(TGL_Form& form);
  ~TSession();
  TSession(const TSession&) = delete;
  TSession& operator=(const TSession&) = delete;

  TGL_Form& Form() { return *form_; }
  const TGL_Form& Form() const { return *form_; }
  TSimulation& Sim() { return form_->Sim; }
  const TSimulation& Sim() const { return form_->Sim; }
  bool Borrowed() const { return !owned_; }
  // Lets go of a borrowed form: the session goes on with a form of its own
  // in the state the borrowed one had. False with the reason if that state
  // could not be taken over (the session then holds a fresh set).
  bool Detach(std::string& error);

  // Checks every word against the set as it is now (as --do does before it
  // runs anything); false with the command line's message.
  bool ParseActions(const std::vector<std::string>& words, std::vector<TAction>& actions,
                    std::string& error) const;
  // Applies checked actions in order, as --do does; menu:Quitter ends them.
  void ApplyActions(const std::vector<TAction>& actions);
  // `ticks` ticks, each as "Pas à pas" runs it (the timer is paused first).
  void Step(long long ticks);
  // `ticks` ticks as Step, and after every `every`-th the time and each field.
  void Run(long long ticks, long long every, const std::vector<TFieldRef>& fields,
           std::vector<double>& time, std::vector<std::vector<double>>& values);

  // The step, as the options dialog takes it; false with its message.
  bool SetStep(double dt, std::string& error);

  // The state dump (a scene, version kSceneVersion).
  std::string SceneJson() const;
  // Opens a scene text, as the window opens a file; false with the reason.
  bool OpenScene(const std::string& text, std::string& error);

  // The view of the current state, `width` x `height` RGB bytes, top row
  // first: the pixels --screenshot writes. Drawing changes nothing of the
  // simulation. False with the reason when no context can be made.
  bool Render(int width, int height, std::vector<std::uint8_t>& rgb, std::string& error);
  // Records `ticks` ticks (as Step) into an AVI file, as --record does; `done`, if
  // given, hears the ticks run so far every few ticks, and false from it ends
  // the recording there.
  bool Record(const std::string& path, long long ticks, int fps, int width, int height, bool mjpeg,
              std::string& error, const std::function<bool(long long)>& done = {});

  // The message boxes shown since the last call.
  std::vector<std::string> TakeMessages();

private:
  // A context of this size current on this thread, the view made in it.
  bool Gl(int width, int height, std::string& error);
  void DropGl();

  // A form made on this session's toolkit as the command line makes it.
  void Own();

  THeadlessToolkit tk_;
  std::unique_ptr<TEglContext> gl_;
  std::unique_ptr<TGL_Form> owned_; // null while a form is borrowed
  TGL_Form* form_ = nullptr;
  std::size_t messages_seen_ = 0;
};
