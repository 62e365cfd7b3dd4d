#pragma once
// The calculation pipeline: validation, analysis, equipment, conductors and current transformers.

#include "lang/mensajes.h"
#include "study/estudio.h"
#include "study/sesion.h"

namespace tarvik {

// Runs the whole calculation on the panel's values as they are now. Refreshes the study record
// from the panel first. Appends the messages to show, in order; true when results are ready.
bool Calcular(Sesion& sesion, const DatosPanel& panel, ListaMensajes& mensajes);

// Validation and analysis alone, by calculation type (also used by the totals window).
bool ValidarYAnalizar(Sesion& sesion, const DatosPanel& panel, ListaMensajes& mensajes);

} // namespace tarvik
