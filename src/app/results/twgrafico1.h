#pragma once
// The consumption chart: active and reactive energy of each reading.

#include "core/engine/sesion.h"

#include <QDialog>

class QChartView;
class QPushButton;

namespace tarvik {

class TWGrafico1 : public QDialog {
    Q_OBJECT

  public:
    explicit TWGrafico1(Sesion& sesion, QWidget* parent = nullptr);

    // Draws the readings as they are now: one pair of bars per reading.
    void MostrarConsumo();

  protected:
    void showEvent(QShowEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;

  private:
    Sesion& sesion_;
    QChartView* Chart1_;
    QWidget* Panel1_;
    QPushButton* bclose_;
};

} // namespace tarvik
