#pragma once
// A complete study for the tests: a metalworking shop's customer data and a year of monthly bills.

#include "core/study/estudio.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tarvik::prueba {

struct EstudioPrueba {
    TDatosEstudio datos;
    std::vector<TLectura> lecturas;
};

// `n` monthly readings from January 2024 on, at a power factor of about 0.81 with a peak near
// 215 kW behind a 630 kVA transformer, without bill amounts; the reserved bytes hold a pattern of
// the reading's place, so that a reader that drops or shifts them is seen.
inline std::vector<TLectura> LecturasMensuales(std::size_t n) {
    static const char* kMeses[] = {"Enero", "Febrero", "Marzo",      "Abril",   "Mayo",      "Junio",
                                   "Julio", "Agosto",  "Septiembre", "Octubre", "Noviembre", "Diciembre"};
    std::vector<TLectura> lecturas(n);
    for (std::size_t i = 0; i < n; ++i) {
        TLectura& l = lecturas[i];
        l.mes = kMeses[i % 12];
        l.ano = 2024 + static_cast<std::int32_t>(i / 12);
        l.kwht = 41000 + 1375 * static_cast<double>(i % 5);
        l.kvarh = 29500 + 820 * static_cast<double>(i % 4);
        l.mdr = 210 + 6 * static_cast<double>(i % 3);
        l.cpc = 630;
        l.reservado1.fill(static_cast<std::uint8_t>(0xA0 + i % 16));
        l.reservado2.fill(static_cast<std::uint8_t>(0x50 + i % 16));
    }
    return lecturas;
}

// The shop's customer data with a year of readings: banks by consumption on a 400 V supply,
// desired power factor 0.98, 320 hours a month.
inline EstudioPrueba EstudioCompleto() {
    EstudioPrueba e;
    TDatosEstudio& d = e.datos;
    d.empresa = "METALURGIAS DEL HENARES S.L.";
    d.cliente = "ANA GARCIA";
    d.direccion = "POLIGONO EL CASCAJAL, NAVE 14";
    d.provincia = "MADRID";
    d.distribuidor = "ELECTRA CENTRO";
    d.fax = "918 000 001";
    d.telefono = "918 000 000";
    d.equipos = 1;
    d.voltaje = 0;
    d.horas = 320;
    d.cosenoDeseado = 0.98f;
    e.lecturas = LecturasMensuales(12);
    return e;
}

} // namespace tarvik::prueba
