#include "platform/grafico_consumo.h"

#include "core/lang/traduccion.h"
#include "platform/texto_qt.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QFontMetricsF>
#include <QGraphicsItem>
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

template <class Eje> Eje* EjeDe(const QChart& grafico, Qt::Orientation orientacion) {
    for (QAbstractAxis* eje : grafico.axes(orientacion))
        if (auto* buscado = qobject_cast<Eje*>(eje))
            return buscado;
    return nullptr;
}

// The bars of every reading, drawn by one item instead of one chart item per bar: a long study
// has tens of thousands of bars, and the chart lays out, keeps and paints an item, with its
// signals, for each. The series stays in the chart with its two empty sets, which give the legend
// and the bars' pens and brushes; this item lies inside the series' own item, so it shares its
// place, its clip to the plot area and its turn among the chart's items, and it draws each bar
// with the same geometry and the same painter calls as the chart's own bar would.
class Barras final : public QGraphicsItem {
  public:
    static constexpr int kTipo = UserType + 1;

    Barras(QGraphicsItem& areaSerie, const QBarSeries& serie, const QValueAxis& valores)
        : QGraphicsItem(&areaSerie), serie_(serie), valores_(valores) {}

    int type() const override { return kTipo; }
    // The plot area, as the series' item holds it (its origin at the plot area's corner).
    QRectF boundingRect() const override { return parentItem()->boundingRect(); }

    void Mostrar(std::vector<std::array<double, 2>> energias, QStringList meses) {
        energias_ = std::move(energias);
        meses_ = std::move(meses);
        Ajustar();
    }
    // The plot area or the value range changed: the bars are placed again at the next paint.
    void Ajustar() {
        prepareGeometryChange();
        update();
    }
    const std::vector<std::array<double, 2>>& Energias() const { return energias_; }
    const QStringList& Meses() const { return meses_; }

    void paint(QPainter* pintor, const QStyleOptionGraphicsItem*, QWidget*) override {
        // The chart's mapping of a bar series onto its plot area: category c spans c ± 1/2, the
        // pair of bars takes barWidth() of it, each set its share in turn from the left.
        if (energias_.empty())
            return;
        const QSizeF area = boundingRect().size();
        const double minX = -0.5;
        const double maxX = static_cast<double>(energias_.size()) - 0.5;
        const double minY = valores_.min();
        const double maxY = valores_.max();
        const double deltaX = area.width() / (maxX - minX);
        const double deltaY = area.height() / (maxY - minY);
        const auto punto = [&](double x, double y) {
            return QPointF((x - minX) * deltaX, area.height() - (y - minY) * deltaY);
        };
        const double ancho = serie_.barWidth();
        const QList<QBarSet*> conjuntos = serie_.barSets();
        const auto cuantos = static_cast<double>(conjuntos.size());
        for (qsizetype s = 0; s < conjuntos.size(); ++s) {
            pintor->setPen(conjuntos[s]->pen());
            pintor->setBrush(conjuntos[s]->brush());
            const double desde = static_cast<double>(s) / cuantos * ancho;
            const double hasta = static_cast<double>(s + 1) / cuantos * ancho;
            for (std::size_t c = 0; c < energias_.size(); ++c) {
                const double izquierda = static_cast<double>(c) - ancho / 2.0;
                QRectF barra;
                barra.setTopLeft(punto(izquierda + desde, energias_[c][static_cast<std::size_t>(s)]));
                barra.setBottomRight(punto(izquierda + hasta, 0.0));
                barra = barra.normalized();
                // A bar of no height is not drawn at all.
                if (!barra.isEmpty())
                    pintor->drawRect(barra);
            }
        }
    }

  private:
    const QBarSeries& serie_;
    const QValueAxis& valores_;
    std::vector<std::array<double, 2>> energias_;
    QStringList meses_;
};

Barras* BarrasDe(const QChart& grafico) {
    for (const QGraphicsItem* hijo : grafico.childItems())
        for (QGraphicsItem* nieto : hijo->childItems())
            if (nieto->type() == Barras::kTipo)
                return static_cast<Barras*>(nieto);
    return nullptr;
}

// The month labels under the bars stand upright; where the bars are too narrow for every reading
// to have its own label, only every k-th reading is labelled, so that each shown label stays whole.
void EtiquetarMeses(QChart& grafico) {
    const QStringList& meses = BarrasDe(grafico)->Meses();
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

// The labels axis needs distinct texts: the n-th repetition of a month gets n written in
// invisible zero-width characters (base 4), so that each reading keeps its own label under the
// same visible month. Texts from a reading never hold these characters.
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
    // Bars outlined in their own colour, so that the narrow bars of many readings still show.
    activa->setBorderColor(kColorActiva);
    auto* reactiva = new QBarSet(TextoQt("grafico1serie2"));
    reactiva->setColor(kColorReactiva);
    reactiva->setBorderColor(kColorReactiva);
    serie->append(activa);
    serie->append(reactiva);
    serie->setLabelsVisible(false);
    grafico->addSeries(serie);

    auto* rotulos = new QCategoryAxis;
    rotulos->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    rotulos->setLabelsAngle(-90);
    rotulos->setGridLineVisible(false);
    auto* valores = new QValueAxis;
    valores->setLabelFormat(QStringLiteral("%.0f"));
    grafico->addAxis(rotulos, Qt::AlignBottom);
    grafico->addAxis(valores, Qt::AlignLeft);
    serie->attachAxis(valores);
    // The bars go inside the item that the chart made for the series.
    for (QGraphicsItem* hijo : grafico->childItems()) {
        QGraphicsObject* objeto = hijo->toGraphicsObject();
        if (objeto && objeto->inherits("AbstractBarChartItem"))
            new Barras(*hijo, *serie, *valores);
    }
    // The labels and the bars follow the plot area: at every showing and whenever the window is
    // resized.
    QObject::connect(grafico, &QChart::plotAreaChanged, grafico, [grafico] {
        BarrasDe(*grafico)->Ajustar();
        EtiquetarMeses(*grafico);
    });
    return grafico;
}

void MostrarConsumo(QChart& grafico, const std::vector<TLectura>& lecturas) {
    std::vector<std::array<double, 2>> energias;
    energias.reserve(lecturas.size());
    double menor = 0;
    double mayor = 0;
    for (const TLectura& l : lecturas) {
        energias.push_back({l.kwht, l.kvarh});
        menor = std::min({menor, l.kwht, l.kvarh});
        mayor = std::max({mayor, l.kwht, l.kvarh});
    }
    auto* valores = EjeDe<QValueAxis>(grafico, Qt::Vertical);
    valores->setRange(menor, mayor > menor ? mayor : menor + 1);
    valores->applyNiceNumbers();
    BarrasDe(grafico)->Mostrar(std::move(energias), Categorias(lecturas));
    EtiquetarMeses(grafico);
}

std::vector<std::array<double, 2>> EnergiasMostradas(const QChart& grafico) {
    return BarrasDe(grafico)->Energias();
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
