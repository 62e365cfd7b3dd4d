#include "core/lang/traduccion.h"

#include "core/util/cp1252.h"

#include <array>
#include <cstddef>
#include <unordered_map>

namespace tarvik {
namespace {

constexpr char kBloque[] =
#include "core/lang/tabla_traducciones.inc"
    ;

constexpr char kSeparador = '\x01';
constexpr std::string_view kFinLinea = "\r\n";

// The stored names of the sections that hold rows, by SeccionTraduccion.
constexpr std::array<std::string_view, 2> kNombres = {"stStrings", "stDlgsCaptions"};

struct Seccion {
    std::vector<FilaTraduccion> filas;
    // Upper-case key → first row with that key, so that lookups ignore letter case.
    std::unordered_map<std::string, std::size_t> indice;
};

using Tabla = std::array<Seccion, kNombres.size()>;

// Splits a row line into its three texts, each followed by the separator; false when the line
// does not have that shape.
bool LeerFila(std::string_view linea, FilaTraduccion& fila) {
    std::array<std::string*, 3> campos = {&fila.clave, &fila.espanol, &fila.ingles};
    for (std::string* campo : campos) {
        const std::size_t fin = linea.find(kSeparador);
        if (fin == std::string_view::npos)
            return false;
        campo->assign(linea.substr(0, fin));
        linea.remove_prefix(fin + 1);
    }
    return linea.empty();
}

Tabla LeerBloque(std::string_view bloque) {
    Tabla tabla;
    Seccion* actual = nullptr; // rows of sections without rows of interest are passed over
    while (!bloque.empty()) {
        const std::size_t fin = bloque.find(kFinLinea);
        const std::string_view linea = bloque.substr(0, fin);
        bloque.remove_prefix(fin == std::string_view::npos ? bloque.size() : fin + kFinLinea.size());
        if (linea.find(kSeparador) == std::string_view::npos) {
            actual = nullptr;
            for (std::size_t s = 0; s < kNombres.size(); ++s)
                if (linea == kNombres[s])
                    actual = &tabla[s];
            continue;
        }
        FilaTraduccion fila;
        if (actual == nullptr || !LeerFila(linea, fila))
            continue;
        actual->indice.try_emplace(Cp1252ToUpper(fila.clave), actual->filas.size());
        actual->filas.push_back(std::move(fila));
    }
    return tabla;
}

const Seccion& SeccionCargada(SeccionTraduccion seccion) {
    static const Tabla tabla = LeerBloque(BloqueTraducciones());
    return tabla[static_cast<std::size_t>(seccion)];
}

std::string Buscar(SeccionTraduccion seccion, std::string_view clave, int idioma) {
    const Seccion& s = SeccionCargada(seccion);
    const auto it = s.indice.find(Cp1252ToUpper(clave));
    if (it == s.indice.end())
        return {};
    const FilaTraduccion& fila = s.filas[it->second];
    return (idioma == kIngles && !fila.ingles.empty()) ? fila.ingles : fila.espanol;
}

int g_idioma = kEspanol;

} // namespace

int IdiomaActivo() {
    return g_idioma;
}

void EstablecerIdiomaActivo(int idioma) {
    g_idioma = (idioma == kIngles) ? kIngles : kEspanol;
}

std::string Texto(std::string_view clave) {
    return Texto(clave, g_idioma);
}

std::string Texto(std::string_view clave, int idioma) {
    return Buscar(SeccionTraduccion::Cadenas, clave, idioma);
}

std::string TextoDialogo(std::string_view clave) {
    return TextoDialogo(clave, g_idioma);
}

std::string TextoDialogo(std::string_view clave, int idioma) {
    return Buscar(SeccionTraduccion::Dialogos, clave, idioma);
}

const std::vector<FilaTraduccion>& FilasTraduccion(SeccionTraduccion seccion) {
    return SeccionCargada(seccion).filas;
}

std::string_view BloqueTraducciones() {
    return {kBloque, sizeof kBloque - 1};
}

} // namespace tarvik
