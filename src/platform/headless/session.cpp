#include "platform/headless/session.h"

#include <algorithm>

#include "platform/headless/egl_context.h"
#include "platform/headless/runner.h"
#include "sim/scene.h"
#include "sim/state_json.h"

TSession::TSession() {
  Own();
}

TSession::TSession(TGL_Form& form) : form_(&form) {}

void TSession::Own() {
  owned_ = std::make_unique<TGL_Form>(tk_);
  form_ = owned_.get();
  // Ticks draw their frame only when its pixels are read, as on the command line.
  form_->DeferTickFrames = true;
  // As the command line opens its window: the first frame is counted at the
  // default size, so that both give the same state dumps.
  form_->FormResize(kDefaultViewWidth, kDefaultViewHeight);
}

bool TSession::Detach(std::string& error) {
  if (owned_) return true;
  const std::string scene = SceneJson();
  Own();
  return OpenScene(scene, error);
}

TSession::~TSession() {
  if (!owned_) return; // the window it borrowed from ends its own recording
  if (form_->Recording) form_->EndRecording();
  DropGl();
}

bool TSession::ParseActions(const std::vector<std::string>& words, std::vector<TAction>& actions,
                            std::string& error) const {
  actions.clear();
  for (const std::string& word : words) {
    TAction a;
    if (!ParseAction(word, *form_, a, error)) return false;
    actions.push_back(std::move(a));
  }
  return true;
}

void TSession::ApplyActions(const std::vector<TAction>& actions) {
  for (const TAction& a : actions) {
    ApplyAction(*form_, tk_, a);
    if (tk_.CloseRequested) break;
  }
  tk_.CloseRequested = false;
}

void TSession::Step(long long ticks) {
  for (long long k = 0; k < ticks; ++k)
    form_->PasAPas1Click();
}

void TSession::Run(long long ticks, long long every, const std::vector<TFieldRef>& fields,
                   std::vector<double>& time, std::vector<std::vector<double>>& values) {
  const auto samples = static_cast<std::size_t>(every > 0 ? ticks / every : 0);
  time.clear();
  time.reserve(samples);
  values.assign(fields.size(), {});
  for (auto& column : values)
    column.reserve(samples);
  for (long long k = 1; k <= ticks; ++k) {
    form_->PasAPas1Click();
    if (k % every != 0) continue;
    time.push_back(form_->Sim.SimTime);
    for (std::size_t c = 0; c < fields.size(); ++c)
      values[c].push_back(fields[c].Get());
  }
}

bool TSession::SetStep(double dt, std::string& error) {
  return form_->SetStep(dt, &error);
}

std::string TSession::SceneJson() const {
  return StateJson(*form_);
}

bool TSession::OpenScene(const std::string& text, std::string& error) {
  TScene scene;
  if (!ParseScene(text, *form_, scene, error)) return false;
  if (form_->Recording) form_->EndRecording();
  form_->ApplyScene(scene);
  form_->RenderScene();
  return true;
}

bool TSession::Gl(int width, int height, std::string& error) {
  // The borrowed form's view lives in the window's context.
  if (!owned_) {
    error = "the simulation is shown in the window: it draws and records there";
    return false;
  }
  if (gl_ && gl_->Width() == width && gl_->Height() == height) {
    if (gl_->MakeCurrent()) return true;
    error = "the OpenGL context could not be made current";
    return false;
  }
  DropGl();
  gl_ = std::make_unique<TEglContext>();
  if (!gl_->Create(width, height, error)) {
    gl_.reset();
    return false;
  }
  // As a window opens: its resources in the new context, then its size.
  form_->InitGL(width, height);
  form_->ClientWidth = width;
  form_->ClientHeight = height;
  form_->View.SetProjection(width, height);
  return true;
}

void TSession::DropGl() {
  if (!gl_) return;
  if (gl_->MakeCurrent()) form_->View.Release();
  gl_.reset();
}

bool TSession::Render(int width, int height, std::vector<std::uint8_t>& rgb, std::string& error) {
  if (!Gl(width, height, error)) return false;
  form_->DrawScene();
  gl_->Finish();
  const std::vector<std::uint8_t> rgba = gl_->ReadPixelsTopDown();
  gl_->DoneCurrent();
  rgb.resize(rgba.size() / 4 * 3);
  for (std::size_t i = 0, j = 0; i < rgba.size(); i += 4, j += 3)
    std::copy_n(&rgba[i], 3, &rgb[j]);
  return true;
}

bool TSession::Record(const std::string& path, long long ticks, int fps, int width, int height,
                      bool mjpeg, std::string& error, const std::function<bool(long long)>& done) {
  if (!Gl(width, height, error)) return false;
  const std::size_t shown = tk_.Messages.size();
  TCaptureAnswer capture;
  capture.File = path;
  capture.Fps = std::to_string(fps);
  // The duration the ticks cover, rounded up: the recording ends with them.
  capture.Duration = std::to_string(static_cast<double>(ticks) * form_->Sim.Dt + 1);
  capture.Codec = mjpeg ? 1 : 0;
  StartRecording(*form_, tk_, capture);
  if (!form_->Recording) {
    error = tk_.Messages.size() > shown ? tk_.Messages.back().Text : "the recording did not start";
    gl_->DoneCurrent();
    return false;
  }
  if (done) {
    constexpr long long kPiece = 25;
    for (long long k = 0; k < ticks;) {
      const long long n = std::min(kPiece, ticks - k);
      Step(n);
      k += n;
      if (!done(k)) break;
    }
  } else {
    Step(ticks);
  }
  if (form_->Recording) form_->EndRecording();
  gl_->DoneCurrent();
  if (form_->CaptureResult < 0) {
    error = form_->AviGen.ErrorText;
    return false;
  }
  return true;
}

std::vector<std::string> TSession::TakeMessages() {
  std::vector<std::string> texts;
  for (std::size_t i = messages_seen_; i < tk_.Messages.size(); ++i)
    texts.push_back(tk_.Messages[i].Text);
  messages_seen_ = tk_.Messages.size();
  return texts;
}
