// Keys keep reaching the key handler after the toolbar controls were used.
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>

#include "models/linear/mslin.h"
#include "platform/qt/gl_view.h"
#include "qt_fixture.h"

namespace {
namespace KINEMO_UNITY_ID {

TEST(Focus, ReturnsToTheViewAfterTheToolbarControls) {
  TWindowFixture f;
  ASSERT_TRUE(f.ShowActive());
  QWidget* view = f.window->View;

  // The device list: the keys drive the new device as soon as the list closes.
  f.window->CBListe->showPopup();
  emit f.window->CBListe->activated(3);
  f.window->CBListe->hidePopup();
  EXPECT_EQ(f.form->Sim.RobSel, 3);
  EXPECT_TRUE(view->hasFocus());

  // A scroll bar given the focus by a click returns it when a key is released.
  for (QScrollBar* bar : {f.window->SBtimer, f.window->SBfs}) {
    SCOPED_TRACE(bar->objectName().toStdString());
    bar->setFocusPolicy(Qt::ClickFocus);
    bar->setFocus();
    ASSERT_TRUE(bar->hasFocus());
    QTest::keyRelease(bar, Qt::Key_Right);
    EXPECT_TRUE(view->hasFocus());
  }

  // A key typed while the list holds the focus still goes to the handler.
  f.window->CBListe->setFocusPolicy(Qt::StrongFocus);
  f.window->CBListe->setFocus();
  const int selected = f.form->Sim.RobSel;
  QTest::keyClick(f.window->CBListe, Qt::Key_A);
  EXPECT_TRUE(f.form->Timer1.Enabled);
  EXPECT_EQ(f.form->Sim.RobSel, selected); // the list itself did not move
}

TEST(Focus, KeypadDigitsDriveTheDeviceChosenInTheList) {
  TWindowFixture f;
  ASSERT_TRUE(f.ShowActive());
  f.window->CBListe->showPopup();
  emit f.window->CBListe->activated(8); // the synchronous motor
  f.window->CBListe->hidePopup();
  QWidget* focused = QApplication::focusWidget();
  ASSERT_NE(focused, nullptr);
  QTest::keyClick(focused, Qt::Key_8, Qt::KeypadModifier);
  EXPECT_DOUBLE_EQ(f.form->Sim.MsPtr->CurrentCmd, 0.1);
  QTest::keyClick(focused, Qt::Key_2); // top-row 2 on a laptop
  EXPECT_DOUBLE_EQ(f.form->Sim.MsPtr->CurrentCmd, 0.0);
}

// A key as the system delivers it: to the window, which hands it to the
// widget holding the focus, or keeps it when none does. Under X none does
// once the view's own native window has had the system focus and a click on
// the toolbar, a menu or a closing dialog has given it back to the window.
void PressOnWindow(TWindowFixture& f, bool no_focus_widget, Qt::Key key,
                   Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  if (no_focus_widget && QApplication::focusWidget()) QApplication::focusWidget()->clearFocus();
  QTest::keyClick(f.window->windowHandle(), key, modifiers);
}

TEST(Focus, KeysReachTheHandlerOnceAfterEveryControlMenuAndDialog) {
  TWindowFixture f;
  ASSERT_TRUE(f.ShowActive());
  auto click = [](QWidget* w, QPoint at) { QTest::mouseClick(w, Qt::LeftButton, {}, at); };
  auto button = [&](const char* name) {
    return f.window->findChild<QToolButton*>(QString::fromLatin1(name));
  };
  auto bar_end = [](QScrollBar* b) { return QPoint(b->width() - 4, b->height() / 2); };
  auto dialog = [&](const char* command, const char* robot, bool ok) {
    f.Answer(
        [robot](QDialog& d) {
          if (robot) d.findChild<QLineEdit*>(QStringLiteral("IDC_EDITRobSel"))->setText(robot);
        },
        ok);
    f.Trigger(command);
  };
  const std::pair<const char*, std::function<void()>> uses[] = {
      {"Animate button",
       [&] {
         click(button("ToolButton2"), {10, 10});
       }},
      {"Reset view button",
       [&] {
         click(button("ToolButton3"), {10, 10});
       }},
      {"device list",
       [&] {
         f.window->CBListe->showPopup();
         emit f.window->CBListe->activated(2);
         f.window->CBListe->hidePopup();
       }},
      {"timer bar", [&] { click(f.window->SBtimer, bar_end(f.window->SBtimer)); }},
      {"frequency bar", [&] { click(f.window->SBfs, bar_end(f.window->SBfs)); }},
      {"menu command", [&] { f.Trigger("Resetrobots"); }},
      {"options dialog", [&] { dialog("Options1", nullptr, false); }},
      {"motor and rail dialog", [&] { dialog("OptionsMRVrail1", nullptr, true); }},
      {"robot selection dialog", [&] { dialog("SelectRobot1", "0", true); }},
      {"a message box", [&] { dialog("SelectRobot1", "99", true); }},
      {"About box", [&] { dialog("Apropos", nullptr, true); }},
      {"view dialog shown and hidden",
       [&] {
         f.Trigger("View");
         f.Trigger("View");
       }},
  };
  for (const auto& [name, use] : uses) {
    SCOPED_TRACE(name);
    use();
    QCoreApplication::processEvents();
    for (bool no_focus_widget : {false, true}) {
      const bool running = f.form->Timer1.Enabled;
      PressOnWindow(f, no_focus_widget, Qt::Key_A);
      EXPECT_NE(f.form->Timer1.Enabled, running) << "no focus widget: " << no_focus_widget;
    }
  }
  EXPECT_EQ(f.messages.size(), 1u);
}

// The global keys are written beside their menu commands, as text only: Qt
// takes none of them, so the key handler sees each press once.
TEST(Focus, GlobalKeysShownInTheMenusReachTheHandlerOnce) {
  TWindowFixture f;
  ASSERT_TRUE(f.ShowActive());
  const std::pair<const char*, const char*> shown[] = {
      {"Animate", "A"}, {"Resetrobots", "R"}, {"ModeDmo1", "Ctrl+D"}};
  for (const auto& [name, key] : shown) {
    QAction* action = f.window->Action(QString::fromLatin1(name));
    EXPECT_EQ(action->text().section(QLatin1Char('\t'), 1), QString::fromLatin1(key)) << name;
    EXPECT_TRUE(action->shortcut().isEmpty()) << name;
  }
  for (bool no_focus_widget : {false, true}) {
    SCOPED_TRACE(no_focus_widget ? "no focus widget" : "the view has the focus");
    PressOnWindow(f, no_focus_widget, Qt::Key_A);
    EXPECT_TRUE(f.form->Timer1.Enabled);
    PressOnWindow(f, no_focus_widget, Qt::Key_A);
    EXPECT_FALSE(f.form->Timer1.Enabled);
    // The keyboard's demonstration also sets every device's automatic mode,
    // which the menu command does not: the key reached FormKeyDown.
    for (TRobot* r : f.form->Sim.Robots)
      r->AutoMode = false;
    PressOnWindow(f, no_focus_widget, Qt::Key_D, Qt::ControlModifier);
    EXPECT_TRUE(f.form->DemoMode);
    for (const TRobot* r : f.form->Sim.Robots)
      EXPECT_TRUE(r->AutoMode);
    PressOnWindow(f, no_focus_widget, Qt::Key_D, Qt::ControlModifier);
    EXPECT_FALSE(f.form->DemoMode);
    f.form->Timer1.Enabled = false;
    f.window->SyncControls();
  }
}

} // namespace KINEMO_UNITY_ID
} // namespace
