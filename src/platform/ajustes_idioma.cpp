#include "platform/ajustes_idioma.h"

#include "core/lang/idioma.h"

#include <QSettings>
#include <limits>
#include <optional>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QLocale>
#include <QStringList>
#endif

namespace tarvik {
namespace {

// The value as stored, or nothing when it is missing or not a 32-bit whole number.
std::optional<std::int32_t> LeerGuardado(const QString& nombre) {
    QSettings ajustes(kOrganizacionAjustes, kAplicacionAjustes);
    ajustes.setFallbacksEnabled(false);
    const QVariant valor = ajustes.value(nombre);
    bool entero = false;
    const qlonglong numero = valor.toLongLong(&entero);
    if (!valor.isValid() || !entero || numero < std::numeric_limits<std::int32_t>::min() ||
        numero > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(numero);
}

} // namespace

std::int32_t LeerEnteroAjuste(const QString& nombre, std::int32_t porDefecto) {
    return LeerGuardado(nombre).value_or(porDefecto);
}

void EscribirEnteroAjuste(const QString& nombre, std::int32_t valor) {
    QSettings ajustes(kOrganizacionAjustes, kAplicacionAjustes);
    ajustes.setValue(nombre, valor);
    ajustes.sync();
}

std::uint16_t IdiomaInterfazSistema() {
#ifdef Q_OS_WIN
    return GetUserDefaultUILanguage();
#else
    // The first of the user's interface languages (LANGUAGE, LC_ALL, LC_MESSAGES, LANG).
    const QStringList idiomas = QLocale::system().uiLanguages();
    return idiomas.isEmpty() ? 0 : IdentificadorDeEtiqueta(idiomas.first().toStdString());
#endif
}

int IdiomaAlArrancar() {
    return ElegirIdiomaInicial(IdiomaInterfazSistema(), LeerGuardado(kAjusteAutomatico),
                               LeerGuardado(kAjusteIdioma));
}

} // namespace tarvik
