#pragma once
// The results window: the calculation's three tables, where prices and lengths are entered.

#include "study/estudio.h"
#include "study/sesion.h"

#include <QDialog>

namespace tarvik {

class TWResult : public QDialog {
    Q_OBJECT

  public:
    explicit TWResult(Sesion& sesion, QWidget* parent = nullptr);

    // With `recalcular`, runs the calculation on the panel's values and fills the tables; otherwise
    // keeps the tables of the previous calculation. Then shows the window modally. True when the
    // window was shown and closed; false when the calculation was refused (its messages shown).
    virtual bool Ejecutar(bool recalcular, const DatosPanel& panel);

  protected:
    Sesion& sesion_;
};

} // namespace tarvik
