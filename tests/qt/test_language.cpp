// The window in English and back in French: every text of the devices has its
// translation, a change of language moves no state, no key and no byte of
// what the program writes, and sets every text back when undone.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTranslator>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <vector>

#include "dialogs/dlg_view.h"
#include "dialogs/translated.h"
#include "models/device_description.h"
#include "platform/qt/captioned_bar.h"
#include "platform/qt/instruments_panel.h"
#include "platform/qt/language.h"
#include "platform/qt/scope_dock.h"
#include "qt_fixture.h"
#include "sim/device_registry.h"
#include "sim/state_json.h"

namespace {
namespace KINEMO_UNITY_ID {

TEST(Language, EveryTextOfEveryDeviceHasItsEnglish) {
  QTranslator english;
  ASSERT_TRUE(english.load(QStringLiteral(":/i18n/kinemo_en.qm")));
  auto expect = [&](const char* text) {
    if (!text || !*text) return;
    EXPECT_FALSE(english.translate(kDeviceContext, text).isEmpty()) << "untranslated: " << text;
  };
  for (const TDeviceClass& c : DeviceClasses()) {
    const TDeviceDescription& d = c.Description();
    SCOPED_TRACE(c.ClassName);
    expect(d.Name);
    expect(d.Text);
    for (const TCommandDescription& x : d.Commands) {
      expect(x.Action);
      for (std::uint16_t key : x.Keys)
        if (KeyCaption(key).size() > 1) expect(KeyCaption(key).c_str());
    }
    for (const TQuantityDescription& x : d.Quantities) {
      expect(x.Label);
      expect(x.DisplayUnit());
    }
    for (const TParameterDescription& x : d.Parameters) {
      expect(x.Label);
      expect(x.Unit);
      expect(x.DisplayUnit());
    }
    for (const TInputDescription& x : d.Inputs) {
      expect(x.Label);
      expect(x.Unit);
    }
  }
}

// Every text a user reads in the window, its panels and dialogs (the status
// line aside: it is the simulation's).
std::vector<QString> Texts(QWidget& window) {
  std::vector<QString> texts;
  for (QObject* o : window.findChildren<QObject*>()) {
    if (o->objectName().startsWith(QLatin1String("StatusPanel"))) continue;
    for (const char* property : {"text", "title", "windowTitle", "toolTip", "statusTip"}) {
      const QVariant v = o->property(property);
      if (v.typeId() == QMetaType::QString && !v.toString().isEmpty())
        texts.push_back(v.toString());
    }
  }
  std::sort(texts.begin(), texts.end());
  return texts;
}

// What a key reaches besides the key map: shortcuts and menu-bar mnemonics.
std::vector<QKeySequence> Keys(QMainWindow& window) {
  std::vector<QKeySequence> keys;
  for (QAction* a : window.findChildren<QAction*>())
    keys.push_back(a->shortcut());
  for (QAction* a : window.menuBar()->actions())
    keys.push_back(QKeySequence::mnemonic(a->text()));
  return keys;
}

std::string Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

TEST(Language, SwitchingMovesNoStateNoKeyNoByteAndComesBack) {
  TWindowFixture f;
  ASSERT_TRUE(f.ShowActive());
  f.window->ShowInstruments(true);
  f.window->ShowScope(true);
  f.window->Dispatch([&] { f.form->AnimateClick(); });
  for (int t = 0; t < 5; ++t)
    f.window->Dispatch([&] { f.form->Timer1Timer(); });
  f.window->SetLanguage(TLanguage::French); // Qt's own texts in French too
  // The same number typed as each language writes it: the status line shows
  // numbers that way too, the files never. (The view dialog is modeless: no
  // tick runs while it is used.)
  f.Trigger("View");
  auto type_xv = [&](const char* text) {
    QLineEdit* edit = f.window->FormDlgView->IDC_EDITxv;
    edit->setText(QString::fromLatin1(text));
    emit edit->textEdited(edit->text());
    QTest::keyClick(edit, Qt::Key_Return);
    return f.window->StatusPanels[0]->text();
  };
  EXPECT_TRUE(type_xv("0,25").contains(QLatin1String(", t:0,05,")));
  EXPECT_EQ(f.form->xv, 0.25);
  const std::string state = StateJson(*f.form);
  const std::vector<QKeySequence> keys = Keys(*f.window);
  const std::vector<QString> french = Texts(*f.window);
  const QString folder = QDir::temp().filePath(
      QStringLiteral("kinemo_language_%1_").arg(QCoreApplication::applicationPid()));
  std::map<QString, std::string> written;
  for (const QString& language : {QStringLiteral("fr"), QStringLiteral("en")}) {
    const bool english = language == QLatin1String("en");
    f.window->SetLanguage(english ? TLanguage::English : TLanguage::French);
    EXPECT_TRUE(type_xv(english ? "0.25" : "0,25")
                    .contains(english ? QLatin1String(", t:0.05,") : QLatin1String(", t:0,05,")));
    ASSERT_TRUE(f.form->SaveScene((folder + language + QStringLiteral(".json")).toStdString()));
    ASSERT_TRUE(f.window->Scope->ExportCsv(folder + language + QStringLiteral(".csv")));
    for (const char* suffix : {".json", ".csv"}) {
      written[language + QLatin1String(suffix)] =
          Contents(folder + language + QLatin1String(suffix));
      QFile::remove(folder + language + QLatin1String(suffix));
    }
  }
  // Nothing left in French that the catalogue translates.
  QTranslator english;
  ASSERT_TRUE(english.load(QStringLiteral(":/i18n/kinemo_en.qm")));
  for (const QString& text : Texts(*f.window))
    for (const char* context : {kWindowContext, kDeviceContext}) {
      const QString translated = english.translate(context, text.toUtf8().constData());
      EXPECT_TRUE(translated.isEmpty() || translated == text)
          << "still French: " << text.toStdString();
    }
  EXPECT_EQ(StateJson(*f.form), state);
  EXPECT_EQ(Keys(*f.window), keys);
  EXPECT_EQ(written[QStringLiteral("fr.json")], written[QStringLiteral("en.json")]);
  EXPECT_EQ(written[QStringLiteral("fr.csv")], written[QStringLiteral("en.csv")]);
  EXPECT_EQ(RememberedLanguage(), TLanguage::English);
  // The toolbar's bars write their captions across themselves.
  auto caption = [](QScrollBar* bar) { return static_cast<TCaptionedBar*>(bar)->Caption(); };
  EXPECT_EQ(caption(f.window->SBtimer), QStringLiteral("Period 10 ms"));
  EXPECT_EQ(caption(f.window->SBfs), QStringLiteral("Fs 1.0 Hz"));

  f.window->SetLanguage(TLanguage::French);
  EXPECT_EQ(StateJson(*f.form), state);
  EXPECT_EQ(Texts(*f.window), french);
  EXPECT_EQ(caption(f.window->SBtimer), QStringLiteral("Période 10 ms"));
  EXPECT_EQ(caption(f.window->SBfs), QStringLiteral("Fs 1,0 Hz"));
  RemoveLanguage();
}

// The toolkit-free window's messages: whole, or a sentence around what the
// user gave (kept as typed) and a reason of the program (translated).
TEST(Language, MessagesOfTheWindowAreTranslatedAroundWhatTheUserGave) {
  const std::string refused = "Impossible d'enregistrer la scène /tmp/%1 : x.json : accès refusé";
  const std::string typed = "'Erreur' n'est pas une valeur entière correcte";
  EXPECT_EQ(CoreText(refused).toStdString(), refused);
  ASSERT_TRUE(InstallLanguage(QStringLiteral("en")));
  EXPECT_EQ(CoreText(refused),
            QStringLiteral("Cannot save the scene /tmp/%1 : x.json: permission denied"));
  EXPECT_EQ(CoreText(typed), QStringLiteral("'Erreur' is not a valid integer value"));
  EXPECT_EQ(CoreText("Erreur"), QStringLiteral("Error"));
  EXPECT_EQ(CoreText("/tmp/Erreur"), QStringLiteral("/tmp/Erreur"));
  RemoveLanguage();
}

} // namespace KINEMO_UNITY_ID
} // namespace
