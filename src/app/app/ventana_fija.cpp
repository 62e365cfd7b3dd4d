#include "app/app/ventana_fija.h"

#include <QScreen>
#include <QWidget>

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

} // namespace tarvik
