#pragma once
// The totals window: present and desired power factors and the yearly reactive surcharge.

#include "study/estudio.h"
#include "study/sesion.h"

#include <QDialog>

namespace tarvik {

class TWTotales : public QDialog {
    Q_OBJECT

  public:
    explicit TWTotales(Sesion& sesion, QWidget* parent = nullptr);

    // Checks and analyses the readings on the panel's values and shows the totals modally.
    void Ejecutar(const DatosPanel& panel);

  private:
    Sesion& sesion_;
};

} // namespace tarvik
