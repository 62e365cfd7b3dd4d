#pragma once
// The cell texts of the three results tables, as the results window shows them and the command-line
// front end prints them. Texts are Windows-1252 in the active language.

#include "core/engine/resultados.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarvik {

// A transposed table: one attribute per row, one selected item per column; column 0 holds the row
// labels. Every label and most cells start with a blank, the left margin.
using Rejilla = std::vector<std::vector<std::string>>;

// The heading of a series: "Serie Jade" for banks, "Filtro Jade" for filters (by the equipment type,
// 0 filters), in the active language.
std::string NombreSerie(std::int32_t tipoEquipos, const std::string& serie);

// Equipment table: type, code, power, voltage, quantity, price. Without rows one empty data column;
// under tariff "1.1" one more empty column at the right.
Rejilla MostrarEquipos(const std::vector<TEquipoSeleccionado>& equipos, std::int32_t tipoEquipos,
                       std::int32_t tarifa, char separador);

// Whether equipment for installations with current harmonics was selected (the window then shows
// its note on those series).
bool HayEquiposConArmonicos(const std::vector<TEquipoSeleccionado>& equipos);

// Current-transformer table: ratio, quantity, price. Without rows one empty data column.
Rejilla MostrarTransformadores(const std::vector<TTransformadorSeleccionado>& transformadores,
                               const std::vector<TEquipoSeleccionado>& equipos, char separador);

// Conductor table, one column per selected unit: its code, currents, section, length, conductors
// per phase, price; under tariff "1.1" one more empty column at the right.
Rejilla MostrarConductores(const std::vector<TConductorSeleccionado>& conductores,
                           const std::vector<TEquipoSeleccionado>& equipos, std::int32_t tarifa,
                           char separador);

} // namespace tarvik
