#pragma once
// The consumption chart: for every reading a pair of bars, its active energy (kWh, light cyan)
// beside its reactive energy (kvarh, red), labelled with the reading's month. The chart window
// shows it; the calculation report draws it as a vector picture.

#include "core/study/estudio.h"

#include <QChart>
#include <QGraphicsScene>
#include <QPainter>

#include <array>
#include <memory>
#include <vector>

namespace tarvik {

// A chart with its title, the legend below and the two empty series with their titles, in the
// active language; white background, clear plot area. The caller owns it.
QChart* CrearGraficoConsumo();

// Shows the readings in the chart, in list order, in place of those it showed.
void MostrarConsumo(QChart& grafico, const std::vector<TLectura>& lecturas);

// The energies that the chart's bars stand for, reading by reading: kWh, then kvarh.
std::vector<std::array<double, 2>> EnergiasMostradas(const QChart& grafico);

// The chart of the readings laid out as a square of `lado` units in a scene of its own, its texts
// sized in those units.
std::unique_ptr<QGraphicsScene> EscenaGraficoConsumo(const std::vector<TLectura>& lecturas, int lado);

// Draws the chart of the readings as a square vector picture of `lado` units into a rectangle of a
// painter. Its texts are sized in those units, so the picture scales as a whole.
void DibujarGraficoConsumo(const std::vector<TLectura>& lecturas, int lado, QPainter& pintor,
                           const QRectF& destino);

} // namespace tarvik
