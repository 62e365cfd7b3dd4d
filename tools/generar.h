#pragma once
// Generators of the binary files shipped with the program from their readable sources.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tarvik::fuentes {

struct ArchivoGenerado {
    std::string nombre; // file name inside the target folder (may hold a subfolder)
    std::vector<std::uint8_t> bytes;
};

// The catalogue files (bateria.dat, bateria60.dat, filtros.dat, trans.dat, cond.dat) from the
// tables bateria.csv, bateria60.csv, filtros.csv, trans.csv and cond.csv of `carpeta`.
std::vector<ArchivoGenerado> GenerarCatalogos(const std::filesystem::path& carpeta);

// A billing file NAME.fac for every study source NAME.txt of `carpeta`, in name order.
std::vector<ArchivoGenerado> GenerarEjemplos(const std::filesystem::path& carpeta);

// The description texts of the equipment series: every UTF-8 text es/NAME.txt and en/NAME.txt of
// `carpeta` as Windows-1252, under the same relative name. Both languages must hold the same names.
std::vector<ArchivoGenerado> GenerarDescripciones(const std::filesystem::path& carpeta);

} // namespace tarvik::fuentes
