#pragma once
// The translation table: every user-visible text by key, in Spanish (1) and English (2).

#include <string>
#include <string_view>
#include <vector>

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

// The same lookup among the texts of the standard dialogs: message-box titles and buttons, file
// and print dialogs. Their keys are the dialog's English words ("Confirm", "Yes", "Look in:").
std::string TextoDialogo(std::string_view clave);
std::string TextoDialogo(std::string_view clave, int idioma);

// The sections of the table that hold rows.
enum class SeccionTraduccion {
    Cadenas, // the program's own captions, labels, headings and messages
    Dialogos // the standard dialogs
};

struct FilaTraduccion {
    std::string clave;
    std::string espanol;
    std::string ingles;
};

// The rows of a section in stored order, texts exactly as stored.
const std::vector<FilaTraduccion>& FilasTraduccion(SeccionTraduccion seccion);

// The table as it is compiled into the program: Windows-1252 text, lines separated by CR LF, every
// section introduced by a line that holds only its name, one row per line with the key, the
// Spanish and the English text each followed by the separator 0x01.
std::string_view BloqueTraducciones();

} // namespace tarvik
