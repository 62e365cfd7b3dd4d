#pragma once
// The consumption and power-factor analysis: from a year of readings (or the contracted power) to
// the power that the equipment must cover.

#include "core/engine/resultados.h"
#include "core/engine/sesion.h"
#include "core/study/estudio.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tarvik {

// Fills `analisis` from the readings and writes each reading's power factor. `horas` is the working
// time of one period. The target tan φ comes from the desired factor as a 32-bit float
// (`deseado32`); `cosenoDeseado` keeps the shown value `deseado`. False on an arithmetic failure:
// a reading without active energy, no working hours, a zero energy total, any value that is not
// finite, or surcharges whose yearly projection is not; `analisis` and the readings are then left
// as far as the pass got. `cosenos`, when it holds one value per reading, are the readings' power
// factors already evaluated from the same energies; otherwise they are evaluated here.
bool AnalizarLecturas(std::vector<TLectura>& lecturas, std::int32_t horas, double deseado, float deseado32,
                      TAnalisisConsumo& analisis, std::span<const double> cosenos = {});

// The consumption path: analyses the study's readings, then adjusts `qc` by equipment type (the
// larger of the highest period requirement and the requirement at the peak demand, over 0.7 for
// filters). False when the analysis or the adjustment fails. `cosenos` as for AnalizarLecturas.
bool AnalisisConsumo(Sesion& sesion, const DatosPanel& panel, std::span<const double> cosenos = {});

// The contracted-power path: `qc` from the contracted power alone (⌈0.81 × P⌉ kvar for banks, P kW
// for filters), with the peak demand, the input transformer and a power factor of 1. Writes only
// those four fields.
bool AnalisisPotenciaContratada(TAnalisisConsumo& analisis, const DatosPanel& panel);

// ⌈0.81 × P⌉, exactly.
std::int64_t ReactivaContratada(std::int32_t potencia);

} // namespace tarvik
