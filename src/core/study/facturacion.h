#pragma once
// The billing file (.fac): a 616-byte study header followed by 136-byte readings.

#include "core/study/estudio.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tarvik {

inline constexpr std::size_t kTamCabecera = 616;
inline constexpr std::size_t kTamLectura = 136;
inline constexpr std::uint16_t kVersionActual = 100;

// Header length of a layout version, or 0 for a version this program does not read.
std::size_t LongitudCabecera(std::uint16_t version);

std::vector<std::uint8_t> CodificarCabecera(const TDatosEstudio& datos);
std::vector<std::uint8_t> CodificarLectura(const TLectura& lectura);
TLectura DecodificarLectura(std::span<const std::uint8_t> bytes);
void DecodificarLectura(std::span<const std::uint8_t> bytes, TLectura& lectura);
// Only the figures of the reading in `bytes`, as DecodificarLectura decodes them.
void DecodificarCifras(std::span<const std::uint8_t> bytes, TCifrasLectura& cifras);

// The whole file image of a study; the header is written as version 100.
std::vector<std::uint8_t> CodificarFacturacion(const TDatosEstudio& datos,
                                               const std::vector<TLectura>& lecturas);

enum class ErrorCarga {
    Ninguno,
    Apertura, // the file could not be read: `detalle` holds the system's reason
    Formato,  // unknown version word, or shorter than its header
};

struct ResultadoCarga {
    ErrorCarga error = ErrorCarga::Ninguno;
    std::string detalle;
    TDatosEstudio datos;
    std::vector<TLectura> lecturas;
    bool ok() const { return error == ErrorCarga::Ninguno; }
};

// The header of a file image into `datos`; its length, or 0 (and `datos` untouched) for an unknown
// version or a header cut short. Fields that an older layout lacks get their stated values;
// `reservado2` keeps the value of `previo` where the layout lacks it.
std::size_t DecodificarCabecera(std::span<const std::uint8_t> bytes, const TDatosEstudio& previo,
                                TDatosEstudio& datos);

// Decodes a file image. Fields that an older layout lacks get their stated values; `reservado2`
// keeps the value of `previo` where the layout lacks it. A trailing partial reading is dropped.
ResultadoCarga DecodificarFacturacion(std::span<const std::uint8_t> bytes, const TDatosEstudio& previo);

} // namespace tarvik
