#include "app/results/twgrafico1.h"

namespace tarvik {

TWGrafico1::TWGrafico1(Sesion& sesion, QWidget* parent) : QDialog(parent), sesion_(sesion) {
    setObjectName(QStringLiteral("WGrafico1"));
    setModal(true);
}

} // namespace tarvik
