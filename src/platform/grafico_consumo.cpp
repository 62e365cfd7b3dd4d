#include "platform/grafico_consumo.h"

#include "core/lang/traduccion.h"
#include "platform/texto_qt.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QHash>
#include <QLegend>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace tarvik {

namespace {

const QColor kColorActiva(128, 255, 255);
const QColor kColorReactiva(255, 0, 0);
// Text sizes of the report's picture, in thousandths of its side.
constexpr int kTitulo = 32;
constexpr int kLeyenda = 26;
constexpr int kEjes = 24;
// Room along the axis that an upright month label needs, in lines of its font: its own line and
// the padding that the chart keeps on both sides (a label with less room is cut short to "...").
constexpr double kLineasPorRotulo = 2;

QBarSeries* Serie(const QChart& grafico) {
    return qobject_cast<QBarSeries*>(grafico.series().value(0));
}

template <class Eje> Eje* EjeDe(const QChart& grafico, Qt::Orientation orientacion) {
    for (QAbstractAxis* eje : grafico.axes(orientacion))
        if (auto* buscado = qobject_cast<Eje*>(eje))
            return buscado;
    return nullptr;
}

// The month labels under the bars stand upright; where the bars are too narrow for every reading
// to have its own label, only every k-th reading is labelled, so that each shown label stays whole.
// The categories of the bars keep every reading's month; the labels are a second bottom axis.
void EtiquetarMeses(QChart& grafico) {
    const QStringList meses = EjeDe<QBarCategoryAxis>(grafico, Qt::Horizontal)->categories();
    auto* rotulos = EjeDe<QCategoryAxis>(grafico, Qt::Horizontal);
    const qsizetype n = meses.size();
    // The axis shares its width among the shown labels and one more; take every k-th reading, with
    // the smallest k that leaves each label its room.
    const double necesario = kLineasPorRotulo * QFontMetricsF(rotulos->labelsFont()).height();
    const double ancho = grafico.plotArea().width();
    qsizetype paso = 1;
    while (paso < n && ancho / static_cast<double>((n + paso - 1) / paso + 1) < necesario)
        ++paso;
    rotulos->setRange(-0.5, static_cast<qreal>(n) - 0.5);
    QStringList mostrados;
    for (qsizetype i = 0; i < n; i += paso)
        mostrados.append(meses[i]);
    // Relabelling lays the chart out again; the same labels need nothing.
    if (mostrados == rotulos->categoriesLabels())
        return;
    for (const QString& rotulo : rotulos->categoriesLabels())
        rotulos->remove(rotulo);
    for (qsizetype j = 0; j < mostrados.size(); ++j)
        rotulos->append(mostrados[j], static_cast<qreal>(j * paso));
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
    grafico->setTitle(DesdeAnsi(Texto("grafico1title")));
    grafico->legend()->setAlignment(Qt::AlignBottom);
    grafico->setBackgroundBrush(Qt::white);
    grafico->setPlotAreaBackgroundVisible(false);
    grafico->setAnimationOptions(QChart::NoAnimation);

    auto* serie = new QBarSeries;
    auto* activa = new QBarSet(DesdeAnsi(Texto("grafico1serie1")));
    activa->setColor(kColorActiva);
    // Bars outlined in their own colour, so that the narrow bars of many readings still show.
    activa->setBorderColor(kColorActiva);
    auto* reactiva = new QBarSet(DesdeAnsi(Texto("grafico1serie2")));
    reactiva->setColor(kColorReactiva);
    reactiva->setBorderColor(kColorReactiva);
    serie->append(activa);
    serie->append(reactiva);
    serie->setLabelsVisible(false);
    grafico->addSeries(serie);

    auto* meses = new QBarCategoryAxis;
    meses->setVisible(false);
    auto* rotulos = new QCategoryAxis;
    rotulos->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    rotulos->setLabelsAngle(-90);
    rotulos->setGridLineVisible(false);
    auto* valores = new QValueAxis;
    valores->setLabelFormat(QStringLiteral("%.0f"));
    grafico->addAxis(meses, Qt::AlignBottom);
    grafico->addAxis(rotulos, Qt::AlignBottom);
    grafico->addAxis(valores, Qt::AlignLeft);
    serie->attachAxis(meses);
    serie->attachAxis(valores);
    // The labels follow the width of the bars: at every showing and whenever the window is resized.
    QObject::connect(grafico, &QChart::plotAreaChanged, grafico, [grafico] { EtiquetarMeses(*grafico); });
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
    EtiquetarMeses(grafico);
    auto* valores = EjeDe<QValueAxis>(grafico, Qt::Vertical);
    valores->setRange(menor, mayor > menor ? mayor : menor + 1);
    valores->applyNiceNumbers();
}

std::unique_ptr<QGraphicsScene> EscenaGraficoConsumo(const std::vector<TLectura>& lecturas, int lado) {
    auto escena = std::make_unique<QGraphicsScene>();
    QChart* grafico = CrearGraficoConsumo();
    escena->addItem(grafico);
    MostrarConsumo(*grafico, lecturas);
    grafico->setTitleFont(EnPixeles(grafico->titleFont(), lado, kTitulo));
    grafico->legend()->setFont(EnPixeles(grafico->legend()->font(), lado, kLeyenda));
    for (QAbstractAxis* eje : grafico->axes())
        eje->setLabelsFont(EnPixeles(eje->labelsFont(), lado, kEjes));
    grafico->setGeometry(0, 0, lado, lado);
    // The labels follow the plot area just laid out; lay the chart out again with them.
    EtiquetarMeses(*grafico);
    grafico->layout()->activate();
    escena->setSceneRect(0, 0, lado, lado);
    return escena;
}

void DibujarGraficoConsumo(const std::vector<TLectura>& lecturas, int lado, QPainter& pintor,
                           const QRectF& destino) {
    EscenaGraficoConsumo(lecturas, lado)->render(&pintor, destino, QRectF(0, 0, lado, lado));
}

} // namespace tarvik
