#pragma once
// The consumption chart: active and reactive energy of each reading.

#include "study/sesion.h"

#include <QDialog>

namespace tarvik {

class TWGrafico1 : public QDialog {
    Q_OBJECT

  public:
    explicit TWGrafico1(Sesion& sesion, QWidget* parent = nullptr);

  private:
    Sesion& sesion_;
};

} // namespace tarvik
