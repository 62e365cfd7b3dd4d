#pragma once
// Reads back the texts that a consumption chart's scene shows, for the tests of the chart in the
// report and in its window.

#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QStringList>

#include <algorithm>

namespace tarvik::prueba {

// What is wrong with the month labels of a chart of `lecturas` readings labelled `meses`: a text
// cut short ("..."), two month labels over each other, or fewer labels than the bars leave room for
// (one per reading up to six). Empty when every label is whole and legible.
inline QStringList FaltasRotulos(const QGraphicsScene& escena, const QStringList& meses, qsizetype lecturas) {
    QStringList faltas;
    QList<QRectF> cajas;
    for (const QGraphicsItem* item : escena.items()) {
        const auto* texto = dynamic_cast<const QGraphicsTextItem*>(item);
        if (texto == nullptr || !texto->isVisible())
            continue;
        QString visible = texto->toPlainText();
        visible.removeIf([](QChar c) { return c.category() == QChar::Other_Format; });
        if (visible.contains(QStringLiteral("...")) || visible.contains(QChar(0x2026)))
            faltas.append(QStringLiteral("cut short: ") + visible);
        if (!meses.contains(visible))
            continue;
        const QRectF caja = texto->sceneBoundingRect();
        if (std::any_of(cajas.begin(), cajas.end(),
                        [&](const QRectF& otra) { return otra.intersects(caja); }))
            faltas.append(QStringLiteral("over another label: ") + visible);
        cajas.append(caja);
    }
    if (cajas.size() < std::min<qsizetype>(lecturas, 6))
        faltas.append(QStringLiteral("only %1 month labels").arg(cajas.size()));
    return faltas;
}

} // namespace tarvik::prueba
