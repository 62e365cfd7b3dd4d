// Readings in and out of spreadsheets in the main window: import from the Open button's menu and by
// dropping a CSV file, export, and copy and paste of rows in the readings list.

#include "gui/ayudas.h"

#include "app/study/lista_lecturas.h"
#include "app/study/panel_entradas.h"
#include "core/util/cp1252.h"
#include "platform/archivo_estudio.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>

namespace tarvik::prueba {
namespace {

class LecturasCsvVentana : public ConVentanas {
  protected:
    QListView* Vista() const { return ventanas.mainform->Panel()->Lista()->Vista(); }
    // Opens a study with readings labelled as given, and makes its results current as after a
    // calculation.
    void Cargar(std::initializer_list<const char*> meses) {
        std::vector<TLectura> lecturas;
        for (const char* mes : meses) {
            TLectura l;
            l.mes = mes;
            l.kwht = 1000;
            l.kvarh = 800;
            lecturas.push_back(l);
        }
        ASSERT_TRUE(GuardarFacturacion(Ruta("l.fac").toStdString(), TDatosEstudio{}, lecturas).ok);
        ASSERT_TRUE(ventanas.mainform->AbrirArchivo(Ruta("l.fac")));
        sesion.resultadosObsoletos = false;
        Boton("bimp")->setEnabled(true);
    }
    QString Csv(const char* nombre, const QByteArray& contenido) const {
        QFile f(Ruta(nombre));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contenido);
        return f.fileName();
    }
    std::vector<std::string> Meses() const {
        std::vector<std::string> meses;
        for (const TLectura& l : sesion.Lecturas)
            meses.push_back(l.mes);
        return meses;
    }
    bool Obsoletos() const { return sesion.resultadosObsoletos && !Boton("bimp")->isEnabled(); }
    // The Open button's menu as the user opens it, and one of its entries.
    QAction* Accion(const char* nombre) const {
        auto* menu = ventanas.mainform->findChild<QMenu*>(QStringLiteral("recientes"));
        QMetaObject::invokeMethod(menu, "aboutToShow");
        return menu->findChild<QAction*>(QString::fromLatin1(nombre));
    }
    void Tecla(int tecla) const {
        QKeyEvent pulsada(QEvent::KeyPress, tecla, Qt::ControlModifier);
        QApplication::sendEvent(Vista(), &pulsada);
    }
};

const QByteArray kTresLecturas = "Mes;A\xF1o;kWh;kvarh\r\nENERO;2024;40000,5;30000\r\n"
                                 "FEBRERO;2024;41000;31000\r\nMARZO;2024;42000;32000\r\n";

TEST_F(LecturasCsvVentana, ImportFromTheOpenMenuAsksToReplaceOrAppend) {
    Cargar({"VIEJA1", "VIEJA2"});
    const QString csv = Csv("tres.csv", kTresLecturas);
    const struct {
        std::optional<bool> respuesta;
        std::vector<std::string> meses;
        bool obsoletos;
    } casos[] = {
        {std::nullopt, {"VIEJA1", "VIEJA2"}, false},
        {false, {"VIEJA1", "VIEJA2", "ENERO", "FEBRERO", "MARZO"}, true},
        {true, {"ENERO", "FEBRERO", "MARZO"}, true},
    };
    for (const auto& c : casos) {
        Cargar({"VIEJA1", "VIEJA2"});
        dialogos.rutas = {csv};
        dialogos.reemplazos = {c.respuesta};
        dialogos.preguntas.clear();
        QAction* importar = Accion("importarLecturas");
        ASSERT_NE(importar, nullptr);
        EXPECT_EQ(importar->text(), QString::fromUtf8("&Importar lecturas…"));
        importar->trigger();
        EXPECT_EQ(dialogos.preguntas, (std::vector<std::pair<int, int>>{{2, 3}}));
        EXPECT_EQ(Meses(), c.meses);
        EXPECT_EQ(Obsoletos(), c.obsoletos);
    }
    EXPECT_EQ(sesion.Lecturas[0].kwht, 40000.5);
    EXPECT_TRUE(Boton("Totalesbutton")->isEnabled());

    // Into an empty study nothing is asked.
    Cargar({});
    dialogos.preguntas.clear();
    ASSERT_TRUE(ventanas.mainform->ImportarLecturasDe(csv));
    EXPECT_TRUE(dialogos.preguntas.empty());
    EXPECT_EQ(sesion.Lecturas.size(), 3u);
}

TEST_F(LecturasCsvVentana, AFileWithBadRowsIsReportedAndImportsNothing) {
    Cargar({"VIEJA"});
    const QString csv = Csv("mal.csv", "Month,kWh,kvarh\nJAN,1,2\nFEB,x,2\nMAR,3,\n");
    EXPECT_FALSE(ventanas.mainform->ImportarLecturasDe(csv));
    ASSERT_EQ(avisos.mostrados.size(), 1u);
    EXPECT_EQ(avisos.mostrados[0].tipo, TipoMensaje::Error);
    EXPECT_EQ(avisos.mostrados[0].texto, QString::fromUtf8("No se ha importado ninguna lectura de %1:\n"
                                                           "Línea 3: kWh \"x\" no es un número\n"
                                                           "Línea 4: kvarh \"\" está vacío")
                                             .arg(QDir::toNativeSeparators(csv)));
    EXPECT_EQ(Meses(), std::vector<std::string>{"VIEJA"});
    EXPECT_FALSE(Obsoletos());
    avisos.mostrados.clear();
    EXPECT_FALSE(ventanas.mainform->ImportarLecturasDe(Ruta("falta.csv")));
    EXPECT_EQ(avisos.mostrados.size(), 1u);
}

TEST_F(LecturasCsvVentana, ADroppedCsvFileImportsItsReadings) {
    Cargar({"VIEJA"});
    dialogos.reemplazos = {true};
    ASSERT_TRUE(Soltar(ventanas.mainform.get(), {QUrl::fromLocalFile(Csv("Soltadas.CSV", kTresLecturas))}));
    EXPECT_EQ(Meses(), (std::vector<std::string>{"ENERO", "FEBRERO", "MARZO"}));
    EXPECT_TRUE(Obsoletos());
}

TEST_F(LecturasCsvVentana, ExportWritesWhatImportReadsBack) {
    Cargar({"UNA", "DOS"});
    sesion.Lecturas[1].ia = -12.75;
    const QString csv = Ruta("fuera.csv");
    dialogos.rutas = {csv};
    Accion("exportarLecturas")->trigger();
    const std::vector<TLectura> antes = sesion.Lecturas;
    dialogos.reemplazos = {false};
    ASSERT_TRUE(ventanas.mainform->ImportarLecturasDe(csv));
    ASSERT_EQ(sesion.Lecturas.size(), 4u);
    EXPECT_EQ(sesion.Lecturas[2], antes[0]);
    EXPECT_EQ(sesion.Lecturas[3], antes[1]);
}

// What a spreadsheet puts on the clipboard: tab-separated rows without a header, decimal comma.
TEST_F(LecturasCsvVentana, RowsPastedFromASpreadsheetAppendAndSelectedRowsCopyOut) {
    Cargar({"VIEJA"});
    QApplication::clipboard()->setText(QString::fromUtf8("ENERO 2024\t2024\t40000,5\t30000\t120\t630\r\n"
                                                         "FEBRERO\t2024\t41000\t31000\t121\t630\r\n"));
    Tecla(Qt::Key_V);
    ASSERT_EQ(Meses(), (std::vector<std::string>{"VIEJA", "ENERO 2024", "FEBRERO"}));
    EXPECT_EQ(sesion.Lecturas[1].kwht, 40000.5);
    EXPECT_EQ(sesion.Lecturas[2].mdr, 121);
    EXPECT_TRUE(dialogos.preguntas.empty());
    EXPECT_TRUE(Obsoletos());

    // The two selected rows go out with their header, and come back in whole.
    Vista()->selectionModel()->select(Vista()->model()->index(2, 0), QItemSelectionModel::Select);
    Vista()->selectionModel()->select(Vista()->model()->index(1, 0), QItemSelectionModel::Select);
    Tecla(Qt::Key_C);
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QString::fromUtf8("Mes\tAño\tkWh\tkvarh\t")))
        << QApplication::clipboard()->text().toStdString();
    Tecla(Qt::Key_V);
    ASSERT_EQ(sesion.Lecturas.size(), 5u);
    EXPECT_EQ(sesion.Lecturas[3], sesion.Lecturas[1]);
    EXPECT_EQ(sesion.Lecturas[4], sesion.Lecturas[2]);

    // A text that is no readings: its reason, and nothing pasted.
    QApplication::clipboard()->setText(QStringLiteral("hola\tmundo\t3\n"));
    Tecla(Qt::Key_V);
    EXPECT_EQ(sesion.Lecturas.size(), 5u);
    ASSERT_EQ(avisos.mostrados.size(), 1u);
    EXPECT_TRUE(avisos.mostrados[0].texto.contains(QString::fromUtf8("Línea 1")))
        << avisos.mostrados[0].texto.toStdString();
}

} // namespace
} // namespace tarvik::prueba
