// The main window's conveniences around study files: the recent studies on the Open button, files
// dropped on the window, the readings list's clipboard keys, and the study's file name in the
// caption.

#include "app/app/mainform.h"

#include "app/study/lista_lecturas.h"
#include "app/study/panel_entradas.h"

#include "core/lang/traduccion.h"
#include "platform/avisos.h"
#include "platform/recientes.h"
#include "platform/rotulo.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QToolButton>
#include <QUrl>

namespace tarvik {
namespace {

bool EsCsv(const QString& ruta) {
    return QFileInfo(ruta).suffix().compare(QStringLiteral("csv"), Qt::CaseInsensitive) == 0;
}

// The first billing file or CSV file of readings among the local files that a drag carries; empty
// when there is none.
QString ArchivoArrastrado(const QMimeData* datos) {
    if (datos == nullptr || !datos->hasUrls())
        return {};
    for (const QUrl& url : datos->urls()) {
        const QString ruta = url.toLocalFile();
        if (!ruta.isEmpty() &&
            (EsCsv(ruta) || QFileInfo(ruta).suffix().compare(QString::fromLatin1(kExtensionFacturacion),
                                                             Qt::CaseInsensitive) == 0))
            return ruta;
    }
    return {};
}

} // namespace

void Tmainform::PrepararArchivos() {
    auto* abrir = findChild<QToolButton*>(QStringLiteral("openbutton"));
    recientes_ = new QMenu(abrir);
    recientes_->setObjectName(QStringLiteral("recientes"));
    connect(recientes_, &QMenu::aboutToShow, this, &Tmainform::LlenarRecientes);
    // The arrow beside the button, and a right click on the button, list the recent studies.
    abrir->setMenu(recientes_);
    abrir->setPopupMode(QToolButton::MenuButtonPopup);
    abrir->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(abrir, &QWidget::customContextMenuRequested, this,
            [this, abrir](const QPoint& donde) { recientes_->popup(abrir->mapToGlobal(donde)); });

    // The inputs take dropped text themselves; a dropped billing file goes to the window wherever
    // it lands.
    setAcceptDrops(true);
    installEventFilter(this);
    for (QWidget* hijo : findChildren<QWidget*>())
        if (hijo->acceptDrops())
            hijo->installEventFilter(this);
    panel_->Lista()->Vista()->installEventFilter(this);
    PonerArchivo({});
}

void Tmainform::LlenarRecientes() {
    recientes_->clear();
    AnadirAccionesLecturas(recientes_);
    const QStringList rutas = LeerRecientes();
    for (qsizetype i = 0; i < rutas.size(); ++i) {
        const QString ruta = rutas.at(i);
        QString nativa = QDir::toNativeSeparators(ruta);
        QAction* accion =
            recientes_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(nativa.replace('&', "&&")));
        connect(accion, &QAction::triggered, this, [this, ruta] { AbrirReciente(ruta); });
    }
    if (rutas.isEmpty())
        recientes_->addAction(Rotulo(IdiomaActivo(), "No hay estudios recientes", "No recent studies"))
            ->setEnabled(false);
}

void Tmainform::AbrirReciente(const QString& ruta) {
    if (!QFileInfo::exists(ruta)) {
        QuitarReciente(ruta);
        Reemplazable<Avisos>::Activo().Mostrar(
            TipoMensaje::Error,
            Rotulo(IdiomaActivo(), "El archivo \"%1\" ya no existe; se ha quitado de los estudios recientes.",
                   "The file \"%1\" no longer exists; it has been removed from the recent studies.")
                .arg(QDir::toNativeSeparators(ruta)));
        return;
    }
    AbrirArchivo(ruta);
}

void Tmainform::PonerArchivo(const QString& ruta) {
    if (ruta.isEmpty()) {
        setWindowTitle(titulo_);
        return;
    }
    setWindowTitle(QStringLiteral("%1 - %2").arg(titulo_, QFileInfo(ruta).fileName()));
    AnadirReciente(ruta);
}

bool Tmainform::eventFilter(QObject* objeto, QEvent* evento) {
    switch (evento->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* arrastre = static_cast<QDragMoveEvent*>(evento);
        if (ArchivoArrastrado(arrastre->mimeData()).isEmpty())
            break;
        arrastre->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* suelta = static_cast<QDropEvent*>(evento);
        const QString ruta = ArchivoArrastrado(suelta->mimeData());
        if (ruta.isEmpty())
            break;
        suelta->acceptProposedAction();
        if (EsCsv(ruta))
            ImportarLecturasDe(ruta);
        else
            AbrirArchivo(ruta);
        return true;
    }
    case QEvent::KeyPress: {
        auto* tecla = static_cast<QKeyEvent*>(evento);
        if (objeto != panel_->Lista()->Vista())
            break;
        if (tecla->matches(QKeySequence::Copy)) {
            CopiarLecturas();
            return true;
        }
        if (tecla->matches(QKeySequence::Paste)) {
            PegarLecturas();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(objeto, evento);
}

} // namespace tarvik
