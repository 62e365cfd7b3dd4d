#include "platform/numero_local.h"

#include <charconv>
#include <string>

namespace tarvik {

char SeparadorDecimal(const QLocale& local) {
    const QString punto = local.decimalPoint();
    return punto.size() == 1 && punto.at(0).unicode() < 0x80 ? static_cast<char>(punto.at(0).unicode()) : '.';
}

std::optional<float> DecimalDeTexto(const QString& texto, const QLocale& local) {
    const QString separador = local.decimalPoint();
    const QString limpio = texto.trimmed();
    // Rewritten in the C form that from_chars reads: sign, digits, '.', digits.
    std::string c;
    bool hayDigitos = false;
    bool haySeparador = false;
    qsizetype i = 0;
    if (limpio.startsWith(local.negativeSign()) || limpio.startsWith(u'-')) {
        c += '-';
        i = limpio.startsWith(local.negativeSign()) ? local.negativeSign().size() : 1;
    } else if (limpio.startsWith(local.positiveSign()) || limpio.startsWith(u'+')) {
        i = limpio.startsWith(local.positiveSign()) ? local.positiveSign().size() : 1;
    }
    while (i < limpio.size()) {
        const QChar ch = limpio.at(i);
        if (ch >= u'0' && ch <= u'9') {
            c += static_cast<char>(ch.unicode());
            hayDigitos = true;
            ++i;
        } else if (!haySeparador && QStringView(limpio).mid(i).startsWith(separador)) {
            c += '.';
            haySeparador = true;
            i += separador.size();
        } else {
            return std::nullopt;
        }
    }
    if (!hayDigitos)
        return std::nullopt;
    float valor = 0;
    const char* fin = c.data() + c.size();
    const auto [resto, error] = std::from_chars(c.data(), fin, valor, std::chars_format::fixed);
    if (error != std::errc{} || resto != fin)
        return std::nullopt;
    return valor;
}

} // namespace tarvik
