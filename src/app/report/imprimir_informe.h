#pragma once
// The Print command: the calculation report of the current study on a printer the user chooses.

#include "core/engine/sesion.h"
#include "core/report/informe.h"
#include "core/study/estudio.h"

class QWidget;

namespace tarvik {

// Refreshes the study record from the inputs panel, so the report shows what is on screen; then,
// when a printer is installed, asks for one in the print dialog (no printing to a file) and prints
// the chosen sections on it. No printer: the message `no_impresoras`. Cancel: nothing happens.
void ImprimirInforme(QWidget* parent, Sesion& sesion, const DatosPanel& panel,
                     const SeccionesInforme& secciones);

} // namespace tarvik
