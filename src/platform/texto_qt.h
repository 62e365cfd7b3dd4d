#pragma once
// Conversions between the records' Windows-1252 texts and Qt strings.

#include <QString>
#include <string>
#include <string_view>

namespace tarvik {

QString DesdeAnsi(const std::string& texto);
std::string HaciaAnsi(const QString& texto);
// A stored text as a window shows it: control characters other than line breaks become spaces.
// For display only; a text read back into a record goes through DesdeAnsi.
QString TextoVisible(const std::string& texto);

// The text of a translation key in the active language, as a window shows it.
QString TextoQt(std::string_view clave);

} // namespace tarvik
