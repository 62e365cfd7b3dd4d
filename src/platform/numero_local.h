#pragma once
// Numbers as the user writes them: the decimal separator of the user's locale, no thousands
// separators.

#include <QLocale>
#include <QString>

#include <optional>

namespace tarvik {

// The locale's decimal separator as one character ('.' when it is not a single ASCII character).
char SeparadorDecimal(const QLocale& local = QLocale());

// A 32-bit floating-point value written as an optional sign, digits and at most one decimal
// separator of the locale, with blanks allowed around it. Anything else (thousands separators,
// exponents, hexadecimal, "nan", "inf", a value beyond the float range) gives nothing.
std::optional<float> DecimalDeTexto(const QString& texto, const QLocale& local = QLocale());

} // namespace tarvik
