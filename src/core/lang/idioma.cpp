#include "core/lang/idioma.h"

#include "core/lang/traduccion.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace tarvik {
namespace {

constexpr std::uint32_t kPrimarioEspanol = 0x0A;
constexpr std::uint16_t kSublenguajeDefecto = 0x01;

struct Codigo {
    std::string_view etiqueta;
    std::uint16_t valor;
};

// Primary language codes of the languages a technician's desktop is likely to use.
constexpr std::array<Codigo, 30> kPrimarios = {{
    {"ar", 0x01}, {"bg", 0x02}, {"ca", 0x03}, {"zh", 0x04}, {"cs", 0x05}, {"da", 0x06},
    {"de", 0x07}, {"el", 0x08}, {"en", 0x09}, {"es", 0x0A}, {"fi", 0x0B}, {"fr", 0x0C},
    {"he", 0x0D}, {"hu", 0x0E}, {"is", 0x0F}, {"it", 0x10}, {"ja", 0x11}, {"ko", 0x12},
    {"nl", 0x13}, {"nb", 0x14}, {"pl", 0x15}, {"pt", 0x16}, {"ro", 0x18}, {"ru", 0x19},
    {"hr", 0x1A}, {"sk", 0x1B}, {"sv", 0x1D}, {"tr", 0x1F}, {"eu", 0x2D}, {"gl", 0x56},
}};

// Spanish sublanguages by country (Spain: modern sort).
constexpr std::array<Codigo, 22> kPaisesEspanol = {{
    {"es", 0x03}, {"mx", 0x02}, {"gt", 0x04},  {"cr", 0x05}, {"pa", 0x06}, {"do", 0x07},
    {"ve", 0x08}, {"co", 0x09}, {"pe", 0x0A},  {"ar", 0x0B}, {"ec", 0x0C}, {"cl", 0x0D},
    {"uy", 0x0E}, {"py", 0x0F}, {"bo", 0x10},  {"sv", 0x11}, {"hn", 0x12}, {"ni", 0x13},
    {"pr", 0x14}, {"us", 0x15}, {"419", 0x16}, {"cu", 0x17},
}};

template <std::size_t N>
std::optional<std::uint16_t> Buscar(const std::array<Codigo, N>& tabla, std::string_view etiqueta) {
    const auto it =
        std::find_if(tabla.begin(), tabla.end(), [&](const Codigo& c) { return c.etiqueta == etiqueta; });
    if (it == tabla.end())
        return std::nullopt;
    return it->valor;
}

std::string Minusculas(std::string_view texto) {
    std::string salida(texto);
    for (char& c : salida)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return salida;
}

// The country subtag of a tag: two letters or three digits after the language, past a script.
std::string Pais(std::string_view resto) {
    while (!resto.empty()) {
        const std::size_t fin = resto.find_first_of("-_");
        const std::string_view subetiqueta = resto.substr(0, fin);
        if (subetiqueta.size() == 2 ||
            (subetiqueta.size() == 3 && std::isdigit(static_cast<unsigned char>(subetiqueta[0]))))
            return Minusculas(subetiqueta);
        if (subetiqueta.size() != 4) // only a script may stand between language and country
            return {};
        resto.remove_prefix(fin == std::string_view::npos ? resto.size() : fin + 1);
    }
    return {};
}

} // namespace

int IdiomaDelSistema(std::uint32_t identificador) {
    return (identificador & 0xFF) == kPrimarioEspanol ? kEspanol : kIngles;
}

int ElegirIdiomaInicial(std::uint32_t identificadorSistema, std::optional<std::int32_t> automatico,
                        std::optional<std::int32_t> idioma) {
    const int delSistema = IdiomaDelSistema(identificadorSistema);
    if ((automatico.value_or(1) & 0xFF) != 0)
        return delSistema;
    return idioma.value_or(delSistema) == kIngles ? kIngles : kEspanol;
}

std::uint16_t IdentificadorDeEtiqueta(std::string_view etiqueta) {
    const std::size_t fin = etiqueta.find_first_of("-_");
    const std::optional<std::uint16_t> primario = Buscar(kPrimarios, Minusculas(etiqueta.substr(0, fin)));
    if (!primario)
        return 0;
    std::uint16_t sublenguaje = kSublenguajeDefecto;
    if (*primario == kPrimarioEspanol && fin != std::string_view::npos)
        sublenguaje = Buscar(kPaisesEspanol, Pais(etiqueta.substr(fin + 1))).value_or(kSublenguajeDefecto);
    return static_cast<std::uint16_t>(sublenguaje << 10 | *primario);
}

} // namespace tarvik
