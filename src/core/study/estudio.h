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

    bool operator==(const TLectura&) const = default;
};

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
