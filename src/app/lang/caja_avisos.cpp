#include "app/lang/caja_avisos.h"

#include "core/lang/traduccion.h"
#include "platform/texto_qt.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace tarvik {
Respuesta CajaAvisos::Mostrar(TipoMensaje tipo, const QString& texto) {
    QMessageBox caja(QApplication::activeWindow());
    caja.setWindowModality(Qt::ApplicationModal);
    caja.setText(texto);
    switch (tipo) {
    case TipoMensaje::Error:
        caja.setIcon(QMessageBox::Critical);
        caja.setWindowTitle(TextoDialogoQt("Error"));
        break;
    case TipoMensaje::Informacion:
        caja.setIcon(QMessageBox::Information);
        caja.setWindowTitle(TextoDialogoQt("Information"));
        break;
    case TipoMensaje::Confirmacion:
        caja.setIcon(QMessageBox::Question);
        caja.setWindowTitle(TextoDialogoQt("Confirm"));
        break;
    }
    if (tipo != TipoMensaje::Confirmacion) {
        QPushButton* aceptar = caja.addButton(TextoDialogoQt("OK"), QMessageBox::AcceptRole);
        caja.setDefaultButton(aceptar);
        caja.setEscapeButton(aceptar);
        caja.exec();
        return Respuesta::Aceptar;
    }
    QPushButton* si = caja.addButton(TextoDialogoQt("Yes"), QMessageBox::YesRole);
    QPushButton* no = caja.addButton(TextoDialogoQt("No"), QMessageBox::NoRole);
    caja.setDefaultButton(si);
    caja.setEscapeButton(no);
    caja.exec();
    return caja.clickedButton() == si ? Respuesta::Si : Respuesta::No;
}

} // namespace tarvik
