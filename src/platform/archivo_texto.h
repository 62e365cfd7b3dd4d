#pragma once
// Whole small files (readings in CSV, summaries) read and written through Qt.

#include <QString>
#include <string>

namespace tarvik {

// Far above any year of readings; a larger file is refused before it is read.
inline constexpr qint64 kTamMaximoTexto = qint64{64} << 20;

// Reads a whole regular file of at most kTamMaximoTexto bytes; false with the reason otherwise.
bool LeerArchivoCompleto(const QString& ruta, std::string& bytes, QString& error);

// Writes the bytes and replaces the file only after the whole write; false with the reason.
bool GuardarArchivoCompleto(const QString& ruta, const std::string& bytes, QString& error);

} // namespace tarvik
