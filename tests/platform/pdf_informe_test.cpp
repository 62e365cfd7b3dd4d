#include "platform/pdf_informe.h"

#include "core/engine/calculo.h"
#include "core/lang/traduccion.h"
#include "platform/informe_qt.h"
#include "platform/qt_page_writer.h"
#include "soporte/ejemplo_calculado.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

using namespace tarvik;

namespace {

// The same report played through QPainter onto Qt's own PDF writer, as the printed job is.
bool PdfDeQt(const Sesion& sesion, const SeccionesInforme& secciones, const QString& ruta) {
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly))
        return false;
    QPdfWriter pdf(&archivo);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    pdf.setTitle("Reporte Tarvik");
    pdf.setCreator("Tarvik");
    ListaMensajes mensajes;
    return ImprimirInformeEn(pdf, sesion, secciones, {"09/12/2026", ','}, mensajes);
}

// The standard output of a poppler tool.
QByteArray Salida(const QString& herramienta, const QStringList& argumentos) {
    QProcess p;
    p.start(QStandardPaths::findExecutable(herramienta), argumentos);
    p.waitForFinished(60000);
    EXPECT_EQ(p.exitCode(), 0) << herramienta.toStdString() << ' ' << argumentos.join(' ').toStdString();
    return p.readAllStandardOutput();
}

// The pages of a PDF as PNG files at 100 dots per inch, in page order.
QList<QByteArray> Paginas(const QString& pdf, const QString& carpeta) {
    QDir().mkpath(carpeta);
    Salida("pdftoppm", {"-r", "100", "-png", pdf, carpeta + "/p"});
    QList<QByteArray> paginas;
    const QDir dir(carpeta);
    for (const QString& png : dir.entryList({"*.png"}, QDir::Files, QDir::Name)) {
        QFile f(dir.filePath(png));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        paginas.append(f.readAll());
    }
    return paginas;
}

// A page file of one page of text and a rule.
QByteArray ArchivoDePaginas() {
    QBuffer archivo;
    archivo.open(QIODevice::WriteOnly);
    QtPageWriter w(QSizeF(210, 297), 1200, archivo);
    w.runJob([](PageWriter& pw) {
        pw.setFontHeight(5);
        pw.printAt(20, 60, "Potencia");
        pw.setPen({kBlack, -2});
        pw.moveTo(20, 70);
        pw.lineTo(190, 70);
    });
    EXPECT_TRUE(w.ok());
    return archivo.data();
}

// The pages of a page file through the report's writer and through Qt's PDF writer.
std::pair<QString, QString> AmbosPdf(const QByteArray& paginas, const QTemporaryDir& carpeta) {
    const QString propio = carpeta.filePath("propio.pdf");
    const QString qt = carpeta.filePath("qt.pdf");
    QBuffer archivo;
    archivo.setData(paginas);
    archivo.open(QIODevice::ReadOnly);
    QFile destino(propio);
    EXPECT_TRUE(destino.open(QIODevice::WriteOnly));
    EXPECT_TRUE(EscribirPdf(archivo, destino, {"Reporte Tarvik", "Tarvik"}));
    destino.close();
    archivo.seek(0);
    QFile otro(qt);
    EXPECT_TRUE(otro.open(QIODevice::WriteOnly));
    QPdfWriter pdf(&otro);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    EXPECT_TRUE(RenderPages(archivo, pdf, 1, kUltimaPagina));
    return {propio, qt};
}

} // namespace

TEST(PdfInforme, ShowsTheSamePixelsAndTextAsQtsPdfWriter) {
    if (QStandardPaths::findExecutable("pdftoppm").isEmpty() ||
        QStandardPaths::findExecutable("pdffonts").isEmpty())
        GTEST_SKIP() << "pdftoppm, pdffonts and pdftotext (poppler-utils) are needed to compare the pages";
    const struct {
        const char* caso;
        const char* ejemplo;
        std::optional<std::size_t> lecturas;
        int idioma;
        SeccionesInforme secciones;
    } casos[] = {
        {"banks, a year of readings, every section", "bancos-400v-mensual.fac", std::nullopt, kEspanol,
         kTodasLasSecciones},
        {"the same in English", "bancos-400v-mensual.fac", std::nullopt, kIngles, kTodasLasSecciones},
        {"harmonic filters", "filtros-400v-mensual.fac", std::nullopt, kEspanol, kTodasLasSecciones},
        // Tables of readings over several pages, and a chart of many bars.
        {"130 readings", "bancos-400v-mensual.fac", 130, kEspanol, kTodasLasSecciones},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        EstablecerIdiomaActivo(c.idioma);
        const Sesion sesion = prueba::EjemploCalculado(c.ejemplo, c.lecturas);
        QTemporaryDir carpeta;
        const QString propio = carpeta.filePath("propio.pdf");
        const QString qt = carpeta.filePath("qt.pdf");
        QString error;
        ASSERT_TRUE(EscribirInformePdf(sesion, c.secciones, {"09/12/2026", ','}, propio, error))
            << error.toStdString();
        ASSERT_TRUE(PdfDeQt(sesion, c.secciones, qt));

        const QList<QByteArray> esperadas = Paginas(qt, carpeta.filePath("qt"));
        const QList<QByteArray> paginas = Paginas(propio, carpeta.filePath("propio"));
        ASSERT_GE(esperadas.size(), 3);
        ASSERT_EQ(paginas.size(), esperadas.size());
        for (qsizetype n = 0; n < paginas.size(); ++n)
            EXPECT_TRUE(paginas[n] == esperadas[n]) << "page " << n + 1 << " differs";

        EXPECT_EQ(Salida("pdftotext", {propio, "-"}), Salida("pdftotext", {qt, "-"}));
        // Every font embedded: the column before "sub" of each font's line.
        const QList<QByteArray> fuentes = Salida("pdffonts", {propio}).split('\n').mid(2);
        EXPECT_FALSE(fuentes.first().isEmpty());
        for (const QByteArray& linea : fuentes) {
            const QList<QByteArray> campos = linea.simplified().split(' ');
            if (campos.size() > 5) {
                EXPECT_EQ(campos[campos.size() - 5], "yes") << linea.toStdString();
            }
        }
        const QByteArray info = Salida("pdfinfo", {propio});
        for (const char* campo : {"Title:           Reporte Tarvik\n", "Creator:         Tarvik\n",
                                  "Page size:       595 x 842 pts (A4)\n"})
            EXPECT_TRUE(info.contains(campo)) << campo << info.toStdString();
        EXPECT_LE(QFileInfo(propio).size(), QFileInfo(qt).size());
    }
    EstablecerIdiomaActivo(kEspanol);
}

TEST(PdfInforme, EveryLetterKernedUnderlinedAndBoldWhereQtPutsIt) {
    if (QStandardPaths::findExecutable("pdftoppm").isEmpty())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is needed to compare the pages";
    // Every printable Windows-1252 byte, pairs that the font kerns, the same text over and over
    // (learned once, then written from the tables), sizes, bold, underline and colours.
    std::string letras;
    for (int b = 0x20; b < 0x100; ++b)
        if (b != 0x7F && b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D)
            letras += static_cast<char>(b);
    QBuffer archivo;
    archivo.open(QIODevice::WriteOnly);
    QtPageWriter w(QSizeF(210, 297), 1200, archivo);
    w.runJob([&](PageWriter& pw) {
        double y = 20;
        for (const double alto : {2.5, 3.5, 7.0}) {
            for (const bool negrita : {false, true}) {
                pw.setFontHeight(alto);
                pw.setBold(negrita);
                pw.setUnderline(alto > 3);
                pw.setFontColour(negrita ? Rgb(216, 31, 133) : kBlack);
                for (std::size_t i = 0; i < letras.size(); i += 48, y += alto * 1.4)
                    pw.printAt(12.3, y, letras.substr(i, 48));
                for (const char* t :
                     {"AVATAR Tyre Yo, LT Wa P. F. 0,98 7/4 \"kWh\" (r) fi fl ff", "Te Tu Ty Va"})
                    for (int vez = 0; vez < 2; ++vez, y += alto * 1.4)
                        pw.printAt(15.77 + vez, y, t);
            }
        }
    });
    ASSERT_TRUE(w.ok());
    QTemporaryDir carpeta;
    const auto [propio, qt] = AmbosPdf(archivo.data(), carpeta);
    const QList<QByteArray> esperadas = Paginas(qt, carpeta.filePath("qt"));
    const QList<QByteArray> paginas = Paginas(propio, carpeta.filePath("propio"));
    ASSERT_EQ(paginas.size(), esperadas.size());
    for (qsizetype n = 0; n < paginas.size(); ++n)
        EXPECT_TRUE(paginas[n] == esperadas[n]) << "page " << n + 1 << " differs";
    EXPECT_EQ(Salida("pdftotext", {propio, "-"}), Salida("pdftotext", {qt, "-"}));
}

TEST(PdfInforme, ADamagedPageFileOrAFailedWriteIsNoDocument) {
    const QByteArray paginas = ArchivoDePaginas();
    const auto Escrito = [](const QByteArray& datos, QIODevice& destino) {
        QBuffer archivo;
        archivo.setData(datos);
        archivo.open(QIODevice::ReadOnly);
        return EscribirPdf(archivo, destino, {"Reporte Tarvik", "Tarvik"});
    };
    {
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        ASSERT_TRUE(Escrito(paginas, pdf));
        EXPECT_TRUE(pdf.data().startsWith("%PDF-1.4\n"));
        EXPECT_TRUE(pdf.data().endsWith("%%EOF\n"));
    }
    const struct {
        const char* caso;
        QByteArray datos;
    } danados[] = {
        {"cut inside the page", paginas.left(paginas.size() - 3)},
        {"not a page file", "not pages at all"},
        {"a page file of no pages", paginas.left(4)},
    };
    for (const auto& d : danados) {
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        EXPECT_FALSE(Escrito(d.datos, pdf)) << d.caso;
    }
    // A destination that takes no bytes.
    QBuffer cerrado;
    cerrado.open(QIODevice::ReadOnly);
    EXPECT_FALSE(Escrito(paginas, cerrado));
}
