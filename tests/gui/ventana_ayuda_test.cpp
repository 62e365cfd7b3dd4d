#include "app/app/ventana_ayuda.h"

#include "core/lang/traduccion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>
#include <QUrl>
#include <QWidget>

#include <gtest/gtest.h>

using namespace tarvik;

namespace {

QString CarpetaFuente(const char* idioma) {
    return QStringLiteral(TARVIK_SOURCE_DIR "/help/") + QLatin1String(idioma);
}

// Every link target of a document, in order.
QStringList Enlaces(const QTextDocument& documento) {
    QStringList enlaces;
    for (QTextBlock bloque = documento.begin(); bloque.isValid(); bloque = bloque.next())
        for (auto it = bloque.begin(); !it.atEnd(); ++it)
            if (const QString destino = it.fragment().charFormat().anchorHref(); !destino.isEmpty())
                enlaces << destino;
    return enlaces;
}

// Every picture a document shows, by the name its page gives.
QStringList Imagenes(const QTextDocument& documento) {
    QStringList imagenes;
    for (QTextBlock bloque = documento.begin(); bloque.isValid(); bloque = bloque.next())
        for (auto it = bloque.begin(); !it.atEnd(); ++it)
            if (const QTextCharFormat formato = it.fragment().charFormat(); formato.isImageFormat())
                imagenes << formato.toImageFormat().name();
    return imagenes;
}

QStringList PaginasDelContenido(const QTreeWidget& contenido) {
    QStringList paginas;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(&contenido)); *it != nullptr; ++it)
        paginas << (*it)->data(0, Qt::UserRole).toString();
    return paginas;
}

QTreeWidgetItem* EntradaDe(const QTreeWidget& contenido, const QString& pagina) {
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(&contenido)); *it != nullptr; ++it)
        if ((*it)->data(0, Qt::UserRole).toString() == pagina)
            return *it;
    return nullptr;
}

void Escribir(const QString& ruta, const QByteArray& contenido) {
    QDir().mkpath(QFileInfo(ruta).path());
    QFile archivo(ruta);
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    archivo.write(contenido);
}

} // namespace

TEST(VentanaAyuda, OpensEachLanguageOnItsStartPageWithTheWholeContents) {
    struct Caso {
        const char* carpeta;
        int idioma;
        QString tituloVentana;
        QString botonAtras;
    };
    const Caso casos[] = {{"es", kEspanol, "TARVIK - Ayuda", "Atrás"},
                          {"en", kIngles, "TARVIK - Help", "Back"}};
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.carpeta);
        VentanaAyuda ventana(CarpetaFuente(c.carpeta), c.idioma);
        const QTextBrowser& navegador = *ventana.Navegador();
        EXPECT_EQ(ventana.windowTitle(), c.tituloVentana);
        EXPECT_EQ(ventana.BotonAtras()->text(), c.botonAtras);
        EXPECT_EQ(navegador.source().fileName(), "index.html");
        EXPECT_FALSE(navegador.documentTitle().isEmpty());
        EXPECT_TRUE(Enlaces(*navegador.document()).contains("lecturas.html"));

        // The contents list every page of the folder, and only pages that are there.
        const QStringList contenido = PaginasDelContenido(*ventana.Contenido());
        const QStringList paginas = QDir(CarpetaFuente(c.carpeta)).entryList({"*.html"}, QDir::Files);
        EXPECT_EQ(QSet<QString>(contenido.begin(), contenido.end()),
                  QSet<QString>(paginas.begin(), paginas.end()));
        EXPECT_EQ(contenido.first(), "index.html");
        ASSERT_NE(ventana.Contenido()->currentItem(), nullptr);
        EXPECT_EQ(ventana.Contenido()->currentItem()->data(0, Qt::UserRole).toString(), "index.html");
    }
}

TEST(VentanaAyuda, BothLanguagesHaveTheSamePagesAndNoBrokenLinksOrPictures) {
    const QStringList espanol = QDir(CarpetaFuente("es")).entryList({"*.html"}, QDir::Files);
    const QStringList ingles = QDir(CarpetaFuente("en")).entryList({"*.html"}, QDir::Files);
    EXPECT_EQ(espanol, ingles);
    for (const char* idioma : {"es", "en"}) {
        const QDir carpeta(CarpetaFuente(idioma));
        for (const QString& pagina : carpeta.entryList({"*.html"}, QDir::Files)) {
            QFile archivo(carpeta.filePath(pagina));
            ASSERT_TRUE(archivo.open(QIODevice::ReadOnly));
            QTextDocument documento;
            documento.setHtml(QString::fromUtf8(archivo.readAll()));
            EXPECT_FALSE(documento.metaInformation(QTextDocument::DocumentTitle).isEmpty())
                << pagina.toStdString();
            for (const QString& destino : Enlaces(documento))
                EXPECT_TRUE(carpeta.exists(QUrl(destino).path()))
                    << idioma << "/" << pagina.toStdString() << " -> " << destino.toStdString();
            // A picture is a file of the folder that decodes: the window shows it as it is.
            for (const QString& imagen : Imagenes(documento))
                EXPECT_FALSE(QImage(carpeta.filePath(imagen)).isNull())
                    << idioma << "/" << pagina.toStdString() << " -> " << imagen.toStdString();
        }
    }
}

TEST(VentanaAyuda, TheFirstStudyShowsItsPicturesInBothLanguages) {
    for (const auto& [carpeta, idioma] : {std::pair{"es", kEspanol}, std::pair{"en", kIngles}}) {
        SCOPED_TRACE(carpeta);
        VentanaAyuda ventana(CarpetaFuente(carpeta), idioma);
        ventana.MostrarPagina(QStringLiteral("primeros-pasos.html"));
        QTextBrowser& navegador = *ventana.Navegador();
        const QStringList imagenes = Imagenes(*navegador.document());
        ASSERT_FALSE(imagenes.isEmpty());
        for (const QString& imagen : imagenes) {
            // What the browser hands its document for the picture: the file's bytes, read beside the page.
            const QVariant recurso = navegador.loadResource(QTextDocument::ImageResource,
                                                            navegador.source().resolved(QUrl(imagen)));
            EXPECT_FALSE(QImage::fromData(recurso.toByteArray()).isNull()) << imagen.toStdString();
        }
    }
}

TEST(VentanaAyuda, ContentsBackAndForwardMoveBetweenPages) {
    VentanaAyuda ventana(CarpetaFuente("es"), kEspanol);
    QTextBrowser& navegador = *ventana.Navegador();
    QTreeWidget& contenido = *ventana.Contenido();
    EXPECT_FALSE(ventana.BotonAtras()->isEnabled());

    // A page under a book of the contents.
    QTreeWidgetItem* baterias = EntradaDe(contenido, "baterias.html");
    ASSERT_NE(baterias, nullptr);
    ASSERT_NE(baterias->parent(), nullptr);
    EXPECT_EQ(baterias->parent()->data(0, Qt::UserRole).toString(), "calculo.html");
    contenido.setCurrentItem(baterias);
    EXPECT_EQ(navegador.source().fileName(), "baterias.html");
    EXPECT_TRUE(ventana.BotonAtras()->isEnabled());
    EXPECT_FALSE(ventana.BotonAdelante()->isEnabled());

    // Following a link of the page marks its entry in the contents.
    navegador.setSource(QUrl("conductores.html"));
    EXPECT_EQ(contenido.currentItem(), EntradaDe(contenido, "conductores.html"));

    ventana.BotonAtras()->click();
    EXPECT_EQ(navegador.source().fileName(), "baterias.html");
    EXPECT_EQ(contenido.currentItem(), baterias);
    ventana.BotonAtras()->click();
    EXPECT_EQ(navegador.source().fileName(), "index.html");
    EXPECT_FALSE(ventana.BotonAtras()->isEnabled());
    ventana.BotonAdelante()->click();
    EXPECT_EQ(navegador.source().fileName(), "baterias.html");
}

TEST(VentanaAyuda, ContentsKeepOnlyPagesOfTheHelpFolder) {
    const QByteArray hhc = R"(<HTML><BODY><UL>
<LI><OBJECT type="text/sitemap"><param name="Name" value="Inicio"><param name="Local" value="index.html"></OBJECT>
<UL>
  <LI><OBJECT type="text/sitemap"><param name="Name" value="C&aacute;lculo"><param name="Local" value="calculo.html"></OBJECT>
  <LI><OBJECT type="text/sitemap"><param name="Name" value="Fuera"><param name="Local" value="../../etc/passwd.html"></OBJECT>
  <LI><OBJECT type="text/sitemap"><param name="Name" value="Absoluta"><param name="Local" value="/tmp/x.html"></OBJECT>
  <LI><OBJECT type="text/sitemap"><param name="Name" value="Red"><param name="Local" value="http://x/y.html"></OBJECT>
  <LI><OBJECT type="text/sitemap"><param name="Name" value="Oculta"><param name="Local" value=".x.html"></OBJECT>
  <LI><OBJECT type="text/sitemap"><param name="Name" value="Imagen"><param name="Local" value="logo.png"></OBJECT>
  <LI><OBJECT type="text/sitemap"><param name="Name" value=""><param name="Local" value="sin-titulo.html"></OBJECT>
  <LI><OBJECT type="text/other"><param name="Name" value="Otro"><param name="Local" value="otro.html"></OBJECT>
</UL></UL></UL></UL>
<LI><OBJECT type="text/sitemap"><param name="Name" value="Tras cierres de sobra"><param name="Local" value="ultima.htm"></OBJECT>
<OBJECT type="text/sitemap"><param name="Name" value="Sin cerrar" <param)";
    const QList<EntradaContenido> entradas = LeerContenido(hhc);
    ASSERT_EQ(entradas.size(), 2);
    EXPECT_EQ(entradas[0].titulo, "Inicio");
    EXPECT_EQ(entradas[0].pagina, "index.html");
    ASSERT_EQ(entradas[0].hijas.size(), 1);
    EXPECT_EQ(entradas[0].hijas[0].titulo, QStringLiteral("Cálculo"));
    EXPECT_EQ(entradas[0].hijas[0].pagina, "calculo.html");
    EXPECT_EQ(entradas[1].pagina, "ultima.htm");

    // Lists nested deeper than a few levels stay at the last level kept.
    QByteArray profundo;
    for (int i = 0; i < 10000; ++i)
        profundo +=
            R"(<UL><LI><OBJECT type="text/sitemap"><param name="Name" value="N"><param name="Local" value="n.html"></OBJECT>)";
    int niveles = 0;
    for (QList<EntradaContenido> nivel = LeerContenido(profundo); !nivel.isEmpty();
         nivel = nivel.last().hijas)
        ++niveles;
    EXPECT_LE(niveles, 4);
}

TEST(AbrirAyuda, ShowsOneWindowPerParentInTheLanguageAsked) {
    QTemporaryDir programa;
    ASSERT_TRUE(programa.isValid());
    for (const char* idioma : {"es", "en"})
        Escribir(programa.filePath(QStringLiteral("help/%1/index.html").arg(idioma)),
                 QByteArray("<html><head><title>") + idioma + "</title></head><body></body></html>");
    const QString ruta = programa.path() + QDir::separator();
    QWidget principal;

    AbrirAyuda(ruta, kEspanol, &principal);
    QList<VentanaAyuda*> ventanas = principal.findChildren<VentanaAyuda*>();
    ASSERT_EQ(ventanas.size(), 1);
    VentanaAyuda* primera = ventanas.first();
    EXPECT_TRUE(primera->isVisible());
    EXPECT_EQ(primera->Navegador()->documentTitle(), "es");

    // Asked again in the same language: the same window; in the other: a window in that one.
    primera->hide();
    AbrirAyuda(ruta, kEspanol, &principal);
    EXPECT_EQ(principal.findChildren<VentanaAyuda*>(), QList<VentanaAyuda*>{primera});
    EXPECT_TRUE(primera->isVisible());
    AbrirAyuda(ruta, kIngles, &principal);
    ventanas = principal.findChildren<VentanaAyuda*>();
    ASSERT_EQ(ventanas.size(), 1);
    EXPECT_EQ(ventanas.first()->Navegador()->documentTitle(), "en");

    // Help that is not beside the program opens nothing.
    QWidget otra;
    AbrirAyuda(programa.filePath("no-existe") + QDir::separator(), kEspanol, &otra);
    EXPECT_TRUE(otra.findChildren<VentanaAyuda*>().isEmpty());
}
