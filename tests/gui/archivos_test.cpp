// The main window's conveniences around study files: the recent studies on the Open button,
// billing files dropped on the window, the file name in the caption and the program's icon.

#include "gui/ayudas.h"

#include "platform/ajustes_idioma.h"
#include "platform/archivo_estudio.h"
#include "platform/recientes.h"
#include "platform/texto_qt.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QToolButton>
#include <QUrl>

namespace tarvik::prueba {
namespace {

class ArchivosEstudio : public ConVentanas {
  protected:
    void SetUp() override {
        Ajustes().remove(kAjusteRecientes);
        ConVentanas::SetUp();
    }
    void TearDown() override {
        ConVentanas::TearDown();
        Ajustes().remove(kAjusteRecientes);
    }

    static QSettings Ajustes() { return QSettings(kOrganizacionAjustes, kAplicacionAjustes); }

    // A billing file whose customer is `empresa`; returns its path.
    QString Estudio(const char* nombre, const char* empresa) const {
        TDatosEstudio datos;
        datos.empresa = empresa;
        const QString ruta = Ruta(nombre);
        EXPECT_TRUE(GuardarFacturacion(QFile::encodeName(ruta).toStdString(), datos, {}).ok);
        return ruta;
    }
    std::string Empresa() const { return ventanas.mainform->LeerPanel().empresa; }
    QString Titulo() const { return ventanas.mainform->windowTitle(); }
    static QString TituloCon(const char* archivo) {
        return TextoQt("main_caption") + QStringLiteral(" - ") + QString::fromLatin1(archivo);
    }

    // The recent-studies menu of the Open button as the user pops it up.
    QList<QAction*> Recientes() const {
        QMenu* menu = Control<QToolButton>("openbutton")->menu();
        EXPECT_NE(menu, nullptr);
        if (menu == nullptr)
            return {};
        emit menu->aboutToShow();
        // The readings' import and export come first, above a separator.
        const QList<QAction*> acciones = menu->actions();
        for (qsizetype i = 0; i < acciones.size(); ++i)
            if (acciones[i]->isSeparator())
                return acciones.mid(i + 1);
        ADD_FAILURE() << "no separator below the readings' entries";
        return acciones;
    }
    void AbrirConDialogo(const QString& ruta) {
        dialogos.rutas = {ruta};
        Boton("openbutton")->click();
    }
};

TEST_F(ArchivosEstudio, CaptionNamesTheFileOpenedOrSavedAndNewClearsIt) {
    EXPECT_EQ(Titulo(), TextoQt("main_caption"));
    dialogos.rutas = {Ruta("guardado.fac")};
    Boton("guardarButton")->click();
    EXPECT_EQ(Titulo(), TituloCon("guardado.fac"));

    AbrirConDialogo(Estudio("otro.fac", "ACME"));
    EXPECT_EQ(Titulo(), TituloCon("otro.fac"));
    // An Open that fails leaves the study, and so the caption, as they were.
    AbrirConDialogo(Ruta("falta.fac"));
    EXPECT_EQ(Titulo(), TituloCon("otro.fac"));

    avisos.respuestas = {Respuesta::No};
    Boton("newbutton")->click();
    EXPECT_EQ(Titulo(), TextoQt("main_caption"));
    // New that saves first still ends on a new study.
    avisos.respuestas = {Respuesta::Si};
    dialogos.rutas = {Ruta("antes.fac")};
    Boton("newbutton")->click();
    EXPECT_EQ(Titulo(), TextoQt("main_caption"));
}

TEST_F(ArchivosEstudio, RecentStudiesAreTheLastEightOpenedOrSavedNewestFirst) {
    QList<QAction*> vacio = Recientes();
    ASSERT_EQ(vacio.size(), 1);
    EXPECT_FALSE(vacio[0]->isEnabled());
    EXPECT_EQ(vacio[0]->text(), QStringLiteral("No hay estudios recientes"));

    QStringList esperadas;
    for (int i = 0; i < 10; ++i) {
        const QString ruta = Estudio(QStringLiteral("e%1.fac").arg(i).toLatin1().constData(), "X");
        AbrirConDialogo(ruta);
        esperadas.prepend(ruta);
    }
    dialogos.rutas = {Ruta("g&s.fac")};
    Boton("guardarButton")->click();
    esperadas.prepend(Ruta("g&s.fac"));
    // Opening one that is already listed brings it to the top without repeating it.
    AbrirConDialogo(Ruta("e5.fac"));
    esperadas.removeAll(Ruta("e5.fac"));
    esperadas.prepend(Ruta("e5.fac"));
    esperadas = esperadas.mid(0, kMaxRecientes);

    EXPECT_EQ(LeerRecientes(), esperadas);
    const QList<QAction*> menu = Recientes();
    ASSERT_EQ(menu.size(), kMaxRecientes);
    EXPECT_EQ(menu[0]->text(), QStringLiteral("&1 ") + QDir::toNativeSeparators(Ruta("e5.fac")));
    EXPECT_EQ(menu[1]->text(), QStringLiteral("&2 ") + QDir::toNativeSeparators(Ruta("g&&s.fac")));
}

TEST_F(ArchivosEstudio, ARecentStudyOpensThroughOpenWithItsErrors) {
    const QString buena = Estudio("buena.fac", "BUENA");
    const QString mala = Ruta("mala.fac");
    const QString desaparecida = Estudio("desaparecida.fac", "IDA");
    AbrirConDialogo(mala);
    for (const QString& ruta : {mala, desaparecida, buena})
        AnadirReciente(ruta);
    QFile archivo(mala);
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    archivo.write("no es un estudio");
    archivo.close();
    ASSERT_TRUE(QFile::remove(desaparecida));
    avisos.mostrados.clear();

    Recientes()[0]->trigger();
    EXPECT_EQ(Empresa(), "BUENA");
    EXPECT_EQ(Titulo(), TituloCon("buena.fac"));
    EXPECT_TRUE(avisos.mostrados.empty());

    // A file that is no longer there is dropped from the list, saying so.
    Recientes()[1]->trigger();
    ASSERT_EQ(avisos.mostrados.size(), 1u);
    EXPECT_EQ(avisos.mostrados[0].tipo, TipoMensaje::Error);
    EXPECT_TRUE(avisos.mostrados[0].texto.contains(QDir::toNativeSeparators(desaparecida)));
    EXPECT_TRUE(avisos.mostrados[0].texto.contains(QStringLiteral("ya no existe")));
    EXPECT_EQ(LeerRecientes(), (QStringList{buena, mala}));

    // One that is there but is not a study gives Open's own message and keeps the study shown.
    Recientes()[1]->trigger();
    ASSERT_EQ(avisos.mostrados.size(), 2u);
    EXPECT_EQ(avisos.mostrados[1].texto, TextoQt("error_formato_archivo"));
    EXPECT_EQ(Empresa(), "BUENA");
    EXPECT_EQ(Titulo(), TituloCon("buena.fac"));
}

TEST_F(ArchivosEstudio, RecentListReadBackWhateverTheSettingsHold) {
    QStringList guardada = {QString(), QStringLiteral("/a.fac"), QStringLiteral("/b.fac"),
                            QStringLiteral("/a.fac")};
    for (int i = 0; i < 12; ++i)
        guardada.append(QStringLiteral("/n%1.fac").arg(i));
    Ajustes().setValue(kAjusteRecientes, guardada);
    const QStringList leida = LeerRecientes();
    ASSERT_EQ(leida.size(), kMaxRecientes);
    EXPECT_EQ(leida.mid(0, 3), (QStringList{"/a.fac", "/b.fac", "/n0.fac"}));

    // A single text counts as a list of one; a value of another kind as an empty list.
    Ajustes().setValue(kAjusteRecientes, QStringLiteral("/solo.fac"));
    EXPECT_EQ(LeerRecientes(), QStringList{QStringLiteral("/solo.fac")});
    for (const QVariant& otro : {QVariant(42), QVariant(QVariantMap{{"x", 1}})}) {
        Ajustes().setValue(kAjusteRecientes, otro);
        EXPECT_TRUE(LeerRecientes().isEmpty());
    }
}

TEST_F(ArchivosEstudio, ABillingFileDroppedOnTheWindowOpensIt) {
    const QString estudio = Estudio("Suelto.FAC", "SOLTADA");
    QFile texto(Ruta("notas.txt"));
    ASSERT_TRUE(texto.open(QIODevice::WriteOnly));
    texto.close();

    EXPECT_FALSE(Soltar(ventanas.mainform.get(), {QUrl::fromLocalFile(texto.fileName())}));
    EXPECT_FALSE(Soltar(ventanas.mainform.get(), {QUrl(QStringLiteral("https://example.com/a.fac"))}));
    EXPECT_EQ(Empresa(), "");

    // Among several files the first billing file opens; on an input it opens too, typing nothing.
    QLineEdit* cliente = Control<QLineEdit>("cusuario");
    ASSERT_TRUE(Soltar(cliente, {QUrl::fromLocalFile(texto.fileName()), QUrl::fromLocalFile(estudio)}));
    EXPECT_EQ(Empresa(), "SOLTADA");
    EXPECT_EQ(ventanas.mainform->LeerPanel().cliente, "");
    EXPECT_EQ(Titulo(), TituloCon("Suelto.FAC"));
    EXPECT_EQ(LeerRecientes().value(0), estudio);

    // A dropped file that cannot be read is reported as by Open.
    avisos.mostrados.clear();
    EXPECT_TRUE(Soltar(ventanas.mainform.get(), {QUrl::fromLocalFile(Ruta("falta.fac"))}));
    ASSERT_EQ(avisos.mostrados.size(), 1u);
    EXPECT_EQ(avisos.mostrados[0].tipo, TipoMensaje::Error);
    EXPECT_EQ(Empresa(), "SOLTADA");
}

TEST_F(ArchivosEstudio, WindowsShowTheProgramsIcon) {
    const QIcon icono = QApplication::windowIcon();
    ASSERT_FALSE(icono.isNull());
    for (const int lado : {16, 32, 48, 64})
        EXPECT_TRUE(icono.availableSizes().contains(QSize(lado, lado))) << lado;
    EXPECT_EQ(ventanas.mainform->windowIcon().cacheKey(), icono.cacheKey());
    // The small size is its own drawing, not the large one scaled down.
    const QImage pequeno = icono.pixmap(16).toImage();
    EXPECT_EQ(pequeno, QImage(QStringLiteral(TARVIK_SOURCE_DIR "/packaging/linux/icons/tarvik-16.png"))
                           .convertToFormat(pequeno.format()));
}

} // namespace
} // namespace tarvik::prueba
