#include "app/app/twopciones.h"

namespace tarvik {

Twopciones::Twopciones(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("wopciones"));
    setModal(true);
}

} // namespace tarvik
