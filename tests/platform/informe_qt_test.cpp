#include "core/engine/calculo.h"
#include "core/lang/traduccion.h"
#include "platform/grafico_consumo.h"
#include "platform/informe_qt.h"
#include "platform/qt_page_writer.h"
#include "platform/texto_qt.h"
#include "soporte/ejemplo_calculado.h"

#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <optional>

using namespace tarvik;

namespace {

// The text of a PDF file and its page count, through the poppler tools.
struct TextoPdf {
    QString texto;
    int paginas = 0;
};

std::optional<TextoPdf> LeerPdf(const QString& ruta) {
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    const QString pdfinfo = QStandardPaths::findExecutable("pdfinfo");
    if (pdftotext.isEmpty() || pdfinfo.isEmpty())
        return std::nullopt;
    TextoPdf r;
    QProcess texto;
    texto.start(pdftotext, {"-layout", ruta, "-"});
    texto.waitForFinished();
    r.texto = QString::fromUtf8(texto.readAllStandardOutput());
    QProcess info;
    info.start(pdfinfo, {ruta});
    info.waitForFinished();
    for (const QString& linea : QString::fromUtf8(info.readAllStandardOutput()).split('\n'))
        if (linea.startsWith("Pages:"))
            r.paginas = linea.mid(6).trimmed().toInt();
    return r;
}

// Renders the first page of a page file onto a white image of `dpi` dots per inch.
QImage PrimeraPagina(QBuffer& archivo, int dpi) {
    QImage imagen(qRound(210 / kMmPerInch * dpi), qRound(297 / kMmPerInch * dpi), QImage::Format_RGB32);
    imagen.setDotsPerMeterX(qRound(dpi / 0.0254));
    imagen.setDotsPerMeterY(qRound(dpi / 0.0254));
    imagen.fill(Qt::white);
    QPainter pintor(&imagen);
    archivo.seek(0);
    EXPECT_TRUE(ReadPages(archivo, [&](int, const RecordedPage& pagina) {
        PlayPage(pagina, pintor);
        return false;
    }));
    return imagen;
}

bool Oscuro(const QImage& imagen, double xMm, double yMm, int dpi) {
    const QColor c = imagen.pixelColor(qRound(xMm / kMmPerInch * dpi), qRound(yMm / kMmPerInch * dpi));
    return c.lightness() < 128;
}

} // namespace

TEST(QtPageWriter, APagePlaysBackAtItsSizeOnAnyResolution) {
    // Recorded for one device, played on devices of other resolutions: the page keeps its
    // millimetres (a picture played as it is would come out scaled by the ratio of resolutions).
    for (int dpi : {72, 150, 300}) {
        QBuffer archivo;
        archivo.open(QIODevice::ReadWrite);
        {
            QtPageWriter w(QSizeF(210, 297), dpi, archivo);
            w.runJob([](PageWriter& pw) {
                pw.setPen({kBlack, -8}); // 2 mm
                pw.moveTo(20, 32);
                pw.lineTo(195, 32);
                pw.setFontHeight(20);
                pw.printAt(100, 120, "H");
            });
            EXPECT_EQ(w.pages(), 1);
        }
        const QImage imagen = PrimeraPagina(archivo, dpi);
        EXPECT_TRUE(Oscuro(imagen, 100, 32, dpi)) << dpi;
        EXPECT_FALSE(Oscuro(imagen, 100, 34.5, dpi)) << dpi;
        EXPECT_FALSE(Oscuro(imagen, 15, 32, dpi)) << dpi;
        // The letter's stem (a 20 mm font: capitals about 14 mm high) standing on its baseline.
        EXPECT_TRUE(Oscuro(imagen, 102.5, 112, dpi)) << dpi;
        EXPECT_FALSE(Oscuro(imagen, 102.5, 104, dpi)) << dpi;
        EXPECT_FALSE(Oscuro(imagen, 102.5, 122, dpi)) << dpi;
    }
}

TEST(QtPageWriter, MeasuresTextWithTheFontItDraws) {
    QBuffer archivo;
    archivo.open(QIODevice::WriteOnly);
    QtPageWriter w(QSizeF(210, 297), 600, archivo);
    w.setFontHeight(3);
    const double normal = w.textWidth("Potencia media activa");
    EXPECT_GT(normal, 25);
    EXPECT_LT(normal, 40);
    w.setBold(true);
    EXPECT_GT(w.textWidth("Potencia media activa"), normal);
    w.setBold(false);
    w.setFontHeight(6);
    EXPECT_NEAR(w.textWidth("Potencia media activa"), 2 * normal, 0.02 * normal);
}

namespace {

const char* const kCuadro = TARVIK_SOURCE_DIR "/dbf/Serie Jade.bmp"; // 240 x 288

// A page file of two pages that share a picture, and a pen, a shade, a text and a line.
QByteArray ArchivoDePrueba() {
    QBuffer archivo;
    archivo.open(QIODevice::WriteOnly);
    QtPageWriter w(QSizeF(210, 297), 300, archivo);
    w.runJob([](PageWriter& pw) {
        for (int pagina = 0; pagina < 2; ++pagina) {
            if (pagina > 0)
                pw.newPage();
            pw.drawPicture(kCuadro, {20, 10, 40, 34});
            pw.setFontHeight(5);
            pw.clearTabs();
            pw.setTab({20.0, Alignment::Left, 40, 0, 0, 100}); // shaded in full
            pw.moveTo(20, 45);
            pw.tabStep();
            pw.printAt(20, 60, "Pot\xeancia");
            pw.setPen({kBlack, -2});
            pw.moveTo(20, 70);
            pw.lineTo(190, 70);
        }
    });
    EXPECT_TRUE(w.ok());
    EXPECT_EQ(w.pages(), 2);
    return archivo.data();
}

std::vector<RecordedPage::Kind> Tipos(const RecordedPage& pagina) {
    std::vector<RecordedPage::Kind> tipos;
    for (const RecordedPage::Operation& o : pagina.operations)
        tipos.push_back(o.kind);
    return tipos;
}

// A page file that arrives as a stream, whose length is not known beforehand.
class Flujo : public QIODevice {
  public:
    explicit Flujo(QByteArray datos) : datos_(std::move(datos)) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return datos_.size() - leidos_ + QIODevice::bytesAvailable(); }

  protected:
    qint64 readData(char* destino, qint64 cuantos) override {
        cuantos = std::min(cuantos, datos_.size() - leidos_);
        std::copy_n(datos_.constData() + leidos_, cuantos, destino);
        leidos_ += cuantos;
        return cuantos;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    QByteArray datos_;
    qint64 leidos_ = 0;
};

// Reads a page file held in memory, also as a stream; the count of pages read, or none when it was
// refused (both ways must agree).
std::optional<int> PaginasLeidas(const QByteArray& datos) {
    QBuffer archivo;
    archivo.setData(datos);
    archivo.open(QIODevice::ReadOnly);
    Flujo flujo(datos);
    std::optional<int> leidas[2];
    QIODevice* dispositivos[] = {&archivo, &flujo};
    for (int i = 0; i < 2; ++i) {
        int paginas = 0;
        if (ReadPages(*dispositivos[i], [&](int, const RecordedPage&) { return ++paginas, true; }))
            leidas[i] = paginas;
    }
    EXPECT_EQ(leidas[0], leidas[1]);
    return leidas[0];
}

} // namespace

TEST(QtPageWriter, EachPageHoldsItsCallsAndAPictureIsStoredOnce) {
    using Kind = RecordedPage::Kind;
    const QByteArray datos = ArchivoDePrueba();
    QBuffer archivo;
    archivo.setData(datos);
    archivo.open(QIODevice::ReadOnly);
    const QImage* cuadro = nullptr;
    int paginas = 0;
    ASSERT_TRUE(ReadPages(archivo, [&](int numero, const RecordedPage& pagina) {
        EXPECT_EQ(numero, ++paginas);
        EXPECT_EQ(Tipos(pagina), (std::vector{Kind::Image, Kind::Fill, Kind::Text, Kind::Line})) << numero;
        const RecordedPage::Operation& texto = pagina.operations[2];
        EXPECT_EQ(texto.text, QString::fromUtf8("Potência")); // Windows-1252 in, Unicode out
        EXPECT_EQ(texto.from, QPointF(2000, 6000));           // hundredths of a millimetre
        EXPECT_EQ(pagina.resources->fonts[texto.resource]->font.pixelSize(), 500);
        const RecordedPage::Operation& linea = pagina.operations[3];
        EXPECT_EQ(linea.to, QPointF(19000, 7000));
        EXPECT_NEAR(linea.width, 2 * 0.254 * 100, 1e-9); // 2 hundredths of an inch
        EXPECT_EQ(pagina.operations[1].colour, QColor(128, 128, 128));
        // Both pages show the same decoded picture, so a PDF writer embeds it once.
        const QImage* este = &*pagina.resources->images[pagina.operations[0].resource];
        EXPECT_EQ(este->size(), QSize(240, 288));
        EXPECT_TRUE(cuadro == nullptr || cuadro == este);
        cuadro = este;
        return true;
    }));
    EXPECT_EQ(paginas, 2);
}

TEST(QtPageWriter, ADamagedPageFileIsRefused) {
    const QByteArray bueno = ArchivoDePrueba();
    ASSERT_EQ(PaginasLeidas(bueno), 2);
    // The picture's block comes first after the mark: kind, length, width, height, alpha, pixels.
    const qsizetype cuadro = 4;
    ASSERT_EQ(bueno[cuadro], 2);
    const auto Cambiado = [&](qsizetype en, QByteArray bytes) {
        QByteArray d = bueno;
        return d.replace(en, bytes.size(), bytes);
    };
    const struct {
        const char* caso;
        QByteArray datos;
    } casos[] = {
        {"not a page file", "not pages at all"},
        {"the old kind of page file", QByteArray::fromHex("42525031") + bueno.mid(4)},
        {"cut inside a block", bueno.left(bueno.size() - 3)},
        {"cut inside a block header", bueno.left(cuadro + 3)},
        {"a block longer than the file", Cambiado(cuadro + 1, QByteArray::fromHex("ffffff7f"))},
        {"an unknown kind of block", Cambiado(cuadro, QByteArray(1, '\x09'))},
        {"a picture wider than its pixels", Cambiado(cuadro + 5, QByteArray::fromHex("f1000000"))},
        {"a picture of no width", Cambiado(cuadro + 5, QByteArray::fromHex("00000000"))},
        // The picture's block read as a font's: the pages refer to a picture that is not there.
        {"a page that refers to a missing picture", Cambiado(cuadro, QByteArray(1, '\x01'))},
    };
    for (const auto& c : casos)
        EXPECT_EQ(PaginasLeidas(c.datos), std::nullopt) << c.caso;
    // Nothing but the mark: a page file of no pages.
    EXPECT_EQ(PaginasLeidas(bueno.left(4)), 0);
}

TEST(QtPageWriter, APageWithANonFiniteOrUnknownCallIsRefused) {
    const QByteArray bueno = ArchivoDePrueba();
    // The first page's block: found by its kind after the picture's and the font's blocks.
    const auto Bloque = [&](qsizetype desde) {
        return desde + 5 + qFromLittleEndian<quint32>(bueno.constData() + desde + 1);
    };
    const qsizetype fuente = Bloque(4);
    const qsizetype pagina = Bloque(fuente);
    ASSERT_EQ(bueno[fuente], 1);
    ASSERT_EQ(bueno[pagina], 4);
    const qsizetype primera = pagina + 5; // the picture call: kind, picture, rectangle
    const auto Cambiado = [&](qsizetype en, QByteArray bytes) {
        QByteArray d = bueno;
        return d.replace(en, bytes.size(), bytes);
    };
    const double infinito = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(PaginasLeidas(Cambiado(primera, QByteArray(1, '\x07'))), std::nullopt) << "unknown call";
    EXPECT_EQ(PaginasLeidas(Cambiado(primera + 3, QByteArray(reinterpret_cast<const char*>(&infinito), 8))),
              std::nullopt)
        << "infinite corner";
    EXPECT_EQ(PaginasLeidas(Cambiado(primera + 11, QByteArray(reinterpret_cast<const char*>(&nan), 8))),
              std::nullopt)
        << "corner not a number";
    EXPECT_EQ(PaginasLeidas(Cambiado(primera + 1, QByteArray::fromHex("0100"))), std::nullopt)
        << "a second picture that the file does not hold";
}

TEST(GraficoConsumo, OnePairOfBarsPerReadingWithTheLegendOfEachEnergy) {
    EstablecerIdiomaActivo(kEspanol);
    std::unique_ptr<QChart> grafico(CrearGraficoConsumo());
    std::vector<TLectura> lecturas(3);
    lecturas[0].mes = "ENERO";
    lecturas[0].kwht = 1000;
    lecturas[0].kvarh = 700;
    lecturas[1].mes = "ENERO"; // the same label twice: two pairs of bars all the same
    lecturas[1].kwht = 1200;
    lecturas[1].kvarh = 800;
    lecturas[2].mes = "FEBRERO";
    lecturas[2].kwht = 900;
    lecturas[2].kvarh = 650;
    MostrarConsumo(*grafico, lecturas);
    MostrarConsumo(*grafico, lecturas); // showing it again refills, it does not add
    using Energias = std::vector<std::array<double, 2>>;
    EXPECT_EQ(EnergiasMostradas(*grafico), (Energias{{1000, 700}, {1200, 800}, {900, 650}}));
    auto* serie = qobject_cast<QBarSeries*>(grafico->series().value(0));
    ASSERT_NE(serie, nullptr);
    ASSERT_EQ(serie->barSets().size(), 2);
    QBarSet* activa = serie->barSets().value(0);
    QBarSet* reactiva = serie->barSets().value(1);
    EXPECT_EQ(activa->label(), TextoQt("grafico1serie1"));
    EXPECT_EQ(reactiva->label(), TextoQt("grafico1serie2"));
    EXPECT_EQ(activa->color(), QColor(128, 255, 255));
    EXPECT_EQ(reactiva->color(), QColor(255, 0, 0));
    EXPECT_EQ(grafico->title(), TextoQt("grafico1title"));
    // However often a month repeats, every reading keeps its own bars.
    lecturas.assign(40, lecturas[0]);
    MostrarConsumo(*grafico, lecturas);
    EXPECT_EQ(EnergiasMostradas(*grafico), Energias(40, {1000, 700}));
    EXPECT_EQ(grafico->legend()->alignment(), Qt::AlignBottom);
}

TEST(InformePdf, TheReportOfAStudyAsAPdfFile) {
    EstablecerIdiomaActivo(kEspanol);
    const Sesion sesion = prueba::EjemploCalculado("bancos-400v-mensual.fac");
    QTemporaryDir carpeta;
    const QString ruta = carpeta.filePath("informe.pdf");
    // The page file goes to the temporary folder of this test.
    QTemporaryDir temporal;
    const std::optional<QByteArray> tmpdir =
        qEnvironmentVariableIsSet("TMPDIR") ? std::optional(qgetenv("TMPDIR")) : std::nullopt;
    qputenv("TMPDIR", temporal.path().toLocal8Bit());
    QString error;
    const bool escrito = EscribirInformePdf(sesion, kTodasLasSecciones, {"09/12/2026", ','}, ruta, error);
    const QStringList restos = QDir(temporal.path()).entryList(QDir::Files);
    // Put back as it was: an empty TMPDIR is not the same as none.
    if (tmpdir)
        qputenv("TMPDIR", *tmpdir);
    else
        qunsetenv("TMPDIR");
    EXPECT_TRUE(restos.isEmpty()) << restos.join(' ').toStdString();
    ASSERT_TRUE(escrito) << error.toStdString();
    const auto pdf = LeerPdf(ruta);
    if (!pdf)
        GTEST_SKIP() << "pdftotext and pdfinfo (poppler-utils) are needed to read the PDF";
    ASSERT_GE(pdf->paginas, 3);
    for (int n = 1; n <= pdf->paginas; ++n)
        EXPECT_TRUE(pdf->texto.contains(QString("pag. %1").arg(n))) << n;
    // Each picture once, however many pages show it: the two logos and the pictures of the bank's
    // and the transformer capacitor's series.
    QFile archivo(ruta);
    ASSERT_TRUE(archivo.open(QIODevice::ReadOnly));
    EXPECT_EQ(archivo.readAll().count("/Subtype /Image"), 4);
    for (const QString& t :
         {QString("TARVIK"), QString("09/12/2026"), TextoQt("baterias_caption"),
          TextoQt("equipamiento_emplear"), TextoQt("grafico1title"), QString("IEC 60831-1")})
        EXPECT_TRUE(pdf->texto.contains(t)) << t.toStdString();
}

TEST(InformePdf, NothingIsWrittenWhenTheReportCannotBeMade) {
    Sesion sesion = prueba::EjemploCalculado("bancos-400v-mensual.fac");
    sesion.EquiposSeleccionados.front().serie = "Inexistente";
    QTemporaryDir carpeta;
    const QString ruta = carpeta.filePath("informe.pdf");
    QString error;
    EXPECT_FALSE(EscribirInformePdf(sesion, kTodasLasSecciones, {"09/12/2026", '.'}, ruta, error));
    EXPECT_TRUE(error.contains("Serie Inexistente.txt")) << error.toStdString();
    EXPECT_FALSE(QFile::exists(ruta));
    // An earlier report under that name stays as it was.
    {
        QFile anterior(ruta);
        ASSERT_TRUE(anterior.open(QIODevice::WriteOnly));
        anterior.write("earlier report");
    }
    EXPECT_FALSE(EscribirInformePdf(sesion, kTodasLasSecciones, {"09/12/2026", '.'}, ruta, error));
    QFile anterior(ruta);
    ASSERT_TRUE(anterior.open(QIODevice::ReadOnly));
    EXPECT_EQ(anterior.readAll(), "earlier report");

    // A PDF that cannot be created says so in the user's language, naming the file.
    for (const auto& [idioma, comienzo] : {std::pair{kEspanol, "No se puede crear el archivo \""},
                                           std::pair{kIngles, "Cannot create file \""}}) {
        EstablecerIdiomaActivo(idioma);
        EXPECT_FALSE(EscribirInformePdf(sesion, kTodasLasSecciones, {"09/12/2026", '.'},
                                        carpeta.filePath("no/such/folder.pdf"), error));
        EXPECT_TRUE(error.startsWith(QString::fromUtf8(comienzo))) << error.toStdString();
        EXPECT_TRUE(error.contains("no/such/folder.pdf")) << error.toStdString();
    }
    EstablecerIdiomaActivo(kEspanol);
}
