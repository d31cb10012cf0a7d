// Number texts as the user sees them: the general and fixed formats of the
// status line and dialogs, with the user's decimal separator.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

enum class TFloatFormat { General, Fixed };

// General format with up to 15 significant digits ("1.5", "1E-5", "-1").
std::string FloatToStr(double value, char decimal_separator);
// General: `precision` significant digits; Fixed: `digits` decimals.
std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                        char decimal_separator);
std::string IntToStr(std::int64_t value);
// A measure for a person to read: plain notation ("0.012346", "-1234.6") with
// `significant` digits, none finer than `resolution`, below which a value
// reads "0"; scientific only past a trillion. Trailing zeros are dropped.
std::string ReadableNumber(double value, double resolution, char decimal_separator,
                           int significant = 5);

// Fail (empty) on text that is not a number, as a dialog entry would. With
// ',' as the separator "0.5" reads as "0,5"; with '.' a comma is refused. No
// thousands groups, no infinity: one number, optionally signed, with exponent.
std::optional<double> StrToFloat(const std::string& text, char decimal_separator);
std::optional<std::int32_t> StrToInt(const std::string& text);

// The messages shown when a conversion fails.
std::string NotAnIntegerMessage(const std::string& text);
std::string NotAFloatMessage(const std::string& text);
