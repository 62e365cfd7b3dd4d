#include "app/report/imprimir_informe.h"

#include "platform/avisos.h"
#include "platform/informe_qt.h"
#include "platform/texto_qt.h"

#include <QGuiApplication>
#include <QLocale>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace tarvik {

void ImprimirInforme(QWidget* parent, Sesion& sesion, const DatosPanel& panel, const SeccionesInforme& secciones) {
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
    const std::string punto = HaciaAnsi(QLocale().decimalPoint());
    ListaMensajes mensajes;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    ImprimirEnImpresora(impresora, sesion, secciones, OpcionesLocales(punto.size() == 1 ? punto[0] : '.'), mensajes);
    QGuiApplication::restoreOverrideCursor();
    MostrarMensajes(mensajes);
}

} // namespace tarvik
