#pragma once
// Numbers as the windows and the report show them: fixed-point, correctly rounded from the binary
// value (ties to even on that exact value), the given decimal separator, no thousands separator.

#include <string>

namespace tarvik {

std::string Fijo(double valor, int decimales, char separador);

} // namespace tarvik
