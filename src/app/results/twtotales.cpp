#include "app/results/twtotales.h"

namespace tarvik {

TWTotales::TWTotales(Sesion& sesion, QWidget* parent) : QDialog(parent), sesion_(sesion) {
    setObjectName(QStringLiteral("WTotales"));
    setModal(true);
}

void TWTotales::Ejecutar(const DatosPanel&) {}

} // namespace tarvik
