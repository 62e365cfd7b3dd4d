#include "fuzz/comun.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace tarvik::fuzz {

std::vector<Semilla> ArchivosDe(const std::filesystem::path& datos, const std::string& carpeta,
                                const std::string& extension) {
    std::vector<Semilla> semillas;
    std::error_code ec;
    if (datos.empty() || !std::filesystem::is_directory(datos / carpeta, ec))
        return semillas;
    for (const auto& entrada : std::filesystem::directory_iterator(datos / carpeta, ec)) {
        const std::string nombre = entrada.path().filename().string();
        if (!entrada.is_regular_file(ec) || !nombre.ends_with(extension))
            continue;
        semillas.push_back({carpeta + "-" + nombre, Bytes(entrada.path())});
    }
    return semillas;
}

std::vector<std::uint8_t> Bytes(const std::filesystem::path& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

void Exigir(bool cumple, const char* propiedad, std::string_view detalle) {
    if (!cumple) {
        std::fprintf(stderr, "Property broken: %s [%.*s]\n", propiedad, static_cast<int>(detalle.size()),
                     detalle.data());
        std::abort();
    }
}

namespace {

int EscribirSemillas(const char* destino) {
    const char* datos = std::getenv("TARVIK_DATOS");
    std::filesystem::create_directories(destino);
    const std::vector<Semilla> semillas = Semillas(datos ? datos : "");
    for (const Semilla& s : semillas) {
        std::ofstream f(std::filesystem::path(destino) / s.nombre, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(s.bytes.data()), static_cast<std::streamsize>(s.bytes.size()));
        if (!f) {
            std::fprintf(stderr, "Cannot write seed %s into %s\n", s.nombre.c_str(), destino);
            return 1;
        }
    }
    std::printf("%zu seeds in %s\n", semillas.size(), destino);
    return 0;
}

} // namespace

} // namespace tarvik::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const char* destino = std::getenv("TARVIK_SEMILLAS"))
        std::exit(tarvik::fuzz::EscribirSemillas(destino));
    return 0;
}
