#include "platform/grafico_consumo.h"

#include "core/lang/traduccion.h"
#include "platform/texto_qt.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QGraphicsScene>
#include <QHash>
#include <QLegend>
#include <QValueAxis>

#include <algorithm>

namespace tarvik {

namespace {

const QColor kColorActiva(128, 255, 255);
const QColor kColorReactiva(255, 0, 0);
// Text sizes of the report's picture, in thousandths of its side.
constexpr int kTitulo = 32;
constexpr int kLeyenda = 26;
constexpr int kEjes = 24;

QBarSeries* Serie(const QChart& grafico) {
    return qobject_cast<QBarSeries*>(grafico.series().value(0));
}

template <class Eje> Eje* EjeDe(const QChart& grafico, Qt::Orientation orientacion) {
    return qobject_cast<Eje*>(grafico.axes(orientacion).value(0));
}

// The axis needs distinct category texts: the n-th repetition of a month gets n written in
// invisible zero-width characters (base 4), so that each reading keeps its own pair of bars under
// the same visible label. Texts from a reading never hold these characters.
QStringList Categorias(const std::vector<TLectura>& lecturas) {
    static const QChar kInvisibles[] = {QChar(0x200B), QChar(0x200C), QChar(0x200D), QChar(0x2060)};
    QHash<QString, int> vistas;
    QStringList categorias;
    categorias.reserve(static_cast<qsizetype>(lecturas.size()));
    for (const TLectura& l : lecturas) {
        QString texto = DesdeAnsi(l.mes);
        for (int n = vistas[texto]++; n > 0; n /= 4)
            texto += kInvisibles[n % 4];
        categorias.append(texto);
    }
    return categorias;
}

// The report's font, sized in the picture's units.
QFont EnPixeles(QFont fuente, int lado, int milesimas) {
    fuente.setFamily(QStringLiteral("Arial"));
    fuente.setPixelSize(std::max(1, lado * milesimas / 1000));
    return fuente;
}

} // namespace

QChart* CrearGraficoConsumo() {
    auto* grafico = new QChart;
    grafico->setTitle(TextoQt("grafico1title"));
    grafico->legend()->setAlignment(Qt::AlignBottom);
    grafico->setBackgroundBrush(Qt::white);
    grafico->setPlotAreaBackgroundVisible(false);
    grafico->setAnimationOptions(QChart::NoAnimation);

    auto* serie = new QBarSeries;
    auto* activa = new QBarSet(TextoQt("grafico1serie1"));
    activa->setColor(kColorActiva);
    auto* reactiva = new QBarSet(TextoQt("grafico1serie2"));
    reactiva->setColor(kColorReactiva);
    serie->append(activa);
    serie->append(reactiva);
    serie->setLabelsVisible(false);
    grafico->addSeries(serie);

    auto* meses = new QBarCategoryAxis;
    auto* valores = new QValueAxis;
    valores->setLabelFormat(QStringLiteral("%.0f"));
    grafico->addAxis(meses, Qt::AlignBottom);
    grafico->addAxis(valores, Qt::AlignLeft);
    serie->attachAxis(meses);
    serie->attachAxis(valores);
    return grafico;
}

void MostrarConsumo(QChart& grafico, const std::vector<TLectura>& lecturas) {
    QBarSeries* serie = Serie(grafico);
    QBarSet* activa = serie->barSets().value(0);
    QBarSet* reactiva = serie->barSets().value(1);
    activa->remove(0, activa->count());
    reactiva->remove(0, reactiva->count());
    double menor = 0;
    double mayor = 0;
    for (const TLectura& l : lecturas) {
        activa->append(l.kwht);
        reactiva->append(l.kvarh);
        menor = std::min({menor, l.kwht, l.kvarh});
        mayor = std::max({mayor, l.kwht, l.kvarh});
    }
    auto* meses = EjeDe<QBarCategoryAxis>(grafico, Qt::Horizontal);
    meses->clear();
    meses->append(Categorias(lecturas));
    auto* valores = EjeDe<QValueAxis>(grafico, Qt::Vertical);
    valores->setRange(menor, mayor > menor ? mayor : menor + 1);
    valores->applyNiceNumbers();
}

void DibujarGraficoConsumo(const std::vector<TLectura>& lecturas, int lado, QPainter& pintor,
                           const QRectF& destino) {
    QGraphicsScene escena;
    QChart* grafico = CrearGraficoConsumo();
    escena.addItem(grafico);
    MostrarConsumo(*grafico, lecturas);
    grafico->setTitleFont(EnPixeles(grafico->titleFont(), lado, kTitulo));
    grafico->legend()->setFont(EnPixeles(grafico->legend()->font(), lado, kLeyenda));
    for (QAbstractAxis* eje : grafico->axes())
        eje->setLabelsFont(EnPixeles(eje->labelsFont(), lado, kEjes));
    // The month labels stand upright under their bars, so that a year of them fits the square.
    EjeDe<QBarCategoryAxis>(*grafico, Qt::Horizontal)->setLabelsAngle(-90);
    grafico->setGeometry(0, 0, lado, lado);
    escena.setSceneRect(0, 0, lado, lado);
    escena.render(&pintor, destino, QRectF(0, 0, lado, lado));
}

} // namespace tarvik
