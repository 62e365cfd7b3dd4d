#pragma once
// The calculation report on real pages: recorded into a temporary page file, then played onto a
// printer or into a PDF file.

#include "core/engine/sesion.h"
#include "core/lang/mensajes.h"
#include "core/report/informe.h"

#include <QPagedPaintDevice>
#include <QPrinter>
#include <QString>

namespace tarvik {

// A print job prints at most this many pages.
inline constexpr int kUltimaPagina = 9999;

// Today's date in the user's short date format, with the decimal separator the front end uses.
OpcionesInforme OpcionesLocales(char separador);

// Records the report into a new temporary page file "brp…" in the temporary folder, plays it onto
// the device (whose page layout gives the paper), pages 1 to 9999, and deletes the file. False, with
// the messages, when a section stopped the job or nothing could be printed; no page is printed then.
bool ImprimirInformeEn(QPagedPaintDevice& dispositivo, const Sesion& sesion,
                       const SeccionesInforme& secciones, const OpcionesInforme& opciones,
                       ListaMensajes& mensajes);

// The print job on the printer the user chose: portrait, one copy, no collation, every page whatever
// range the dialog held, job title "Reporte Tarvik".
bool ImprimirEnImpresora(QPrinter& impresora, const Sesion& sesion, const SeccionesInforme& secciones,
                         const OpcionesInforme& opciones, ListaMensajes& mensajes);

// The report as an A4 PDF file. False with the reason when it could not be written.
bool EscribirInformePdf(const Sesion& sesion, const SeccionesInforme& secciones,
                        const OpcionesInforme& opciones, const QString& ruta, QString& error);

} // namespace tarvik
