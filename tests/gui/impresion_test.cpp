#include "app/report/imprimir_informe.h"
#include "core/engine/calculo.h"
#include "core/lang/traduccion.h"
#include "gui/ayudas.h"
#include "platform/archivo_estudio.h"
#include "platform/avisos.h"
#include "platform/informe_qt.h"
#include "platform/texto_qt.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

using namespace tarvik;

namespace {

const QString kImpresoraPdf = QStringLiteral("TarvikPDF");
// Set in the copy of this program that runs without any reachable print spooler.
const char* const kSinImpresoras = "TARVIK_PRUEBA_SIN_IMPRESORAS";

// The shipped example with its banks calculated, and a panel whose customer name was corrected on
// screen after the calculation.
struct Estudio {
    Sesion sesion;
    DatosPanel panel;
};

Estudio Calculado() {
    Estudio e;
    e.sesion.rutas = Rutas::DesdeCarpeta(TARVIK_BIN_DIR);
    const ResultadoCarga carga =
        CargarFacturacion(TARVIK_SOURCE_DIR "/examples/bancos-400v-mensual.fac", e.sesion.Datos);
    EXPECT_TRUE(carga.ok());
    e.sesion.Datos = carga.datos;
    e.sesion.Lecturas = carga.lecturas;
    e.sesion.CargarCatalogosFijos();
    e.panel = MostrarDatos(e.sesion.Datos);
    ListaMensajes mensajes;
    EXPECT_TRUE(Calcular(e.sesion, e.panel, mensajes));
    e.panel.cliente = "NOMBRE CORREGIDO";
    return e;
}

// The account that prints, as the password database knows it: the PDF printer writes under that
// home directory, wherever $HOME points.
struct Cuenta {
    QString usuario;
    QString casa;
};

Cuenta CuentaQueImprime() {
    if (const passwd* pw = ::getpwuid(::geteuid()))
        return {QString::fromLocal8Bit(pw->pw_name), QString::fromLocal8Bit(pw->pw_dir)};
    return {qEnvironmentVariable("USER", "root"), QDir::homePath()};
}

// Where the PDF printer leaves its files: its configured output folder and the anonymous one.
QStringList CarpetasDeSalida() {
    const auto [usuario, casa] = CuentaQueImprime();
    QStringList carpetas = {casa + "/PDF", QDir::homePath() + "/PDF", "/var/spool/cups-pdf/" + usuario,
                            "/var/spool/cups-pdf/ANONYMOUS"};
    QFile conf("/etc/cups/cups-pdf.conf");
    if (conf.open(QIODevice::ReadOnly)) {
        for (QString linea : QString::fromUtf8(conf.readAll()).split('\n')) {
            const auto m = QRegularExpression(R"(^\s*(Out|AnonDirName)\s+(\S+))").match(linea);
            if (m.hasMatch())
                carpetas << m.captured(2).replace("${HOME}", casa).replace("${USER}", usuario);
        }
    }
    return carpetas;
}

// Pages of a PDF file by pdfinfo; 0 when it cannot tell.
int PaginasPdf(const QString& ruta) {
    const QString pdfinfo = QStandardPaths::findExecutable("pdfinfo");
    if (pdfinfo.isEmpty())
        return 0;
    QProcess info;
    info.start(pdfinfo, {ruta});
    info.waitForFinished();
    const auto m =
        QRegularExpression(R"(Pages:\s+(\d+))").match(QString::fromUtf8(info.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

QString PdfNuevo(const QStringList& carpetas, const QDateTime& desde) {
    for (const QString& carpeta : carpetas) {
        QDirIterator it(carpeta, {"*.pdf"}, QDir::Files);
        while (it.hasNext()) {
            const QFileInfo archivo(it.next());
            if (archivo.lastModified() >= desde && archivo.size() > 0)
                return archivo.filePath();
        }
    }
    return {};
}

} // namespace

TEST(Impresion, TheReportPrintsOnARealPdfPrinter) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(kImpresoraPdf);
    if (info.isNull())
        GTEST_SKIP() << "no printer " << kImpresoraPdf.toStdString()
                     << ": the print spooler or its PDF driver is not available here"
                        " (scripts/cups-pdf-queue.sh starts cupsd and adds it)";
    EstablecerIdiomaActivo(kEspanol);
    const Estudio e = Calculado();
    const QStringList carpetas = CarpetasDeSalida();
    const QDateTime inicio = QDateTime::currentDateTime().addSecs(-1);
    QPrinter impresora(info, QPrinter::HighResolution);
    ListaMensajes mensajes;
    ASSERT_TRUE(ImprimirEnImpresora(impresora, e.sesion, kTodasLasSecciones, {"09/12/2026", '.'}, mensajes));
    EXPECT_TRUE(mensajes.empty());
    EXPECT_EQ(impresora.docName(), "Reporte Tarvik");
    EXPECT_EQ(impresora.copyCount(), 1);

    QString pdf;
    for (int i = 0; i < 240 && pdf.isEmpty(); ++i) {
        QThread::msleep(250);
        pdf = PdfNuevo(carpetas, inicio);
    }
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF appeared in " << carpetas.join(", ").toStdString();
    if (QStandardPaths::findExecutable("pdfinfo").isEmpty())
        return;
    // The driver writes the pages as drawings (its text cannot be read back): the printed job has
    // the pages of the same report written straight to a PDF file.
    QTemporaryDir carpeta;
    QString error;
    ASSERT_TRUE(EscribirInformePdf(e.sesion, kTodasLasSecciones, {"09/12/2026", '.'},
                                   carpeta.filePath("directo.pdf"), error));
    int impresas = 0;
    for (int i = 0; i < 20 && impresas == 0; ++i) {
        QThread::msleep(250); // the driver may still be closing the file
        impresas = PaginasPdf(pdf);
    }
    EXPECT_GE(impresas, 3);
    EXPECT_EQ(impresas, PaginasPdf(carpeta.filePath("directo.pdf")));
    QFile::remove(pdf);
}

TEST(ImprimirInforme, CancellingTheDialogPrintsNothingButTheRecordIsRefreshed) {
    if (QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "no printer installed: the dialog is not shown (see the test without printers)";
    Estudio e = Calculado();
    prueba::AvisosPrueba avisos;
    EstablecerAvisos(&avisos);
    bool archivoOfrecido = true;
    bool visto = false;
    prueba::EnDialogoModal([&](QDialog& d) {
        auto* dialogo = qobject_cast<QPrintDialog*>(&d);
        ASSERT_NE(dialogo, nullptr);
        visto = true;
        archivoOfrecido = dialogo->testOption(QAbstractPrintDialog::PrintToFile);
        dialogo->reject();
    });
    ImprimirInforme(nullptr, e.sesion, e.panel, kTodasLasSecciones);
    EstablecerAvisos(nullptr);
    EXPECT_TRUE(visto);
    EXPECT_FALSE(archivoOfrecido);
    EXPECT_TRUE(avisos.mostrados.empty());
    EXPECT_EQ(e.sesion.Datos.cliente, "NOMBRE CORREGIDO");
}

TEST(ImprimirInforme, WithoutPrintersOnlyTheMessageIsShown) {
    if (qEnvironmentVariableIsEmpty(kSinImpresoras)) {
        // Run this test again in a copy of the program that cannot reach any print spooler.
        QProcess copia;
        QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
        entorno.insert(kSinImpresoras, "1");
        entorno.insert("CUPS_SERVER", "127.0.0.1:1");
        copia.setProcessEnvironment(entorno);
        copia.start(QCoreApplication::applicationFilePath(),
                    {"--gtest_filter=ImprimirInforme.WithoutPrintersOnlyTheMessageIsShown"});
        ASSERT_TRUE(copia.waitForFinished(60000));
        const QString salida = QString::fromUtf8(copia.readAllStandardOutput());
        if (salida.contains("[  SKIPPED ]"))
            GTEST_SKIP() << "printers stay visible without the spooler";
        EXPECT_EQ(copia.exitCode(), 0) << salida.toStdString();
        EXPECT_TRUE(salida.contains("[  PASSED  ] 1 test")) << salida.toStdString();
        return;
    }
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "printers are still visible";
    EstablecerIdiomaActivo(kEspanol);
    Estudio e = Calculado();
    prueba::AvisosPrueba avisos;
    EstablecerAvisos(&avisos);
    ImprimirInforme(nullptr, e.sesion, e.panel, kTodasLasSecciones);
    EstablecerAvisos(nullptr);
    ASSERT_EQ(avisos.mostrados.size(), 1u);
    EXPECT_EQ(avisos.mostrados[0].tipo, TipoMensaje::Informacion);
    EXPECT_EQ(avisos.mostrados[0].texto, "No existen impresoras instaladas.");
    EXPECT_EQ(e.sesion.Datos.cliente, "NOMBRE CORREGIDO");
}
