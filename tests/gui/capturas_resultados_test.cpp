// Pictures of the result windows and of the options dialog for the documentation: written only
// when TARVIK_CAPTURAS names a folder.

#include "ayudas.h"

#include "lang/traduccion.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTabWidget>

namespace tarvik::prueba {
namespace {

class CapturasResultados : public ConVentanas {
  protected:
    void SetUp() override {
        destino = qEnvironmentVariable("TARVIK_CAPTURAS");
        if (destino.isEmpty())
            GTEST_SKIP() << "TARVIK_CAPTURAS is not set";
        ConVentanas::SetUp();
    }
    void TearDown() override {
        QLocale::setDefault(QLocale::c());
        ConVentanas::TearDown();
    }

    // The windows built in a language and its locale, over an example study.
    void Preparar(int idioma, const char* ejemplo) {
        EstablecerIdiomaActivo(idioma);
        QLocale::setDefault(idioma == kEspanol ? QLocale(QLocale::Spanish, QLocale::Spain)
                                               : QLocale(QLocale::English, QLocale::UnitedKingdom));
        ventanas = Ventanas{};
        ventanas = CrearVentanas(sesion, false);
        ASSERT_TRUE(ventanas.mainform->AbrirArchivo(
            QStringLiteral(TARVIK_SOURCE_DIR "/examples/%1.fac").arg(QString::fromLatin1(ejemplo))));
    }

    void Guardar(QWidget& ventana, const QString& nombre) const {
        QApplication::processEvents();
        const QString ruta = QDir(destino).filePath(nombre);
        EXPECT_TRUE(ventana.grab().save(ruta)) << ruta.toStdString();
    }

    static QString Sufijo(int idioma) {
        return idioma == kEspanol ? QStringLiteral("es") : QStringLiteral("en");
    }

    QString destino;
};

TEST_F(CapturasResultados, ResultsWindowPages) {
    const struct {
        const char* ejemplo;
        const char* nombre;
    } estudios[] = {{"bancos-400v-mensual", "resultados"},
                    {"bancos-armonicos-bimestral", "resultados-armonicos"}};
    for (int idioma : {kEspanol, kIngles}) {
        for (const auto& e : estudios) {
            Preparar(idioma, e.ejemplo);
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

TEST_F(CapturasResultados, TotalsAndChart) {
    for (int idioma : {kEspanol, kIngles}) {
        Preparar(idioma, "bancos-400v-mensual");
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

TEST_F(CapturasResultados, OptionsDialog) {
    for (int idioma : {kEspanol, kIngles}) {
        Preparar(idioma, "bancos-400v-mensual");
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
