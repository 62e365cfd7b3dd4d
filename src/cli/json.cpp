#include "cli/json.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace tarvik::cli {

namespace {

void EscribirTexto(std::string& salida, const std::string& texto) {
    salida += '"';
    for (const char c : texto) {
        switch (c) {
        case '"':
            salida += "\\\"";
            break;
        case '\\':
            salida += "\\\\";
            break;
        case '\n':
            salida += "\\n";
            break;
        case '\t':
            salida += "\\t";
            break;
        case '\r':
            salida += "\\r";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                salida += escape;
            } else {
                salida += c;
            }
        }
    }
    salida += '"';
}

void EscribirReal(std::string& salida, double v) {
    // JSON has no infinities or NaN.
    if (!std::isfinite(v)) {
        salida += "null";
        return;
    }
    char texto[32];
    const auto fin = std::to_chars(texto, texto + sizeof texto, v).ptr;
    salida.append(texto, fin);
}

void Sangrar(std::string& salida, int nivel) {
    salida += '\n';
    salida.append(static_cast<std::size_t>(nivel) * 2, ' ');
}

} // namespace

Json Json::Objeto() {
    Json j;
    j.tipo_ = Tipo::Objeto;
    return j;
}

Json Json::Lista() {
    Json j;
    j.tipo_ = Tipo::Lista;
    return j;
}

Json& Json::Agregar(std::string clave, Json valor) {
    claves_.push_back(std::move(clave));
    elementos_.push_back(std::move(valor));
    return *this;
}

Json& Json::Agregar(Json valor) {
    elementos_.push_back(std::move(valor));
    return *this;
}

std::string Json::Escribir() const {
    std::string salida;
    Escribir(salida, 0);
    salida += '\n';
    return salida;
}

void Json::Escribir(std::string& salida, int nivel) const {
    switch (tipo_) {
    case Tipo::Nulo:
        salida += "null";
        return;
    case Tipo::Logico:
        salida += logico_ ? "true" : "false";
        return;
    case Tipo::Entero:
        salida += std::to_string(entero_);
        return;
    case Tipo::Real:
        EscribirReal(salida, real_);
        return;
    case Tipo::Texto:
        EscribirTexto(salida, texto_);
        return;
    case Tipo::Lista:
    case Tipo::Objeto:
        break;
    }
    const bool objeto = tipo_ == Tipo::Objeto;
    const bool enLinea = !objeto && std::none_of(elementos_.begin(), elementos_.end(),
                                                 [](const Json& e) { return e.Compuesto(); });
    salida += objeto ? '{' : '[';
    for (std::size_t i = 0; i < elementos_.size(); ++i) {
        if (i > 0)
            salida += enLinea ? ", " : ",";
        if (!enLinea)
            Sangrar(salida, nivel + 1);
        if (objeto) {
            EscribirTexto(salida, claves_[i]);
            salida += ": ";
        }
        elementos_[i].Escribir(salida, nivel + 1);
    }
    if (!enLinea && !elementos_.empty())
        Sangrar(salida, nivel);
    salida += objeto ? '}' : ']';
}

} // namespace tarvik::cli
