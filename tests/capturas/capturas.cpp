// tarvik-capturas OUTDIR: writes the pictures of the windows that the documentation shows (docs/)
// into a folder, from the real windows under the offscreen platform, in Spanish and English.

#include "gui/ayudas.h"
#include "soporte/estudio_prueba.h"

#include "app/app/ventana_ayuda.h"
#include "app/results/entrada_texto.h"
#include "core/lang/traduccion.h"
#include "platform/archivo_estudio.h"
#include "platform/recientes.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QListView>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include <clocale>
#include <cstdio>
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

// The manual's first study: the example in the main window, and the conductors with a length and a
// price per metre typed. The manual keeps them as help/<language>/ejemplo-principal.png and
// ejemplo-conductores.png.
TEST_F(Capturas, FirstStudyOfTheManual) {
    EntradaRespondida entrada;
    Reemplazo<EntradaTexto> reemplazo{entrada};
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
}

// The help window on its start page, on the first study and on the readings from spreadsheets,
// pictures and all, from the pages as the build places them beside the program, with their style
// sheet.
TEST_F(Capturas, HelpWindow) {
    for (int idioma : {kEspanol, kIngles}) {
        VentanaAyuda ventana(
            QCoreApplication::applicationDirPath() + QStringLiteral("/help/") + Sufijo(idioma), idioma);
        ventana.show();
        Guardar(ventana, QStringLiteral("help-%1.png").arg(Sufijo(idioma)));
        ventana.MostrarPagina(QStringLiteral("primeros-pasos.html"));
        Guardar(ventana, QStringLiteral("ayuda-primeros-pasos-%1.png").arg(Sufijo(idioma)));
        ventana.MostrarPagina(QStringLiteral("hojas-calculo.html"));
        Guardar(ventana, QStringLiteral("ayuda-hojas-calculo-%1.png").arg(Sufijo(idioma)));
    }
}

TEST_F(Capturas, CommandButtonTooltip) {
    for (int idioma : {kEspanol, kIngles}) {
        Preparar(idioma);
        QWidget& ventana = *ventanas.mainform;
        QAbstractButton* boton = Boton("guardarButton");
        QToolTip::showText(boton->mapToGlobal(QPoint(boton->width() / 2, boton->height() - 8)),
                           boton->toolTip(), boton);
        QWidget* etiqueta = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("qtooltip_label"))
                etiqueta = w;
        ASSERT_NE(etiqueta, nullptr);
        // The tooltip fades in.
        ASSERT_TRUE(QTest::qWaitFor([etiqueta] { return etiqueta->isVisible(); }));
        // The top of the window with the tooltip drawn where the desktop shows it.
        const QPoint sitio = etiqueta->pos() - ventana.mapToGlobal(QPoint(0, 0));
        QPixmap imagen = ventana.grab(QRect(0, 0, ventana.width(), sitio.y() + etiqueta->height() + 12));
        QPainter pintor(&imagen);
        pintor.drawPixmap(sitio, etiqueta->grab());
        pintor.end();
        const QString ruta =
            QDir(destino).filePath(QStringLiteral("boton-guardar-%1.png").arg(Sufijo(idioma)));
        EXPECT_TRUE(imagen.save(ruta)) << ruta.toStdString();
        QToolTip::hideText();
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
