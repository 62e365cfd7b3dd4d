#include "app/results/twresult.h"

namespace tarvik {

TWResult::TWResult(Sesion& sesion, QWidget* parent) : QDialog(parent), sesion_(sesion) {
    setObjectName(QStringLiteral("WResult"));
    setModal(true);
}

bool TWResult::Ejecutar(bool, const DatosPanel&) {
    return false;
}

} // namespace tarvik
