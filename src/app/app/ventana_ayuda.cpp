#include "app/app/ventana_ayuda.h"

#include "core/lang/traduccion.h"
#include "platform/rotulo.h"
#include "platform/texto_qt.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <functional>

namespace tarvik {

namespace {

constexpr qint64 kMayorContenido = 1 << 20; // a contents file is a few kilobytes
constexpr int kNivelesContenido = 4;
const QString kPaginaInicio = QStringLiteral("index.html");
const QString kArchivoContenido = QStringLiteral("contenido.hhc");

QString SinReferencias(const QString& texto) {
    return QTextDocumentFragment::fromHtml(texto).toPlainText().trimmed();
}

// A plain file name of the help's folder: no folders, no scheme, no hidden file.
bool EsPaginaDeLaCarpeta(const QString& pagina) {
    static const QRegularExpression patron(QStringLiteral("^[A-Za-z0-9_][A-Za-z0-9_.-]*\\.html?$"),
                                           QRegularExpression::CaseInsensitiveOption);
    return pagina.size() <= 100 && patron.match(pagina).hasMatch();
}

// A tag of the contents file: its name in lower case, "/" first when it closes, and its attributes
// by lower-case name. Read in one pass, whatever the text holds.
struct Etiqueta {
    QString nombre;
    QHash<QString, QString> atributos;
};

Etiqueta LeerEtiqueta(QStringView texto) {
    Etiqueta etiqueta;
    qsizetype i = 0;
    const auto saltarBlancos = [&] {
        while (i < texto.size() && texto[i].isSpace())
            ++i;
    };
    const auto leerPalabra = [&] {
        const qsizetype desde = i;
        while (i < texto.size() && (texto[i].isLetterOrNumber() || texto[i] == u'-' || texto[i] == u'_'))
            ++i;
        return texto.sliced(desde, i - desde).toString().toLower();
    };
    saltarBlancos();
    if (i < texto.size() && texto[i] == u'/') {
        ++i;
        saltarBlancos();
        etiqueta.nombre = u'/';
    }
    etiqueta.nombre += leerPalabra();
    while (i < texto.size()) {
        saltarBlancos();
        const QString nombre = leerPalabra();
        if (nombre.isEmpty()) {
            ++i; // a character that starts no attribute
            continue;
        }
        saltarBlancos();
        if (i >= texto.size() || texto[i] != u'=')
            continue;
        ++i;
        saltarBlancos();
        qsizetype desde = i;
        if (i < texto.size() && (texto[i] == u'"' || texto[i] == u'\'')) {
            const QChar comilla = texto[i];
            desde = ++i;
            while (i < texto.size() && texto[i] != comilla)
                ++i;
            etiqueta.atributos.insert(nombre, texto.sliced(desde, i - desde).toString());
            ++i;
        } else {
            while (i < texto.size() && !texto[i].isSpace())
                ++i;
            etiqueta.atributos.insert(nombre, texto.sliced(desde, i - desde).toString());
        }
    }
    return etiqueta;
}

} // namespace

QList<EntradaContenido> LeerContenido(const QByteArray& texto) {
    const QString html = DesdeAnsi(texto.left(kMayorContenido).toStdString());
    QList<EntradaContenido> raiz;
    // The lists being filled, from the outermost in; an entry goes into the innermost.
    QList<QList<EntradaContenido>*> abiertas{&raiz};
    int nivel = 0;            // <UL> lists open in the text
    bool enObjeto = false;    // inside a sitemap object
    EntradaContenido entrada; // the one that object describes
    for (qsizetype inicio = html.indexOf(u'<'); inicio >= 0;) {
        const qsizetype fin = html.indexOf(u'>', inicio);
        if (fin < 0)
            break;
        const Etiqueta etiqueta = LeerEtiqueta(QStringView(html).sliced(inicio + 1, fin - inicio - 1));
        inicio = html.indexOf(u'<', fin);
        if (etiqueta.nombre == u"ul") {
            // A list after an entry holds that entry's children; the outermost list is the root.
            ++nivel;
            QList<EntradaContenido>* actual = abiertas.last();
            if (nivel > 1 && abiertas.size() < kNivelesContenido && !actual->isEmpty())
                abiertas.append(&actual->last().hijas);
            else
                abiertas.append(actual);
        } else if (etiqueta.nombre == u"/ul") {
            if (nivel > 0) {
                --nivel;
                abiertas.removeLast();
            }
        } else if (etiqueta.nombre == u"object") {
            enObjeto = etiqueta.atributos.value(QStringLiteral("type"))
                           .compare(QStringLiteral("text/sitemap"), Qt::CaseInsensitive) == 0;
            entrada = {};
        } else if (etiqueta.nombre == u"param" && enObjeto) {
            const QString nombre = etiqueta.atributos.value(QStringLiteral("name"));
            const QString valor = SinReferencias(etiqueta.atributos.value(QStringLiteral("value")));
            if (nombre.compare(QStringLiteral("Name"), Qt::CaseInsensitive) == 0)
                entrada.titulo = valor;
            else if (nombre.compare(QStringLiteral("Local"), Qt::CaseInsensitive) == 0)
                entrada.pagina = valor;
        } else if (etiqueta.nombre == u"/object" && enObjeto) {
            enObjeto = false;
            if (!entrada.titulo.isEmpty() && EsPaginaDeLaCarpeta(entrada.pagina))
                abiertas.last()->append(entrada);
        }
    }
    return raiz;
}

VentanaAyuda::VentanaAyuda(const QString& carpeta, int idioma, QWidget* parent)
    : QDialog(parent), carpeta_(QDir::cleanPath(carpeta)), navegador_(new QTextBrowser),
      contenido_(new QTreeWidget), atras_(new QPushButton), adelante_(new QPushButton) {
    setWindowTitle(QStringLiteral("TARVIK - ") + TextoQt("HelpButton_Caption", idioma));
    setSizeGripEnabled(true);
    resize(980, 660);

    contenido_->setHeaderHidden(true);
    contenido_->setRootIsDecorated(true);
    contenido_->setUniformRowHeights(true);
    QFile archivo(QDir(carpeta_).filePath(kArchivoContenido));
    if (archivo.open(QIODevice::ReadOnly)) {
        const std::function<void(const QList<EntradaContenido>&, QTreeWidgetItem*)> anadir =
            [&](const QList<EntradaContenido>& entradas, QTreeWidgetItem* padre) {
                for (const EntradaContenido& entrada : entradas) {
                    auto* elemento =
                        padre != nullptr ? new QTreeWidgetItem(padre) : new QTreeWidgetItem(contenido_);
                    elemento->setText(0, entrada.titulo);
                    elemento->setToolTip(0, entrada.titulo);
                    elemento->setData(0, Qt::UserRole, entrada.pagina);
                    anadir(entrada.hijas, elemento);
                }
            };
        anadir(LeerContenido(archivo.read(kMayorContenido)), nullptr);
    }
    contenido_->expandAll();

    navegador_->setOpenExternalLinks(true);
    navegador_->setSearchPaths({carpeta_});

    atras_->setText(Rotulo(idioma, "Atrás", "Back"));
    atras_->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    atras_->setEnabled(false);
    adelante_->setText(Rotulo(idioma, "Adelante", "Forward"));
    adelante_->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    adelante_->setEnabled(false);
    auto* inicio = new QPushButton(Rotulo(idioma, "Inicio", "Home"));
    inicio->setIcon(style()->standardIcon(QStyle::SP_DirHomeIcon));
    auto* cerrar = new QPushButton(TextoQt("closecaption", idioma));
    for (QPushButton* boton : {atras_, adelante_, inicio, cerrar})
        boton->setAutoDefault(false);

    auto* division = new QSplitter(Qt::Horizontal);
    division->addWidget(contenido_);
    division->addWidget(navegador_);
    division->setStretchFactor(1, 1);
    division->setSizes({300, 680});
    auto* botones = new QHBoxLayout;
    botones->addWidget(atras_);
    botones->addWidget(adelante_);
    botones->addWidget(inicio);
    botones->addStretch(1);
    botones->addWidget(cerrar);
    auto* disposicion = new QVBoxLayout(this);
    disposicion->addWidget(division, 1);
    disposicion->addLayout(botones);

    connect(atras_, &QPushButton::clicked, navegador_, &QTextBrowser::backward);
    connect(adelante_, &QPushButton::clicked, navegador_, &QTextBrowser::forward);
    connect(inicio, &QPushButton::clicked, this, [this] { MostrarPagina(kPaginaInicio); });
    connect(cerrar, &QPushButton::clicked, this, &QDialog::close);
    connect(navegador_, &QTextBrowser::backwardAvailable, atras_, &QPushButton::setEnabled);
    connect(navegador_, &QTextBrowser::forwardAvailable, adelante_, &QPushButton::setEnabled);
    connect(navegador_, &QTextBrowser::sourceChanged, this, &VentanaAyuda::MarcarEnContenido);
    connect(contenido_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* elemento) {
        if (elemento != nullptr)
            MostrarPagina(elemento->data(0, Qt::UserRole).toString());
    });

    MostrarPagina(kPaginaInicio);
}

void VentanaAyuda::MostrarPagina(const QString& pagina) {
    if (navegador_->source().fileName() == pagina)
        return;
    navegador_->setSource(QUrl::fromLocalFile(QDir(carpeta_).filePath(pagina)));
}

void VentanaAyuda::MarcarEnContenido(const QUrl& direccion) {
    const QString pagina = direccion.fileName();
    const QSignalBlocker bloqueo(contenido_);
    for (QTreeWidgetItemIterator it(contenido_); *it != nullptr; ++it) {
        if ((*it)->data(0, Qt::UserRole).toString() == pagina) {
            contenido_->setCurrentItem(*it);
            return;
        }
    }
    contenido_->setCurrentItem(nullptr);
}

void AbrirAyuda(const QString& rutaPrograma, int idioma, QWidget* parent) {
    const bool espanol = idioma == kEspanol;
#ifdef Q_OS_WIN
    // Windows opens its compiled help files with its own help viewer.
    const QString compilada = rutaPrograma + (espanol ? "tarvik.chm" : "tarvik_en.chm");
    if (QFileInfo::exists(compilada) && QDesktopServices::openUrl(QUrl::fromLocalFile(compilada)))
        return;
#endif
    // Other desktops seldom have a viewer for the compiled files, and what they register for the
    // type may be an archive tool that lists the file's insides; the same pages are shown here.
    const QString carpeta = QDir::cleanPath(rutaPrograma + QStringLiteral("help/") + (espanol ? "es" : "en"));
    if (!QFileInfo::exists(QDir(carpeta).filePath(kPaginaInicio)))
        return;
    VentanaAyuda* ventana =
        parent != nullptr ? parent->findChild<VentanaAyuda*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (ventana != nullptr && ventana->Carpeta() != carpeta) {
        delete ventana;
        ventana = nullptr;
    }
    if (ventana == nullptr) {
        ventana = new VentanaAyuda(carpeta, idioma, parent);
        if (parent == nullptr)
            ventana->setAttribute(Qt::WA_DeleteOnClose);
    }
    ventana->show();
    ventana->raise();
    ventana->activateWindow();
}

} // namespace tarvik
