// The inputs panel: ranges, typing, captions and the rules between its inputs.

#include "gui/ayudas.h"

#include "app/study/entrada_numero.h"
#include "platform/texto_qt.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>

#include <limits>

namespace tarvik::prueba {
namespace {

class Panel : public ConVentanas {
  protected:
    EntradaNumero* Numero(const char* nombre) const { return Control<EntradaNumero>(nombre); }
    DatosPanel Leido() const { return ventanas.mainform->LeerPanel(); }
    // Replaces an input's text by typing and leaves it; returns the text it shows afterwards.
    QString EscribirYSalir(const char* nombre, const QString& texto) const {
        EntradaNumero* e = Numero(nombre);
        Vaciar(e);
        Teclear(e, texto);
        Salir(e);
        return e->Texto();
    }
};

TEST_F(Panel, LeavingANumberInputBringsItIntoItsRange) {
    struct Caso {
        const char* entrada;
        QString tecleado;
        QString mostrado;
    };
    const Caso casos[] = {
        // An emptied input is brought into its range like a typed 0.
        {"choras", "", "1"},
        {"ccoseno", "", "0.00"},
        {"potencia_maxima", "", "0"},
        {"ccpc", "", "0"},
        {"choras", "800", "744"},
        {"choras", "0", "1"},
        {"choras", "744", "744"},
        {"ccoseno", "1.5", "1.00"},
        {"ccoseno", ".5", "0.50"},
        {"ccoseno", "0.955", "0.95"}, // a third decimal cannot be typed
        {"potencia_maxima", "99999999999", "2147483647"},
        {"ccpc", "630", "630"},
    };
    Elegir("cBat_filter", 1);
    Boton("ctienetransformador")->click();
    for (const Caso& c : casos)
        EXPECT_EQ(EscribirYSalir(c.entrada, c.tecleado), c.mostrado)
            << c.entrada << " " << c.tecleado.toStdString();
    EXPECT_EQ(Leido().potenciaMaxima, std::numeric_limits<std::int32_t>::max());
}

TEST_F(Panel, AnEmptyHoursInputReadsAsZeroAndTypingIsNotClamped) {
    EntradaNumero* horas = Numero("choras");
    Vaciar(horas);
    EXPECT_EQ(horas->Texto(), QString());
    EXPECT_EQ(Leido().horas, 0);
    Teclear(horas, QStringLiteral("8x0-0"));
    EXPECT_EQ(horas->Texto(), QStringLiteral("800")) << "only digits are typed";
    EXPECT_EQ(Leido().horas, 800) << "the range applies when the input is left";
    Vaciar(horas);
    Salir(horas);
    EXPECT_EQ(horas->Texto(), QStringLiteral("1")) << "an emptied input does not stay blank once left";
    EXPECT_EQ(Leido().horas, 1);
}

TEST_F(Panel, StepsStayInsideTheRange) {
    EntradaNumero* horas = Numero("choras");
    horas->EstablecerValor(743);
    horas->stepBy(5);
    EXPECT_EQ(horas->Texto(), QStringLiteral("744"));
    EntradaNumero* coseno = Numero("ccoseno");
    coseno->EstablecerValor(0.95);
    coseno->stepBy(-2);
    EXPECT_EQ(coseno->Texto(), QStringLiteral("0.93"));
    coseno->EstablecerValor(0.125); // an exact half of the last decimal goes to even
    EXPECT_EQ(coseno->Texto(), QStringLiteral("0.12"));
}

TEST_F(Panel, CustomerTextsTurnUpperCaseAsTypedKeepingTheCursor) {
    auto* cliente = Control<QLineEdit>("cusuario");
    Teclear(cliente, QStringLiteral("josé ñúñez œ ß"));
    EXPECT_EQ(cliente->text(), QStringLiteral("JOSÉ ÑÚÑEZ Œ ß"));
    auto* fax = Control<QLineEdit>("cfax");
    Teclear(fax, QStringLiteral("abc"));
    fax->setCursorPosition(1);
    Teclear(fax, QStringLiteral("x"));
    EXPECT_EQ(fax->text(), QStringLiteral("AXBC"));
    EXPECT_EQ(fax->cursorPosition(), 2);
    EXPECT_EQ(Leido().cliente, HaciaAnsi(QStringLiteral("JOSÉ ÑÚÑEZ Œ ß")));
}

TEST_F(Panel, KeyboardOrderFollowsTheCustomerFieldsThenTheChoices) {
    const QStringList esperado = {"cinstalacion", "cusuario", "cdireccion",    "cprovincia",    "cministerio",
                                  "cfax",         "ctelf",    "cBat_filter_0", "cTipoCalculo_0"};
    QStringList orden;
    QWidget* w = Control<QWidget>("cinstalacion");
    for (int paso = 0; paso < 500 && orden.size() < esperado.size(); ++paso) {
        if (esperado.contains(w->objectName()))
            orden << w->objectName();
        w = w->nextInFocusChain();
    }
    EXPECT_EQ(orden, esperado);
}

TEST_F(Panel, SpacedCaptionsHaveABlankOnEachSide) {
    const auto espaciado = [](const char* clave) {
        return QLatin1Char(' ') + TextoDe(clave) + QLatin1Char(' ');
    };
    EXPECT_EQ(Control<QGroupBox>("ctemperatura")->title(), espaciado("ctemperatura_caption"));
    EXPECT_EQ(Control<QGroupBox>("cvoltaje")->title(), espaciado("cvoltaje_caption"));
    EXPECT_EQ(Control<QGroupBox>("clectura")->title(), espaciado("clectura_caption"));
    EXPECT_EQ(Control<QLabel>("cHourBox")->text(), espaciado("horas_trabajo_mensuales"));
    EXPECT_EQ(Control<QGroupBox>("cTipoCalculo")->title(), TextoDe("tipocalculo"));
    EXPECT_EQ(Control<QGroupBox>("cfrecuencia")->title(), TextoDe("cfrecuencia_caption"));
}

TEST_F(Panel, FiltersForceFiftyHertzAndDisableTheCapacitorBankInputs) {
    Elegir("cBat_filter", 1);
    Elegir("cfrecuencia", 1);
    Boton("ctienetransformador")->click();
    EXPECT_TRUE(Control<QWidget>("ccpc")->isEnabled());

    Elegir("cBat_filter", 0);
    EXPECT_EQ(Leido().frecuencia, 0);
    for (const char* nombre :
         {"ctemperatura", "cfrecuencia", "cArmonicos", "ctienetransformador", "ccpc", "ccpcLabel"})
        EXPECT_FALSE(Control<QWidget>(nombre)->isEnabled()) << nombre;
    EXPECT_TRUE(Leido().tieneTransformador) << "a disabled input keeps its value";

    Elegir("cBat_filter", 1);
    for (const char* nombre : {"ctemperatura", "cfrecuencia", "cArmonicos", "ctienetransformador", "ccpc"})
        EXPECT_TRUE(Control<QWidget>(nombre)->isEnabled()) << nombre;
    EXPECT_EQ(Leido().frecuencia, 0);

    Boton("ctienetransformador")->click();
    EXPECT_FALSE(Control<QWidget>("ccpc")->isEnabled());
}

TEST_F(Panel, TheCalculationTypeChoosesThePageAndHiddenInputsKeepTheirValues) {
    EscribirYSalir("choras", QStringLiteral("160"));
    Elegir("cTipoCalculo", 1);
    EXPECT_EQ(Control<QStackedWidget>("paginas")->currentIndex(), 1);
    EXPECT_EQ(Leido().horas, 160);
    Elegir("cTipoCalculo", 0);
    EXPECT_EQ(Control<QStackedWidget>("paginas")->currentIndex(), 0);
}

TEST_F(Panel, WritingAndReadingTheValuesAgree) {
    DatosPanel d;
    d.empresa = HaciaAnsi(QStringLiteral("ÁGUILA Y CÍA"));
    d.cliente = "C";
    d.direccion = "D";
    d.provincia = "P";
    d.distribuidor = "R";
    d.fax = "1";
    d.telefono = "2";
    d.tarifa = 8;
    d.voltaje = 2;
    d.horas = 300;
    d.cosenoDeseado = 0.95;
    d.porPrecio = true;
    d.armonicos = 1;
    d.tipoLectura = 1;
    d.seleccionModelo = 3;
    d.frecuencia = 1;
    d.temperatura = 1;
    d.tipoCalculo = 1;
    d.potenciaMaxima = 450;
    d.tieneTransformador = true;
    d.transformadorEntrada = 630;
    d.equipos = 1;
    ventanas.mainform->EscribirPanel(d);
    EXPECT_EQ(Leido(), d);
    EXPECT_EQ(Control<QStackedWidget>("paginas")->currentIndex(), 1);
}

TEST_F(Panel, WritingBringsValuesIntoTheInputsRanges) {
    DatosPanel d;
    d.horas = 800;
    d.cosenoDeseado = 1.5;
    d.potenciaMaxima = -5;
    d.voltaje = 5;
    d.temperatura = -1; // no choice
    ventanas.mainform->EscribirPanel(d);
    const DatosPanel leido = Leido();
    EXPECT_EQ(leido.horas, 744);
    EXPECT_EQ(leido.cosenoDeseado, 1.0);
    EXPECT_EQ(leido.potenciaMaxima, 0);
    EXPECT_EQ(leido.voltaje, 2);
    EXPECT_EQ(leido.temperatura, -1);
}

} // namespace
} // namespace tarvik::prueba
