// The results window: the three tables, the entry of prices and lengths, and what survives a
// showing without recalculation.

#include "gui/ayudas.h"
#include "soporte/catalogos_prueba.h"

#include "app/results/entrada_texto.h"
#include "app/results/rejilla_resultados.h"
#include "app/results/twresult.h"
#include "core/lang/traduccion.h"
#include "core/results/tablas.h"
#include "platform/texto_qt.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolTip>

namespace tarvik::prueba {
namespace {

const QLocale kEspana(QLocale::Spanish, QLocale::Spain);
const QLocale kEstadosUnidos(QLocale::English, QLocale::UnitedStates);

struct Pedido {
    QString titulo;
    QString etiqueta;
    QString inicial;
};

// The text-input dialog answered from a list (nothing = Cancel); every request is kept.
class EntradaPrueba : public EntradaTexto {
  public:
    std::optional<QString> Pedir(QWidget*, const QString& titulo, const QString& etiqueta,
                                 const QString& inicial) override {
        pedidos.push_back({titulo, etiqueta, inicial});
        if (respuestas.empty()) {
            ADD_FAILURE() << "unexpected text input: " << etiqueta.toStdString();
            return std::nullopt;
        }
        const std::optional<QString> r = respuestas.front();
        respuestas.pop_front();
        return r;
    }
    std::deque<std::optional<QString>> respuestas;
    std::vector<Pedido> pedidos;
};

// A cell's text; the heading row is the header.
QString Celda(const QTableWidget* tabla, int fila, int columna) {
    if (fila == 0)
        return tabla->horizontalHeaderItem(columna)->text();
    return tabla->item(fila - 1, columna)->text();
}

// Asks a view for the tooltip of a cell, as hovering over its middle does.
void PedirAyuda(QTableView* vista, const QModelIndex& indice) {
    const QPoint punto = vista->visualRect(indice).center();
    QHelpEvent ayuda(QEvent::ToolTip, punto, vista->viewport()->mapToGlobal(punto));
    QApplication::sendEvent(vista->viewport(), &ayuda);
}

Rejilla Leer(const QTableWidget* tabla) {
    Rejilla r(static_cast<std::size_t>(tabla->rowCount() + 1));
    for (int f = 0; f <= tabla->rowCount(); ++f)
        for (int c = 0; c < tabla->columnCount(); ++c)
            r[static_cast<std::size_t>(f)].push_back(HaciaAnsi(Celda(tabla, f, c)));
    return r;
}

class Resultados : public ::testing::Test {
  protected:
    void SetUp() override {
        EstablecerAvisos(&avisos);
        EstablecerEntradaTexto(&entrada);
        EstablecerIdiomaActivo(kEspanol);
        QLocale::setDefault(kEspana);
        s.rutas = carpeta.rutas();
        carpeta.Escribir("bateria.dat",
                         std::vector<TEquipo>{Equipo("Jade", 200, 400, 1200), Equipo("Ambar", 200, 400, 0),
                                              Equipo("Iolita", 200, 400, 900, 1),
                                              Equipo("Fijo", 32.5f, 400, 0, 0, 1)});
        s.CatalogoConductores = ConductoresHasta300();
        s.CatalogoTransformadores = {Transformador("400/5", 400), Transformador("300/5", 300)};
        // A year at a power factor of 0.8 that needs 150 kvar, with a 630 kVA input transformer.
        s.Lecturas = std::vector<TLectura>(12, Lectura(40000, 30000, 100, 630));
        s.Lecturas[5].mdr = 120;
        p.equipos = 1;
    }

    void TearDown() override {
        EstablecerAvisos(nullptr);
        EstablecerEntradaTexto(nullptr);
        QLocale::setDefault(QLocale::c());
        EstablecerIdiomaActivo(kEspanol);
        EXPECT_TRUE(entrada.respuestas.empty()) << "answers left unused";
    }

    // Runs the Calculations entry point with `accion` on the open window, which it closes after;
    // without an action the calculation is expected to be refused.
    bool Ejecutar(bool recalcular, std::function<void()> accion) {
        bool mostrada = false;
        if (!accion) {
            // A refused calculation must not open the window.
            EXPECT_FALSE(ventana.Ejecutar(recalcular, p));
            EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "busy cursor left on";
            return false;
        }
        EnDialogoModal([&](QDialog& d) {
            mostrada = true;
            EXPECT_EQ(&d, &ventana);
            accion();
            if (d.isVisible())
                d.accept();
        });
        const bool ok = ventana.Ejecutar(recalcular, p);
        EXPECT_TRUE(ok && mostrada);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "busy cursor left on";
        return ok;
    }

    template <class W> W* Control(const char* nombre) const {
        W* w = ventana.findChild<W*>(QString::fromLatin1(nombre));
        EXPECT_NE(w, nullptr) << nombre;
        return w;
    }
    QTableWidget* Tabla(const char* nombre) const { return Control<QTableWidget>(nombre); }
    QTabWidget* Paginas() const { return Control<QTabWidget>("PageControl1"); }

    CarpetaPrograma carpeta;
    Sesion s;
    DatosPanel p;
    AvisosPrueba avisos;
    EntradaPrueba entrada;
    TWResult ventana{s};
};

TEST_F(Resultados, ShowsTheGridTextsOnTheFirstPageAtEveryShowing) {
    ASSERT_TRUE(Ejecutar(true, [&] {
        EXPECT_EQ(Paginas()->currentIndex(), 0);
        const struct {
            const char* tabla;
            Rejilla esperada;
        } tablas[] = {
            {"tabla_capacitores", MostrarEquipos(s.EquiposSeleccionados, 1, 0, ',')},
            {"tabla_trans",
             MostrarTransformadores(s.TransformadoresSeleccionados, s.EquiposSeleccionados, ',')},
            {"tabla_conductor",
             MostrarConductores(s.ConductoresSeleccionados, s.EquiposSeleccionados, 0, ',')},
        };
        for (const auto& t : tablas) {
            QTableWidget* tabla = Tabla(t.tabla);
            EXPECT_EQ(Leer(tabla), t.esperada) << t.tabla;
            EXPECT_EQ(tabla->editTriggers(), QAbstractItemView::NoEditTriggers);
            EXPECT_EQ(tabla->horizontalHeader()->sectionResizeMode(1), QHeaderView::Interactive);
            EXPECT_EQ(tabla->columnWidth(0), 200) << t.tabla;
            for (int c = 1; c < tabla->columnCount(); ++c)
                EXPECT_EQ(tabla->columnWidth(c), 80) << t.tabla;
        }
        // Two banks of 200 kvar and the 630 kVA transformer's capacitor; prices on request show
        // with the margin in the equipment table only.
        QTableWidget* equipos = Tabla("tabla_capacitores");
        ASSERT_EQ(equipos->columnCount(), 4);
        EXPECT_EQ(Celda(equipos, 5, 1), " Consultar");
        EXPECT_EQ(Celda(equipos, 5, 2), " 1200");
        EXPECT_EQ(Celda(Tabla("tabla_trans"), 3, 1), "Consultar");
        // The code row is selected from the first item on, and nothing in the label column.
        QList<QTableWidgetItem*> seleccion = equipos->selectedItems();
        EXPECT_EQ(seleccion.size(), 3);
        for (const QTableWidgetItem* celda : seleccion)
            EXPECT_EQ(celda->row(), 0);
        EXPECT_EQ(equipos->currentColumn(), 1);
        EXPECT_FALSE(equipos->item(0, 0)->flags() & Qt::ItemIsSelectable);

        EXPECT_TRUE(Paginas()->isTabVisible(1));
        EXPECT_TRUE(!Control<QLabel>("Label2")->isHidden());
        EXPECT_FALSE(!Control<QLabel>("ArmLabel")->isHidden());
        Paginas()->setCurrentIndex(2);
    }));
    ASSERT_TRUE(Ejecutar(false, [&] { EXPECT_EQ(Paginas()->currentIndex(), 0); }));
}

TEST_F(Resultados, TypedValuesGoIntoTheirRecordsAndShowAsTyped) {
    ASSERT_TRUE(Ejecutar(true, [&] {
        const struct {
            const char* tabla;
            int fila, columna;
            const char* clave;
            const char* inicial;
            const char* escrito;
            std::function<double()> valor;
            double esperado;
        } casos[] = {
            {"tabla_capacitores", 5, 2, "nuevo_precio", "1200", "1500",
             [&] { return s.EquiposSeleccionados[1].precio; }, 1500},
            // Zero is a price like any other once typed.
            {"tabla_capacitores", 5, 1, "nuevo_precio", "0", "0",
             [&] { return s.EquiposSeleccionados[0].precio; }, 0},
            {"tabla_trans", 3, 1, "precio_transformador", "0", "12,5",
             [&] { return s.TransformadoresSeleccionados[0].precio; }, 12.5},
            // Read as a 32-bit float, then widened.
            {"tabla_conductor", 4, 1, "longitud_conductor", "0,00", "12,3",
             [&] { return s.ConductoresSeleccionados[0].longitud; }, static_cast<double>(12.3f)},
            {"tabla_conductor", 6, 2, "precio_total_conductor", "0", "7",
             [&] { return s.ConductoresSeleccionados[1].precio; }, 7},
        };
        for (const auto& c : casos) {
            QTableWidget* tabla = Tabla(c.tabla);
            Rejilla esperada = Leer(tabla);
            esperada[static_cast<std::size_t>(c.fila)][static_cast<std::size_t>(c.columna)] = c.escrito;
            entrada.respuestas = {QString::fromLatin1(c.escrito)};
            entrada.pedidos.clear();
            DobleClic(tabla, c.fila, c.columna);
            ASSERT_EQ(entrada.pedidos.size(), 1u) << c.tabla << c.fila;
            EXPECT_EQ(entrada.pedidos[0].titulo, "Cambiar valor");
            EXPECT_EQ(entrada.pedidos[0].etiqueta, TextoDe(c.clave));
            EXPECT_EQ(entrada.pedidos[0].inicial, c.inicial) << c.tabla << c.fila;
            EXPECT_EQ(c.valor(), c.esperado) << c.tabla << c.fila;
            EXPECT_EQ(Leer(tabla), esperada) << "only the edited cell changes";
        }
    }));
    EXPECT_TRUE(avisos.mostrados.empty());
}

TEST_F(Resultados, TextsThatAreNotLocaleNumbersChangeNothing) {
    ASSERT_TRUE(Ejecutar(true, [&] {
        QTableWidget* tabla = Tabla("tabla_capacitores");
        double& precio = s.EquiposSeleccionados[1].precio;
        const struct {
            QLocale local;
            std::optional<QString> escrito;
            bool aceptado;
        } casos[] = {
            {kEspana, QStringLiteral("12.5"), false},
            {kEspana, QStringLiteral("1.500"), false},
            {kEspana, QStringLiteral("nan"), false},
            {kEspana, QStringLiteral("1e3"), false},
            {kEspana, std::nullopt, false},
            {kEstadosUnidos, QStringLiteral("12,5"), false},
            {kEstadosUnidos, QStringLiteral("12.5"), true},
        };
        for (const auto& c : casos) {
            QLocale::setDefault(c.local);
            const double antes = precio;
            const QString celda = Celda(tabla, 5, 2);
            avisos.mostrados.clear();
            entrada.respuestas = {c.escrito};
            DobleClic(tabla, 5, 2);
            const QString escrito = c.escrito.value_or(QStringLiteral("(cancel)"));
            if (c.aceptado) {
                EXPECT_EQ(precio, 12.5);
                EXPECT_EQ(Celda(tabla, 5, 2), escrito);
                continue;
            }
            EXPECT_EQ(precio, antes) << escrito.toStdString();
            EXPECT_EQ(Celda(tabla, 5, 2), celda) << escrito.toStdString();
            if (!c.escrito) {
                EXPECT_TRUE(avisos.mostrados.empty());
                continue;
            }
            ASSERT_EQ(avisos.mostrados.size(), 1u) << escrito.toStdString();
            EXPECT_EQ(avisos.mostrados[0].tipo, TipoMensaje::Error);
            EXPECT_EQ(avisos.mostrados[0].texto, TextoDe("valor_no_valido"));
        }
    }));
}

TEST_F(Resultados, ShownWithoutRecalculationTheTablesKeepTheEntries) {
    ASSERT_TRUE(Ejecutar(true, [&] {
        entrada.respuestas = {QStringLiteral("1500")};
        DobleClic(Tabla("tabla_capacitores"), 5, 1);
    }));
    ASSERT_TRUE(Ejecutar(false, [&] { EXPECT_EQ(Celda(Tabla("tabla_capacitores"), 5, 1), "1500"); }));
    EXPECT_EQ(s.EquiposSeleccionados[0].precio, 1500);
    // A new calculation starts from the catalogue again.
    ASSERT_TRUE(Ejecutar(true, [&] { EXPECT_EQ(Celda(Tabla("tabla_capacitores"), 5, 1), " Consultar"); }));
    EXPECT_EQ(s.EquiposSeleccionados[0].precio, 0);
}

TEST_F(Resultados, UnderTariffOneOneTheBlankColumnsEditOnlyTheTransformerCapacitorConductor) {
    p.tarifa = kTarifa11;
    ASSERT_TRUE(Ejecutar(true, [&] {
        QTableWidget* equipos = Tabla("tabla_capacitores");
        QTableWidget* conductores = Tabla("tabla_conductor");
        ASSERT_EQ(equipos->columnCount(), 5);
        ASSERT_EQ(conductores->columnCount(), 5);
        const std::vector<TEquipoSeleccionado> antes = s.EquiposSeleccionados;
        // The blank price cell of the equipment table stands for no row; nor do the label column
        // and the rows that the user does not fill.
        DobleClic(equipos, 5, 4);
        for (int fila : {1, 2, 3, 4, 5, 6})
            DobleClic(conductores, fila, 0);
        for (int fila : {1, 2, 3, 5})
            for (int columna : {1, 4})
                DobleClic(conductores, fila, columna);
        EXPECT_TRUE(entrada.pedidos.empty());
        EXPECT_EQ(s.EquiposSeleccionados.size(), antes.size());

        entrada.respuestas = {QStringLiteral("25,5"), QStringLiteral("3")};
        DobleClic(conductores, 4, 4);
        DobleClic(conductores, 6, 4);
        ASSERT_EQ(entrada.pedidos.size(), 2u);
        EXPECT_EQ(entrada.pedidos[0].etiqueta, TextoDe("longitud_total_conductor"));
        EXPECT_EQ(entrada.pedidos[0].inicial, "0,00");
        EXPECT_EQ(entrada.pedidos[1].etiqueta, TextoDe("precio_total_conductor"));
        EXPECT_EQ(entrada.pedidos[1].inicial, "0");
        EXPECT_EQ(Celda(conductores, 4, 4), "25,5");
        EXPECT_EQ(Celda(conductores, 6, 4), "3");
    }));
    EXPECT_EQ(s.CondensadorTrafo.longitudConductor, 25.5);
    EXPECT_EQ(s.CondensadorTrafo.precioConductor, 3);

    // The transformer capacitor's conductor keeps its entries through new calculations.
    entrada.pedidos.clear();
    ASSERT_TRUE(Ejecutar(true, [&] {
        entrada.respuestas = {std::nullopt};
        DobleClic(Tabla("tabla_conductor"), 4, 4);
    }));
    ASSERT_EQ(entrada.pedidos.size(), 1u);
    EXPECT_EQ(entrada.pedidos[0].inicial, "25,50");
    EXPECT_EQ(s.CondensadorTrafo.longitudConductor, 25.5);
}

TEST_F(Resultados, TheTransformerPageAndTheHarmonicsNoteFollowTheSelection) {
    s.CatalogoTransformadores.clear();
    p.armonicos = 1;
    ASSERT_TRUE(Ejecutar(true, [&] {
        EXPECT_FALSE(Paginas()->isTabVisible(1));
        EXPECT_FALSE(!Control<QLabel>("Label2")->isHidden());
        EXPECT_EQ(Celda(Tabla("tabla_capacitores"), 0, 1), " Serie Iolita");
        EXPECT_TRUE(!Control<QLabel>("ArmLabel")->isHidden());
    }));
    s.CatalogoTransformadores = {Transformador("400/5", 400)};
    p.armonicos = 0;
    ASSERT_TRUE(Ejecutar(true, [&] {
        EXPECT_TRUE(Paginas()->isTabVisible(1));
        EXPECT_TRUE(!Control<QLabel>("Label2")->isHidden());
        EXPECT_FALSE(!Control<QLabel>("ArmLabel")->isHidden());
    }));
}

TEST_F(Resultados, TheLabelColumnStaysInViewWhenTheGridScrollsSideways) {
    ASSERT_TRUE(Ejecutar(true, [&] {
        for (const char* nombre : {"tabla_capacitores", "tabla_conductor"}) {
            QTableWidget* tabla = Tabla(nombre);
            auto* fija = tabla->findChild<QTableView*>(QStringLiteral("columna_fija"));
            ASSERT_NE(fija, nullptr) << nombre;
            Paginas()->setCurrentWidget(tabla->parentWidget());
            for (int c = 1; c < tabla->columnCount(); ++c)
                tabla->setColumnWidth(c, 400);
            QApplication::processEvents(); // the grid lays itself out again
            QScrollBar* lateral = tabla->horizontalScrollBar();
            ASSERT_GT(lateral->maximum(), 0) << nombre;
            lateral->setValue(lateral->maximum());

            EXPECT_TRUE(fija->isVisible()) << nombre;
            EXPECT_EQ(fija->model(), tabla->model());
            EXPECT_EQ(fija->geometry().left(), tabla->viewport()->x());
            EXPECT_EQ(fija->width(), tabla->columnWidth(0));
            EXPECT_LT(tabla->visualItemRect(tabla->item(0, 0)).right(), 0) << "the grid scrolled past it";
            const QModelIndex etiqueta = fija->model()->index(0, 0);
            EXPECT_EQ(fija->visualRect(etiqueta).left(), 0);
            for (int c = 1; c < tabla->columnCount(); ++c)
                EXPECT_TRUE(fija->isColumnHidden(c)) << nombre << " " << c;

            // Going back to the first data cell, by the keyboard or not, shows it beside the labels
            // and not under them.
            tabla->setCurrentCell(0, 2);
            QKeyEvent izquierda(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
            QApplication::sendEvent(tabla, &izquierda);
            EXPECT_EQ(tabla->currentColumn(), 1);
            EXPECT_GE(tabla->visualItemRect(tabla->item(0, 1)).left(), tabla->columnWidth(0)) << nombre;
            lateral->setValue(lateral->maximum());
            tabla->setCurrentCell(1, 1);
            EXPECT_GE(tabla->visualItemRect(tabla->item(0, 1)).left(), tabla->columnWidth(0)) << nombre;
            // Reaching a label scrolls only up or down.
            lateral->setValue(lateral->maximum());
            tabla->scrollTo(tabla->model()->index(0, 0));
            EXPECT_EQ(lateral->value(), lateral->maximum());

            // The label column is resized on the header in view, and the grid follows.
            fija->horizontalHeader()->resizeSection(0, 260);
            EXPECT_EQ(tabla->columnWidth(0), 260);
            EXPECT_EQ(fija->width(), 260);
        }
    }));
}

TEST_F(Resultados, ACellTextWiderThanItsColumnShowsWholeInATooltip) {
    ASSERT_TRUE(Ejecutar(true, [&] {
        QTableWidget* tabla = Tabla("tabla_capacitores");
        auto* fija = tabla->findChild<QTableView*>(QStringLiteral("columna_fija"));
        ASSERT_NE(fija, nullptr);
        const QString codigo = tabla->item(0, 1)->text();
        // A text that fits gets no tooltip.
        tabla->setColumnWidth(1, 300);
        PedirAyuda(tabla, tabla->model()->index(0, 1));
        EXPECT_NE(QToolTip::text(), codigo);
        // Cut by its column, in the grid and in the label column.
        tabla->setColumnWidth(1, 30);
        PedirAyuda(tabla, tabla->model()->index(0, 1));
        EXPECT_TRUE(QToolTip::isVisible());
        EXPECT_EQ(QToolTip::text(), codigo);
        fija->horizontalHeader()->resizeSection(0, 40);
        PedirAyuda(fija, fija->model()->index(1, 0));
        EXPECT_EQ(QToolTip::text(), tabla->item(1, 0)->text());
        QToolTip::hideText();
    }));
}

TEST_F(Resultados, StoredControlCharactersShowAsSpaces) {
    EstablecerIdiomaActivo(kIngles);
    ASSERT_NE(Texto("armlabelcaption").find('\x1A'), std::string::npos) << "the stored text keeps its byte";
    const TWResult inglesa(s);
    const QString texto = inglesa.findChild<QLabel*>(QStringLiteral("ArmLabel"))->text();
    EXPECT_TRUE(texto.contains(QStringLiteral("Technical  Department"))) << texto.toStdString();
    EXPECT_FALSE(texto.contains(QChar(0x1A)));
}

TEST_F(Resultados, AUnitWithoutConductorShowsNoExistInTheActiveLanguage) {
    s.CatalogoConductores.clear();
    for (int idioma : {kEspanol, kIngles}) {
        EstablecerIdiomaActivo(idioma);
        ASSERT_TRUE(Ejecutar(true, [&] {
            QTableWidget* tabla = Tabla("tabla_conductor");
            EXPECT_EQ(Celda(tabla, 2, 1), idioma == kEspanol ? " No existe" : " Does not e");
            EXPECT_EQ(Celda(tabla, 1, 1), " 0,00");
            EXPECT_EQ(Celda(tabla, 3, 1), " 0,00");
            EXPECT_EQ(Celda(tabla, 4, 1), " 0,00");
            EXPECT_EQ(Celda(tabla, 5, 1), idioma == kEspanol ? " 0x3 Fase" : " 0x3 Phase");
        }));
    }
}

TEST_F(Resultados, ARefusedCalculationShowsItsMessagesAndNoWindow) {
    p.temperatura = 1;
    EXPECT_FALSE(Ejecutar(true, nullptr));
    ASSERT_EQ(avisos.mostrados.size(), 1u);
    EXPECT_EQ(avisos.mostrados[0].texto, TextoDe("baterias_35"));
    EXPECT_FALSE(s.calculoRealizado);
    EXPECT_TRUE(s.resultadosObsoletos);
}

} // namespace
} // namespace tarvik::prueba
