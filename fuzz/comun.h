#pragma once
// What every fuzz target shares.
//
// A target is one file under targets/ that defines LLVMFuzzerTestOneInput and Semillas(). Run with
// TARVIK_SEMILLAS=<folder>, the program writes its seeds into that folder and exits instead of
// fuzzing; with TARVIK_DATOS=<source root> as well, the seeds include the shipped files of the
// target's kind that exist there.

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik::fuzz {

struct Semilla {
    std::string nombre;
    std::vector<std::uint8_t> bytes;
};

// The target's seeds: small valid inputs built from field values, plus the files under `datos`
// (empty: none) that ArchivosDe picks.
std::vector<Semilla> Semillas(const std::filesystem::path& datos);

// The regular files directly in datos/carpeta whose name ends in `extension`, as seeds named
// "<carpeta>-<file name>"; nothing when `datos` is empty or the folder is missing.
std::vector<Semilla> ArchivosDe(const std::filesystem::path& datos, const std::string& carpeta,
                                const std::string& extension);

// The bytes of a whole file (none when it cannot be read).
std::vector<std::uint8_t> Bytes(const std::filesystem::path& ruta);

// Stops the run as a finding when a property does not hold, printing `detalle` (if any) beside it.
void Exigir(bool cumple, const char* propiedad, std::string_view detalle = {});

// The file image of a list of catalogue records.
template <class Registro> std::vector<std::uint8_t> Imagen(const std::vector<Registro>& lista) {
    std::vector<std::uint8_t> b;
    for (const Registro& r : lista) {
        const std::vector<std::uint8_t> uno = r.Codificar();
        Exigir(uno.size() == Registro::kTamano, "a record encodes to its size");
        b.insert(b.end(), uno.begin(), uno.end());
    }
    return b;
}

// A copy of a record with the NaN values of the given floating fields set to 0, so that == compares
// every other field; the bits of such fields are compared through the record's encoding.
template <class Registro, class... Campos> Registro SinNaN(Registro r, Campos... campos) {
    ((std::isnan(r.*campos) ? void(r.*campos = 0) : void()), ...);
    return r;
}

} // namespace tarvik::fuzz
