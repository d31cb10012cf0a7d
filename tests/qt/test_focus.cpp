// Keys keep reaching the key handler after the toolbar controls were used.
#include <QComboBox>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include "models/linear/mslin.h"
#include "platform/qt/gl_view.h"
#include "qt_fixture.h"

namespace {

TEST(Focus, ReturnsToTheViewAfterTheToolbarControls) {
  TWindowFixture f;
  ASSERT_TRUE(f.ShowActive());
  QWidget* view = f.window->View;

  // The device list: the keys drive the new device as soon as the list closes.
  f.window->CBListe->showPopup();
  emit f.window->CBListe->activated(3);
  f.window->CBListe->hidePopup();
  EXPECT_EQ(f.form->RobSel, 3);
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
  const int selected = f.form->RobSel;
  QTest::keyClick(f.window->CBListe, Qt::Key_A);
  EXPECT_TRUE(f.form->Timer1.Enabled);
  EXPECT_EQ(f.form->RobSel, selected); // the list itself did not move
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
  EXPECT_DOUBLE_EQ(f.form->MsPtr->CurrentCmd, 0.1);
  QTest::keyClick(focused, Qt::Key_2); // top-row 2 on a laptop
  EXPECT_DOUBLE_EQ(f.form->MsPtr->CurrentCmd, 0.0);
}

} // namespace
