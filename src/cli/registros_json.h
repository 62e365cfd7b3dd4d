#pragma once
// The study, the analysis, the result lists, the results tables and the messages as JSON, field by
// field under the records' own names. Texts are converted from Windows-1252 to UTF-8; every double
// is written as the shortest text that reads back to the same double.

#include "core/engine/resultados.h"
#include "core/lang/mensajes.h"
#include "core/results/tablas.h"
#include "core/study/estudio.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>

#include <string>
#include <vector>

namespace tarvik::cli {

// A Windows-1252 text.
QJsonValue Texto1252(const std::string& texto);
// A double; JSON has no infinities or NaN, which become null.
QJsonValue Real(double valor);

// Each message with its kind ("error", "information", "confirmation"), key and text in the active
// language.
QJsonArray MensajesJson(const ListaMensajes& mensajes);

QJsonObject EstudioJson(const TDatosEstudio& d);
QJsonObject AnalisisJson(const TAnalisisConsumo& a);
QJsonArray LecturasJson(const std::vector<TLectura>& lecturas);
QJsonArray EquiposJson(const std::vector<TEquipoSeleccionado>& equipos);
// With `cantidad`, the quantity the results table shows for each transformer.
QJsonArray TransformadoresJson(const std::vector<TTransformadorSeleccionado>& transformadores,
                               const std::vector<TEquipoSeleccionado>& equipos);
QJsonArray ConductoresJson(const std::vector<TConductorSeleccionado>& conductores);
// A results table row by row, column 0 the labels.
QJsonArray RejillaJson(const Rejilla& rejilla);

} // namespace tarvik::cli
