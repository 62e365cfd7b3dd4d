#pragma once
// The texts of the totals window: lowest, average and desired power factor and the yearly
// reactive-energy surcharge.

#include "core/engine/resultados.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace tarvik {

struct TextosTotales {
    std::string fpb;                // lowest power factor, 2 decimals
    std::string fpm;                // average power factor, 2 decimals
    std::string fpd;                // desired power factor, 2 decimals
    std::string total_penalizacion; // yearly surcharge in euros, 0 decimals
};

// The surcharge of the readings is averaged per month (a bi-monthly reading counts two) and
// projected to twelve months.
TextosTotales LlenarTotales(const TAnalisisConsumo& analisis, double cosenoDeseado, std::size_t lecturas,
                            std::int32_t tipoLectura, char separador);

} // namespace tarvik
