// Texts of the window in the language chosen: the French source strings go
// through Qt's translators, and each widget keeps the source of the texts it
// shows so that a change of language sets them again in the new one.
#pragma once

#include <QString>
#include <string>

class QObject;
class QWidget;

// Contexts of the catalogue: the window's own texts, and the devices' texts
// (their descriptions, which the toolkit-free core keeps in French).
inline constexpr char kWindowContext[] = "Kinemo";
inline constexpr char kDeviceContext[] = "Devices";

// The window text `source` (marked with QT_TRANSLATE_NOOP("Kinemo", ...)) in
// the language installed.
QString Tr(const char* source);
// A device's text (name, paragraph, legend, label) in the language installed.
QString DeviceTr(const char* source);

// A message of the toolkit-free window (French), in the language installed:
// a text of the catalogue as a whole, or one made of a known sentence around
// names and numbers, whose pieces are then translated in turn.
QString CoreText(const std::string& text);

// Sets `property` of `object` ("text", "windowTitle", "title", "toolTip",
// ...) to the translation of `source`, and keeps `source` for Retranslate.
void SetTr(QObject* object, const char* property, const char* source);
// The tool tip and the status tip, as SetHint shows a hint.
void SetHintTr(QWidget* widget, const char* source);

// Sets again every text SetTr gave `root` or any object below it.
void Retranslate(QObject* root);
