#pragma once
// Catalogue records (capacitor banks and filters, current transformers, conductors), their reader,
// series codes and voltage classes.

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

// A capacitor bank, harmonic filter or fixed transformer capacitor (72 bytes in the file).
struct TEquipo {
    static constexpr std::size_t kTamano = 72;
    std::string codigo; // capacity 20
    std::string serie;  // capacity 20, the bare series name ("Jade", "Hematites")
    std::array<std::uint8_t, 10> reservado1{};
    float potencia = 0; // kvar for banks and capacitors, kW for filters
    std::array<std::uint8_t, 4> reservado2{};
    std::int32_t tension = 0; // volts
    float precio = 0;         // euros; 0 = on request
    std::uint8_t armonicos = 0;
    std::uint8_t reservado3 = 0;
    std::uint8_t tipo = 0; // 0 automatic bank or filter, 1 fixed transformer capacitor
    std::uint8_t indicador = 0;

    static TEquipo Decodificar(std::span<const std::uint8_t> bytes);
    std::vector<std::uint8_t> Codificar() const;
    bool operator==(const TEquipo&) const = default;
};

// A current transformer with a 5 A secondary (52 bytes in the file).
struct TTransformador {
    static constexpr std::size_t kTamano = 52;
    std::array<std::uint8_t, 21> reservado1{};
    std::string designacion; // capacity 20
    float intensidad = 0;    // rated primary current, A
    std::array<std::uint8_t, 4> reservado2{};

    static TTransformador Decodificar(std::span<const std::uint8_t> bytes);
    std::vector<std::uint8_t> Codificar() const;
    bool operator==(const TTransformador&) const = default;
};

// A supply conductor (12 bytes in the file), listed in increasing order of current.
struct TConductor {
    static constexpr std::size_t kTamano = 12;
    float seccion = 0; // mm²
    std::array<std::uint8_t, 4> reservado1{};
    float intensidad = 0; // admissible current of one conductor, A

    static TConductor Decodificar(std::span<const std::uint8_t> bytes);
    std::vector<std::uint8_t> Codificar() const;
    bool operator==(const TConductor&) const = default;
};

// Reads a headerless file of fixed-size records in file order. A missing or unreadable file gives
// an empty list; a trailing partial record is dropped.
template <class Registro> std::vector<Registro> LeerArchivo(const std::string& ruta);

// Decodes whole records from a block of bytes; a trailing partial record is dropped.
template <class Registro> std::vector<Registro> DecodificarRegistros(std::span<const std::uint8_t> bytes) {
    std::vector<Registro> lista;
    const std::size_t n = bytes.size() / Registro::kTamano;
    lista.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        lista.push_back(Registro::Decodificar(bytes.subspan(i * Registro::kTamano, Registro::kTamano)));
    return lista;
}

// The bank and filter catalogue as loaded for one selection: the records stay the 72-byte blocks of
// their file, in file order, beside the few fields that the selections compare, decoded once. A
// record is decoded whole only for the rows a selection keeps, so a large catalogue costs little
// more than reading its bytes.
class ListaEquipos {
  public:
    // Replaces the list with the records of a file; a missing or unreadable file gives an empty list,
    // and a trailing partial record is dropped.
    void Cargar(const std::string& ruta);

    std::size_t size() const { return campos_.size(); }
    bool empty() const { return campos_.empty(); }
    void clear() {
        bytes_.clear();
        campos_.clear();
    }

    // The whole record at a position.
    TEquipo operator[](std::size_t i) const;
    float potencia(std::size_t i) const { return campos_[i].potencia; }
    std::int32_t tension(std::size_t i) const { return campos_[i].tension; }
    std::uint8_t armonicos(std::size_t i) const { return campos_[i].armonicos; }
    std::uint8_t tipo(std::size_t i) const { return campos_[i].tipo; }
    // Whether the record's series name (a short string of capacity 20 at offset 21) is exactly
    // `nombre`: same length, same bytes.
    bool EsSerie(std::size_t i, std::string_view nombre) const {
        const std::uint8_t* p = bytes_.data() + i * TEquipo::kTamano + 21;
        return std::min<std::size_t>(p[0], 20) == nombre.size() &&
               std::equal(nombre.begin(), nombre.end(), p + 1,
                          [](char c, std::uint8_t byte) { return static_cast<std::uint8_t>(c) == byte; });
    }

  private:
    struct Campos {
        float potencia;
        std::int32_t tension;
        std::uint8_t armonicos;
        std::uint8_t tipo;
    };
    std::span<const std::uint8_t> Bloque(std::size_t i) const;

    std::vector<std::uint8_t> bytes_;
    std::vector<Campos> campos_;
};

// Sort key of a series name ("Serie Jade" → 102; anything else 1000). Exact and case-sensitive.
std::int32_t CodigoSerie(const std::string& nombre);

// The admitted catalogue voltages of a voltage choice (0: 400 V, 1: 480 V, 2: 230 V), setting the
// nominal voltage. Any other choice admits nothing and leaves the nominal voltage as it was.
std::vector<std::int32_t> TensionesAdmitidas(std::int32_t voltaje, std::int32_t& tensionNominal);

inline bool EnteroEnLista(std::int32_t valor, const std::vector<std::int32_t>& lista) {
    for (std::int32_t v : lista)
        if (v == valor)
            return true;
    return false;
}

} // namespace tarvik
