#pragma once
// The calculation pipeline: validation, analysis, equipment, conductors and current transformers.
//
// Every step reads its parameters from a snapshot of the inputs panel taken when the calculation
// starts, appends the messages it would show (in order) to a list, and returns whether it went on.

#include "core/engine/analisis.h"
#include "core/engine/factor_potencia.h"
#include "core/engine/seleccion.h"
#include "core/engine/sesion.h"
#include "core/lang/mensajes.h"
#include "core/study/estudio.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tarvik {

// Runs the whole calculation on the panel's values as they are now. Refreshes the study record
// from the panel first. Appends the messages to show, in order; true when results are ready.
// Conductor sections are written with `separadorDecimal`, the user's locale separator.
// A refusal marks the results as not calculated and stale: the lists may then hold partial rows
// (the equipment of a failed selection beside the conductors and transformers of an earlier
// calculation), which must not be shown or printed.
bool Calcular(Sesion& sesion, const DatosPanel& panel, ListaMensajes& mensajes, char separadorDecimal = '.');

// Validation and analysis alone, by calculation type (also used by the totals window).
bool ValidarYAnalizar(Sesion& sesion, const DatosPanel& panel, ListaMensajes& mensajes);

// The consumption-path check over readings handed over one at a time in the study's order;
// NecesitaCompensacion is this over a vector.
class CompensacionEnCurso {
  public:
    explicit CompensacionEnCurso(double cosenoDeseado);
    // Adds a reading and gives its power factor; none once the readings cannot be averaged (from
    // this reading on: the readings after it are not looked at).
    std::optional<FactorPotencia> Anadir(const TLectura& lectura);
    // Adds the next readings with their tan φ (kvarh / kWh) and its FactorPotencia::Aproximado:
    // how many of them went through before the readings could no longer be averaged.
    std::size_t Anadir(std::span<const TCifrasLectura> lecturas, std::span<const double> tangentes,
                       std::span<const double> aproximados);
    // NecesitaCompensacion's answer and message over the readings added.
    bool Necesita(ListaMensajes& mensajes) const;

  private:
    // Adds the power factor in ten-thousandths of a reading of `kwht` to `suma`; false when it
    // cannot be averaged.
    static bool Sumar(double kwht, FactorPotencia& factor, std::int64_t& suma);

    double deseado_;
    bool fallo_;
    std::int64_t suma_ = 0;
    std::size_t lecturas_ = 0;
};

// The consumption-path check: false (with `no_compensacion`) when the average of the rounded
// per-reading power factors already reaches the desired one, or (with `error_datos`) when the
// readings cannot be averaged. Each reading's power factor goes into `cosenos`, so that the
// analysis that follows does not evaluate it again.
bool NecesitaCompensacion(const std::vector<TLectura>& lecturas, double cosenoDeseado,
                          ListaMensajes& mensajes, std::vector<double>& cosenos);

// ValidarYAnalizar by consumption over the figures of readings handed over in runs in the study's
// order and not kept (the totals of a study read without holding its readings): the same answer,
// the same messages and, when it succeeds, the same analysis in `sesion`, whose readings it leaves
// alone. The check and the analysis take each reading together, in one pass.
class ValidacionEnCurso {
  public:
    ValidacionEnCurso(Sesion& sesion, const DatosPanel& panel);
    // The next readings of the study, as many as were read together.
    void Anadir(std::span<const TCifrasLectura> lecturas);
    std::size_t Lecturas() const { return lecturas_; }
    bool Terminar(ListaMensajes& mensajes);

  private:
    Sesion& sesion_;
    const DatosPanel& panel_;
    CompensacionEnCurso compensacion_;
    AnalisisEnCurso analisis_;
    std::size_t lecturas_ = 0;
};

// The contracted-power-path check of the contracted power and, with an own transformer, its
// rating; one message per failed check.
bool ValidarPotencia(const DatosPanel& panel, ListaMensajes& mensajes);

// Filters or banks by the equipment type, and the message that says why nothing was selected.
bool SeleccionarEquipos(Sesion& sesion, const DatosPanel& panel, ListaMensajes& mensajes);

// The calculation after the analysis: the equipment, then its conductors and current transformers.
// False when no equipment was selected.
bool SeleccionarResultados(Sesion& sesion, const DatosPanel& panel, ListaMensajes& mensajes,
                           char separadorDecimal = '.');

} // namespace tarvik
