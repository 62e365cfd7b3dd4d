#pragma once
// Selection of capacitor banks or harmonic filters from the catalogue, then of the supply conductor
// of each selected unit and of the current transformer.

#include "core/engine/sesion.h"
#include "core/lang/mensajes.h"
#include "core/study/estudio.h"

#include <cstdint>
#include <vector>

namespace tarvik {

// Automatic banks from bateria.dat (50 Hz) or bateria60.dat (60 Hz) that cover `qc`: the smallest
// rating above it (and less than 1000 kvar above), one row per model of that rating, or with
// harmonics the smallest bank of each series that reaches it; sorted by series, then the fixed
// capacitors for the input transformer. True when at least one automatic bank was selected.
// Appends `error_qc` when `qc` cannot be compared.
bool SeleccionarBaterias(Sesion& sesion, const DatosPanel& panel, ListaMensajes& mensajes);

// Appends the fixed capacitor rows for the input transformer (5 % of its rating) from the loaded
// equipment catalogue: by consumption the readings' largest one, as their analysis left it in
// `trafoEntradaMayor`; by contracted power the own transformer.
void CondensadorTransformador(Sesion& sesion, const DatosPanel& panel, ListaMensajes& mensajes);

// Stable sort of the selected equipment by series code.
void OrdenarPorSerie(std::vector<TEquipoSeleccionado>& equipos);

// Harmonic filters from filtros.dat whose power is more than nine tenths of `qc` (and less than
// 1000 kW above it): every filter of the smallest such power, sorted by series. True when at least
// one was selected. Appends `error_qc` when `qc` is 0 or not finite.
bool SeleccionarFiltros(Sesion& sesion, const DatosPanel& panel, ListaMensajes& mensajes);

// One supply conductor row per selected unit, in the same order: design current 1.5 × the line
// current, conductors in parallel when one is not enough, the smallest section that carries the
// current per conductor. A unit that no conductor fits gets a "no conductor" row. The section is
// written with the given decimal separator. True when rows were produced.
bool SeleccionarConductores(Sesion& sesion, char separadorDecimal);

// The current transformers of the smallest primary current of at least 1.5 times the installation
// current at its peak demand. True when rows were produced.
bool SeleccionarTransformadores(Sesion& sesion);

// The quantity shown for a current transformer of a voltage: the `cantidad` of the first selected
// unit of that voltage (rounded, halves to even), else of the last unit; 0 without units.
std::int32_t CantidadTransformadores(const std::vector<TEquipoSeleccionado>& equipos, double tension);

// The filter acceptance rule: P / qc > 0.9 with the quotient formed above double precision.
bool SuperaNueveDecimas(double potencia, double qc);

// Conductors per phase and the current each carries, for a design current and the largest current
// one conductor may carry. False when no number of conductors fits (non-finite or non-positive
// limits, or more conductors than a quantity can count).
struct Paralelo {
    std::int32_t conductores = 1;
    double intensidad = 0;
};
bool ConductoresEnParalelo(double intensidadDiseno, double intensidadMaxima, Paralelo& paralelo);

} // namespace tarvik
