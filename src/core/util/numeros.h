#pragma once
// Numbers as the windows and the report show them: fixed-point, correctly rounded from the binary
// value (ties to even on that exact value), the given decimal separator, no thousands separator.

#include <string>

namespace tarvik {

std::string Fijo(double valor, int decimales, char separador);

// A whole number as the readings list and editor show it: rounded like Fijo, digits only, and a
// value that rounds to zero without a sign ("-0" reads "0").
std::string EnteroMostrado(double valor);

} // namespace tarvik
