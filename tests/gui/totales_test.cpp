// The totals window and the consumption chart that it opens.

#include "gui/ayudas.h"
#include "soporte/catalogos_prueba.h"
#include "soporte/rotulos_grafico.h"

#include "app/results/twgrafico1.h"
#include "app/results/twtotales.h"
#include "core/engine/calculo.h"
#include "core/lang/traduccion.h"
#include "platform/grafico_consumo.h"
#include "platform/texto_qt.h"

#include <QApplication>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QKeyEvent>
#include <QLegend>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

namespace tarvik::prueba {
namespace {

// Counts the showings of a window and closes it as soon as it is shown.
class Cerrador : public QObject {
  public:
    explicit Cerrador(QDialog& dialogo) { dialogo.installEventFilter(this); }
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (evento->type() == QEvent::Show) {
            ++mostrada;
            QMetaObject::invokeMethod(objeto, "reject", Qt::QueuedConnection);
        }
        return false;
    }
    int mostrada = 0;
};

// Readings at a power factor of 0.8 (they need compensation) with their surcharges.
std::vector<TLectura> Lecturas(std::initializer_list<double> recargos) {
    std::vector<TLectura> v;
    for (double rr : recargos)
        v.push_back(Lectura(4000, 3000, 0, 0, rr));
    return v;
}

class Totales : public ::testing::Test {
  protected:
    void SetUp() override {
        EstablecerIdiomaActivo(kEspanol);
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
        totales.EstablecerGrafico(&grafico);
    }
    void TearDown() override {
        EstablecerIdiomaActivo(kEspanol);
        QLocale::setDefault(QLocale::c());
    }

    QString Campo(const char* nombre) const {
        return totales.findChild<QLineEdit*>(QString::fromLatin1(nombre))->text();
    }

    // The bars of the chart as it is now: the labels and the two series' values.
    struct Barras {
        QStringList etiquetas;
        QList<qreal> kwh, kvarh;
        bool operator==(const Barras&) const = default;
    };
    Barras LeerGrafico() const {
        const QChart* chart = grafico.findChild<QChartView*>(QStringLiteral("Chart1"))->chart();
        Barras b;
        // The month labels under the bars; repeated month texts are told apart by invisible marks.
        auto* eje = qobject_cast<QCategoryAxis*>(chart->axes(Qt::Horizontal).value(0));
        b.etiquetas = eje ? eje->categoriesLabels().replaceInStrings(
                                QRegularExpression(QStringLiteral("\\p{Cf}")), QString())
                          : QStringList();
        for (const auto& [kwh, kvarh] : EnergiasMostradas(*chart)) {
            b.kwh.push_back(kwh);
            b.kvarh.push_back(kvarh);
        }
        return b;
    }

    AvisosPrueba avisos;
    Reemplazo<Avisos> reemplazo{avisos};
    Sesion s;
    DatosPanel p;
    TWGrafico1 grafico{s};
    TWTotales totales{s};
};

TEST_F(Totales, TheSurchargeIsTheMonthlyAverageOverAYear) {
    const struct {
        std::vector<TLectura> lecturas;
        int tipoLectura;
        const char* esperado;
    } casos[] = {
        {Lecturas({100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100}), 0, "1200"},
        {Lecturas({100, 150, 50}), 0, "1200"},
        {Lecturas({100, 100, 100, 100, 100, 100}), 1, "600"},
        {Lecturas({10, 20, 10, 20, 10, 20, 10}), 0, "171"}, // 100 ÷ 7 × 12 = 171.43
    };
    Cerrador cerrador(totales);
    for (const auto& c : casos) {
        s.Lecturas = c.lecturas;
        p.tipoLectura = c.tipoLectura;
        totales.MostrarTotales(p);
        EXPECT_EQ(Campo("total_penalizacion"), c.esperado);
        EXPECT_EQ(Campo("fpb"), "0,80");
        EXPECT_EQ(Campo("fpm"), "0,80");
        EXPECT_EQ(Campo("fpd"), "1,00");
    }
    EXPECT_EQ(cerrador.mostrada, 4);
    EXPECT_TRUE(avisos.mostrados.empty());
    for (const char* campo : {"fpb", "fpm", "fpd", "total_penalizacion"})
        EXPECT_TRUE(totales.findChild<QLineEdit*>(QString::fromLatin1(campo))->isReadOnly());
}

// Below the four figures: the selected bank as priced, and the years its surcharge takes to pay it.
TEST_F(Totales, BelowTheFourFiguresTheInvestmentAndItsPayback) {
    CarpetaPrograma carpeta;
    s.rutas = carpeta.rutas();
    s.CatalogoConductores = ConductoresHasta300();
    p.equipos = 1;
    Cerrador cerrador(totales);
    const auto mostrar = [&](float precio, double rr, int idioma) {
        carpeta.Escribir("bateria.dat", std::vector<TEquipo>{Equipo("Jade", 200, 400, precio)});
        s.Lecturas = std::vector<TLectura>(12, Lectura(40000, 30000, 100, 0, rr));
        EstablecerIdiomaActivo(idioma);
        totales.MostrarTotales(p);
        return std::pair{Campo("inversion"), Campo("amortizacion")};
    };
    // Without current results the calculation runs at catalogue prices: 1200 € against 1200 € a year.
    EXPECT_EQ(mostrar(1200, 100, kEspanol), (std::pair<QString, QString>{"1200", "1,0"}));
    EXPECT_EQ(Campo("total_penalizacion"), "1200");
    EXPECT_EQ(mostrar(0, 100, kEspanol), (std::pair<QString, QString>{"Consultar", "Consultar"}));
    EXPECT_EQ(mostrar(0, 100, kIngles), (std::pair<QString, QString>{"On request", "On request"}));
    EXPECT_EQ(mostrar(1200, 0, kEspanol), (std::pair<QString, QString>{"1200", QString::fromUtf8("—")}));
    // Current results keep the price typed in the results window.
    ListaMensajes mensajes;
    s.Lecturas = std::vector<TLectura>(12, Lectura(40000, 30000, 100, 0, 100));
    ASSERT_TRUE(Calcular(s, p, mensajes));
    s.EquiposSeleccionados.at(0).precio = 3000;
    s.calculoRealizado = true;
    s.resultadosObsoletos = false;
    EstablecerIdiomaActivo(kEspanol);
    totales.MostrarTotales(p);
    EXPECT_EQ(Campo("inversion"), "3000");
    EXPECT_EQ(Campo("amortizacion"), "2,5");
    EXPECT_EQ(cerrador.mostrada, 5);
    EXPECT_TRUE(avisos.mostrados.empty());
}

TEST_F(Totales, ReadingsThatNeedNoCompensationGiveTwoBoxesAndNoWindow) {
    s.Lecturas = std::vector<TLectura>(12, Lectura(4000, 0));
    p.cosenoDeseado = 0.95;
    Cerrador cerrador(totales);
    for (int idioma : {kEspanol, kIngles}) {
        EstablecerIdiomaActivo(idioma);
        avisos.mostrados.clear();
        totales.MostrarTotales(p);
        ASSERT_EQ(avisos.mostrados.size(), 2u);
        EXPECT_EQ(avisos.mostrados[0].tipo, TipoMensaje::Informacion);
        EXPECT_EQ(avisos.mostrados[0].texto, TextoQt("no_compensacion"));
        EXPECT_EQ(avisos.mostrados[1].tipo, TipoMensaje::Error);
        EXPECT_EQ(avisos.mostrados[1].texto,
                  idioma == kEspanol ? "Error en los datos de facturación." : "Billing error");
    }
    EXPECT_EQ(cerrador.mostrada, 0);
}

TEST_F(Totales, TheChartButtonShowsOnePairOfBarsPerReadingAtEveryOpening) {
    const char* meses[] = {"ENERO", "FEBRERO", "MARZO"};
    for (int i = 0; i < 3; ++i) {
        s.Lecturas.push_back(Lectura(1000 * (i + 1), 500 * (i + 1)));
        s.Lecturas.back().mes = meses[i];
    }
    Cerrador cerrador(grafico);
    QPushButton* boton = totales.findChild<QPushButton*>(QStringLiteral("Button2"));
    ASSERT_NE(boton, nullptr);
    const Barras esperadas{{"ENERO", "FEBRERO", "MARZO"}, {1000, 2000, 3000}, {500, 1000, 1500}};
    boton->click();
    EXPECT_EQ(LeerGrafico(), esperadas);
    boton->click();
    EXPECT_EQ(LeerGrafico(), esperadas) << "the same bars, not twice as many";
    // An edited reading shows at the next opening.
    s.Lecturas[1].kvarh = 42;
    boton->click();
    EXPECT_EQ(LeerGrafico().kvarh, (QList<qreal>{500, 42, 1500}));
    EXPECT_EQ(cerrador.mostrada, 3);
}

TEST_F(Totales, TheChartHasItsTitlesColoursAndLegendBelow) {
    s.Lecturas = {Lectura(1000, 500), Lectura(2000, 700)};
    Cerrador cerrador(grafico);
    grafico.exec();
    const QChart* chart = grafico.findChild<QChartView*>(QStringLiteral("Chart1"))->chart();
    EXPECT_EQ(chart->title(), TextoQt("grafico1title"));
    EXPECT_EQ(chart->legend()->alignment(), Qt::AlignBottom);
    EXPECT_TRUE(chart->legend()->isVisible());
    const auto* serie = qobject_cast<QBarSeries*>(chart->series().value(0));
    ASSERT_NE(serie, nullptr);
    ASSERT_EQ(serie->barSets().size(), 2);
    EXPECT_EQ(serie->barSets()[0]->label(), "Radizod Activa total (kWh)");
    EXPECT_EQ(serie->barSets()[0]->color(), QColor(128, 255, 255));
    EXPECT_EQ(serie->barSets()[1]->label(), "Radizod Reactiva total (kvarh)");
    EXPECT_EQ(serie->barSets()[1]->color(), QColor(255, 0, 0));
    // Two readings with the same label keep their own pair of bars.
    s.Lecturas[1].mes = s.Lecturas[0].mes;
    grafico.exec();
    const Barras b = LeerGrafico();
    EXPECT_EQ(b.kwh, (QList<qreal>{1000, 2000}));
    EXPECT_EQ(b.etiquetas, (QStringList{"ENERO", "ENERO"}));
}

TEST_F(Totales, TheChartWindowKeepsItsCloseButtonAtTheRight) {
    EXPECT_TRUE(grafico.windowFlags() & Qt::WindowMaximizeButtonHint);
    grafico.show();
    for (const QSize tamano : {QSize(500, 300), QSize(900, 600)}) {
        grafico.resize(tamano);
        QApplication::processEvents();
        const QWidget* panel = grafico.findChild<QWidget*>(QStringLiteral("Panel1"));
        const QPushButton* cerrar = grafico.findChild<QPushButton*>(QStringLiteral("bclose"));
        EXPECT_EQ(panel->height(), 31);
        EXPECT_EQ(panel->width(), tamano.width());
        EXPECT_EQ(cerrar->x(), panel->width() - cerrar->width() - 2);
    }
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&grafico, &escape);
    EXPECT_FALSE(grafico.isVisible());
}

TEST_F(Totales, TheChartWindowsMonthLabelsStayWholeAtItsDefaultSizeAndWhenResized) {
    const char* const nombres[] = {"ENERO", "FEBRERO", "MARZO",      "ABRIL",   "MAYO",      "JUNIO",
                                   "JULIO", "AGOSTO",  "SEPTIEMBRE", "OCTUBRE", "NOVIEMBRE", "DICIEMBRE"};
    QStringList meses;
    for (const char* mes : nombres)
        meses.append(QString::fromLatin1(mes));
    const QSize inicial = grafico.size();
    for (const int lecturas : {1, 12, 24, 36, 130}) {
        s.Lecturas.clear();
        for (int i = 0; i < lecturas; ++i) {
            s.Lecturas.push_back(Lectura(40000 + i * 10, 30000));
            s.Lecturas.back().mes = nombres[i % 12];
        }
        for (const QSize tamano : {inicial, QSize(1000, 600)}) {
            grafico.resize(tamano);
            grafico.show();
            QApplication::processEvents();
            const QChartView* vista = grafico.findChild<QChartView*>(QStringLiteral("Chart1"));
            const QStringList faltas = FaltasRotulos(*vista->scene(), meses, lecturas);
            EXPECT_TRUE(faltas.isEmpty())
                << lecturas << " readings at " << tamano.width() << "x" << tamano.height() << ": "
                << faltas.join(QStringLiteral("; ")).toStdString();
            grafico.hide();
        }
    }
}

} // namespace
} // namespace tarvik::prueba
