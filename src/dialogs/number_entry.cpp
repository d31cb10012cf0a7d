#include "dialogs/number_entry.h"

#include <QLocale>

#include "texts/number_text.h"

char EntrySeparator() {
  const QString point = QLocale().decimalPoint();
  return point.size() == 1 && point[0].unicode() < 128 ? point[0].toLatin1() : '.';
}

std::optional<double> ReadNumber(const QString& text) {
  return StrToFloat(text.toStdString(), EntrySeparator());
}

QString NumberText(double value, int decimals) {
  return QString::fromStdString(
      FloatToStrF(value, TFloatFormat::Fixed, 15, decimals, EntrySeparator()));
}

QString TNumberBox::Bare(const QString& text) const {
  QString bare = text;
  if (!prefix().isEmpty() && bare.startsWith(prefix())) bare.remove(0, prefix().size());
  if (!suffix().isEmpty() && bare.endsWith(suffix())) bare.chop(suffix().size());
  return bare.trimmed();
}

QValidator::State TNumberBox::validate(QString& text, int&) const {
  const QString bare = Bare(text);
  if (bare.isEmpty()) return QValidator::Intermediate;
  if (const std::optional<double> v = ReadNumber(bare))
    return *v >= minimum() && *v <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
  // The start of a number ("-", "0,", "1e-") may still become one.
  return ReadNumber(bare + QLatin1Char('0')) ? QValidator::Intermediate : QValidator::Invalid;
}

double TNumberBox::valueFromText(const QString& text) const {
  const std::optional<double> v = ReadNumber(Bare(text));
  if (!v) return value();
  // Rounded through its decimal text, as the box shows it.
  return StrToFloat(FloatToStrF(*v, TFloatFormat::Fixed, 15, decimals(), '.'), '.').value_or(*v);
}

QString TNumberBox::textFromValue(double v) const {
  return NumberText(v, decimals());
}
