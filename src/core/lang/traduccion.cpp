#include "lang/traduccion.h"

// Placeholder until the stored table is compiled in.
namespace tarvik {
namespace {
int g_idioma = kEspanol;
}
int IdiomaActivo() { return g_idioma; }
void EstablecerIdiomaActivo(int idioma) { g_idioma = (idioma == kIngles) ? kIngles : kEspanol; }
std::string Texto(std::string_view clave) { return Texto(clave, g_idioma); }
std::string Texto(std::string_view, int) { return {}; }
} // namespace tarvik
