#include "platform/informe_qt.h"

#include "platform/avisos.h"
#include "platform/grafico_consumo.h"
#include "platform/pdf_informe.h"
#include "platform/qt_page_writer.h"
#include "platform/rotulo.h"
#include "platform/texto_qt.h"

#include <QDate>
#include <QDir>
#include <QLocale>
#include <QSaveFile>
#include <QTemporaryFile>

// The report's logos are compiled into this library; register them once before the first job.
// (Outside any namespace: the registration function is declared where it is called.)
static void RegistrarLogos() {
    static const bool registrados = [] {
        Q_INIT_RESOURCE(informe);
        return true;
    }();
    (void)registrados;
}

namespace tarvik {

namespace {

const QString kTituloTrabajo = QStringLiteral("Reporte Tarvik");

} // namespace

OpcionesInforme OpcionesLocales(char separador) {
    return {HaciaAnsi(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat)), separador};
}

namespace {

// Records the report into a new temporary page file "brp…" in the temporary folder, for pages of
// `papelMm` on a device of `dpi`, and leaves the file open at its start. False, with the messages,
// when a section stopped the job or the file could not be written.
bool GrabarInforme(QTemporaryFile& paginas, QSizeF papelMm, double dpi, const Sesion& sesion,
                   const SeccionesInforme& secciones, const OpcionesInforme& opciones,
                   ListaMensajes& mensajes) {
    RegistrarLogos();
    paginas.setFileTemplate(QDir(QDir::tempPath().trimmed()).filePath("brpXXXXXX"));
    if (!paginas.open()) {
        mensajes.push_back(ErrorArchivo(FalloArchivo::Crear, paginas.fileTemplate(), paginas.errorString()));
        return false;
    }
    QtPageWriter escritor(papelMm, dpi, paginas);
    escritor.registerDrawing(kGraficoConsumo, {kLadoGrafico, kLadoGrafico},
                             [&sesion](QPainter& pintor, const QRectF& destino) {
                                 DibujarGraficoConsumo(sesion.Lecturas, kLadoGrafico, pintor, destino);
                             });
    if (!EscribirInforme(escritor, sesion, secciones, opciones, mensajes))
        return false;
    if (!escritor.ok() || !paginas.flush() || !paginas.seek(0)) {
        mensajes.push_back(ErrorArchivo(FalloArchivo::Escribir, paginas.fileName(), paginas.errorString()));
        return false;
    }
    return true;
}

Mensaje FalloImpresion() {
    return {TipoMensaje::Error,
            {},
            Rotulo(IdiomaActivo(), "No se ha podido imprimir el informe.", "The report could not be printed.")
                .toStdString()};
}

} // namespace

bool ImprimirInformeEn(QPagedPaintDevice& dispositivo, const Sesion& sesion,
                       const SeccionesInforme& secciones, const OpcionesInforme& opciones,
                       ListaMensajes& mensajes) {
    QTemporaryFile paginas;
    if (!GrabarInforme(paginas, dispositivo.pageLayout().fullRect(QPageLayout::Millimeter).size(),
                       dispositivo.logicalDpiX(), sesion, secciones, opciones, mensajes))
        return false;
    if (!RenderPages(paginas, dispositivo, 1, kUltimaPagina)) {
        mensajes.push_back(FalloImpresion());
        return false;
    }
    return true;
}

bool ImprimirEnImpresora(QPrinter& impresora, const Sesion& sesion, const SeccionesInforme& secciones,
                         const OpcionesInforme& opciones, ListaMensajes& mensajes) {
    impresora.setFullPage(true);
    impresora.setPageOrientation(QPageLayout::Portrait);
    impresora.setCopyCount(1);
    impresora.setCollateCopies(false);
    impresora.setPrintRange(QPrinter::AllPages);
    impresora.setDocName(kTituloTrabajo);
    return ImprimirInformeEn(impresora, sesion, secciones, opciones, mensajes);
}

bool EscribirInformePdf(const Sesion& sesion, const SeccionesInforme& secciones,
                        const OpcionesInforme& opciones, const QString& ruta, QString& error) {
    // The file replaces an earlier one only when the whole report was written.
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly)) {
        error = TextoMensaje(ErrorArchivo(FalloArchivo::Crear, ruta, archivo.errorString()));
        return false;
    }
    ListaMensajes mensajes;
    // The report's own PDF writer, on the A4 sheet of Qt's PDF writer at its resolution.
    const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
    QTemporaryFile paginas;
    bool escrito = GrabarInforme(paginas, a4.fullRect(QPageLayout::Millimeter).size(), kResolucionPdf, sesion,
                                 secciones, opciones, mensajes);
    if (escrito && !EscribirPdf(paginas, archivo, {kTituloTrabajo, QStringLiteral("Tarvik")})) {
        // A file that took no more bytes says why; otherwise the pages could not be shown.
        if (archivo.error() == QFileDevice::NoError)
            mensajes.push_back(FalloImpresion());
        escrito = false;
    }
    if (escrito && archivo.commit())
        return true;
    archivo.cancelWriting();
    QStringList textos;
    for (const Mensaje& m : mensajes)
        textos.append(TextoMensaje(m));
    if (textos.isEmpty())
        textos.append(TextoMensaje(ErrorArchivo(FalloArchivo::Escribir, ruta, archivo.errorString())));
    error = textos.join('\n');
    return false;
}

} // namespace tarvik
