// What the program's modal forms share: a fixed client size, centred on the
// screen, and the "OK" (default) / "Annuler" (cancel) pair of buttons.
#pragma once

#include <QDialog>
#include <QDialogButtonBox>

class QWidget;

// Fixes the client size and the border, and centres the dialog on the screen
// each time it is shown.
// `caption` is a French source marked for translation.
void SetFixedForm(QDialog& dialog, const char* caption, int width, int height);

// "OK" accepts, "Annuler" rejects; both named for tests.
QDialogButtonBox* MakeOkCancel(QDialog& dialog);

// The tool tip and the status tip of a control, as a hint is shown.
void SetHint(QWidget* widget, const QString& hint);
