#pragma once
// Captions that the translation table does not hold.

#include "core/lang/traduccion.h"

#include <QString>

namespace tarvik {

// The caption, given in Spanish and English (UTF-8), in language `idioma`.
inline QString Rotulo(int idioma, const char* espanol, const char* ingles) {
    return QString::fromUtf8(idioma == kEspanol ? espanol : ingles);
}

} // namespace tarvik
