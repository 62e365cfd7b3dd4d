// The main window's readings in and out of spreadsheets: import and export of CSV files from the
// Open button's menu, and copy and paste of rows in the readings list.

#include "app/app/dialogos.h"
#include "app/app/mainform.h"
#include "app/study/lista_lecturas.h"
#include "app/study/panel_entradas.h"
#include "core/lang/traduccion.h"
#include "core/study/lecturas_csv.h"
#include "core/util/cp1252.h"
#include "platform/archivo_texto.h"
#include "platform/avisos.h"
#include "platform/numero_local.h"
#include "platform/rotulo.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QItemSelectionModel>
#include <QListView>
#include <QMenu>

#include <algorithm>

namespace tarvik {
namespace {

const char* const kFiltroCsvEs = "Lecturas en CSV (*.csv *.txt);;Todos los archivos (*)";
const char* const kFiltroCsvEn = "Readings as CSV (*.csv *.txt);;All files (*)";

} // namespace

void Tmainform::AnadirAccionesLecturas(QMenu* menu) {
    const int idioma = IdiomaActivo();
    QAction* importar = menu->addAction(Rotulo(idioma, "&Importar lecturas…", "&Import readings…"));
    importar->setObjectName(QStringLiteral("importarLecturas"));
    connect(importar, &QAction::triggered, this, &Tmainform::ImportarLecturas);
    QAction* exportar = menu->addAction(Rotulo(idioma, "&Exportar lecturas…", "&Export readings…"));
    exportar->setObjectName(QStringLiteral("exportarLecturas"));
    exportar->setEnabled(!sesion_.Lecturas.empty());
    connect(exportar, &QAction::triggered, this, &Tmainform::ExportarLecturas);
    menu->addSeparator();
}

void Tmainform::ImportarLecturas() {
    const int idioma = IdiomaActivo();
    const QString ruta =
        Reemplazable<Dialogos>::Activo().Abrir(this, Rotulo(idioma, "Importar lecturas", "Import readings"),
                                               Rotulo(idioma, kFiltroCsvEs, kFiltroCsvEn));
    if (!ruta.isEmpty())
        ImportarLecturasDe(ruta);
}

bool Tmainform::ImportarLecturasDe(const QString& ruta) {
    std::string bytes;
    QString error;
    if (!LeerArchivoCompleto(ruta, bytes, error)) {
        Reemplazable<Avisos>::Activo().Mostrar(
            TipoMensaje::Error,
            Rotulo(IdiomaActivo(), "No se puede leer \"%1\": %2", "Cannot read \"%1\": %2")
                .arg(QDir::toNativeSeparators(ruta), error));
        return false;
    }
    ResultadoLecturasCsv csv = LeerLecturasCsv(bytes);
    if (!csv.ok()) {
        MostrarErroresCsv(QDir::toNativeSeparators(ruta), csv);
        return false;
    }
    bool reemplazar = true;
    if (!sesion_.Lecturas.empty()) {
        const std::optional<bool> respuesta = Reemplazable<Dialogos>::Activo().ReemplazarLecturas(
            this, static_cast<int>(sesion_.Lecturas.size()), static_cast<int>(csv.lecturas.size()));
        if (!respuesta)
            return false;
        reemplazar = *respuesta;
    }
    IncorporarLecturas(std::move(csv.lecturas), reemplazar);
    return true;
}

void Tmainform::ExportarLecturas() {
    const int idioma = IdiomaActivo();
    const QString ruta = Reemplazable<Dialogos>::Activo().Guardar(
        this, Rotulo(idioma, "Exportar lecturas", "Export readings"),
        Rotulo(idioma, kFiltroCsvEs, kFiltroCsvEn), QStringLiteral("csv"));
    if (ruta.isEmpty())
        return;
    QString error;
    if (!GuardarArchivoCompleto(ruta, EscribirLecturasCsv(sesion_.Lecturas, SeparadorDecimal(), idioma),
                                error))
        Reemplazable<Avisos>::Activo().Mostrar(
            TipoMensaje::Error, Rotulo(idioma, "No se puede escribir \"%1\": %2", "Cannot write \"%1\": %2")
                                    .arg(QDir::toNativeSeparators(ruta), error));
}

void Tmainform::CopiarLecturas() {
    const QModelIndexList seleccion = panel_->Lista()->Vista()->selectionModel()->selectedRows();
    if (seleccion.isEmpty())
        return;
    std::vector<int> filas;
    for (const QModelIndex& i : seleccion)
        filas.push_back(i.row());
    std::sort(filas.begin(), filas.end());
    std::vector<TLectura> copiadas;
    for (const int fila : filas)
        copiadas.push_back(sesion_.Lecturas.at(static_cast<std::size_t>(fila)));
    QApplication::clipboard()->setText(
        QString::fromStdString(EscribirLecturasTabuladas(copiadas, SeparadorDecimal(), IdiomaActivo())));
}

void Tmainform::PegarLecturas() {
    const QString texto = QApplication::clipboard()->text();
    if (texto.trimmed().isEmpty())
        return;
    ResultadoLecturasCsv csv = LeerLecturasPegadas(texto.toStdString());
    if (!csv.ok()) {
        MostrarErroresCsv(Rotulo(IdiomaActivo(), "el portapapeles", "the clipboard"), csv);
        return;
    }
    IncorporarLecturas(std::move(csv.lecturas), false);
}

void Tmainform::MostrarErroresCsv(const QString& origen, const ResultadoLecturasCsv& csv) {
    const int idioma = IdiomaActivo();
    QString texto =
        Rotulo(idioma, "No se ha importado ninguna lectura de %1:", "No reading was imported from %1:")
            .arg(origen);
    for (const ErrorCsv& e : csv.errores)
        texto += QLatin1Char('\n') + QString::fromStdString(Cp1252ToUtf8(TextoErrorCsv(e, idioma)));
    if (csv.erroresOmitidos > 0)
        texto +=
            QLatin1Char('\n') + Rotulo(idioma, "y %1 filas más con errores.", "and %1 more rows with errors.")
                                    .arg(csv.erroresOmitidos);
    Reemplazable<Avisos>::Activo().Mostrar(TipoMensaje::Error, texto);
}

void Tmainform::IncorporarLecturas(std::vector<TLectura> lecturas, bool reemplazar) {
    if (reemplazar) {
        modelo_->Asignar(std::move(lecturas));
    } else {
        for (const TLectura& l : lecturas)
            modelo_->Anadir(l);
    }
    MarcarObsoletos();
    AplicarReglasComandos();
}

} // namespace tarvik
