// The instruments panel as the user meets it: it shows the selected device,
// its boxes change the device and "Valeurs d'origine" undoes that, it reads the
// values at most 20 times a second, and it comes back as it was left.
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <gtest/gtest.h>

#include "models/field_access.h"
#include "models/robots/monocycle.h"
#include "platform/qt/instruments_panel.h"
#include "qt_fixture.h"
#include "texts/quantity_text.h"

namespace {
namespace KINEMO_UNITY_ID {

QString Name(TInstrumentsPanel& panel) {
  return panel.findChild<QLabel*>(QStringLiteral("DeviceName"))->text();
}

TEST(InstrumentsPanel, ShowsTheSelectedDeviceAndItsEditsReachIt) {
  TWindowFixture f;
  ASSERT_TRUE(f.ShowActive());
  TInstrumentsPanel& panel = *f.window->Instruments;
  EXPECT_FALSE(panel.isVisible()); // a first start shows the view alone
  f.Trigger("Instruments1");
  ASSERT_TRUE(panel.isVisible());
  EXPECT_EQ(Name(panel), QStringLiteral("8 · Moteur linéaire synchrone"));

  // Chosen in the device list: shown at once, with the device's own values.
  f.window->Dispatch([&] {
    f.form->CBListe.ItemIndex = 3;
    f.form->CBListeSelect();
  });
  EXPECT_EQ(Name(panel), QStringLiteral("3 · Monocycle"));
  auto& mono = static_cast<TMonocycle&>(*f.form->Sim.Robots[3]);
  panel.Refresh();
  EXPECT_EQ(panel.findChild<QLabel*>(QStringLiteral("Value:State[0]"))->text().toStdString(),
            QuantityText(FindField(mono, "State[0]"), 180 / 3.141592653589793, '.'));

  // A box moved with the keyboard changes the device; Enter gives the keys back.
  auto* kp = panel.findChild<QDoubleSpinBox*>(QStringLiteral("Kp"));
  ASSERT_NE(kp, nullptr);
  EXPECT_EQ(kp->value(), 5);
  kp->setFocus();
  QTest::keyClick(kp, Qt::Key_Up);
  EXPECT_EQ(mono.Kp, 5.5);
  QTest::keyClick(kp, Qt::Key_Return);
  EXPECT_TRUE(f.window->View->hasFocus());
  kp->setValue(40);
  EXPECT_EQ(mono.Kp, 40);
  // An angle in degrees, as its set point is shown; the device keeps radians,
  // which the tip gives in full.
  auto* av_max = panel.findChild<QDoubleSpinBox*>(QStringLiteral("AvMax"));
  EXPECT_DOUBLE_EQ(av_max->value(), 60);
  av_max->setValue(30);
  EXPECT_DOUBLE_EQ(mono.AvMax, 3.141592653589793 / 6);
  panel.Refresh();
  EXPECT_TRUE(av_max->toolTip().contains(
      QLocale().toString(mono.AvMax, 'g', QLocale::FloatingPointShortest) + " rad"))
      << av_max->toolTip().toStdString();
  auto* mass = panel.findChild<QDoubleSpinBox*>(QStringLiteral("PendulumMass"));
  mass->setValue(1);
  EXPECT_EQ(mono.PendulumInertia, 1 * (0.15 * 0.15) / 3);

  QTest::mouseClick(panel.findChild<QPushButton*>(QStringLiteral("Defaults")), Qt::LeftButton);
  EXPECT_EQ(mono.Kp, 5);
  EXPECT_EQ(mono.PendulumInertia, 0.2 * (0.15 * 0.15) / 3);
  EXPECT_EQ(kp->value(), 5);
  EXPECT_EQ(mass->value(), 0.2);
  EXPECT_DOUBLE_EQ(av_max->value(), 60);

  // A device without parameters says so.
  f.window->Dispatch([&] { f.form->SelectDevice(5); });
  EXPECT_EQ(Name(panel), QStringLiteral("5 · Rail denté"));
  EXPECT_EQ(panel.findChildren<QDoubleSpinBox*>().size(), 0);
}

TEST(InstrumentsPanel, ReadsTheValuesAtMostTwentyTimesASecondWhateverTheTickRate) {
  TWindowFixture f;
  ASSERT_TRUE(f.ShowActive());
  f.Trigger("Instruments1");
  TInstrumentsPanel& panel = *f.window->Instruments;
  f.window->Dispatch([&] { f.form->AnimateClick(); });
  const int before = panel.Refreshes();
  QElapsedTimer clock;
  clock.start();
  int ticks = 0;
  while (clock.elapsed() < 400) {
    f.window->Dispatch([&] { f.form->Timer1Timer(); });
    QCoreApplication::processEvents();
    ++ticks;
  }
  const int refreshes = panel.Refreshes() - before;
  EXPECT_GE(refreshes, 3) << "the values are read while the simulation runs";
  EXPECT_LE(refreshes, clock.elapsed() / TInstrumentsPanel::kRefreshMs + 1);
  EXPECT_GT(ticks, 2 * refreshes);
  // Hidden, it reads nothing.
  f.Trigger("Instruments1");
  const int hidden = panel.Refreshes();
  QTest::qWait(150);
  EXPECT_EQ(panel.Refreshes(), hidden);
}

TEST(InstrumentsPanel, ComesBackAsItWasLeftAndF2ShowsOrHidesIt) {
  {
    TWindowFixture f;
    ASSERT_TRUE(f.ShowActive());
    f.window->View->setFocus();
    const double yv = f.form->yv;
    QTest::keyClick(f.window->View, Qt::Key_F2);
    EXPECT_TRUE(f.window->Instruments->isVisible());
    EXPECT_TRUE(f.window->Action(QStringLiteral("Instruments1"))->isChecked());
    // The key map still has every key, once.
    QTest::keyClick(f.window->View, Qt::Key_H);
    EXPECT_EQ(f.form->yv, yv + f.form->CamStep);
  }
  for (bool shown : {true, false}) {
    TQtToolkit tk;
    TGL_Form form(tk);
    TMainWindow window(form);
    tk.Attach(&window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.Instruments->isVisible(), shown);
    window.View->setFocus();
    QTest::keyClick(window.View, Qt::Key_F2); // hidden for the next start, then shown
  }
}

} // namespace KINEMO_UNITY_ID
} // namespace
