#pragma once
// The translation table: every user-visible text by key, in Spanish (1) and English (2).

#include <string>
#include <string_view>

namespace tarvik {

inline constexpr int kEspanol = 1;
inline constexpr int kIngles = 2;

// The active language, always 1 (Spanish) or 2 (English).
int IdiomaActivo();
// Sets the active language; any value other than 1 or 2 leaves Spanish.
void EstablecerIdiomaActivo(int idioma);

// The text of a key (case-insensitive) in the active language, as Windows-1252 bytes. An empty
// text falls back to Spanish; a missing key gives an empty text.
std::string Texto(std::string_view clave);
std::string Texto(std::string_view clave, int idioma);

} // namespace tarvik
