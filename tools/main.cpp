// tarvik-catalogos: generates the catalogue files under dbf/ and the example studies under
// examples/ from their readable sources, or checks that the committed files still match them.

#include "tools/fuentes.h"
#include "tools/generar.h"

#include "core/study/facturacion.h"
#include "core/util/archivo.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <string>

namespace {

using namespace tarvik::fuentes;

constexpr const char* kUso =
    "usage: tarvik-catalogos [--comprobar] catalogos|ejemplos|descripciones SOURCES TARGET\n"
    "  catalogos      SOURCES/*.csv  ->  TARGET/*.dat (the catalogue files)\n"
    "  ejemplos       SOURCES/*.txt  ->  TARGET/*.fac (the example studies)\n"
    "  descripciones  SOURCES/{es,en}/*.txt  ->  TARGET/{es,en}/*.txt (Windows-1252)\n"
    "  --comprobar  write nothing; exit 1 when a file in TARGET differs\n";

bool Escribir(const std::filesystem::path& ruta, const std::vector<std::uint8_t>& bytes) {
    std::ofstream salida(ruta, std::ios::binary | std::ios::trunc);
    salida.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    salida.close();
    return static_cast<bool>(salida);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool comprobar = !args.empty() && args.front() == "--comprobar";
    if (comprobar)
        args.erase(args.begin());
    using Generador = std::vector<ArchivoGenerado> (*)(const std::filesystem::path&);
    const std::map<std::string, Generador> generadores = {{"catalogos", GenerarCatalogos},
                                                          {"ejemplos", GenerarEjemplos},
                                                          {"descripciones", GenerarDescripciones}};
    if (args.size() != 3 || !generadores.contains(args[0])) {
        std::fputs(kUso, stderr);
        return 2;
    }
    const std::filesystem::path fuentes = args[1];
    const std::filesystem::path destino = args[2];
    std::vector<ArchivoGenerado> archivos;
    try {
        archivos = generadores.at(args[0])(fuentes);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 2;
    }
    int resultado = 0;
    std::error_code ec;
    for (const ArchivoGenerado& archivo : archivos) {
        const std::filesystem::path ruta = destino / archivo.nombre;
        if (!comprobar)
            std::filesystem::create_directories(ruta.parent_path(), ec);
        if (comprobar) {
            std::vector<std::uint8_t> actual;
            std::string detalle;
            if (!tarvik::LeerBytes(ruta.string(), actual, detalle) || actual != archivo.bytes) {
                std::fprintf(stderr, "%s does not match its source; run tarvik-catalogos %s %s %s\n",
                             ruta.string().c_str(), args[0].c_str(), fuentes.string().c_str(),
                             destino.string().c_str());
                resultado = 1;
            }
        } else if (!Escribir(ruta, archivo.bytes)) {
            std::fprintf(stderr, "%s: cannot be written\n", ruta.string().c_str());
            resultado = 1;
        }
    }
    return resultado;
}
