#pragma once
// The studies opened or saved lately, newest first, kept in the current user's settings.

#include <QString>
#include <QStringList>

namespace tarvik {

// The settings value that holds the list, and how many files it keeps.
inline const QString kAjusteRecientes = QStringLiteral("recent");
inline constexpr int kMaxRecientes = 8;

// The list as stored, without empty or repeated entries and cut to kMaxRecientes, whatever the
// settings file holds.
QStringList LeerRecientes();
// Puts a file (by its absolute path) first, dropping its older place and the files beyond the
// limit. A store that cannot be written is ignored.
void AnadirReciente(const QString& ruta);
// Drops a file from the list.
void QuitarReciente(const QString& ruta);

} // namespace tarvik
