#pragma once
// The input of the targets that run the calculation: a study with its catalogues, some choices of
// the inputs panel and what the report needs besides.
//
// Layout: a 26-byte head, then the study, bank, filter, current-transformer and conductor bytes by
// the head's lengths, and a description text in the rest. Head (little-endian): a 16-bit word of
// flags (bit 0: ',' as the decimal separator; bit 1 + i: replace panel choice i; bit 9: English),
// the eight panel choices as signed bytes (calculation type, equipment, voltage, frequency,
// temperature, harmonics, reading type, tariff), the page's width and height as one byte each, the
// description pictures' width and height as 16-bit words, and five 16-bit lengths.

#include "fuzz/comun.h"

#include "core/engine/sesion.h"
#include "core/study/estudio.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tarvik::fuzz {

inline constexpr std::size_t kEleccionesPanel = 8;

struct EntradaCalculo {
    std::uint16_t banderas = 0;
    std::int8_t elecciones[kEleccionesPanel] = {};
    std::uint8_t anchoPagina = 0, altoPagina = 0;
    std::uint16_t anchoImagen = 0, altoImagen = 0;
    std::vector<std::uint8_t> estudio, bancos, filtros, transformadores, conductores, descripcion;

    char Separador() const { return (banderas & 1) ? ',' : '.'; }
    bool Ingles() const { return banderas & 0x200; }
};

std::vector<std::uint8_t> Unir(const EntradaCalculo& e);
// Splits an input; a part whose length runs past the end gets what is left.
EntradaCalculo Partir(std::span<const std::uint8_t> bytes);

// A session as the program holds it after opening the study with these catalogues (the bank and
// filter files written into a program folder of this process), and the panel showing the study
// with the input's choices. False when the study cannot be opened.
bool Cargar(const EntradaCalculo& e, Sesion& sesion, DatosPanel& panel);

// Replaces a file's content; the run stops when it cannot be written.
void EscribirArchivo(const std::string& ruta, std::span<const std::uint8_t> bytes);

// Small studies of each calculation and equipment type with catalogues built from field values,
// choices in and out of range, and (with `datos`) every example study with the shipped catalogues.
std::vector<Semilla> SemillasCalculo(const std::filesystem::path& datos);

} // namespace tarvik::fuzz
