#include "platform/texto_qt.h"

#include "core/lang/traduccion.h"
#include "core/util/cp1252.h"

namespace tarvik {

QString DesdeAnsi(const std::string& texto) {
    return QString::fromStdString(Cp1252ToUtf8(texto));
}

std::string HaciaAnsi(const QString& texto) {
    return Utf8ToCp1252(texto.toStdString());
}

QString TextoVisible(const std::string& texto) {
    return DesdeAnsi(ControlsToSpaces(texto));
}

QString TextoQt(std::string_view clave) {
    return TextoVisible(Texto(clave));
}

} // namespace tarvik
