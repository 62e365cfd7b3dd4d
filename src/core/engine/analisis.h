#pragma once
// The consumption and power-factor analysis: from a year of readings (or the contracted power) to
// the power that the equipment must cover.

#include "core/engine/factor_potencia.h"
#include "core/engine/resultados.h"
#include "core/engine/sesion.h"
#include "core/study/estudio.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <vector>

namespace tarvik {

// The analysis of readings handed over one at a time in the study's order, whether the study holds
// them or only passes them by (a study read without keeping its readings): AnalizarLecturas and
// AnalisisConsumo are this over the study's readings, so both give the same bits; every sum runs in
// reading order.
class AnalisisEnCurso {
  public:
    // Whether each reading added gets its power factor written into it: a study that passes its
    // readings by does not keep them.
    enum class Cosenos : bool { Escribir, Omitir };

    // Empties `analisis`, which it fills as the readings arrive; the arguments as for AnalizarLecturas.
    AnalisisEnCurso(TAnalisisConsumo& analisis, std::int32_t horas, double deseado, float deseado32,
                    Cosenos cosenos = Cosenos::Escribir);
    // The same from the inputs panel, as the consumption path analyses.
    AnalisisEnCurso(TAnalisisConsumo& analisis, const DatosPanel& panel, Cosenos cosenos = Cosenos::Escribir);

    // Adds a reading (and writes its power factor into it). False once the analysis has failed, at
    // this reading or before; the readings after that are not looked at.
    bool Anadir(TLectura& lectura);
    // The same with the reading's power factor from the same energies.
    bool Anadir(TLectura& lectura, FactorPotencia& factor);
    // The figures over every reading added (also as far as they got when it failed); false when
    // the analysis failed.
    bool Terminar();
    // The largest input transformer of the readings added (0 when none is positive).
    double TrafoMayor() const { return trafoMayor_; }

  private:
    TAnalisisConsumo& a_;
    double objetivo_;
    std::int32_t horas_;
    double deseado_;
    Cosenos cosenos_;
    bool valido_;
    double picoMaximo_ = 0;
    double reactivaMaxima_ = 0;
    // The factor of the reading with the highest reactive energy so far.
    std::optional<FactorPotencia> maxReactiva_;
    // The tan φ of the reading with the lowest factor so far.
    double tanMinimo_ = std::numeric_limits<double>::quiet_NaN();
    double requerimientoMaximo_ = -2147483647.0;
    double trafoMayor_ = 0;
};

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
// filters) and keeps the readings' largest input transformer for the transformer capacitor. False
// when the analysis or the adjustment fails. `cosenos` as for AnalizarLecturas.
bool AnalisisConsumo(Sesion& sesion, const DatosPanel& panel, std::span<const double> cosenos = {});

// The end of the consumption path over readings added to `analisis` (made from `sesion.Analisis`
// and the panel): what AnalisisConsumo answers over the same readings.
bool TerminarAnalisisConsumo(Sesion& sesion, const DatosPanel& panel, AnalisisEnCurso& analisis);

// The contracted-power path: `qc` from the contracted power alone (⌈0.81 × P⌉ kvar for banks, P kW
// for filters), with the peak demand, the input transformer and a power factor of 1. Writes only
// those four fields.
bool AnalisisPotenciaContratada(TAnalisisConsumo& analisis, const DatosPanel& panel);

// ⌈0.81 × P⌉, exactly.
std::int64_t ReactivaContratada(std::int32_t potencia);

} // namespace tarvik
