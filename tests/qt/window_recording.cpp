// Recording from the real window (run under xvfb-run, also with a device pixel
// ratio of 2): "&Enregistre AVI" through the Qt dialogs, the gauge on the
// toolbar, and the file read back by ffprobe/ffmpeg.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>

#include "../avi_test_support.h"
#include "dialogs/dlg_capture.h"
#include "dialogs/dlg_compression.h"
#include "platform/qt/gl_view.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_toolkit.h"
#include "shown_window.h"
#include "window/gl_form.h"

namespace {
namespace KINEMO_UNITY_ID {

namespace fs = std::filesystem;

// Fills and accepts the next dialog of type D once it runs modally.
template <class D> void AcceptWhenOpen(std::function<void(D&)> fill) {
  auto* poll = new QTimer;
  poll->setInterval(5);
  QObject::connect(poll, &QTimer::timeout, [poll, fill] {
    auto* dialog = dynamic_cast<D*>(QApplication::activeModalWidget());
    if (!dialog) return;
    poll->stop();
    poll->deleteLater();
    fill(*dialog);
    dialog->accept();
  });
  poll->start();
}

// Answers the capture dialog and then the compression dialog.
void AnswerRecording(const fs::path& file, const char* fps, const char* seconds, bool mjpeg) {
  AcceptWhenOpen<TDialogCapture>([=](TDialogCapture& d) {
    d.LEfilename->setText(QString::fromStdString(file.string()));
    d.LEfps->setText(QString::fromLatin1(fps));
    d.LEtime->setText(QString::fromLatin1(seconds));
    AcceptWhenOpen<TDialogCompression>([mjpeg](TDialogCompression& c) {
      (mjpeg ? c.RBMotionJpeg : c.RBUncompressed)->setChecked(true);
      c.SEQuality->setValue(90);
    });
  });
}

// A grab of the view as the decoder gives a frame: rows top first,
// blue-green-red, cropped to the recorded size. Alpha is ignored.
avitest::TFrame FrameOf(const QImage& grab, int w, int h) {
  QImage rgb = grab.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
  rgb.reinterpretAsFormat(QImage::Format_RGBX8888);
  avitest::TFrame f(size_t(3) * w * h);
  // The recording holds the bottom-left w x h pixels of the view.
  const int top = rgb.height() - h;
  for (int y = 0; y < h; ++y) {
    const uchar* row = rgb.constScanLine(top + y);
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &f[3 * (size_t(y) * w + x)];
      p[0] = row[4 * x + 2];
      p[1] = row[4 * x + 1];
      p[2] = row[4 * x + 0];
    }
  }
  return f;
}

class WindowRecording : public ::testing::Test, protected TShownWindow {
protected:
  void SetUp() override {
    if (!avitest::HaveDecoder()) SKIP_UNAVAILABLE("ffprobe/ffmpeg not installed");
    // Small enough for a device pixel ratio of 2 on the test screen; not a
    // multiple of 4 in device pixels, so the frame is cropped.
    ASSERT_TRUE(Show(613, 390));
    window.View->setFocus();
  }
  void TearDown() override {
    window.close();
    fs::remove(file);
  }
  // The recorded frame size: the view's client size in device pixels,
  // rounded down to multiples of 4.
  int FrameWidth() const { return window.GLView->PixelWidth() / 4 * 4; }
  int FrameHeight() const { return window.GLView->PixelHeight() / 4 * 4; }

  fs::path file = avitest::TempFile("window.avi");
};

TEST_F(WindowRecording, TwoSimulatedSecondsWhileRunningWithTheGauge) {
  QTest::keyClick(window.View, Qt::Key_A); // run
  ASSERT_TRUE(form.Timer1.Enabled);
  // Set up while the timer runs: ticks go on behind the modal dialogs.
  AnswerRecording(file, "25", "2", true);
  QElapsedTimer clock;
  clock.start();
  window.Action(QStringLiteral("EnregistreAVI1"))->trigger();
  ASSERT_TRUE(form.Recording) << "the recording did not start";
  EXPECT_EQ(window.CGaugeCapture->maximum(), 50);

  int shown = 0, last_value = 0, advances = 0;
  while (form.Recording && clock.elapsed() < 60000) {
    QTest::qWait(20);
    if (!form.Recording) break;
    shown += window.CGaugeCapture->isVisible();
    if (window.CGaugeCapture->value() > last_value) ++advances;
    last_value = window.CGaugeCapture->value();
  }
  QTest::keyClick(window.View, Qt::Key_A); // pause
  std::cout << "two simulated seconds recorded in " << clock.elapsed() << " ms, frames of "
            << FrameWidth() << " x " << FrameHeight() << "\n";
  ASSERT_FALSE(form.Recording);
  EXPECT_EQ(form.CaptureResult, 0) << form.AviGen.ErrorText;
  EXPECT_GT(shown, 0) << "the gauge is shown while recording";
  EXPECT_GT(advances, 5) << "the gauge advances";
  EXPECT_GE(last_value, 45);
  // The toolbar hides it at its next layout.
  EXPECT_TRUE(QTest::qWaitFor([&] { return !window.CGaugeCapture->isVisible(); }, 2000))
      << "the gauge hides at the end";

  const avitest::TProbe p = avitest::Probe(file);
  EXPECT_EQ(p.Codec, "mjpeg");
  EXPECT_EQ(p.FrameRate, "25/1");
  EXPECT_EQ(p.Width, FrameWidth());
  EXPECT_EQ(p.Height, FrameHeight());
  EXPECT_GE(p.FramesRead, 49);
  EXPECT_LE(p.FramesRead, 51);
}

TEST_F(WindowRecording, EveryFrameIsTheViewAsItsTickDrewIt) {
  // Ticks by hand, each as the timer runs it, so that the view can be grabbed
  // after every tick that wrote a frame.
  AnswerRecording(file, "25", "0.3", false);
  window.Action(QStringLiteral("EnregistreAVI1"))->trigger();
  ASSERT_TRUE(form.Recording);
  std::vector<QImage> grabs;
  for (int tick = 0; tick < 100 && form.Recording; ++tick) {
    const int done = form.CaptureFramesDone;
    // The camera turns before every tick, without a redraw of its own, so
    // that a frame of another tick differs.
    form.yrot += 2;
    window.Dispatch([&] { form.Timer1Timer(); });
    if (form.CaptureFramesDone != done) grabs.push_back(window.GLView->grabFramebuffer());
    QCoreApplication::processEvents();
  }
  ASSERT_FALSE(form.Recording);
  EXPECT_EQ(form.CaptureResult, 0) << form.AviGen.ErrorText;

  const int w = FrameWidth(), h = FrameHeight();
  const avitest::TProbe p = avitest::Probe(file);
  EXPECT_EQ(p.Codec, "rawvideo");
  EXPECT_EQ(p.Width, w);
  EXPECT_EQ(p.Height, h);
  const auto decoded = avitest::Decode(file, w, h);
  ASSERT_EQ(decoded.size(), grabs.size());
  ASSERT_GE(decoded.size(), 5u);
  for (size_t k = 0; k < decoded.size(); ++k) {
    const avitest::TFrame view = FrameOf(grabs[k], w, h);
    EXPECT_LT(avitest::MeanAbsDiff(decoded[k], view), 0.01) << "frame " << k;
    if (k > 0) {
      EXPECT_NE(decoded[k], decoded[k - 1]) << "frame " << k << " repeats";
    }
  }
}

} // namespace KINEMO_UNITY_ID
} // namespace
