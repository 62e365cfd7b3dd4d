#include "core/lang/traduccion.h"
#include "platform/grafico_consumo.h"
#include "platform/texto_qt.h"
#include "soporte/rotulos_grafico.h"

#include <QBarSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QImage>
#include <QPainter>
#include <QValueAxis>

#include <gtest/gtest.h>

#include <set>

using namespace tarvik;

namespace {

const char* const kMeses[] = {"ENERO", "FEBRERO", "MARZO",      "ABRIL",   "MAYO",      "JUNIO",
                              "JULIO", "AGOSTO",  "SEPTIEMBRE", "OCTUBRE", "NOVIEMBRE", "DICIEMBRE"};

// A year's months in turn, reading after reading, with energies that vary from one to the next.
std::vector<TLectura> Lecturas(int cuantas) {
    std::vector<TLectura> lecturas;
    for (int n = 0; n < cuantas; ++n) {
        TLectura l;
        l.mes = kMeses[n % 12];
        l.kwht = 40000 + (n * 7919) % 20000;
        l.kvarh = 0.75 * l.kwht;
        lecturas.push_back(l);
    }
    return lecturas;
}

QChart& GraficoDe(const QGraphicsScene& escena) {
    for (QGraphicsItem* item : escena.items())
        if (auto* grafico = qobject_cast<QChart*>(item->toGraphicsObject()))
            return *grafico;
    throw std::logic_error("a chart's scene without the chart");
}

QString Visible(QString texto) {
    texto.removeIf([](QChar c) { return c.category() == QChar::Other_Format; });
    return texto;
}

} // namespace

// Where the bars are too narrow for a label each, every k-th reading is labelled: the labels start
// at the first reading, keep one step and reach the last readings, each under its own reading.
TEST(GraficoConsumo, EveryKthReadingIsLabelledWithItsOwnMonth) {
    EstablecerIdiomaActivo(kEspanol);
    std::set<qreal> pasos;
    for (const int n : {1, 5, 12, 13, 24, 25, 36, 60, 130, 1000, 10000}) {
        const std::vector<TLectura> lecturas = Lecturas(n);
        const auto escena = EscenaGraficoConsumo(lecturas, 400);
        auto* rotulos = qobject_cast<QCategoryAxis*>(GraficoDe(*escena).axes(Qt::Horizontal).value(0));
        ASSERT_NE(rotulos, nullptr) << n;
        const QStringList etiquetas = rotulos->categoriesLabels();
        ASSERT_FALSE(etiquetas.isEmpty()) << n;
        const qreal paso = etiquetas.size() > 1 ? rotulos->endValue(etiquetas[1]) : n;
        pasos.insert(paso);
        for (qsizetype j = 0; j < etiquetas.size(); ++j) {
            const qreal posicion = rotulos->endValue(etiquetas[j]);
            EXPECT_EQ(posicion, static_cast<qreal>(j) * paso) << n << " readings, label " << j;
            const auto lectura = static_cast<std::size_t>(posicion);
            ASSERT_LT(lectura, lecturas.size()) << n << " readings, label " << j;
            EXPECT_EQ(Visible(etiquetas[j]), DesdeAnsi(lecturas[lectura].mes))
                << n << " readings, label " << j;
        }
        EXPECT_GT(rotulos->endValue(etiquetas.back()) + paso, n - 1)
            << n << " readings: the last ones unlabelled";
    }
    EXPECT_GE(pasos.size(), 4u) << "the sizes should reach several steps between labels";
}

// Each reading's pair of bars stands where its readings puts it: the kWh bar on the left half of its
// place, the kvarh bar on the right, each as high as its energy on the value axis; no bar for none.
TEST(GraficoConsumo, EachReadingsBarsStandInItsPlaceAsHighAsItsEnergies) {
    EstablecerIdiomaActivo(kEspanol);
    for (const int n : {3, 40}) {
        std::vector<TLectura> lecturas = Lecturas(n);
        lecturas[1].kvarh = 0;
        constexpr int kLado = 1000;
        const auto escena = EscenaGraficoConsumo(lecturas, kLado);
        QImage imagen(kLado, kLado, QImage::Format_RGB32);
        imagen.fill(Qt::white);
        {
            QPainter pintor(&imagen);
            escena->render(&pintor, QRectF(0, 0, kLado, kLado), QRectF(0, 0, kLado, kLado));
        }
        const QChart& grafico = GraficoDe(*escena);
        const QRectF area = grafico.plotArea();
        const auto* valores = qobject_cast<QValueAxis*>(grafico.axes(Qt::Vertical).value(0));
        ASSERT_NE(valores, nullptr);
        const double lugar = area.width() / n;
        const auto color = [&](double x, double y) { return imagen.pixelColor(qRound(x), qRound(y)); };
        for (int c = 0; c < n; ++c) {
            const TLectura& l = lecturas[static_cast<std::size_t>(c)];
            const struct {
                double energia, mitad;
                QColor esperado;
            } barras[] = {{l.kwht, 0.375, QColor(128, 255, 255)}, {l.kvarh, 0.625, QColor(255, 0, 0)}};
            for (const auto& b : barras) {
                const double x = area.left() + (c + b.mitad) * lugar;
                const double alto = b.energia / valores->max() * area.height();
                if (b.energia == 0) {
                    EXPECT_NE(color(x, area.bottom() - 3), b.esperado) << n << " readings, reading " << c;
                    continue;
                }
                EXPECT_EQ(color(x, area.bottom() - alto + 3), b.esperado) << n << " readings, reading " << c;
                EXPECT_NE(color(x, area.bottom() - alto - 3), b.esperado) << n << " readings, reading " << c;
            }
        }
    }
}

TEST(GraficoConsumo, TheReportsMonthLabelsStayWholeAtAnyNumberOfReadings) {
    EstablecerIdiomaActivo(kEspanol);
    QStringList meses;
    for (const char* mes : kMeses)
        meses.append(DesdeAnsi(mes));
    std::vector<TLectura> lecturas;
    for (int n = 1; n <= 130; ++n) {
        TLectura l;
        l.mes = kMeses[(n - 1) % 12];
        l.kwht = 40000 + (n * 7919) % 20000;
        l.kvarh = 0.75 * l.kwht;
        lecturas.push_back(l);
        const auto escena = EscenaGraficoConsumo(lecturas, 400);
        const QStringList faltas = prueba::FaltasRotulos(*escena, meses, n);
        EXPECT_TRUE(faltas.isEmpty())
            << n << " readings: " << faltas.join(QStringLiteral("; ")).toStdString();
    }
}
