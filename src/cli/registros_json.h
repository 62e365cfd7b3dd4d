#pragma once
// The study, the analysis, the result lists, the results tables and the messages as JSON, field by
// field under the records' own names. Texts are converted from Windows-1252 to UTF-8.

#include "cli/json.h"
#include "core/engine/resultados.h"
#include "core/lang/mensajes.h"
#include "core/results/tablas.h"
#include "core/study/estudio.h"

#include <vector>

namespace tarvik::cli {

// Each message with its kind ("error", "information", "confirmation"), key and text in the active
// language.
Json MensajesJson(const ListaMensajes& mensajes);

Json EstudioJson(const TDatosEstudio& d);
Json AnalisisJson(const TAnalisisConsumo& a);
Json LecturasJson(const std::vector<TLectura>& lecturas);
Json EquiposJson(const std::vector<TEquipoSeleccionado>& equipos);
// With `cantidad`, the quantity the results table shows for each transformer.
Json TransformadoresJson(const std::vector<TTransformadorSeleccionado>& transformadores,
                         const std::vector<TEquipoSeleccionado>& equipos);
Json ConductoresJson(const std::vector<TConductorSeleccionado>& conductores);
// A results table row by row, column 0 the labels.
Json RejillaJson(const Rejilla& rejilla);

} // namespace tarvik::cli
