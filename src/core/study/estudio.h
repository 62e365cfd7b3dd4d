#pragma once
// The study: billing readings, customer data and calculation parameters.

#include "core/util/texto_fijo.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tarvik {

// Text capacities in Windows-1252 bytes.
inline constexpr std::size_t kCapMes = 15;
inline constexpr std::size_t kCapEmpresa = 100;
inline constexpr std::size_t kCapProvincia = 100;
inline constexpr std::size_t kCapDistribuidor = 100;
inline constexpr std::size_t kCapFax = 20;
inline constexpr std::size_t kCapTelefono = 20;
inline constexpr std::size_t kCapCliente = 100;
inline constexpr std::size_t kCapDireccion = 96;

// What the consumption analysis and its check take of a reading: its energies, peak demand, bill
// amounts and input transformer. A study read only for its totals decodes no more of each reading.
struct TCifrasLectura {
    double kwht = 0;
    double mdr = 0;
    double kvarh = 0;
    double ifp = 0;
    double it = 0;
    double cpc = 0;
    double ia = 0;
    double rr = 0;

    bool operator==(const TCifrasLectura&) const = default;
};

// One billing period (a month, or two months in bi-monthly studies).
struct TLectura {
    TextoFijo<kCapMes> mes; // Windows-1252
    std::int32_t ano = 0;
    double kwht = 0;
    std::array<std::uint8_t, 32> reservado1{};
    double mdr = 0;
    double coseno = 0;
    double kvarh = 0;
    double ifp = 0;
    double it = 0;
    double cpc = 0;
    std::array<std::uint8_t, 8> reservado2{};
    double ia = 0;
    double rr = 0;

    TCifrasLectura Cifras() const { return {kwht, mdr, kvarh, ifp, it, cpc, ia, rr}; }

    bool operator==(const TLectura&) const = default;
};

// The study's two-way choices. The records and the panel hold them as the stored 32-bit values
// (0 the first choice, 1 the second); the helpers below read a stored value as its choice, so that
// the code names the choice instead of testing for 0 or 1.
enum class Equipamiento : std::int32_t { Filtros = 0, Baterias = 1 };
enum class ModoCalculo : std::int32_t { PorConsumo = 0, PorPotencia = 1 };
enum class PeriodoLectura : std::int32_t { Mensual = 0, Bimestral = 1 };
enum class FrecuenciaRed : std::int32_t { Hz50 = 0, Hz60 = 1 };
enum class Armonicos : std::int32_t { Sin = 0, Con = 1 };

// 0 is harmonic filters; any other value capacitor banks.
constexpr Equipamiento EquipamientoDe(std::int32_t equipos) {
    return equipos == 0 ? Equipamiento::Filtros : Equipamiento::Baterias;
}
// 0 is by consumption; any other value by contracted power or maximeter.
constexpr ModoCalculo ModoCalculoDe(std::int32_t tipoCalculo) {
    return tipoCalculo == 0 ? ModoCalculo::PorConsumo : ModoCalculo::PorPotencia;
}
// 0 is monthly readings; any other value bi-monthly.
constexpr PeriodoLectura PeriodoLecturaDe(std::int32_t tipoLectura) {
    return tipoLectura == 0 ? PeriodoLectura::Mensual : PeriodoLectura::Bimestral;
}
// 0 is a 50 Hz network; any other value 60 Hz.
constexpr FrecuenciaRed FrecuenciaRedDe(std::int32_t frecuencia) {
    return frecuencia == 0 ? FrecuenciaRed::Hz50 : FrecuenciaRed::Hz60;
}
// Only 1 declares current harmonics.
constexpr Armonicos ArmonicosDe(std::int32_t armonicos) {
    return armonicos == 1 ? Armonicos::Con : Armonicos::Sin;
}

// Customer data and every calculation parameter; also the header of the billing file.
struct TDatosEstudio {
    std::uint16_t version = 100;
    std::string empresa;
    std::string provincia;
    std::string distribuidor;
    std::string fax;
    std::string telefono;
    std::int32_t tarifa = 0;
    std::int32_t voltaje = 0;
    std::string cliente;
    std::string direccion;
    std::int32_t horas = 200;
    float cosenoDeseado = 1.0f;
    bool porPrecio = false;
    std::int32_t armonicos = 0;
    std::int32_t tipoLectura = 0;
    std::int32_t seleccionModelo = 0;
    std::int32_t reservado1 = 0;
    std::int32_t frecuencia = 0;
    std::int32_t temperatura = 0;
    std::int32_t reservado2 = 0;
    std::int32_t tipoCalculo = 0;
    std::int32_t potenciaMaxima = 0;
    bool tieneTransformador = false;
    std::int32_t transformadorEntrada = 0;
    std::int32_t equipos = 0;

    bool operator==(const TDatosEstudio&) const = default;
};

// Tariff choices; index 8 ("1.1") is the one that the results and the report treat specially.
inline constexpr std::array<const char*, 9> kTarifas = {"2.0", "2.1", "3.0", "3.1", "4.0",
                                                        "B.0", "R.0", "R.1", "1.1"};
inline constexpr std::int32_t kTarifa11 = 8;

// Ranges of the panel's number inputs.
inline constexpr std::int32_t kHorasMin = 1;
inline constexpr std::int32_t kHorasMax = 744;

// The values shown by the inputs panel, as plain values. Texts are Windows-1252 bytes as typed
// (already upper-cased by the panel); numbers are what the inputs show.
struct DatosPanel {
    std::string empresa, cliente, direccion, provincia, distribuidor, fax, telefono;
    std::int32_t tarifa = 0;
    std::int32_t voltaje = 0;
    std::int32_t horas = 200;
    double cosenoDeseado = 1.0; // the shown two-decimal value
    bool porPrecio = false;
    std::int32_t armonicos = 0;
    std::int32_t tipoLectura = 0;
    std::int32_t seleccionModelo = 0;
    std::int32_t frecuencia = 0;
    std::int32_t temperatura = 0; // -1: no choice
    std::int32_t tipoCalculo = 0;
    std::int32_t potenciaMaxima = 0;
    bool tieneTransformador = false;
    std::int32_t transformadorEntrada = 0;
    std::int32_t equipos = 0;

    bool operator==(const DatosPanel&) const = default;
};

// A new study's panel values; the harmonics choice and the reading type are kept from `actual`.
DatosPanel NuevoEstudio(const DatosPanel& actual);

// Refreshes the record from the panel: texts cut to capacity, the desired factor as a float,
// `reservado1` set to 0; `version` and `reservado2` stay.
void RecogerDatos(const DatosPanel& panel, TDatosEstudio& datos);

// The panel values that show a record: numbers brought into their input's range, a choice index
// above the last brought to the last and a negative one to the first (a negative temperature stays
// as "no choice"), the desired factor as shown with two decimals.
DatosPanel MostrarDatos(const TDatosEstudio& datos);

// The desired factor as a two-decimal input shows and reads it (0 to 1).
double FactorMostrado(double valor);

// Clamps a value into [minimo, maximo].
std::int32_t Acotar(std::int64_t valor, std::int32_t minimo, std::int32_t maximo);

// Working hours of one reading period and readings that make a year, by reading type.
std::int32_t HorasPorPeriodo(std::int32_t horas, std::int32_t tipoLectura);
std::int32_t LecturasPorAno(std::int32_t tipoLectura);

} // namespace tarvik
