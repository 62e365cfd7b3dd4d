#pragma once
// The totals window: present and desired power factors, the yearly reactive surcharge, and below
// them what the selected equipment costs and how soon the surcharge it removes pays it back.

#include "core/engine/sesion.h"
#include "core/study/estudio.h"

#include <QDialog>

class QLineEdit;

namespace tarvik {

class TWGrafico1;

class TWTotales : public QDialog {
    Q_OBJECT

  public:
    explicit TWTotales(Sesion& sesion, QWidget* parent = nullptr);

    // The chart window that the chart button opens.
    void EstablecerGrafico(TWGrafico1* grafico) { grafico_ = grafico; }

    // The Totals command: checks and analyses the readings on the panel's values as they are, then
    // shows the figures modally. A refusal shows the step's messages and the billing error.
    void MostrarTotales(const DatosPanel& panel);

  private:
    Sesion& sesion_;
    TWGrafico1* grafico_ = nullptr;
    QLineEdit* fpb_;
    QLineEdit* fpm_;
    QLineEdit* fpd_;
    QLineEdit* total_penalizacion_;
    QLineEdit* inversion_;
    QLineEdit* amortizacion_;
};

} // namespace tarvik
