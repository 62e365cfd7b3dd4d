#pragma once
// Conversions between the records' Windows-1252 texts and Qt strings.

#include <QString>
#include <string>
#include <string_view>

namespace tarvik {

QString DesdeAnsi(const std::string& texto);
std::string HaciaAnsi(const QString& texto);

// The text of a translation key in the active language.
QString TextoQt(std::string_view clave);

} // namespace tarvik
