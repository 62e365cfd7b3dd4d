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

// The analysis of readings handed over in runs in the study's order, whether the study holds them
// or only passes their figures by (a study read without keeping its readings): AnalizarLecturas and
// AnalisisConsumo are this over the study's readings, so both give the same bits; every sum runs in
// reading order.
class AnalisisEnCurso {
  public:
    // Empties `analisis`, which it fills as the readings arrive; the arguments as for AnalizarLecturas.
    AnalisisEnCurso(TAnalisisConsumo& analisis, std::int32_t horas, double deseado, float deseado32);
    // The same from the inputs panel, as the consumption path analyses.
    AnalisisEnCurso(TAnalisisConsumo& analisis, const DatosPanel& panel);

    // Adds the next readings and writes their power factors into them. `cosenos`, when it holds
    // one value per reading, are their power factors already evaluated from the same energies.
    // False once the analysis has failed, at one of these readings or before; the readings after
    // that are not looked at.
    bool Anadir(std::span<TLectura> lecturas, std::span<const double> cosenos = {});
    // The same over readings' figures alone, which keep no power factor, with their tan φ
    // (kvarh / kWh) and its FactorPotencia::Aproximado.
    bool Anadir(std::span<const TCifrasLectura> lecturas, std::span<const double> tangentes,
                std::span<const double> aproximados);
    // The figures over every reading added (also as far as they got when it failed); false when
    // the analysis failed.
    bool Terminar();
    // The largest input transformer of the readings added (0 when none is positive).
    double TrafoMayor() const { return m_.trafoMayor; }

  private:
    // What the analysis keeps of the readings so far beside the figures it fills.
    struct Marcha {
        double picoMaximo = 0;
        double reactivaMaxima = 0;
        // The factor of the reading with the highest reactive energy so far.
        std::optional<FactorPotencia> maxReactiva;
        // The tan φ of the reading with the lowest factor so far.
        double tanMinimo = std::numeric_limits<double>::quiet_NaN();
        double requerimientoMaximo = -2147483647.0;
        double trafoMayor = 0;
    };

    // Adds readings with `factorDe(i)` the power factor of the i-th.
    template <class Lectura, class FactorDe> bool AnadirTramo(std::span<Lectura> lecturas, FactorDe factorDe);
    // One reading into the figures `a` and the rest `m`, and its power factor into a whole reading;
    // false when it fails the analysis.
    template <class Lectura> bool Paso(Lectura& l, FactorPotencia& c, TAnalisisConsumo& a, Marcha& m) const;

    TAnalisisConsumo& a_;
    double objetivo_;
    std::int32_t horas_;
    double deseado_;
    bool valido_;
    Marcha m_;
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
