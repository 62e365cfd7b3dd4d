#include "core/util/numeros.h"

#include <charconv>

namespace tarvik {

std::string Fijo(double valor, int decimales, char separador) {
    // The longest fixed-point double (about 1.8e308) has 309 integer digits.
    char texto[400];
    const auto [fin, error] =
        std::to_chars(texto, texto + sizeof texto, valor, std::chars_format::fixed, decimales);
    std::string resultado(texto, error == std::errc{} ? fin : texto);
    for (char& c : resultado)
        if (c == '.')
            c = separador;
    return resultado;
}

std::string EnteroMostrado(double valor) {
    std::string texto = Fijo(valor, 0, '.');
    if (texto == "-0")
        texto = "0";
    return texto;
}

} // namespace tarvik
