#pragma once
// The analysis record and the result rows of a calculation.

#include <cstdint>
#include <string>

namespace tarvik {

// Figures derived from the year of readings or from the contracted power.
struct TAnalisisConsumo {
    double kwhTotal = 0;
    double kvarhTotal = 0;
    double cosenoMinimo = 0;
    double cosenoMedio = 0;
    double cosenoDeseado = 0;
    double tanMaxDemanda = 0;
    double difTanMaxDemanda = 0;
    double importeTotal = 0;
    double precioMedio = 0;
    double recargoTotal = 0;
    double descuentoTotal = 0;
    double saldoReactiva = 0;
    double qc = 0; // kvar for banks, kW for filters
    double potenciaMaxima = 0;
    double cosenoMaxReactiva = 0;
    double trafoEntrada = 0;
    double reservado[3] = {0, 0, 0};
};

// A selected capacitor bank, filter or transformer capacitor.
struct TEquipoSeleccionado {
    std::int32_t cantidad = 1;
    std::string codigo; // capacity 20
    std::string serie;  // capacity 20
    std::uint8_t armonicos = 0;
    std::uint8_t indicador = 0;
    double potencia = 0;
    double tension = 0;
    double precio = 0; // 0 = on request
    std::int32_t codigoSerie = 0;
    std::uint8_t tipo = 0; // the catalogue's: 0 a bank or filter, 1 a transformer capacitor
};

// The supply conductor of one selected unit.
struct TConductorSeleccionado {
    double intensidadNominal = 0;
    std::string seccion; // capacity 10
    double intensidadConductor = 0;
    double precio = 0;
    double longitud = 0;
    std::int32_t cantidad = 0;
};

// A selected current transformer.
struct TTransformadorSeleccionado {
    std::string designacion; // capacity 20
    double intensidad = 0;
    double precio = 0;
    double tension = 0;
};

// The supply conductor of the transformer capacitor under tariff "1.1": only its length and price
// are ever entered; the rest stays zero.
struct TCondensadorTrafo {
    TEquipoSeleccionado equipo{0, "", "", 0, 0, 0, 0, 0, 0, 0};
    double intensidadCalculo = 0;
    std::string seccion;
    double intensidadConductor = 0;
    double precioConductor = 0;
    double longitudConductor = 0;
    std::int32_t cantidadConductores = 0;
};

} // namespace tarvik
