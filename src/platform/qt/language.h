// The language of the window: French (the source) or English, chosen by the
// user (Affichage > Langue, kept for the next start) or for one run with
// --lang. Qt's own strings (file dialogs, standard buttons) follow it.
#pragma once

#include <QString>
#include <string>
#include <vector>

enum class TLanguage { System, French, English };

// "fr" for a French locale, "en" for any other.
QString SystemLanguageCode();
// "fr" or "en"; System as the system locale says.
QString LanguageCode(TLanguage language);

// The choice kept in the settings (System when none or unknown).
TLanguage RememberedLanguage();
void RememberLanguage(TLanguage language);

// The value of `--lang fr|en` among `args`: the code, "" when absent; false
// with `error` set when the option is there with no or another value.
bool LanguageArgument(const std::vector<std::string>& args, QString& code, std::string& error);

// Installs the translators of `code` ("fr" or "en") in the application in
// place of those installed before, and the language's locale as the default
// (its decimal separator: ',' or '.'); false if a catalogue could not be
// loaded (the window then shows its French source, Qt its English).
bool InstallLanguage(const QString& code);
// Takes the translators out: the window's French source, Qt's English; the
// system's locale again.
void RemoveLanguage();
// The code installed last ("fr" before any).
QString InstalledLanguage();
