#pragma once
// The interface language of the system and the language settings of the current user.

#include <QString>
#include <cstdint>

namespace tarvik {

// Where the current user's settings are kept.
inline const QString kOrganizacionAjustes = QStringLiteral("KELTU");
inline const QString kAplicacionAjustes = QStringLiteral("Tarvik");

// The two values of the per-user settings store:
// whether the language follows the system, and the language that the user fixed.
inline const QString kAjusteAutomatico = QStringLiteral("auto");
inline const QString kAjusteIdioma = QStringLiteral("language");

// A 32-bit value of the current user's settings; the default when the value is missing or not a
// whole number. Machine-wide settings are not consulted.
std::int32_t LeerEnteroAjuste(const QString& nombre, std::int32_t porDefecto);
// Stores a 32-bit value in the current user's settings; a store that cannot be written is ignored.
void EscribirEnteroAjuste(const QString& nombre, std::int32_t valor);

// The Windows language identifier of the system's interface language; 0 when the system gives none.
std::uint16_t IdiomaInterfazSistema();

// The language to start in: the system's interface language unless the user fixed one.
int IdiomaAlArrancar();

} // namespace tarvik
