// The modeless view dialog follows the camera live and writes back into it.
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include "dialogs/dlg_view.h"
#include "platform/qt/gl_view.h"
#include "qt_fixture.h"

namespace {
namespace KINEMO_UNITY_ID {

TEST(ViewDialog, FollowsTheCameraAndWritesBack) {
  TWindowFixture f;
  ASSERT_TRUE(f.ShowActive());
  TFormDlgView* d = f.window->FormDlgView;
  f.Trigger("View");
  EXPECT_TRUE(d->isVisible());

  // A camera key in the window shows at once in the dialog.
  f.window->View->setFocus();
  QTest::keyClick(f.window->View, Qt::Key_Left);
  EXPECT_EQ(d->IDC_EDITxv->text().toStdString(), f.form->FormDlgView.IDC_EDITxv);
  EXPECT_NE(d->IDC_EDITxv->text(), QStringLiteral("-1.5"));

  // Enter 2.5 while the bar shows 0: the bar's change writes its integer back.
  ASSERT_EQ(d->ScrollBarzpos->value(), 0);
  d->IDC_EDITzpos->setText(QStringLiteral("2.5"));
  emit d->IDC_EDITzpos->textEdited(QStringLiteral("2.5"));
  QTest::keyClick(d->IDC_EDITzpos, Qt::Key_Return);
  EXPECT_EQ(f.form->zpos, 2.0);
  EXPECT_EQ(d->IDC_EDITzpos->text(), QStringLiteral("2"));
  EXPECT_EQ(d->ScrollBarzpos->value(), 2);

  // Moving a bar sets its value.
  d->ScrollBaryrot->setValue(45);
  EXPECT_EQ(f.form->yrot, 45.0);
  EXPECT_EQ(d->IDC_EDITyrot->text(), QStringLiteral("45"));

  // Text that is not a number: a message, the value stays.
  d->IDC_EDITxrot->setText(QStringLiteral("abc"));
  emit d->IDC_EDITxrot->textEdited(QStringLiteral("abc"));
  const double xrot = f.form->xrot;
  QTest::keyClick(d->IDC_EDITxrot, Qt::Key_Return);
  EXPECT_EQ(f.form->xrot, xrot);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !f.messages.empty(); }, 1000));

  d->ButtonReset->click();
  EXPECT_EQ(f.form->zpos, 2.0);
  EXPECT_EQ(f.form->yrot, -90.0);
  EXPECT_EQ(d->IDC_EDITyrot->text(), QStringLiteral("-90"));

  // Closed by the user, the next "&View" shows it again.
  d->close();
  EXPECT_FALSE(f.form->FormDlgView.Visible);
  f.Trigger("View");
  EXPECT_TRUE(d->isVisible());
  f.Trigger("View");
  EXPECT_FALSE(d->isVisible());
}

} // namespace KINEMO_UNITY_ID
} // namespace
