// Recording the view into an AVI file: the set-up from the capture dialog and
// the capture step at the end of each tick. Video time follows simulated time.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <new>

#include "texts/number_text.h"
#include "window/gl_form.h"

namespace {

// trunc(frames) as a frame number; a count beyond int32 saturates rather than
// wrapping (huge durations, or a huge Dt in one tick).
std::int32_t FrameNumber(double frames) {
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  if (std::isnan(frames)) return 0;
  if (frames >= kMax) return std::numeric_limits<std::int32_t>::max();
  if (frames <= kMin) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(std::trunc(frames));
}

// A product of a tick count, a step and a rate that is a whole number in
// decimals may come out a few units in the last place below it; it counts as
// that whole number. Far above any such error, far below a tick's share.
constexpr double kSlack = 1e-12;

std::int32_t WholeFrames(double frames) {
  return FrameNumber(frames * (1 + kSlack));
}

// A recording that fails never takes the place of an earlier file of the same
// name; with no such file it is kept, playable up to its last good frame.
constexpr TSafeOutput::TExisting kFailedFile = TSafeOutput::TExisting::Keep;

} // namespace

std::int32_t MaxFrameRate(double dt) {
  return dt > 0 ? WholeFrames(1 / dt) : std::numeric_limits<std::int32_t>::max();
}

void TCaptureClock::Start(std::int32_t fps, double duration) {
  *this = {};
  fps_ = fps;
  duration_ = duration;
  total_ = WholeFrames(duration * fps);
}

double TCaptureClock::Elapsed() const {
  return base_ + static_cast<double>(ticks_) * dt_;
}

std::int32_t TCaptureClock::Tick(double dt) {
  if (dt != dt_) {
    base_ = Elapsed();
    ticks_ = 0;
    dt_ = dt;
  }
  ++ticks_;
  return std::min(WholeFrames(Elapsed() * fps_), total_);
}

bool TCaptureClock::Over() const {
  return Elapsed() * (1 - kSlack) > duration_;
}

void TGL_Form::InitRecording() {
  AviGen.ChooseCompression = [this](TCompressionOptions& options) {
    DialogCompression.Codec = options.Codec == TCodec::Mjpeg
                                  ? TDialogCompressionModel::MotionJpeg
                                  : TDialogCompressionModel::Uncompressed;
    DialogCompression.Quality = options.Quality;
    if (toolkit_.ShowModal(TDialogId::Compression) != TModalResult::OK) return false;
    if (DialogCompression.Codec == TDialogCompressionModel::Uncompressed)
      options.Codec = TCodec::Raw;
    if (DialogCompression.Codec == TDialogCompressionModel::MotionJpeg)
      options.Codec = TCodec::Mjpeg;
    options.Quality = std::clamp(DialogCompression.Quality, 1, 100);
    return true;
  };
}

void TGL_Form::EnregistreAVI1Click() {
  // The frames are read back from the view's context.
  if (!View.Ready()) {
    toolkit_.MessageBox("Pas de vue OpenGL : l'enregistrement AVI est impossible.", "Erreur",
                        TMsgIcon::Error);
    return;
  }
  // Frames are whole multiples of 4 pixels: a smaller view has no frame.
  if (ClientWidth < CAVIGenerator::kMinFrameSide || ClientHeight < CAVIGenerator::kMinFrameSide) {
    toolkit_.MessageBox("La vue est trop petite pour être enregistrée : il lui faut au moins " +
                            std::to_string(CAVIGenerator::kMinFrameSide) + " × " +
                            std::to_string(CAVIGenerator::kMinFrameSide) + " pixels.",
                        "Erreur", TMsgIcon::Error);
    return;
  }
  if (toolkit_.ShowModal(TDialogId::Capture) != TModalResult::OK) return;
  const auto fps = StrToInt(DialogCapture.LEfps);
  if (!fps) {
    ShowConversionError(NotAnIntegerMessage(DialogCapture.LEfps));
    return;
  }
  const auto duration = StrToFloat(DialogCapture.LEtime, toolkit_.DecimalSeparator());
  if (!duration) {
    ShowConversionError(NotAFloatMessage(DialogCapture.LEtime));
    return;
  }
  // No frame would ever fall due, or the writer would get a zero frame rate.
  if (*fps <= 0) {
    toolkit_.MessageBox("Le nombre d'images par seconde doit être supérieur à zéro.", "Erreur",
                        TMsgIcon::Error);
    return;
  }
  // A tick makes one frame at most: a higher rate would shorten the video.
  if (const std::int32_t most = MaxFrameRate(Sim.Dt); *fps > most) {
    toolkit_.MessageBox("Au plus " + std::to_string(most) +
                            " images par seconde avec un pas d'intégration de " +
                            FloatToStr(Sim.Dt, toolkit_.DecimalSeparator()) +
                            " s : chaque pas donne une image au plus.",
                        "Erreur", TMsgIcon::Error);
    return;
  }
  if (*duration < 0) {
    toolkit_.MessageBox("La durée de la capture doit être positive ou nulle.", "Erreur",
                        TMsgIcon::Error);
    return;
  }
  // Nothing touches a file already there unless the user says so; even then
  // it is replaced only when the new recording completes.
  const std::string file_name = CAVIGenerator::WithExtAvi(DialogCapture.LEfilename);
  std::error_code ec;
  if (std::filesystem::is_regular_file(file_name, ec) &&
      !toolkit_.Question(file_name + " existe déjà. Voulez-vous le remplacer ?",
                         "Confirmer l'enregistrement"))
    return;
  // The writer is reused: the running file is completed before another starts.
  if (Recording) EndRecording();

  CaptureFps = *fps;
  CaptureDuration = *duration;
  CaptureClock.Start(CaptureFps, CaptureDuration);
  CGaugeCapture.MaxValue = CaptureClock.Total();
  CGaugeCapture.Progress = 0;
  CGaugeCapture.Visible = true;

  AviGen.FrameRate = static_cast<std::uint32_t>(CaptureFps);
  AviGen.SetBitmapHeader(ClientWidth, ClientHeight);
  AviGen.FileName = file_name;

  CaptureHeader = &AviGen.BitmapHeader;
  try {
    CaptureBuffer.assign(CaptureHeader->biSizeImage, 0);
  } catch (const std::bad_alloc&) {
    ReleaseCapture();
    toolkit_.MessageBox("Mémoire insuffisante pour une image de la capture.", "Erreur",
                        TMsgIcon::Error);
    return;
  }

  CaptureResult = AviGen.InitEngine();
  if (CaptureResult != 0) {
    // 1 is a cancelled compression choice: nothing to report.
    const std::string text = AviGen.ErrorText;
    AviGen.ReleaseEngine(kFailedFile);
    ReleaseCapture();
    if (CaptureResult < 0) toolkit_.MessageBox(text, "Erreur", TMsgIcon::Error);
    return;
  }
  CaptureStartTime = Sim.SimTime;
  CaptureFramesDone = 0;
  Recording = true;
}

void TGL_Form::CaptureStep() {
  CaptureFramesDue = CaptureClock.Tick(Sim.Dt);
  if (CaptureFramesDue > CaptureFramesDone) {
    // At most one frame per tick: frames due in between are skipped.
    CaptureFramesDone = CaptureFramesDue;
    CGaugeCapture.AddProgress(1);
    ReadCaptureFrame();
    CaptureResult = AviGen.AddFrame(CaptureBuffer.data());
    if (CaptureResult < 0) {
      // Everything is closed before the message: a toolkit may deliver more
      // ticks while the box is open. The writer keeps the frames it accepted.
      const std::string text = AviGen.ErrorText;
      Recording = false;
      AviGen.ReleaseEngine(kFailedFile);
      ReleaseCapture();
      toolkit_.MessageBox(text, "Erreur", TMsgIcon::Error);
      return;
    }
  }
  if (CaptureClock.Over()) EndRecording();
}

std::int32_t TGL_Form::EndRecording() {
  if (!Recording) return 0;
  Recording = false;
  const std::int32_t result = AviGen.ReleaseEngine(kFailedFile);
  ReleaseCapture();
  CaptureResult = result;
  if (result < 0) {
    toolkit_.MessageBox(AviGen.ErrorText, "Erreur", TMsgIcon::Error);
  }
  return result;
}

void TGL_Form::ReadCaptureFrame() {
  if (!View.Ready()) return;
  DrawPendingFrame();
  // The frame this tick drew, wherever it went: the back buffer of a window or
  // a pbuffer, or the colour attachment of a framebuffer object.
  GLint draw_buffer = GL_BACK, read_buffer = GL_BACK;
  glGetIntegerv(GL_DRAW_BUFFER, &draw_buffer);
  glGetIntegerv(GL_READ_BUFFER, &read_buffer);
  glReadBuffer(static_cast<GLenum>(draw_buffer));
  // Rows are 3 * biWidth bytes with biWidth a multiple of 4: no padding.
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, CaptureHeader->biWidth, CaptureHeader->biHeight, GL_BGR, GL_UNSIGNED_BYTE,
               CaptureBuffer.data());
  glReadBuffer(static_cast<GLenum>(read_buffer));
}

void TGL_Form::ReleaseCapture() {
  std::vector<std::uint8_t>().swap(CaptureBuffer);
  CGaugeCapture.Visible = false;
}
