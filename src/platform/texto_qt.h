#pragma once
// Conversions between the records' Windows-1252 texts and Qt strings.

#include <QString>
#include <string>

namespace tarvik {

QString DesdeAnsi(const std::string& texto);
std::string HaciaAnsi(const QString& texto);

} // namespace tarvik
