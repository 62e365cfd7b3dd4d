#include "platform/archivo_texto.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tarvik {

bool LeerArchivoCompleto(const QString& ruta, std::string& bytes, QString& error) {
    const QFileInfo info(ruta);
    QFile archivo(ruta);
    if (info.exists() && !info.isFile()) {
        error = QStringLiteral("\"%1\" is not a regular file").arg(ruta);
        return false;
    }
    if (!archivo.open(QIODevice::ReadOnly)) {
        error = archivo.errorString();
        return false;
    }
    if (archivo.size() > kTamMaximoTexto) {
        error = QStringLiteral("\"%1\" is larger than %2 MiB").arg(ruta).arg(kTamMaximoTexto >> 20);
        return false;
    }
    const QByteArray datos = archivo.read(kTamMaximoTexto + 1);
    if (datos.size() > kTamMaximoTexto || archivo.error() != QFileDevice::NoError) {
        error = datos.size() > kTamMaximoTexto ? QStringLiteral("\"%1\" grew while it was read").arg(ruta)
                                               : archivo.errorString();
        return false;
    }
    bytes.assign(datos.constData(), static_cast<std::size_t>(datos.size()));
    return true;
}

bool GuardarArchivoCompleto(const QString& ruta, const std::string& bytes, QString& error) {
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly) ||
        archivo.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
        !archivo.commit()) {
        error = archivo.errorString();
        return false;
    }
    return true;
}

} // namespace tarvik
