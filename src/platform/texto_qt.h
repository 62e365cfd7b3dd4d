#pragma once
// Conversions between the records' Windows-1252 texts and Qt strings.

#include <QString>
#include <string>

namespace tarvik {

// The text of a caption that the translation table does not hold, given in Spanish and English
// (UTF-8), in language `idioma`.
QString Rotulo(int idioma, const char* espanol, const char* ingles);

QString DesdeAnsi(const std::string& texto);
std::string HaciaAnsi(const QString& texto);

} // namespace tarvik
