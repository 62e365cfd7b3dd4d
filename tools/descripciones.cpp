#include "tools/fuentes.h"
#include "tools/generar.h"

#include "core/util/cp1252.h"

#include <fstream>
#include <iterator>

namespace tarvik::fuentes {

namespace {

constexpr const char* kIdiomas[] = {"es", "en"};

std::string LeerUtf8(const std::filesystem::path& ruta) {
    std::ifstream entrada(ruta, std::ios::binary);
    if (!entrada)
        throw ErrorFuente(ruta.string() + ": cannot be read");
    return {std::istreambuf_iterator<char>(entrada), std::istreambuf_iterator<char>()};
}

} // namespace

std::vector<ArchivoGenerado> GenerarDescripciones(const std::filesystem::path& carpeta) {
    std::vector<ArchivoGenerado> archivos;
    std::vector<std::string> nombres[std::size(kIdiomas)];
    for (std::size_t i = 0; i < std::size(kIdiomas); ++i) {
        for (const auto& ruta : ArchivosDe(carpeta / kIdiomas[i], ".txt")) {
            const std::string utf8 = LeerUtf8(ruta);
            const std::string texto = Utf8ToCp1252(utf8);
            if (Cp1252ToUtf8(texto) != utf8)
                throw ErrorFuente(ruta.string() + ": holds a character that Windows-1252 cannot hold");
            nombres[i].push_back(ruta.filename().string());
            archivos.push_back(
                {std::string(kIdiomas[i]) + "/" + nombres[i].back(), {texto.begin(), texto.end()}});
        }
    }
    if (nombres[0] != nombres[1])
        throw ErrorFuente(carpeta.string() + ": every description must exist in both languages");
    return archivos;
}

} // namespace tarvik::fuentes
