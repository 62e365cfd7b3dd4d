// The main window's commands: New, Open, Save, Calculations, Print, Help, Exit and their rules.

#include "gui/ayudas.h"

#include "app/study/entrada_numero.h"
#include "app/study/panel_entradas.h"
#include "core/lang/traduccion.h"
#include "platform/archivo_estudio.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QStackedWidget>

namespace tarvik::prueba {
namespace {

// A results window that reports a calculation outcome without running one.
class ResultadosFingidos : public TWResult {
  public:
    using TWResult::TWResult;
    bool Ejecutar(bool recalcular, const DatosPanel& panel) override {
        pedidos.push_back(recalcular);
        ultimoPanel = panel;
        return exito;
    }
    bool exito = true;
    std::vector<bool> pedidos;
    DatosPanel ultimoPanel;
};

class VentanaPrincipal : public ConVentanas {
  protected:
    void SetUp() override {
        ConVentanas::SetUp();
        resultados = new ResultadosFingidos(sesion, ventanas.mainform.get());
        ventanas.mainform->Conectar(ventanas.edicion, ventanas.totales, resultados, ventanas.opciones);
    }

    bool Activo(const char* nombre) const { return Boton(nombre)->isEnabled(); }
    QLineEdit* Empresa() const { return Control<QLineEdit>("cinstalacion"); }

    // A study with a customer, a reading and non-default choices.
    void PrepararEstudio() {
        Teclear(Empresa(), QStringLiteral("acme"));
        Elegir("cBat_filter", 1);
        Elegir("cArmonicos", 1);
        Elegir("clectura", 1);
        AnadirLectura(QStringLiteral("ENERO"), QStringLiteral("1200"));
        ASSERT_EQ(sesion.Lecturas.size(), 1u);
    }

    void Calcular(std::initializer_list<Respuesta> respuestas = {}) {
        avisos.respuestas.insert(avisos.respuestas.end(), respuestas);
        Boton("resultButton")->click();
    }

    ResultadosFingidos* resultados = nullptr;
};

TEST_F(VentanaPrincipal, StartsWithANewStudyAndOnlyTheAlwaysAvailableCommands) {
    const Tmainform& ventana = *ventanas.mainform;
    EXPECT_EQ(ventana.windowTitle(), TextoDe("main_caption"));
    EXPECT_EQ(ventana.minimumSize(), ventana.maximumSize()) << "fixed size";
    EXPECT_EQ(ventana.LeerPanel(), DatosPanel{});
    EXPECT_TRUE(sesion.resultadosObsoletos);
    EXPECT_FALSE(sesion.calculoRealizado);
    for (const char* siempre :
         {"newbutton", "openbutton", "guardarButton", "OptiosButton", "HelpButton", "salirbutton"})
        EXPECT_TRUE(Activo(siempre)) << siempre;
    for (const char* nunca : {"Totalesbutton", "resultButton", "bimp"})
        EXPECT_FALSE(Activo(nunca)) << nunca;
    EXPECT_EQ(Control<QStackedWidget>("paginas")->currentIndex(), 0);
    // A new study selects filters, which rule out the capacitor-bank inputs.
    for (const char* nombre : {"ctemperatura", "cfrecuencia", "cArmonicos", "ctienetransformador", "ccpc"})
        EXPECT_FALSE(Control<QWidget>(nombre)->isEnabled()) << nombre;
}

struct CasoReglas {
    int tipoCalculo;
    int lecturas;
    bool totales;
    bool calculos;
};

class ReglasComandos : public VentanaPrincipal, public ::testing::WithParamInterface<CasoReglas> {};

TEST_P(ReglasComandos, FollowTheReadingsAndTheCalculationType) {
    const CasoReglas caso = GetParam();
    for (int i = 0; i < caso.lecturas; ++i)
        AnadirLectura(QStringLiteral("MES"), QStringLiteral("100"));
    Elegir("cTipoCalculo", caso.tipoCalculo);
    EXPECT_EQ(Activo("Totalesbutton"), caso.totales);
    EXPECT_EQ(Activo("resultButton"), caso.calculos);
}

INSTANTIATE_TEST_SUITE_P(Casos, ReglasComandos,
                         ::testing::Values(CasoReglas{0, 0, false, false}, CasoReglas{1, 0, false, true},
                                           CasoReglas{0, 1, true, true}, CasoReglas{1, 2, false, true}));

TEST_F(VentanaPrincipal, DeletingTheOnlyReadingDisablesTotalsAndCalculations) {
    AnadirLectura(QStringLiteral("ENERO"), QStringLiteral("100"));
    ASSERT_TRUE(Activo("Totalesbutton"));
    QListView* lista = Control<QListView>("lista");
    lista->setCurrentIndex(lista->model()->index(0, 0));

    avisos.respuestas = {Respuesta::No};
    Boton("delbutton")->click();
    EXPECT_EQ(sesion.Lecturas.size(), 1u);
    EXPECT_EQ(avisos.mostrados.back().texto, TextoDe("borrar_lectura"));

    avisos.respuestas = {Respuesta::Si};
    Boton("delbutton")->click();
    EXPECT_TRUE(sesion.Lecturas.empty());
    EXPECT_FALSE(Activo("Totalesbutton"));
    EXPECT_FALSE(Activo("resultButton"));
}

TEST_F(VentanaPrincipal, NewAnsweredYesThenCancelledKeepsTheStudy) {
    PrepararEstudio();
    const DatosPanel antes = ventanas.mainform->LeerPanel();
    avisos.respuestas = {Respuesta::Si};
    dialogos.rutas = {QString()};
    Boton("newbutton")->click();
    ASSERT_EQ(avisos.mostrados.size(), 1u);
    EXPECT_EQ(avisos.mostrados[0].tipo, TipoMensaje::Confirmacion);
    EXPECT_EQ(avisos.mostrados[0].texto, TextoDe("guardar_datos_anteriores"));
    EXPECT_EQ(ventanas.mainform->LeerPanel(), antes);
    EXPECT_EQ(sesion.Lecturas.size(), 1u);
}

TEST_F(VentanaPrincipal, NewAnsweredNoResetsAtOnceKeepingHarmonicsAndReadingType) {
    PrepararEstudio();
    const DatosPanel antes = ventanas.mainform->LeerPanel();
    avisos.respuestas = {Respuesta::No};
    Boton("newbutton")->click();
    EXPECT_TRUE(dialogos.pedidos.empty());
    EXPECT_TRUE(sesion.Lecturas.empty());
    const DatosPanel despues = ventanas.mainform->LeerPanel();
    EXPECT_EQ(despues, NuevoEstudio(antes));
    EXPECT_EQ(despues.armonicos, 1);
    EXPECT_EQ(despues.tipoLectura, 1);
    EXPECT_FALSE(Activo("Totalesbutton"));
}

TEST_F(VentanaPrincipal, NewSavesFirstWhenAskedToAndThenResets) {
    PrepararEstudio();
    const QString ruta = Ruta("antes.fac");
    avisos.respuestas = {Respuesta::Si};
    dialogos.rutas = {ruta};
    Boton("newbutton")->click();
    EXPECT_EQ(QFile(ruta).size(), static_cast<qint64>(kTamCabecera + kTamLectura));
    EXPECT_TRUE(sesion.Lecturas.empty());
    EXPECT_EQ(ventanas.mainform->LeerPanel().empresa, "");
}

TEST_F(VentanaPrincipal, NewWhoseSaveFailsReportsTheFileAndKeepsTheStudy) {
    PrepararEstudio();
    const DatosPanel antes = ventanas.mainform->LeerPanel();
    const QString ruta = Ruta("no-existe/estudio.fac");
    avisos.respuestas = {Respuesta::Si};
    dialogos.rutas = {ruta};
    Boton("newbutton")->click();
    ASSERT_EQ(avisos.mostrados.size(), 2u);
    EXPECT_EQ(avisos.mostrados[1].tipo, TipoMensaje::Error);
    EXPECT_TRUE(avisos.mostrados[1].texto.contains(ruta)) << avisos.mostrados[1].texto.toStdString();
    EXPECT_EQ(ventanas.mainform->LeerPanel(), antes);
    EXPECT_EQ(sesion.Lecturas.size(), 1u);
}

TEST_F(VentanaPrincipal, SaveAsksForANameEveryTimeWithTheBillingFilter) {
    dialogos.rutas = {QString(), Ruta("uno.fac")};
    Boton("guardarButton")->click();
    Boton("guardarButton")->click();
    ASSERT_EQ(dialogos.pedidos.size(), 2u);
    EXPECT_EQ(dialogos.pedidos[1].titulo, TextoDe("savedialog_caption"));
    EXPECT_EQ(dialogos.pedidos[1].filtro, QStringLiteral("Archivo de facturación (*.fac)"));
    EXPECT_EQ(dialogos.pedidos[1].sufijo, QStringLiteral("fac"));
    EXPECT_EQ(QFile(Ruta("uno.fac")).size(), static_cast<qint64>(kTamCabecera));
}

TEST_F(VentanaPrincipal, SaveThenOpenGivesTheStudyBackAndResetsTheResults) {
    PrepararEstudio();
    Elegir("cvoltaje", 2);
    const DatosPanel guardado = ventanas.mainform->LeerPanel();
    const std::vector<TLectura> lecturas = sesion.Lecturas;
    dialogos.rutas = {Ruta("ida.fac")};
    Boton("guardarButton")->click();
    avisos.respuestas = {Respuesta::No};
    Boton("newbutton")->click();
    Elegir("cTipoCalculo", 1);
    Calcular();
    ASSERT_TRUE(sesion.calculoRealizado);

    dialogos.rutas = {Ruta("ida.fac")};
    Boton("openbutton")->click();
    EXPECT_EQ(dialogos.pedidos.back().titulo, TextoDe("opendialog_caption"));
    EXPECT_EQ(dialogos.pedidos.back().filtro, QStringLiteral("Archivo de facturación (*.fac)"));
    EXPECT_EQ(ventanas.mainform->LeerPanel(), guardado);
    EXPECT_EQ(sesion.Lecturas, lecturas);
    EXPECT_FALSE(sesion.calculoRealizado);
    EXPECT_FALSE(Activo("bimp"));
    EXPECT_TRUE(Activo("Totalesbutton"));
}

TEST_F(VentanaPrincipal, OpenThatFailsReportsAndKeepsTheStudy) {
    PrepararEstudio();
    const DatosPanel antes = ventanas.mainform->LeerPanel();
    QFile mala(Ruta("mala.fac"));
    ASSERT_TRUE(mala.open(QIODevice::WriteOnly));
    mala.write(QByteArray(616, '\0').replace(0, 2, QByteArray("\x65\x00", 2))); // version 101
    mala.close();
    QFile corta(Ruta("corta.fac"));
    ASSERT_TRUE(corta.open(QIODevice::WriteOnly));
    corta.write(QByteArray("\x64\x00\x01", 3)); // version 100, header cut short
    corta.close();

    struct Caso {
        QString ruta;
        QString texto;
    };
    const Caso casos[] = {{Ruta("falta.fac"), Ruta("falta.fac")},
                          {Ruta("mala.fac"), TextoDe("error_formato_archivo")},
                          {Ruta("corta.fac"), TextoDe("error_formato_archivo")}};
    for (const Caso& caso : casos) {
        avisos.mostrados.clear();
        dialogos.rutas = {caso.ruta};
        Boton("openbutton")->click();
        ASSERT_EQ(avisos.mostrados.size(), 1u) << caso.ruta.toStdString();
        EXPECT_EQ(avisos.mostrados[0].tipo, TipoMensaje::Error);
        EXPECT_TRUE(avisos.mostrados[0].texto.contains(caso.texto))
            << avisos.mostrados[0].texto.toStdString();
        EXPECT_EQ(ventanas.mainform->LeerPanel(), antes);
        EXPECT_EQ(sesion.Lecturas.size(), 1u);
    }
}

TEST_F(VentanaPrincipal, FileErrorsSpeakTheUsersLanguageNamingTheFileAndTheReason) {
    const struct {
        int idioma;
        const char* boton;
        QString ruta;
        QString accion;
    } casos[] = {
        {kEspanol, "openbutton", Ruta("falta.fac"), "No se puede abrir el archivo"},
        {kIngles, "openbutton", Ruta("falta.fac"), "Cannot open file"},
        {kEspanol, "guardarButton", Ruta("sin/carpeta.fac"), "No se puede crear el archivo"},
        {kIngles, "guardarButton", Ruta("sin/carpeta.fac"), "Cannot create file"},
    };
    for (const auto& c : casos) {
        EstablecerIdiomaActivo(c.idioma);
        avisos.mostrados.clear();
        dialogos.rutas = {c.ruta};
        Boton(c.boton)->click();
        ASSERT_EQ(avisos.mostrados.size(), 1u) << c.boton;
        const QString inicio = c.accion + " \"" + QDir::toNativeSeparators(c.ruta) + "\". ";
        const QString& texto = avisos.mostrados[0].texto;
        EXPECT_TRUE(texto.startsWith(inicio)) << texto.toStdString();
        EXPECT_GT(texto.size(), inicio.size()) << "the system's reason follows";
    }
}

TEST_F(VentanaPrincipal, OpenForcesFiftyHertzForFilters) {
    TDatosEstudio datos;
    datos.equipos = 0;
    datos.frecuencia = 1;
    ASSERT_TRUE(GuardarFacturacion(Ruta("f.fac").toStdString(), datos, {}).ok);
    ASSERT_TRUE(ventanas.mainform->AbrirArchivo(Ruta("f.fac")));
    EXPECT_EQ(ventanas.mainform->LeerPanel().frecuencia, 0);
}

TEST_F(VentanaPrincipal, CalculationsEnablePrintAndStaleInputsDisableIt) {
    Elegir("cTipoCalculo", 1);
    Elegir("cBat_filter", 1);
    Calcular();
    ASSERT_EQ(resultados->pedidos, std::vector<bool>{true});
    EXPECT_TRUE(Activo("bimp"));
    EXPECT_EQ(resultados->ultimoPanel.tipoCalculo, 1);

    // Every input that the calculation reads makes the results stale.
    const std::vector<std::pair<const char*, std::function<void()>>> cambios = {
        {"cvoltaje", [&] { Elegir("cvoltaje", 1); }},
        {"cfrecuencia", [&] { Elegir("cfrecuencia", 1); }},
        {"ctemperatura", [&] { Elegir("ctemperatura", 1); }},
        {"cArmonicos", [&] { Elegir("cArmonicos", 1); }},
        {"ctienetransformador", [&] { Boton("ctienetransformador")->click(); }},
        {"potencia_maxima", [&] { Teclear(Control<QWidget>("potencia_maxima"), QStringLiteral("5")); }},
        {"ccpc", [&] { Teclear(Control<QWidget>("ccpc"), QStringLiteral("5")); }},
        {"choras", [&] { Teclear(Control<QWidget>("choras"), QStringLiteral("1")); }},
        {"ccoseno", [&] { Vaciar(Control<QWidget>("ccoseno")); }},
        {"clectura", [&] { Elegir("clectura", 1); }},
        {"cTipoCalculo", [&] { Elegir("cTipoCalculo", 0); }},
        {"cBat_filter", [&] { Elegir("cBat_filter", 0); }},
    };
    for (const auto& [nombre, cambiar] : cambios) {
        if (!Activo("resultButton"))
            Elegir("cTipoCalculo", 1);
        Calcular({Respuesta::No});
        ASSERT_TRUE(Activo("bimp")) << nombre;
        cambiar();
        EXPECT_FALSE(Activo("bimp")) << nombre;
        EXPECT_TRUE(sesion.resultadosObsoletos) << nombre;
    }
    EXPECT_EQ(avisos.mostrados.back().texto, TextoDe("recalcular_equipamiento"));
    EXPECT_EQ(resultados->pedidos.back(), false);
}

TEST_F(VentanaPrincipal, CustomerTextsLeavePrintEnabled) {
    Elegir("cTipoCalculo", 1);
    Calcular();
    Teclear(Empresa(), QStringLiteral("otra"));
    Teclear(Control<QWidget>("ctelf"), QStringLiteral("91"));
    EXPECT_TRUE(Activo("bimp"));
}

TEST_F(VentanaPrincipal, ARefusedRecalculationDisablesPrintAndIsNotOfferedAgain) {
    Elegir("cTipoCalculo", 1);
    Calcular();
    resultados->exito = false;
    Calcular({Respuesta::Si});
    EXPECT_FALSE(Activo("bimp"));
    EXPECT_FALSE(sesion.calculoRealizado);
    resultados->exito = true;
    Calcular(); // recalculates without asking
    EXPECT_EQ(resultados->pedidos, (std::vector<bool>{true, true, true}));
    EXPECT_TRUE(Activo("bimp"));
}

TEST_F(VentanaPrincipal, ExitAsksOnTheButtonAndOnTheTitleBarClose) {
    ventanas.mainform->show();
    avisos.respuestas = {Respuesta::No};
    Boton("salirbutton")->click();
    EXPECT_TRUE(ventanas.mainform->isVisible());
    avisos.respuestas = {Respuesta::No, Respuesta::Si};
    ventanas.mainform->close();
    EXPECT_TRUE(ventanas.mainform->isVisible());
    ventanas.mainform->close();
    EXPECT_FALSE(ventanas.mainform->isVisible());
    ASSERT_EQ(avisos.mostrados.size(), 3u);
    for (const AvisoMostrado& a : avisos.mostrados)
        EXPECT_EQ(a.texto, TextoDe("salir_tarvik"));
}

TEST_F(VentanaPrincipal, OptionsShowsTheOptionsDialogModally) {
    QDialog* mostrado = nullptr;
    EnDialogoModal([&mostrado](QDialog& d) {
        mostrado = &d;
        d.reject();
    });
    Boton("OptiosButton")->click();
    EXPECT_EQ(mostrado, ventanas.opciones);
}

TEST_F(VentanaPrincipal, HelpOpensInTheActiveLanguage) {
    Boton("HelpButton")->click();
    EstablecerIdiomaActivo(kIngles);
    Boton("HelpButton")->click();
    const QString carpetaPrograma = QString::fromStdString(sesion.rutas.RutaPrograma);
    EXPECT_EQ(dialogos.ayudas, (std::vector<std::pair<QString, int>>{{carpetaPrograma, kEspanol},
                                                                     {carpetaPrograma, kIngles}}));
}

} // namespace
} // namespace tarvik::prueba
