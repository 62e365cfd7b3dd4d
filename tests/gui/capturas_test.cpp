// Pictures of the windows for the documentation: written only when TARVIK_CAPTURAS names a folder.

#include "gui/ayudas.h"

#include "core/lang/traduccion.h"
#include "core/study/facturacion.h"
#include "platform/recientes.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

namespace tarvik::prueba {
namespace {

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

// The totals after a calculation whose current transformer got its price in the results window.
TEST_F(Capturas, TotalsWithPayback) {
    for (int idioma : {kEspanol, kIngles}) {
        PrepararEjemplo(idioma, "bancos-400v-mensual");
        EnDialogoModal([&](QDialog& resultados) { resultados.accept(); });
        Boton("resultButton")->click();
        for (TTransformadorSeleccionado& t : sesion.TransformadoresSeleccionados)
            t.precio = 185;
        EnDialogoModal([&](QDialog& totales) {
            Guardar(totales, QStringLiteral("totales-amortizacion-%1.png").arg(Sufijo(idioma)));
            totales.accept();
        });
        Boton("Totalesbutton")->click();
    }
}

// The Open button's menu with the readings' import, and the readings list after an import.
TEST_F(Capturas, ImportOfReadings) {
    for (int idioma : {kEspanol, kIngles}) {
        PrepararEjemplo(idioma, "bancos-400v-mensual");
        ventanas.mainform->show();
        // A recent study where a technician keeps them, not this checkout's example.
        QuitarReciente(QStringLiteral(TARVIK_SOURCE_DIR "/examples/bancos-400v-mensual.fac"));
        AnadirReciente(QStringLiteral("/home/ana/estudios/talleres-ordonez-2025.fac"));
        auto* abrir = ventanas.mainform->findChild<QToolButton*>(QStringLiteral("openbutton"));
        QMenu* menu = abrir->menu();
        menu->popup(abrir->mapToGlobal(QPoint(0, abrir->height())));
        Guardar(*menu, QStringLiteral("importar-menu-%1.png").arg(Sufijo(idioma)));
        menu->hide();
        QFile csv(Ruta("lecturas.csv"));
        ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
        csv.write("Month\tYear\tkWh\tkvarh\tPeak demand (kW)\tInput transformer (kVA)\tSurcharge\n"
                  "JAN 2025\t2025\t52310\t40120\t268\t400\t96.30\n"
                  "FEB 2025\t2025\t49875\t38004\t259\t400\t91.12\n"
                  "MAR 2025\t2025\t55102\t41733\t281\t400\t101.95\n");
        csv.close();
        dialogos.reemplazos = {false};
        ASSERT_TRUE(ventanas.mainform->ImportarLecturasDe(csv.fileName()));
        QListView* lista = ventanas.mainform->findChild<QListView*>(QStringLiteral("lista"));
        lista->scrollToBottom();
        lista->setCurrentIndex(lista->model()->index(lista->model()->rowCount() - 1, 0));
        Guardar(*ventanas.mainform, QStringLiteral("importar-lecturas-%1.png").arg(Sufijo(idioma)));
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

} // namespace
} // namespace tarvik::prueba
