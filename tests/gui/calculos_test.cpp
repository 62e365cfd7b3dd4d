// The Calculations and Totals commands from the main window to the result windows and back.

#include "gui/ayudas.h"

#include "app/results/entrada_texto.h"
#include "platform/texto_qt.h"

#include <QLineEdit>
#include <QTableWidget>

namespace tarvik::prueba {
namespace {

// Answers every text input with the same text.
class EntradaFija : public EntradaTexto {
  public:
    std::optional<QString> Pedir(QWidget*, const QString&, const QString&, const QString&) override {
        return texto;
    }
    QString texto;
};

class Calculos : public ConVentanas {
  protected:
    void SetUp() override {
        ConVentanas::SetUp();
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
        ASSERT_TRUE(ventanas.mainform->AbrirArchivo(TARVIK_SOURCE_DIR "/examples/bancos-400v-mensual.fac"));
    }
    void TearDown() override {
        QLocale::setDefault(QLocale::c());
        ConVentanas::TearDown();
    }

    // Presses Calculations; `enVentana` runs on the results window, which is then closed.
    void Calcular(std::function<void(QTableWidget&)> enVentana) {
        EnDialogoModal([enVentana](QDialog& d) {
            enVentana(*d.findChild<QTableWidget*>(QStringLiteral("tabla_capacitores")));
            d.accept();
        });
        Boton("resultButton")->click();
    }
    // Double-clicks the price of the first bank.
    static void CambiarPrecio(QTableWidget& tabla) { emit tabla.cellDoubleClicked(4, 1); }

    EntradaFija entrada;
    Reemplazo<EntradaTexto> reemplazo{entrada};
};

TEST_F(Calculos, NoToRecalculatingShowsTheEarlierTablesWithTheTypedPrices) {
    EXPECT_FALSE(Boton("bimp")->isEnabled());
    entrada.texto = QStringLiteral("1500");
    Calcular(CambiarPrecio);
    EXPECT_TRUE(Boton("bimp")->isEnabled()) << "results are current once the window closes";
    EXPECT_TRUE(sesion.calculoRealizado);

    avisos.respuestas = {Respuesta::No};
    Calcular([](QTableWidget& t) { EXPECT_EQ(t.item(4, 1)->text(), "1500"); });
    EXPECT_EQ(avisos.mostrados.back().texto, TextoQt("recalcular_equipamiento"));
    EXPECT_EQ(sesion.EquiposSeleccionados[0].precio, 1500);

    avisos.respuestas = {Respuesta::Si};
    Calcular([](QTableWidget& t) { EXPECT_NE(t.item(4, 1)->text(), "1500"); });
    EXPECT_NE(sesion.EquiposSeleccionados[0].precio, 1500);
}

TEST_F(Calculos, ARefusedRecalculationLeavesNothingToPrintOrToShowAgain) {
    Calcular([](QTableWidget&) {});
    ASSERT_TRUE(Boton("bimp")->isEnabled());

    Elegir("ctemperatura", 1); // 35 °C: banks only on request
    avisos.respuestas = {Respuesta::Si};
    Boton("resultButton")->click();
    EXPECT_EQ(avisos.mostrados.back().texto, TextoQt("baterias_35"));
    EXPECT_FALSE(Boton("bimp")->isEnabled());
    EXPECT_FALSE(sesion.calculoRealizado);

    // The lists of the refused run are never shown: the next press calculates without asking.
    Elegir("ctemperatura", 0);
    const std::size_t preguntas = avisos.mostrados.size();
    Calcular([](QTableWidget& t) { EXPECT_GT(t.columnCount(), 1); });
    EXPECT_EQ(avisos.mostrados.size(), preguntas);
    EXPECT_TRUE(Boton("bimp")->isEnabled());
}

TEST_F(Calculos, TotalsShowTheFiguresOfThePanelAsItIs) {
    EnDialogoModal([](QDialog& d) {
        EXPECT_EQ(d.findChild<QLineEdit*>(QStringLiteral("fpd"))->text(), "0,98");
        EXPECT_FALSE(d.findChild<QLineEdit*>(QStringLiteral("fpm"))->text().isEmpty());
        d.accept();
    });
    Boton("Totalesbutton")->click();
    EXPECT_TRUE(avisos.mostrados.empty());
}

} // namespace
} // namespace tarvik::prueba
