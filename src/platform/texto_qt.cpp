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

QString TextoQt(std::string_view clave) {
    return DesdeAnsi(Texto(clave));
}

QString TextoQt(std::string_view clave, int idioma) {
    return DesdeAnsi(Texto(clave, idioma));
}

QString TextoDialogoQt(std::string_view clave) {
    return DesdeAnsi(TextoDialogo(clave));
}

} // namespace tarvik
