// Pictures of the windows for the documentation: written only when TARVIK_CAPTURAS names a folder.

#include "gui/ayudas.h"

#include "app/app/ventana_ayuda.h"
#include "app/results/entrada_texto.h"
#include "core/lang/traduccion.h"
#include "core/study/facturacion.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QListView>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

#include <deque>

namespace tarvik::prueba {
namespace {

// The text-input dialog answered in turn from a list.
class EntradaRespondida : public EntradaTexto {
  public:
    std::optional<QString> Pedir(QWidget*, const QString&, const QString&, const QString&) override {
        if (respuestas.empty())
            return std::nullopt;
        const QString r = respuestas.front();
        respuestas.pop_front();
        return r;
    }
    std::deque<QString> respuestas;
};

class Capturas : public ConVentanas {
  protected:
    void SetUp() override {
        destino = qEnvironmentVariable("TARVIK_CAPTURAS");
        if (destino.isEmpty())
            GTEST_SKIP() << "TARVIK_CAPTURAS is not set";
        ConVentanas::SetUp();
    }

    // Builds the windows in a language over an example study and shows the main window.
    void Preparar(int idioma) {
        EstablecerIdiomaActivo(idioma);
        ventanas = Ventanas{};
        ventanas = CrearVentanas(sesion, false);
        TDatosEstudio datos;
        datos.empresa = "METALURGIAS DEL HENARES S.L.";
        datos.cliente = "ANA GARCIA";
        datos.direccion = "POLIGONO EL CASCAJAL, NAVE 14";
        datos.provincia = "MADRID";
        datos.distribuidor = "ELECTRA CENTRO";
        datos.fax = "918 000 001";
        datos.telefono = "918 000 000";
        datos.equipos = 1;
        datos.voltaje = 0;
        datos.horas = 320;
        datos.cosenoDeseado = 0.98f;
        const char* meses[] = {"Enero", "Febrero", "Marzo",      "Abril",   "Mayo",      "Junio",
                               "Julio", "Agosto",  "Septiembre", "Octubre", "Noviembre", "Diciembre"};
        std::vector<TLectura> lecturas;
        for (int i = 0; i < 12; ++i) {
            TLectura l;
            l.mes = meses[i];
            l.ano = 2024;
            l.kwht = 41000 + 1375 * (i % 5);
            l.kvarh = 29500 + 820 * (i % 4);
            l.mdr = 210 + 6 * (i % 3);
            l.cpc = 630;
            lecturas.push_back(l);
        }
        ASSERT_TRUE(GuardarFacturacion(Ruta("ejemplo.fac").toStdString(), datos, lecturas).ok);
        ASSERT_TRUE(ventanas.mainform->AbrirArchivo(Ruta("ejemplo.fac")));
        ventanas.mainform->show();
        QListView* lista = ventanas.mainform->findChild<QListView*>(QStringLiteral("lista"));
        lista->setCurrentIndex(lista->model()->index(2, 0));
    }

    // The windows built in a language, numbers in a locale of that language, over one of the
    // example studies.
    void PrepararEjemplo(int idioma, const char* ejemplo) {
        EstablecerIdiomaActivo(idioma);
        QLocale::setDefault(idioma == kEspanol ? QLocale(QLocale::Spanish, QLocale::Spain)
                                               : QLocale(QLocale::English, QLocale::UnitedKingdom));
        ventanas = Ventanas{};
        ventanas = CrearVentanas(sesion, false);
        ASSERT_TRUE(ventanas.mainform->AbrirArchivo(
            QStringLiteral(TARVIK_SOURCE_DIR "/examples/%1.fac").arg(QString::fromLatin1(ejemplo))));
    }
    void TearDown() override {
        QLocale::setDefault(QLocale::c());
        ConVentanas::TearDown();
    }
    static QString Sufijo(int idioma) {
        return idioma == kEspanol ? QStringLiteral("es") : QStringLiteral("en");
    }

    void Guardar(QWidget& ventana, const QString& nombre) const {
        QApplication::processEvents();
        const QString ruta = QDir(destino).filePath(nombre);
        EXPECT_TRUE(ventana.grab().save(ruta)) << ruta.toStdString();
    }

    QString destino;
};

TEST_F(Capturas, MainWindowInSpanishAndEnglish) {
    Preparar(kEspanol);
    Guardar(*ventanas.mainform, "main-es.png");
    Preparar(kIngles);
    Guardar(*ventanas.mainform, "main-en.png");
}

TEST_F(Capturas, StartUpPicture) {
    Sesion otra;
    Ventanas conPresentacion = CrearVentanas(otra, true);
    Guardar(*conPresentacion.present, "presentacion.png");
}

TEST_F(Capturas, ReadingEditor) {
    Preparar(kEspanol);
    EnDialogoModal([this](QDialog& d) {
        Guardar(d, "editor.png");
        d.reject();
    });
    Boton("editbutton")->click();
}

TEST_F(Capturas, ResultsWindowPages) {
    const struct {
        const char* ejemplo;
        const char* nombre;
    } estudios[] = {{"bancos-400v-mensual", "resultados"},
                    {"bancos-armonicos-bimestral", "resultados-armonicos"}};
    for (int idioma : {kEspanol, kIngles}) {
        for (const auto& e : estudios) {
            PrepararEjemplo(idioma, e.ejemplo);
            EnDialogoModal([&](QDialog& d) {
                auto* paginas = d.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
                for (int i = 0; i < paginas->count(); ++i) {
                    if (!paginas->isTabVisible(i))
                        continue;
                    paginas->setCurrentIndex(i);
                    Guardar(d, QStringLiteral("%1-%2-%3.png").arg(e.nombre).arg(i + 1).arg(Sufijo(idioma)));
                }
                d.accept();
            });
            Boton("resultButton")->click();
        }
    }
}

TEST_F(Capturas, ResultsGridScrolledSidewaysKeepsItsLabels) {
    for (int idioma : {kEspanol, kIngles}) {
        PrepararEjemplo(idioma, "bancos-armonicos-bimestral");
        EnDialogoModal([&](QDialog& d) {
            auto* paginas = d.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
            paginas->setCurrentIndex(2);
            // Columns widened by hand until the grid scrolls, then scrolled to its last column.
            auto* tabla = d.findChild<QTableWidget*>(QStringLiteral("tabla_conductor"));
            for (int c = 1; c < tabla->columnCount(); ++c)
                tabla->setColumnWidth(c, 230);
            QApplication::processEvents();
            tabla->scrollToItem(tabla->item(0, tabla->columnCount() - 1));
            Guardar(d, QStringLiteral("resultados-columna-fija-%1.png").arg(Sufijo(idioma)));
            d.accept();
        });
        Boton("resultButton")->click();
    }
}

TEST_F(Capturas, TotalsAndChart) {
    for (int idioma : {kEspanol, kIngles}) {
        PrepararEjemplo(idioma, "bancos-400v-mensual");
        EnDialogoModal([&](QDialog& totales) {
            Guardar(totales, QStringLiteral("totales-%1.png").arg(Sufijo(idioma)));
            EnDialogoModal([&](QDialog& grafico) {
                grafico.resize(760, 460);
                Guardar(grafico, QStringLiteral("grafico-%1.png").arg(Sufijo(idioma)));
                grafico.accept();
            });
            totales.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
            totales.accept();
        });
        Boton("Totalesbutton")->click();
    }
}

TEST_F(Capturas, OptionsDialog) {
    for (int idioma : {kEspanol, kIngles}) {
        PrepararEjemplo(idioma, "bancos-400v-mensual");
        EnDialogoModal([&](QDialog& d) {
            auto* paginas = d.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
            paginas->setCurrentIndex(0);
            Guardar(d, QStringLiteral("opciones-imprimir-%1.png").arg(Sufijo(idioma)));
            paginas->setCurrentIndex(1);
            Guardar(d, QStringLiteral("opciones-idioma-%1.png").arg(Sufijo(idioma)));
            d.findChild<QCheckBox*>(QStringLiteral("CheckBoxLanguage"))->click();
            Guardar(d, QStringLiteral("opciones-idioma-fijo-%1.png").arg(Sufijo(idioma)));
            d.findChild<QCheckBox*>(QStringLiteral("CheckBoxLanguage"))->click();
            paginas->setCurrentIndex(0);
            d.reject();
        });
        Boton("OptiosButton")->click();
    }
}

// The manual's first study: the example in the main window, and the conductors with a length and a
// price per metre typed. The manual keeps them as help/<language>/ejemplo-principal.png and
// ejemplo-conductores.png.
TEST_F(Capturas, FirstStudyOfTheManual) {
    EntradaRespondida entrada;
    EstablecerEntradaTexto(&entrada);
    for (int idioma : {kEspanol, kIngles}) {
        PrepararEjemplo(idioma, "bancos-400v-mensual");
        ventanas.mainform->show();
        Guardar(*ventanas.mainform, QStringLiteral("ejemplo-principal-%1.png").arg(Sufijo(idioma)));
        entrada.respuestas = {QStringLiteral("12"),
                              idioma == kEspanol ? QStringLiteral("38,50") : QStringLiteral("38.50")};
        EnDialogoModal([&](QDialog& d) {
            auto* tabla = d.findChild<QTableWidget*>(QStringLiteral("tabla_conductor"));
            DobleClic(tabla, 4, 1);
            DobleClic(tabla, 6, 1);
            EXPECT_TRUE(entrada.respuestas.empty());
            Guardar(d, QStringLiteral("ejemplo-conductores-%1.png").arg(Sufijo(idioma)));
            d.accept();
        });
        Boton("resultButton")->click();
    }
    EstablecerEntradaTexto(nullptr);
}

// The help window on its start page and on the first study, pictures and all, from the pages as the
// build places them beside the program, with their style sheet.
TEST_F(Capturas, HelpWindow) {
    for (int idioma : {kEspanol, kIngles}) {
        VentanaAyuda ventana(
            QCoreApplication::applicationDirPath() + QStringLiteral("/help/") + Sufijo(idioma), idioma);
        ventana.show();
        Guardar(ventana, QStringLiteral("help-%1.png").arg(Sufijo(idioma)));
        ventana.MostrarPagina(QStringLiteral("primeros-pasos.html"));
        Guardar(ventana, QStringLiteral("ayuda-primeros-pasos-%1.png").arg(Sufijo(idioma)));
    }
}

} // namespace
} // namespace tarvik::prueba
