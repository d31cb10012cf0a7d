// The real window on an X server (run under xvfb-run): it opens, draws the
// scene, takes keys, runs the timer and updates the status line. Prints the
// time from process start to the first frame and the resident memory.
#include <GL/gl.h>
#include <GL/glu.h>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <string>
#include <unistd.h>

#include "platform/qt/desktop.h"
#include "platform/qt/gl_view.h"
#include "platform/qt/instruments_panel.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_toolkit.h"
#include "shown_window.h"
#include "window/gl_form.h"

namespace {
namespace KINEMO_UNITY_ID {

// Milliseconds since this process started, from /proc.
double ProcessAgeMs() {
  std::ifstream stat("/proc/self/stat");
  std::string field;
  for (int i = 0; i < 22 && stat >> field; ++i) {
  }
  std::ifstream uptime("/proc/uptime");
  double up = 0;
  uptime >> up;
  const double start_s = std::stod(field) / static_cast<double>(sysconf(_SC_CLK_TCK));
  return (up - start_s) * 1000.0;
}

long ResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string key;
  long kb = 0;
  while (status >> key)
    if (key == "VmRSS:") {
      status >> kb;
      break;
    }
  return kb;
}

// Pixels that differ from the clear colour (0.8 grey).
int DrawnPixels(const QImage& image) {
  int drawn = 0;
  const QRgb clear = qRgb(204, 204, 204);
  for (int y = 0; y < image.height(); y += 2)
    for (int x = 0; x < image.width(); x += 2) {
      const QRgb p = image.pixel(x, y);
      if (qAbs(qRed(p) - qRed(clear)) > 8 || qAbs(qGreen(p) - qGreen(clear)) > 8 ||
          qAbs(qBlue(p) - qBlue(clear)) > 8)
        ++drawn;
    }
  return drawn;
}

TEST(Window, OpensDrawsRunsAndReports) {
  TQtToolkit toolkit;
  TGL_Form form(toolkit);
  form.UseDataFolder(KINEMO_BUILD_DATA_DIR);
  TMainWindow window(form);
  toolkit.Attach(&window);
  ASSERT_NE(window.GLView, nullptr) << "no OpenGL on this display";
  window.showMaximized();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, 5000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.GLView->FramesShown() > 0; }, 5000));
  const double first_frame_ms = ProcessAgeMs();
  ASSERT_TRUE(window.GLView->MakeCurrent()) << "no OpenGL context";

  // Xvfb has no window manager to maximise the window: resize it, which also
  // runs the projection for the new size.
  window.resize(1280, 760);
  EXPECT_TRUE(QTest::qWaitFor([&] { return window.GLView->width() > 1000; }, 5000));
  const QImage first = window.GLView->grabFramebuffer();
  ASSERT_FALSE(first.isNull());
  EXPECT_GT(DrawnPixels(first), 500) << "the grid, the marker and the devices are drawn";

  (void)QTest::qWaitForWindowActive(&window, 2000);
  window.View->setFocus();
  const QString status_before = window.StatusPanels[0]->text();
  QTest::keyClick(window.View, Qt::Key_A); // run
  EXPECT_TRUE(form.Timer1.Enabled);
  EXPECT_TRUE(QTest::qWaitFor([&] { return form.Sim.SimTime > 0.1; }, 10000));
  EXPECT_NE(window.StatusPanels[0]->text(), status_before);

  // A camera key changes the picture.
  const QImage before_zoom = window.GLView->grabFramebuffer();
  for (int i = 0; i < 5; ++i)
    QTest::keyClick(window.View, Qt::Key_Down);
  QTest::keyClick(window.View, Qt::Key_A); // pause
  const QImage after_zoom = window.GLView->grabFramebuffer();
  EXPECT_NE(before_zoom, after_zoom);

  // The mouse: right-drag shows the rotation mode, release shows "Normal".
  QTest::mousePress(window.View, Qt::RightButton, {}, QPoint(100, 100));
  EXPECT_EQ(window.StatusPanels[1]->text(), QStringLiteral("Mouse rotates screen"));
  QTest::mouseRelease(window.View, Qt::RightButton, {}, QPoint(100, 100));
  EXPECT_EQ(window.StatusPanels[1]->text(), QStringLiteral("Normal"));

  // Events that reach the view's native window itself, as the X server sends them.
  QTest::mousePress(window.GLView, Qt::RightButton, {}, QPoint(100, 100));
  EXPECT_EQ(window.StatusPanels[1]->text(), QStringLiteral("Mouse rotates screen"));
  QTest::mouseRelease(window.GLView, Qt::RightButton, {}, QPoint(100, 100));
  QTest::keyClick(window.GLView, Qt::Key_A);
  EXPECT_TRUE(form.Timer1.Enabled);
  QTest::keyClick(window.GLView, Qt::Key_A);
  EXPECT_FALSE(form.Timer1.Enabled);

  // What the screen shows: the frames reach the window, not only its buffers.
  window.GLView->grabFramebuffer(); // a frame drawn now, shown at the next update
  QTest::qWait(100);
  const QImage screen = window.screen()->grabWindow(window.winId()).toImage();
  const QPoint view_origin = window.View->mapTo(&window, QPoint(0, 0));
  EXPECT_GT(DrawnPixels(screen.copy(QRect(view_origin, window.View->size()))), 500)
      << "the scene is on the screen";
  screen.save(QDir::temp().filePath(QStringLiteral("kinemo_window.png")));
  std::cout << "start-up to first frame: " << first_frame_ms
            << " ms; resident memory: " << ResidentKb() / 1024.0 << " MB\n";
  window.close();
}

// What the screen shows of a widget of the window.
QImage Grab(TMainWindow& window, QWidget* part) {
  const QPoint at = part->mapTo(&window, QPoint(0, 0));
  return window.screen()
      ->grabWindow(window.winId(), at.x(), at.y(), part->width(), part->height())
      .toImage();
}

// Waits until `window` holds the system focus.
bool HasSystemFocus(QWindow* window) {
  return QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == window; }, 3000);
}

// After a click on any toolbar control, A starts the run without a click into
// the view. A window manager gives the system focus to the window a click
// lands in; here, without one, the test does that part. A pause shows a
// view reset at once.
TEST(Window, KeysStartTheRunAfterEveryToolbarControl) {
  TShownWindow shown;
  ASSERT_TRUE(shown.Show(1100, 600));
  [[maybe_unused]] auto& [toolkit, form, window] = shown;
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window, 3000));

  auto tool = [&](const char* name) {
    return window.findChild<QToolButton*>(QString::fromLatin1(name));
  };
  auto click = [](QWidget* w, QPoint at) { QTest::mouseClick(w, Qt::LeftButton, {}, at); };
  auto bar_end = [](QScrollBar* b) { return QPoint(b->width() - 4, b->height() / 2); };
  const std::pair<const char*, std::function<void()>> controls[] = {
      {"Animate button, twice",
       [&] {
         click(tool("ToolButton2"), {10, 10});
         click(tool("ToolButton2"), {10, 10});
       }},
      {"Reset view button",
       [&] {
         const QImage before = Grab(window, window.View);
         click(tool("ToolButton3"), {10, 10});
         EXPECT_TRUE(QTest::qWaitFor([&] { return Grab(window, window.View) != before; }, 3000))
             << "the reset view is not shown while paused";
       }},
      {"device list",
       [&] {
         click(window.CBListe, {10, 10});
         QAbstractItemView* list = window.CBListe->view();
         ASSERT_TRUE(QTest::qWaitFor([&] { return list->isVisible(); }, 3000));
         // Chosen with the keys of the open list: an immediate click is taken
         // for the end of the one that opened it.
         QTest::keyClick(list, Qt::Key_Up);
         QTest::keyClick(list, Qt::Key_Up);
         QTest::keyClick(list, Qt::Key_Return);
         ASSERT_TRUE(QTest::qWaitFor([&] { return !list->isVisible(); }, 3000));
         EXPECT_EQ(form.Sim.RobSel, 6);
       }},
      {"timer bar", [&] { click(window.SBtimer, bar_end(window.SBtimer)); }},
      {"frequency bar", [&] { click(window.SBfs, bar_end(window.SBfs)); }},
  };
  for (const auto& [name, use] : controls) {
    SCOPED_TRACE(name);
    ASSERT_FALSE(form.Timer1.Enabled);
    window.View->setFocus();
    ASSERT_TRUE(HasSystemFocus(window.GLView)) << "the view's window takes the keys";
    use();
    window.windowHandle()->requestActivate();
    ASSERT_TRUE(HasSystemFocus(window.windowHandle()));

    const QImage before = Grab(window, window.StatusPanels[0]);
    QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_A);
    EXPECT_TRUE(form.Timer1.Enabled);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return Grab(window, window.StatusPanels[0]) != before; }, 3000))
        << "the run does not start";
    QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_A);
    EXPECT_FALSE(form.Timer1.Enabled);
  }
  window.close();
}

// F2 in the view shows the panel and the view keeps the keys: the next A
// starts the run (it once opened the "Affichage" menu instead).
TEST(Window, AfterF2TheViewKeepsTheKeys) {
  TShownWindow shown;
  ASSERT_TRUE(shown.Show(1100, 600));
  [[maybe_unused]] auto& [toolkit, form, window] = shown;
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window, 3000));
  window.View->setFocus();
  ASSERT_TRUE(HasSystemFocus(window.GLView));
  for (bool shown : {true, false}) {
    QTest::keyClick(window.GLView, Qt::Key_F2);
    EXPECT_EQ(window.Instruments->isVisible(), shown);
    QTest::qWait(100);
    EXPECT_EQ(QGuiApplication::focusWindow(), window.GLView);
    QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_A);
    EXPECT_TRUE(form.Timer1.Enabled);
    QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_A);
    EXPECT_FALSE(form.Timer1.Enabled);
  }
  window.close();
}

// Follow mode as the user starts it, from the menu: through a long drive of
// the car, each frame shows it within the view's central third; switched
// off, the camera stays where it was.
TEST(Window, FollowKeepsTheDeviceInTheCentralThirdOfTheView) {
  TShownWindow shown;
  ASSERT_TRUE(shown.Show(1280, 720));
  [[maybe_unused]] auto& [toolkit, form, window] = shown;
  window.Dispatch([&] { form.SelectDevice(0); });
  QAction* follow = window.Action(QStringLiteral("SuivreAppareil1"));
  follow->trigger();
  ASSERT_TRUE(follow->isChecked());

  // A ground point of the devices' plane in the last frame drawn, as a
  // fraction of the view, from the frame's own matrices: the view leaves the
  // camera's after drawing.
  auto on_view = [&](double x, double y) {
    GLdouble model[16], projection[16], wx, wy, wz;
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(x, 0, -y, model, projection, viewport, &wx, &wy, &wz);
    return QPointF((wx - viewport[0]) / viewport[2], (wy - viewport[1]) / viewport[3]);
  };
  auto central = [](QPointF p) {
    return p.x() > 1.0 / 3 && p.x() < 2.0 / 3 && p.y() > 1.0 / 3 && p.y() < 2.0 / 3;
  };
  const TRobot& car = *form.Sim.Robots[0];
  const QPointF start(car.PosX * car.Scale, car.PosY * car.Scale);
  window.View->setFocus();
  // A wide circle to the left, some 2 m across, clear of the other devices.
  for (int k = 0; k < 8; ++k)
    QTest::keyClick(window.View, Qt::Key_8); // traction
  QTest::keyClick(window.View, Qt::Key_4);   // steering
  window.Dispatch([&] { form.AnimateClick(); });
  for (int k = 0; k < 15; ++k) {
    // A frame at the last tick of each hundred only: one each tick would take
    // half a minute on a software renderer.
    for (int t = 0; t < 100; ++t) {
      form.DeferTickFrames = t < 99;
      window.Dispatch([&] { form.Timer1Timer(); });
    }
    ASSERT_TRUE(window.GLView->MakeCurrent());
    const QPointF p = on_view(car.PosX * car.Scale, car.PosY * car.Scale);
    ASSERT_TRUE(central(p)) << "after " << (k + 1) * 100 << " ticks at " << p.x() << ", " << p.y();
  }
  // A camera that had stayed would have lost it.
  EXPECT_FALSE(central(on_view(start.x(), start.y())));

  follow->trigger();
  const double xv = form.xv, zv = form.zv;
  form.DeferTickFrames = true;
  for (int t = 0; t < 100; ++t)
    window.Dispatch([&] { form.Timer1Timer(); });
  EXPECT_EQ(form.xv, xv);
  EXPECT_EQ(form.zv, zv);
  window.Dispatch([&] { form.AnimateClick(); });
  window.close();
}

} // namespace KINEMO_UNITY_ID
} // namespace

int main(int argc, char** argv) {
  SetDefaultSurfaceFormat();
  // What the window remembers goes to a scratch folder, never the user's.
  const QTemporaryDir settings;
  for (auto format : {QSettings::NativeFormat, QSettings::IniFormat})
    QSettings::setPath(format, QSettings::UserScope, settings.path());
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
