#include "app/app/boton_comando.h"

#include "core/lang/traduccion.h"
#include "platform/texto_qt.h"

#include <QIcon>
#include <QToolButton>

namespace tarvik {

QToolButton* CrearBotonComando(const char* nombre, const char* clave, const char* icono, QWidget* padre) {
    auto* boton = new QToolButton(padre);
    boton->setObjectName(QString::fromLatin1(nombre));
    boton->setText(DesdeAnsi(Texto(clave)));
    boton->setIcon(QIcon(QStringLiteral(":/app/iconos/%1.svg").arg(QString::fromLatin1(icono))));
    boton->setIconSize(QSize(32, 32));
    boton->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    boton->setAutoRaise(true);
    boton->setFocusPolicy(Qt::StrongFocus);
    return boton;
}

void DescribirBoton(QAbstractButton& boton, const QString& descripcion, const QString& teclas) {
    const QString texto = teclas.isEmpty() ? descripcion : QStringLiteral("%1 (%2)").arg(descripcion, teclas);
    boton.setToolTip(texto);
    boton.setAccessibleDescription(texto);
}

void DarAtajo(QAbstractButton& boton, QKeySequence::StandardKey accion, const QString& descripcion) {
    // The first of the platform's bindings, which is the one its menus show.
    const QKeySequence teclas(accion);
    boton.setShortcut(teclas);
    DescribirBoton(boton, descripcion, teclas.toString(QKeySequence::NativeText));
}

} // namespace tarvik
