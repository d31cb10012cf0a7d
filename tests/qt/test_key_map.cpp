// Qt keys to virtual-key codes, and keys typed into the window reaching the
// key handler.
#include <QTest>
#include <gtest/gtest.h>

#include "platform/qt/gl_view.h"
#include "platform/qt/key_map.h"
#include "qt_fixture.h"

namespace {
namespace KINEMO_UNITY_ID {

struct TKeyCase {
  const char* What;
  int QtKey;
  Qt::KeyboardModifiers Modifiers;
  unsigned ScanCode;
  int Expected; // -1: no code
  TShiftState Shift;
};

const Qt::KeyboardModifiers kNone = Qt::NoModifier;
const Qt::KeyboardModifiers kPad = Qt::KeypadModifier;

const TKeyCase kCases[] = {
    {"keypad 8 with Num Lock", Qt::Key_8, kPad, 88, 0x68, 0},
    {"keypad 0 with Num Lock", Qt::Key_0, kPad, 90, 0x60, 0},
    {"keypad 8 without Num Lock is Up", Qt::Key_Up, kPad, 80, 0x26, 0},
    {"keypad 9 without Num Lock is Page Up", Qt::Key_PageUp, kPad, 81, 0x21, 0},
    {"keypad 5 without Num Lock does nothing", Qt::Key_Clear, kPad, 84, -1, 0},
    {"top-row 8 (QWERTY) acts as keypad 8", Qt::Key_8, kNone, 17, 0x68, 0},
    {"top-row 0 (QWERTY) acts as keypad 0", Qt::Key_0, kNone, 19, 0x60, 0},
    {"top-row 8 on AZERTY types _", Qt::Key_Underscore, kNone, 17, 0x68, 0},
    {"top-row 1 on AZERTY types &", Qt::Key_Ampersand, kNone, 10, 0x61, 0},
    {"top-row 2 on AZERTY with Shift", Qt::Key_2, Qt::ShiftModifier, 11, 0x62, ssShift},
    {"a digit without a scan code", Qt::Key_5, kNone, 0, 0x65, 0},
    {"letter", Qt::Key_A, kNone, 38, 0x41, 0},
    {"Ctrl+D keeps Ctrl", Qt::Key_D, Qt::ControlModifier, 40, 0x44, ssCtrl},
    {"Ctrl+M keeps Ctrl", Qt::Key_M, Qt::ControlModifier, 58, 0x4D, ssCtrl},
    {"Page Down", Qt::Key_PageDown, kNone, 117, 0x22, 0},
    {"Left arrow", Qt::Key_Left, kNone, 113, 0x25, 0},
    {"keypad plus", Qt::Key_Plus, kPad, 86, 0x6B, 0},
    {"a symbol without a code", Qt::Key_Eacute, kNone, 0, -1, 0},
};

TEST(KeyMap, QtKeysGiveVirtualKeyCodes) {
  for (const TKeyCase& c : kCases) {
    SCOPED_TRACE(c.What);
    const auto mapped = MapKey(c.QtKey, c.Modifiers, c.ScanCode);
    if (c.Expected < 0) {
      EXPECT_FALSE(mapped.has_value());
      continue;
    }
    ASSERT_TRUE(mapped.has_value());
    EXPECT_EQ(mapped->Key, c.Expected);
    EXPECT_EQ(mapped->Shift, c.Shift);
  }
}

// Keys typed into the running window drive the form as the key map says.
TEST(KeyMap, TypedKeysReachTheHandler) {
  TWindowFixture f;
  ASSERT_TRUE(f.ShowActive());
  QWidget* view = f.window->View;
  view->setFocus();

  QTest::keyClick(view, Qt::Key_A);
  EXPECT_TRUE(f.form->Timer1.Enabled);
  EXPECT_TRUE(f.window->Action(QStringLiteral("Animate"))->isChecked());
  QTest::keyClick(view, Qt::Key_A);
  EXPECT_FALSE(f.form->Timer1.Enabled);

  const double yrot = f.form->yrot;
  QTest::keyClick(view, Qt::Key_D, Qt::ControlModifier);
  EXPECT_TRUE(f.form->DemoMode);
  EXPECT_EQ(f.form->yrot, yrot); // Ctrl+D does not turn the camera
  QTest::keyClick(view, Qt::Key_D, Qt::ControlModifier);
  EXPECT_FALSE(f.form->DemoMode);
  QTest::keyClick(view, Qt::Key_D);
  EXPECT_EQ(f.form->yrot, yrot - 2);

  const double zpos = f.form->zpos;
  QTest::keyClick(view, Qt::Key_Down);
  EXPECT_EQ(f.form->zpos, zpos + f.form->CamStep);
}

} // namespace KINEMO_UNITY_ID
} // namespace
