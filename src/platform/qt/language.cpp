#include "platform/qt/language.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>
#include <memory>

namespace {
const QString kKey = QStringLiteral("window/language");

// The translators installed, replaced together.
struct TInstalled {
  std::unique_ptr<QTranslator> Window;
  std::unique_ptr<QTranslator> Qt;
  QString Code = QStringLiteral("fr");
};

TInstalled& Installed() {
  static TInstalled installed;
  return installed;
}
} // namespace

QString SystemLanguageCode() {
  return QLocale::system().language() == QLocale::French ? QStringLiteral("fr")
                                                         : QStringLiteral("en");
}

QString LanguageCode(TLanguage language) {
  switch (language) {
  case TLanguage::French:
    return QStringLiteral("fr");
  case TLanguage::English:
    return QStringLiteral("en");
  case TLanguage::System:
    break;
  }
  return SystemLanguageCode();
}

TLanguage RememberedLanguage() {
  const QString value = QSettings(QStringLiteral("Kinemo"), QStringLiteral("kinemo"))
                            .value(kKey, QStringLiteral("system"))
                            .toString();
  if (value == QLatin1String("fr")) return TLanguage::French;
  if (value == QLatin1String("en")) return TLanguage::English;
  return TLanguage::System;
}

void RememberLanguage(TLanguage language) {
  QSettings settings(QStringLiteral("Kinemo"), QStringLiteral("kinemo"));
  settings.setValue(kKey, language == TLanguage::System ? QStringLiteral("system")
                                                        : LanguageCode(language));
}

bool LanguageArgument(const std::vector<std::string>& args, QString& code, std::string& error) {
  code.clear();
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--lang") continue;
    const std::string value = i + 1 < args.size() ? args[i + 1] : "";
    if (value != "fr" && value != "en") {
      error = "--lang takes fr or en" + (value.empty() ? "" : ", not " + value);
      return false;
    }
    code = QString::fromStdString(value);
  }
  return true;
}

// Numbers are written as the language writes them: the widgets take the
// default locale, and those already shown hear of the change. No thousands
// groups: a typed number never has them, so a shown one must not either.
void UseLocale(QLocale locale) {
  locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
  QLocale::setDefault(locale);
  if (QCoreApplication* app = QCoreApplication::instance()) {
    QEvent change(QEvent::LocaleChange);
    QCoreApplication::sendEvent(app, &change);
  }
}

void RemoveLanguage() {
  TInstalled& installed = Installed();
  for (auto* t : {&installed.Window, &installed.Qt})
    if (*t) {
      QCoreApplication::removeTranslator(t->get());
      t->reset();
    }
  installed.Code = QStringLiteral("fr");
  UseLocale(QLocale::system());
}

bool InstallLanguage(const QString& code) {
  RemoveLanguage();
  TInstalled& installed = Installed();
  installed.Code = code;
  UseLocale(code == QLatin1String("en") ? QLocale(QLocale::English, QLocale::UnitedStates)
                                        : QLocale(QLocale::French, QLocale::France));
  bool ok = true;
  // French is the window's source, English Qt's own.
  if (code == QLatin1String("en")) {
    installed.Window = std::make_unique<QTranslator>();
    ok = installed.Window->load(QStringLiteral(":/i18n/kinemo_en.qm"));
    if (ok)
      QCoreApplication::installTranslator(installed.Window.get());
    else
      installed.Window.reset();
  } else {
    installed.Qt = std::make_unique<QTranslator>();
    ok = installed.Qt->load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (ok)
      QCoreApplication::installTranslator(installed.Qt.get());
    else
      installed.Qt.reset();
  }
  return ok;
}

QString InstalledLanguage() {
  return Installed().Code;
}
