#include "platform/recientes.h"

#include "platform/ajustes_idioma.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace tarvik {
namespace {

// File names are told apart as the file system does.
#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity kMayusculas = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kMayusculas = Qt::CaseSensitive;
#endif

QString Absoluta(const QString& ruta) {
    return QDir::cleanPath(QFileInfo(ruta).absoluteFilePath());
}

void QuitarDe(QStringList& lista, const QString& ruta) {
    lista.removeIf([&ruta](const QString& r) { return r.compare(ruta, kMayusculas) == 0; });
}

void Escribir(const QStringList& lista) {
    QSettings ajustes(kOrganizacionAjustes, kAplicacionAjustes);
    ajustes.setValue(kAjusteRecientes, lista);
    ajustes.sync();
}

} // namespace

QStringList LeerRecientes() {
    QSettings ajustes(kOrganizacionAjustes, kAplicacionAjustes);
    ajustes.setFallbacksEnabled(false);
    QStringList lista;
    for (const QString& ruta : ajustes.value(kAjusteRecientes).toStringList()) {
        if (lista.size() == kMaxRecientes)
            break;
        if (!ruta.isEmpty() && !lista.contains(ruta, kMayusculas))
            lista.append(ruta);
    }
    return lista;
}

void AnadirReciente(const QString& ruta) {
    const QString absoluta = Absoluta(ruta);
    QStringList lista = LeerRecientes();
    QuitarDe(lista, absoluta);
    lista.prepend(absoluta);
    Escribir(lista.mid(0, kMaxRecientes));
}

void QuitarReciente(const QString& ruta) {
    QStringList lista = LeerRecientes();
    QuitarDe(lista, Absoluta(ruta));
    Escribir(lista);
}

} // namespace tarvik
