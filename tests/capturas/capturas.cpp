// tarvik-capturas OUTDIR: writes the pictures of the windows that the documentation shows (docs/)
// into a folder, from the real windows under the offscreen platform, in Spanish and English.

#include "gui/ayudas.h"
#include "soporte/estudio_prueba.h"

#include "core/lang/traduccion.h"
#include "platform/archivo_estudio.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QListView>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <clocale>
#include <cstdio>

namespace tarvik::prueba {
namespace {

// The folder the pictures go to, from the command line.
QString destino;

// Each picture is a step that runs over the program's windows as the window tests build them.
class Capturas : public ConVentanas {
  protected:
    // Builds the windows in a language over an example study and shows the main window.
    void Preparar(int idioma) {
        EstablecerIdiomaActivo(idioma);
        ventanas = Ventanas{};
        ventanas = CrearVentanas(sesion, false);
        const EstudioPrueba estudio = EstudioCompleto();
        ASSERT_TRUE(
            GuardarFacturacion(Ruta("ejemplo.fac").toStdString(), estudio.datos, estudio.lecturas).ok);
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

    static void Guardar(QWidget& ventana, const QString& nombre) {
        QApplication::processEvents();
        const QString ruta = QDir(destino).filePath(nombre);
        EXPECT_TRUE(ventana.grab().save(ruta)) << "cannot write " << ruta.toStdString();
    }
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

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarvik-capturas OUTDIR\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The windows store their settings in a folder of this run, never in the user's own.
    QTemporaryDir ajustes;
    qputenv("XDG_CONFIG_HOME", ajustes.path().toLocal8Bit());
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    tarvik::prueba::destino = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(tarvik::prueba::destino)) {
        std::fprintf(stderr, "tarvik-capturas: cannot create %s\n", argv[1]);
        return 1;
    }
    return RUN_ALL_TESTS();
}
