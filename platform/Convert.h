#pragma once

#include <optional>

#include <QString>

namespace platform {

// Decimal integer (optional sign, surrounding blanks allowed); the default when the text is not one
// or does not fit in 32 bits.
int StrToIntDef(const QString& text, int defaultValue);
std::optional<int> StrToInt(const QString& text);

// Strict floating-point parse in the C locale, accepting "." or "," as the decimal separator.
// Rejects empty text, "nan", "inf" and anything that is not a finite number.
std::optional<double> StrToFloat(const QString& text);

// General format with 15 significant digits, "." always, no exponent for ordinary values
// (5 seconds as a day fraction is "0.0000578703703703704"); "0" for zero.
QString FloatToStr(double value);

// printf semantics ("%02d", "%03d", "%06x", "%02.1f").
QString Format(const char* format, ...);

} // namespace platform
