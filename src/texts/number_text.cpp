#include "texts/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

std::string Trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  const auto e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

std::string NonFinite(double v) {
  if (std::isnan(v)) return "NAN";
  return v > 0 ? "INF" : "-INF";
}

// "1.5e-05" -> "1.5E-5", "1e+20" -> "1E20": the framework's exponent style.
std::string FrameworkExponent(const std::string& s) {
  const auto e = s.find('e');
  if (e == std::string::npos) return s;
  std::string mant = s.substr(0, e);
  std::string exp = s.substr(e + 1);
  std::string sign;
  if (!exp.empty() && (exp[0] == '+' || exp[0] == '-')) {
    if (exp[0] == '-') sign = "-";
    exp.erase(0, 1);
  }
  const auto nz = exp.find_first_not_of('0');
  exp = nz == std::string::npos ? "0" : exp.substr(nz);
  return mant + "E" + sign + exp;
}

std::string WithSeparator(std::string s, char sep) {
  for (char& c : s)
    if (c == '.') c = sep;
  return s;
}

} // namespace

std::string FloatToStr(double value, char sep) {
  return FloatToStrF(value, TFloatFormat::General, 15, 0, sep);
}

std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits, char sep) {
  if (!std::isfinite(value)) return NonFinite(value);
  char buf[512];
  if (format == TFloatFormat::Fixed) {
    // Beyond the precision the framework falls back to the general format.
    if (value != 0 && std::fabs(value) >= std::pow(10.0, precision))
      return FloatToStrF(value, TFloatFormat::General, precision, digits, sep);
    // to_chars ignores the C locale, which a toolkit may have set to the user's.
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed,
                                   digits < 0 ? 0 : digits);
    std::string s = ec == std::errc() ? std::string(buf, end) : std::string("0");
    // A value that rounds to zero shows no sign.
    if (s[0] == '-' && s.find_first_not_of("0.", 1) == std::string::npos) s.erase(0, 1);
    return WithSeparator(s, sep);
  }
  if (precision < 1) precision = 1;
  if (precision > 17) precision = 17;
  if (value == 0) return "0";
  // A whole number of at most 15 digits shows as itself at that precision;
  // the status line turns one (the frame count) into text at every frame.
  if (precision >= 15 && std::fabs(value) < 1e15 && value == std::trunc(value))
    return std::to_string(static_cast<std::int64_t>(value));
  auto [end, ec] =
      std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, precision);
  if (ec != std::errc()) return "0";
  return WithSeparator(FrameworkExponent(std::string(buf, end)), sep);
}

std::string ReadableNumber(double value, double resolution, char sep, int significant) {
  if (!std::isfinite(value)) return NonFinite(value);
  const double size = std::fabs(value);
  if (size < resolution || value == 0) return "0";
  if (size >= 1e12) return FloatToStrF(value, TFloatFormat::General, significant, 0, sep);
  int decimals = significant - 1 - static_cast<int>(std::floor(std::log10(size)));
  if (resolution > 0)
    decimals = std::min(decimals, static_cast<int>(std::ceil(-std::log10(resolution) - 1e-9)));
  decimals = std::clamp(decimals, 0, 17);
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  std::string s = ec == std::errc() ? std::string(buf, end) : std::string("0");
  if (s.find('.') != std::string::npos) {
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') s.pop_back();
  }
  if (s == "-0") s = "0";
  return WithSeparator(s, sep);
}

std::string IntToStr(std::int64_t value) {
  return std::to_string(value);
}

std::optional<double> StrToFloat(const std::string& text, char sep) {
  std::string s = Trim(text);
  if (s.empty()) return std::nullopt;
  // The user's separator is the decimal point. Where it is the comma, a point
  // (the numeric keypad's) means the same; where it is the point, a comma may
  // group thousands ("1,000") and is refused rather than guessed at.
  for (char& c : s) {
    if (c == sep || (sep == ',' && c == '.'))
      c = '.';
    else if (c == '.' || c == ',')
      return std::nullopt;
  }
  // One sign at most: from_chars takes a '-' but not a '+'.
  if (s[0] == '+') {
    s.erase(0, 1);
    if (!s.empty() && s[0] == '-') return std::nullopt;
  }
  double v = 0;
  const char* first = s.data();
  const char* last = s.data() + s.size();
  auto [ptr, ec] = std::from_chars(first, last, v, std::chars_format::general);
  if (ec != std::errc() || ptr != last || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<std::int32_t> StrToInt(const std::string& text) {
  std::string s = Trim(text);
  if (s.empty()) return std::nullopt;
  bool neg = false;
  if (s[0] == '+' || s[0] == '-') {
    neg = s[0] == '-';
    s.erase(0, 1);
  }
  int base = 10;
  if (!s.empty() && s[0] == '$') {
    base = 16;
    s.erase(0, 1);
  }
  if (s.empty()) return std::nullopt;
  long long v = 0;
  auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
  if (ec != std::errc() || ptr != s.data() + s.size()) return std::nullopt;
  if (neg) v = -v;
  if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(v);
}

std::string NotAnIntegerMessage(const std::string& text) {
  return "'" + text + "' n'est pas une valeur entière correcte";
}

std::string NotAFloatMessage(const std::string& text) {
  return "'" + text + "' n'est pas une valeur à virgule flottante correcte";
}
