#include "app/app/ventana_fija.h"

#include "platform/texto_qt.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tarvik {

void PrepararVentanaFija(QWidget& ventana, const QColor& fondo) {
    ventana.setAutoFillBackground(true);
    QPalette paleta = ventana.palette();
    paleta.setColor(QPalette::Window, fondo);
    ventana.setPalette(paleta);
    ventana.setFixedSize(ventana.sizeHint());
    if (const QScreen* pantalla = ventana.screen())
        ventana.move(pantalla->availableGeometry().center() - ventana.rect().center());
}

void ComponerDialogoFijo(QDialog& dialogo, QWidget* contenido, const char* nombreBoton) {
    auto* cerrar = new QPushButton(TextoQt("closecaption"), &dialogo);
    cerrar->setObjectName(QString::fromLatin1(nombreBoton));
    cerrar->setAutoDefault(false);
    QObject::connect(cerrar, &QPushButton::clicked, &dialogo, &QDialog::accept);
    auto* disposicion = new QVBoxLayout(&dialogo);
    disposicion->addWidget(contenido);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cerrar);
    disposicion->addLayout(botones);
    PrepararVentanaFija(dialogo, dialogo.palette().color(QPalette::Window));
}

} // namespace tarvik
