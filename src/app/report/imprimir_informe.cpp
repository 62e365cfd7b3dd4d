#include "app/report/imprimir_informe.h"

#include "platform/avisos.h"
#include "platform/informe_qt.h"
#include "platform/numero_local.h"

#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace tarvik {

void ImprimirInforme(QWidget* parent, Sesion& sesion, const DatosPanel& panel,
                     const SeccionesInforme& secciones) {
    RecogerDatos(panel, sesion.Datos);
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        MostrarMensaje({TipoMensaje::Informacion, "no_impresoras", {}});
        return;
    }
    QPrinter impresora(QPrinter::HighResolution);
    QPrintDialog dialogo(&impresora, parent);
    dialogo.setOption(QAbstractPrintDialog::PrintToFile, false);
    if (dialogo.exec() != QDialog::Accepted)
        return;
    ListaMensajes mensajes;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    ImprimirEnImpresora(impresora, sesion, secciones, OpcionesLocales(SeparadorDecimal()), mensajes);
    QGuiApplication::restoreOverrideCursor();
    MostrarMensajes(mensajes);
}

} // namespace tarvik
