// The main window as the user sees it: the status bar, hints, the controls
// following the form, scenes through the file dialogs.
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>
#include <fstream>
#include <gtest/gtest.h>

#include "../scratch.h"
#include "platform/qt/captioned_bar.h"
#include "platform/qt/desktop.h"
#include "platform/qt/tick_timer.h"
#include "qt_fixture.h"

namespace {
namespace KINEMO_UNITY_ID {

// The telemetry panel takes all the width the mouse-mode panel leaves, at any
// window width; the two never overlap.
TEST(MainWindow, StatusPanelsShareTheWidthWithoutOverlapping) {
  TWindowFixture f;
  f.window->show();
  for (int width : {1600, 1200, 800, 500, 320}) {
    SCOPED_TRACE(width);
    f.window->resize(width, 400);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.window->width() == width; }, 1000));
    QCoreApplication::processEvents();
    QLabel* const* p = f.window->StatusPanels;
    const QRect bar = f.window->statusBar()->rect();
    const QRect telemetry(p[0]->pos(), p[0]->size()), mode(p[1]->pos(), p[1]->size());
    EXPECT_EQ(mode.width(), 100);
    EXPECT_TRUE(bar.contains(telemetry) && bar.contains(mode));
    EXPECT_LT(telemetry.right(), mode.left());
    // Only the margins and the size grip besides.
    EXPECT_GE(telemetry.width(), bar.width() - 100 - 40);
  }
}

// A hint replaces the telemetry while the pointer is on what it describes,
// and the telemetry comes back however the pointer leaves.
TEST(MainWindow, HintsGiveTheTelemetryBack) {
  TWindowFixture f;
  f.window->show();
  f.form->StatusBar.Panels[0].Text = "Fps:1, t:0.5";
  f.window->SyncControls();
  QLabel* telemetry = f.window->StatusPanels[0];
  const QString hint = f.window->SBtimer->statusTip();
  ASSERT_FALSE(hint.isEmpty());

  QEvent enter(QEvent::Enter), leave(QEvent::Leave);
  QCoreApplication::sendEvent(f.window->SBtimer, &enter);
  QStatusTipEvent tip(hint);
  QCoreApplication::sendEvent(f.window->SBtimer, &tip);
  EXPECT_EQ(telemetry->text(), hint);
  EXPECT_TRUE(telemetry->isVisible());
  f.form->StatusBar.Panels[0].Text = "Fps:2, t:0.6"; // a tick meanwhile
  f.window->SyncControls();
  EXPECT_EQ(telemetry->text(), hint);
  QCoreApplication::sendEvent(f.window->SBtimer, &leave);
  EXPECT_EQ(telemetry->text(), QStringLiteral("Fps:2, t:0.6"));

  // From a menu item straight into the view, or with the menu closed.
  QStatusTipEvent menu_tip(QStringLiteral("Enregistre une séquence en .avi"));
  QCoreApplication::sendEvent(f.window.get(), &menu_tip);
  EXPECT_EQ(telemetry->text(), QStringLiteral("Enregistre une séquence en .avi"));
  QCoreApplication::sendEvent(f.window->View, &enter);
  EXPECT_EQ(telemetry->text(), QStringLiteral("Fps:2, t:0.6"));
  for (QAction* item : f.window->menuBar()->actions()) {
    QMenu* menu = item->menu();
    QCoreApplication::sendEvent(f.window.get(), &menu_tip);
    menu->popup(QPoint(0, 0));
    menu->hide();
    EXPECT_EQ(telemetry->text(), QStringLiteral("Fps:2, t:0.6")) << menu->title().toStdString();
  }
}

// The timer bar at its far left stops the run: its caption and the status
// bar say so, and moving it away takes the notice down.
TEST(MainWindow, AZeroTimerPeriodIsShownOnTheBarAndInTheStatusBar) {
  TWindowFixture f;
  ASSERT_TRUE(f.ShowActive());
  const auto& bar = *static_cast<TCaptionedBar*>(f.window->SBtimer);
  EXPECT_FALSE(f.window->TimerStopped->isVisible());
  f.window->SBtimer->setValue(0);
  EXPECT_TRUE(bar.Caption().contains(QStringLiteral(" 0 ms"))) << bar.Caption().toStdString();
  EXPECT_TRUE(f.window->TimerStopped->isVisible());
  f.window->SBtimer->setValue(25);
  EXPECT_TRUE(bar.Caption().contains(QStringLiteral(" 25 ms"))) << bar.Caption().toStdString();
  EXPECT_FALSE(f.window->TimerStopped->isVisible());
}

// Restored from maximised, the window fits the screen's available area
// with its frame.
TEST(MainWindow, RestoredWindowFitsTheScreen) {
  TWindowFixture f;
  ShowMaximisedWindow(*f.window);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f.window.get(), 2000));
  f.window->showNormal();
  const QRect avail = f.window->screen()->availableGeometry();
  EXPECT_TRUE(QTest::qWaitFor([&] { return avail.contains(f.window->frameGeometry()); }, 2000))
      << "frame " << f.window->frameGeometry().width() << " x "
      << f.window->frameGeometry().height() << " on " << avail.width() << " x " << avail.height();
  EXPECT_NE(f.window->frameGeometry(), f.window->geometry()) << "the platform draws no frame";
}

// With both docks open the view keeps half the window's height (it once had
// 350 px of 720): at first, and when the window shrinks under a scope the
// user made tall, which stays as the user left it until then.
TEST(MainWindow, TheViewKeepsHalfTheHeightWithBothDocksOpen) {
  TWindowFixture f;
  f.window->resize(1280, 720);
  ASSERT_TRUE(f.ShowActive());
  f.window->ShowInstruments(true);
  f.window->ShowScope(true);
  const QWidget& view = *f.window->View;
  auto resized = [&](QSize size) {
    f.window->resize(size);
    return QTest::qWaitFor([&] { return f.window->size() == size; }, 1000);
  };
  auto half = [&] {
    QCoreApplication::processEvents();
    return 2 * view.height() >= f.window->height() && 2 * view.width() >= f.window->width();
  };
  EXPECT_TRUE(half()) << view.width() << " x " << view.height();
  ASSERT_TRUE(resized({1600, 900}));
  f.window->resizeDocks({f.window->Scope}, {420}, Qt::Vertical);
  QCoreApplication::processEvents();
  EXPECT_NEAR(f.window->Scope->height(), 420, 2);
  ASSERT_TRUE(resized({1280, 720}));
  EXPECT_TRUE(half()) << view.width() << " x " << view.height();
}

// Whatever changes the selection, the list shows the selected device.
TEST(MainWindow, TheDeviceListFollowsTheSelection) {
  TWindowFixture f;
  f.Answer(
      [](QDialog& d) { d.findChild<QLineEdit*>(QStringLiteral("IDC_EDITRobSel"))->setText("0"); },
      true);
  f.Trigger("SelectRobot1");
  EXPECT_EQ(f.form->Sim.RobSel, 0);
  EXPECT_EQ(f.window->CBListe->currentIndex(), 0);
  f.window->Dispatch([&] { f.form->SelectDevice(5); });
  EXPECT_EQ(f.window->CBListe->currentIndex(), 5);
}

// Help without a browser: a message with the page's full path.
TEST(MainWindow, HelpThatCannotOpenSaysSo) {
  for (const char* launcher : {"false", "/nonexistent/kinemo-browser"}) {
    SCOPED_TRACE(launcher);
    TWindowFixture f;
    f.tk.Launcher = QString::fromLatin1(launcher);
    f.Trigger("Aide2");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.messages.empty(); }, 5000));
    EXPECT_EQ(f.messages[0], "La page d'aide n'a pas pu être ouverte :\n" + f.form->HelpPagePath());
  }
}

TEST(MainWindow, WidgetsCallHandlersAndFollowTheForm) {
  TWindowFixture f;
  // Moving a bar runs its change handler.
  f.window->SBtimer->setValue(0);
  EXPECT_EQ(f.form->Timer1.Interval, 0);
  f.window->SBfs->setValue(f.window->SBfs->minimum());
  EXPECT_DOUBLE_EQ(f.form->Sim.Fs, 0.1);

  // Choosing a device in the list selects it.
  emit f.window->CBListe->activated(3);
  EXPECT_EQ(f.form->Sim.RobSel, 3);
  EXPECT_TRUE(f.form->Sim.Robots[3]->Selected);

  // The gauge follows its model.
  f.window->show();
  f.form->CGaugeCapture.MaxValue = 250;
  f.form->CGaugeCapture.Progress = 7;
  f.form->CGaugeCapture.Visible = true;
  f.window->SyncControls();
  EXPECT_TRUE(QTest::qWaitFor([&] { return f.window->CGaugeCapture->isVisible(); }, 1000));
  EXPECT_EQ(f.window->CGaugeCapture->maximum(), 250);
  EXPECT_EQ(f.window->CGaugeCapture->value(), 7);

  // Run and pause from the menu.
  f.Trigger("Animate");
  EXPECT_TRUE(f.form->Timer1.Enabled);
  EXPECT_TRUE(f.window->Timer1->Armed() == false); // interval 0 above: no ticks
  f.window->SBtimer->setValue(10);
  EXPECT_TRUE(f.window->Timer1->Armed());
  f.Trigger("Animate");
  EXPECT_FALSE(f.window->Timer1->Armed());
}

// Scenes through the Select menu's file dialogs, filtered on *.json: saved in
// one window, opened in another, whose toolbar then shows what was saved.
TEST(MainWindow, ScenesGoThroughTheFileDialogs) {
  TScratchDir dir;
  const QString path = QString::fromStdString(dir / "lesson.json");
  auto choose = [&path](QFileDialog::AcceptMode mode) {
    return [&path, mode](QDialog& d) {
      auto& files = dynamic_cast<QFileDialog&>(d);
      EXPECT_EQ(files.acceptMode(), mode);
      EXPECT_EQ(files.nameFilters(), QStringList{QStringLiteral("Scènes Kinemo (*.json)")});
      files.selectFile(path);
    };
  };
  {
    TWindowFixture f;
    f.window->SBfs->setValue(37);
    emit f.window->CBListe->activated(3);
    f.Answer(choose(QFileDialog::AcceptSave), true);
    f.Trigger("EnregistrerScene1");
    EXPECT_TRUE(f.messages.empty());
  }
  ASSERT_TRUE(std::filesystem::exists(path.toStdString()));
  TWindowFixture g;
  EXPECT_EQ(g.window->Action(QStringLiteral("OuvrirScene1"))->shortcut(),
            QKeySequence(Qt::CTRL | Qt::Key_O));
  g.Answer(choose(QFileDialog::AcceptOpen), true);
  g.Trigger("OuvrirScene1");
  EXPECT_TRUE(g.messages.empty());
  EXPECT_EQ(g.form->Sim.RobSel, 3);
  EXPECT_EQ(g.window->CBListe->currentIndex(), 3);
  EXPECT_EQ(g.window->SBfs->value(), 37);
}

// `kinemo scene.json`: the window opens on the scene named among the
// arguments (an option's value is none), once the event loop runs; a bad one
// is refused over the window.
TEST(MainWindow, OpensTheSceneNamedOnTheCommandLine) {
  TScratchDir dir;
  const std::string good = dir / "good.json", bad = dir / "bad.json";
  {
    TWindowFixture f;
    emit f.window->CBListe->activated(6);
    ASSERT_TRUE(f.form->SaveScene(good));
  }
  std::ofstream(bad) << "{}";
  TWindowFixture g;
  OpenSceneArgument(*g.window, *g.form, {"--lang", "en", "--verbose", good});
  EXPECT_EQ(g.form->Sim.RobSel, 8); // not before the event loop runs
  EXPECT_TRUE(QTest::qWaitFor([&] { return g.form->Sim.RobSel == 6; }, 2000));
  EXPECT_EQ(g.window->CBListe->currentIndex(), 6);
  OpenSceneArgument(*g.window, *g.form, {bad, good});
  EXPECT_TRUE(QTest::qWaitFor([&] { return !g.messages.empty(); }, 2000));
  ASSERT_EQ(g.messages.size(), 1u);
  EXPECT_EQ(g.messages[0].rfind("Impossible d'ouvrir la scène " + bad + " : ", 0), 0u);
  EXPECT_EQ(g.form->Sim.RobSel, 6);
}

} // namespace KINEMO_UNITY_ID
} // namespace
