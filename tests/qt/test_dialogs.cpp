// The dialogs as forms: captions whole in either language, sizes, filled from the form, read back
// on OK, and Cancel leaving every setting as it was.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <gtest/gtest.h>

#include "dialogs/about.h"
#include "dialogs/dlg_capture.h"
#include "dialogs/dlg_compression.h"
#include "dialogs/dlg_options.h"
#include "dialogs/dlg_options_mrv.h"
#include "dialogs/dlg_robsel.h"
#include "dialogs/dlg_view.h"
#include "models/field_access.h"
#include "models/linear/mrvlin.h"
#include "models/linear/rail.h"
#include "platform/qt/instruments_panel.h"
#include "platform/qt/language.h"
#include "platform/qt/scope_dock.h"
#include "qt_fixture.h"

namespace {
namespace KINEMO_UNITY_ID {

void Type(QDialog& d, const char* edit, const QString& text) {
  auto* e = d.findChild<QLineEdit*>(QString::fromLatin1(edit));
  ASSERT_NE(e, nullptr) << edit;
  e->setText(text);
}

// A caption shown whole in `w` (a label that wraps has the room it needs).
void ExpectWhole(QWidget& w, QWidget& form) {
  auto* label = qobject_cast<QLabel*>(&w);
  auto* button = qobject_cast<QAbstractButton*>(&w);
  const QString text = label ? label->text() : button ? button->text() : QString();
  if (text.isEmpty() || (label && label->wordWrap()) || !w.isVisibleTo(&form)) return;
  SCOPED_TRACE(text.toStdString());
  // A push button's hint has a style minimum beyond its text.
  const int needed = qobject_cast<QPushButton*>(&w)
                         ? w.fontMetrics().horizontalAdvance(QString(text).remove('&')) + 8
                         : w.sizeHint().width();
  EXPECT_GE(w.width(), needed) << "the caption is cut";
  // A dock scrolls; a dialog has all in view.
  if (!qobject_cast<QDialog*>(&form)) return;
  const QRect in_form(w.mapTo(&form, QPoint(0, 0)), w.size());
  EXPECT_TRUE(form.rect().contains(in_form)) << "outside the form";
}

TEST(Dialogs, EveryCaptionFitsItsFormInEitherLanguage) {
  TWindowFixture f;
  f.window->resize(1280, 720);
  f.window->show();
  f.window->ShowInstruments(true);
  f.window->ShowScope(true);
  for (TLanguage language : {TLanguage::English, TLanguage::French}) {
    f.window->SetLanguage(language);
    SCOPED_TRACE(LanguageCode(language).toStdString());
    for (QWidget* d : std::initializer_list<QWidget*>{
             f.window->DialogOptions, f.window->DialogOptionsMRV, f.window->DialogRobSel,
             f.window->DialogCapture, f.window->DialogCompression, f.window->DlgAbout,
             f.window->FormDlgView, f.window->Instruments, f.window->Scope}) {
      SCOPED_TRACE(d->windowTitle().toStdString());
      const bool dialog = qobject_cast<QDialog*>(d) != nullptr;
      if (dialog) d->show();
      QCoreApplication::processEvents();
      for (QWidget* w : d->findChildren<QWidget*>())
        ExpectWhole(*w, *d);
      if (dialog) d->hide();
    }
  }
  RemoveLanguage();
}

TEST(Dialogs, OptionsShowsDtAndSetsItOnOk) {
  TWindowFixture f;
  QString shown;
  f.Answer(
      [&](QDialog& d) {
        shown = d.findChild<QLineEdit*>(QStringLiteral("Editdt"))->text();
        Type(d, "Editdt", QStringLiteral("0.02"));
      },
      false);
  f.Trigger("Options1");
  EXPECT_EQ(shown, QStringLiteral("0.01"));
  EXPECT_EQ(f.form->Sim.Dt, 0.01); // Cancel

  f.Answer([](QDialog& d) { Type(d, "Editdt", QStringLiteral("0.02")); }, true);
  f.Trigger("Options1");
  EXPECT_EQ(f.form->Sim.Dt, 0.02);

  // Not a number: a message, and the old value stays.
  f.Answer([](QDialog& d) { Type(d, "Editdt", QStringLiteral("abc")); }, true);
  f.Trigger("Options1");
  EXPECT_EQ(f.form->Sim.Dt, 0.02);
  EXPECT_EQ(f.messages.size(), 1u);
}

TEST(Dialogs, RobotSelectionInAndOutOfRange) {
  TWindowFixture f;
  struct TCase {
    const char* Typed;
    bool Ok;
    int Expected;
    std::size_t Messages;
  } cases[] = {
      {"3", false, 8, 0}, // Cancel
      {"3", true, 3, 0},  {"8", true, 8, 0}, {"9", true, 8, 1},
      {"-1", true, 8, 2}, {"x", true, 8, 3},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Typed);
    f.Answer([&](QDialog& d) { Type(d, "IDC_EDITRobSel", QString::fromLatin1(c.Typed)); }, c.Ok);
    f.Trigger("SelectRobot1");
    EXPECT_EQ(f.form->Sim.RobSel, c.Expected);
    EXPECT_EQ(f.messages.size(), c.Messages);
  }
  EXPECT_EQ(f.messages[0], "Valeur entrée en dehors des limites");
}

TEST(Dialogs, MotorAndRailOptions) {
  TWindowFixture f;
  f.form->Sim.RailPtr->RailType = 3;
  f.form->Sim.MrvPtr->ForceModel = 1;
  int shown_rail = -1;
  bool shown_simple = false;
  f.Answer(
      [&](QDialog& d) {
        auto& mrv = static_cast<TDialogOptionsMRV&>(d);
        shown_rail = mrv.RGTypeRailItems->checkedId();
        shown_simple = mrv.RBModelePhysiqueSimple->isChecked();
        mrv.RGTypeRailItems->button(0)->setChecked(true);
        mrv.RBModelePhysiqueDistance->setChecked(true);
      },
      false);
  f.Trigger("OptionsMRVrail1");
  EXPECT_EQ(shown_rail, 3);
  EXPECT_TRUE(shown_simple);
  EXPECT_EQ(f.form->Sim.RailPtr->RailType, 3); // Cancel
  EXPECT_EQ(f.form->Sim.MrvPtr->ForceModel, 1);

  f.Answer(
      [&](QDialog& d) {
        auto& mrv = static_cast<TDialogOptionsMRV&>(d);
        mrv.RGTypeRailItems->button(0)->setChecked(true);
        mrv.RBModelePhysiqueDistance->setChecked(true);
      },
      true);
  f.Trigger("OptionsMRVrail1");
  EXPECT_EQ(f.form->Sim.RailPtr->RailType, 0);
  EXPECT_EQ(f.form->Sim.MrvPtr->ForceModel, 3);
}

// Load then Store gives back the model; an unknown force model shows no button.
TEST(Dialogs, FormsReadBackWhatTheyShow) {
  TDialogCapture capture;
  TDialogCaptureModel cm{"film.avi", "30", "2,5"};
  capture.Load(cm);
  TDialogCaptureModel cm2;
  capture.Store(cm2);
  EXPECT_EQ(cm2.LEfilename, "film.avi");
  EXPECT_EQ(cm2.LEfps, "30");
  EXPECT_EQ(cm2.LEtime, "2,5");

  TDialogOptionsMRV mrv;
  mrv.Load({2, false, false, false});
  TDialogOptionsMRVModel mm{0, true, true, true};
  mrv.Store(mm);
  EXPECT_EQ(mm.RGTypeRail, 2);
  EXPECT_FALSE(mm.RBModelePhysiqueSimple || mm.RBModelePhysiqueSimpleCorrige ||
               mm.RBModelePhysiqueDistance);

  TDialogCompression comp;
  for (const TDialogCompressionModel& in :
       {TDialogCompressionModel{TDialogCompressionModel::MotionJpeg, 75},
        TDialogCompressionModel{TDialogCompressionModel::Uncompressed, 90}}) {
    comp.Load(in);
    EXPECT_EQ(comp.SEQuality->isEnabled(), in.Codec == TDialogCompressionModel::MotionJpeg);
    TDialogCompressionModel out{-1, -1};
    comp.Store(out);
    EXPECT_EQ(out.Codec, in.Codec);
    EXPECT_EQ(out.Quality, in.Quality);
  }
}

TEST(Dialogs, CompressionCancelKeepsTheChoice) {
  TWindowFixture f;
  f.form->DialogCompression = {TDialogCompressionModel::MotionJpeg, 60};
  f.Answer([](QDialog& d) { static_cast<TDialogCompression&>(d).RBUncompressed->setChecked(true); },
           false);
  EXPECT_EQ(f.tk.ShowModal(TDialogId::Compression), TModalResult::Cancel);
  EXPECT_EQ(f.form->DialogCompression.Codec, TDialogCompressionModel::MotionJpeg);
  f.Answer([](QDialog& d) { static_cast<TDialogCompression&>(d).SEQuality->setValue(40); }, true);
  EXPECT_EQ(f.tk.ShowModal(TDialogId::Compression), TModalResult::OK);
  EXPECT_EQ(f.form->DialogCompression.Quality, 40);
}

// A French number takes a comma or the keypad's point and shows a comma; an
// English one a point only, since a comma there might group thousands.
TEST(Dialogs, NumbersAreReadAndShownAsTheLanguageWritesThem) {
  TWindowFixture f;
  ASSERT_TRUE(f.ShowActive());
  TFormDlgView& view = *f.window->FormDlgView;
  auto enter = [](QLineEdit* edit, const QString& text) {
    edit->setText(text);
    emit edit->textEdited(text);
    QTest::keyClick(edit, Qt::Key_Return);
  };
  f.window->ShowInstruments(true);
  f.window->Dispatch([&] { f.form->SelectDevice(3); });
  // The panel is built again in another language.
  auto mass = [&] {
    return f.window->Instruments->findChild<QDoubleSpinBox*>(QStringLiteral("PendulumMass"));
  };
  auto type = [&](const char* keys) {
    QDoubleSpinBox* box = mass();
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QString::fromLatin1(keys));
    QTest::keyClick(box, Qt::Key_Return);
  };

  f.window->SetLanguage(TLanguage::French);
  f.Trigger("View");
  enter(view.IDC_EDITxv, QStringLiteral("0,25"));
  enter(view.IDC_EDITyv, QStringLiteral("-1.5"));
  EXPECT_EQ(f.form->xv, 0.25);
  EXPECT_EQ(f.form->yv, -1.5);
  f.Trigger("View");
  f.Trigger("View"); // filled again from the camera
  EXPECT_EQ(view.IDC_EDITxv->text(), QStringLiteral("0,25"));
  EXPECT_EQ(view.IDC_EDITyv->text(), QStringLiteral("-1,5"));
  type("0,25");
  EXPECT_EQ(mass()->value(), 0.25);
  type("0.5");
  EXPECT_EQ(FindField(*f.form->Sim.Robots[3], "PendulumMass").Get(), 0.5);
  EXPECT_EQ(mass()->text(), QStringLiteral("0,50"));

  f.window->SetLanguage(TLanguage::English);
  EXPECT_EQ(view.IDC_EDITxv->text(), QStringLiteral("0.25"));
  EXPECT_EQ(mass()->text(), QStringLiteral("0.50"));
  enter(view.IDC_EDITxv, QStringLiteral("1,000"));
  EXPECT_EQ(f.form->xv, 0.25);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !f.messages.empty(); }, 1000));
  EXPECT_EQ(f.messages.back(), "'1,000' is not a valid floating-point value");
  type("1,5"); // the comma is not taken: 15, beyond the range, leaves the value
  EXPECT_EQ(mass()->value(), 0.5);
  EXPECT_EQ(FindField(*f.form->Sim.Robots[3], "PendulumMass").Get(), 0.5);
  RemoveLanguage();
}

} // namespace KINEMO_UNITY_ID
} // namespace
