// Numbers as the user types and reads them in the window: the decimal
// separator is the one of the locale the window's language sets (',' in
// French, '.' in English), and a typed number is read by the dialogs' rule
// (StrToFloat), so that an edit, a spin box and the command line's `set:`
// refuse the same texts. Files never come this way: they keep '.'.
#pragma once

#include <QDoubleSpinBox>
#include <QString>
#include <optional>

// The separator of the default locale; '.' where it is not a plain character.
char EntrySeparator();
// `text` as a number, or nothing: "0,5" and "0.5" in French, "0.5" alone in
// English (where "1,000" might group thousands).
std::optional<double> ReadNumber(const QString& text);
// `value` with `decimals` decimals and the separator, no thousands groups.
QString NumberText(double value, int decimals);

// A spin box that reads and shows its value as above (and again when the
// language changes, as Qt tells every widget). Its value is rounded to its
// decimals, as QDoubleSpinBox rounds it.
class TNumberBox : public QDoubleSpinBox {
public:
  using QDoubleSpinBox::QDoubleSpinBox;

  QValidator::State validate(QString& text, int& pos) const override;
  double valueFromText(const QString& text) const override;
  QString textFromValue(double value) const override;

private:
  // The typed number without the box's prefix and suffix.
  QString Bare(const QString& text) const;
};
