#include "tools/fuentes.h"

#include "core/util/cp1252.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>

namespace tarvik::fuentes {

namespace {

std::string_view Recortado(std::string_view s) {
    const auto inicio = s.find_first_not_of(" \t\r");
    if (inicio == std::string_view::npos)
        return {};
    const auto fin = s.find_last_not_of(" \t\r");
    return s.substr(inicio, fin - inicio + 1);
}

std::string Lugar(const std::string& origen, std::size_t linea) {
    return origen + ":" + std::to_string(linea);
}

std::vector<std::string> Partir(std::string_view texto, char separador) {
    std::vector<std::string> partes;
    for (;;) {
        const auto pos = texto.find(separador);
        partes.emplace_back(Recortado(texto.substr(0, pos)));
        if (pos == std::string_view::npos)
            return partes;
        texto.remove_prefix(pos + 1);
    }
}

} // namespace

std::vector<Linea> LeerLineas(const std::filesystem::path& ruta) {
    std::ifstream entrada(ruta, std::ios::binary);
    if (!entrada)
        throw ErrorFuente(ruta.string() + ": cannot be read");
    std::vector<Linea> lineas;
    std::string texto;
    for (std::size_t numero = 1; std::getline(entrada, texto); ++numero) {
        const std::string_view util = Recortado(texto);
        if (!util.empty() && util.front() != '#')
            lineas.push_back({numero, std::string(util)});
    }
    return lineas;
}

void Valores::Poner(std::string nombre, std::string valor, std::size_t linea) {
    if (Tiene(nombre))
        throw ErrorFuente(Lugar(origen_, linea) + ": '" + nombre + "' given twice");
    entradas_.push_back({std::move(nombre), std::move(valor), linea});
}

const Valores::Entrada* Valores::Encontrar(std::string_view nombre) const {
    for (const Entrada& e : entradas_)
        if (e.nombre == nombre)
            return &e;
    return nullptr;
}

const Valores::Entrada& Valores::Buscar(std::string_view nombre) const {
    if (const Entrada* e = Encontrar(nombre))
        return *e;
    throw ErrorFuente(origen_ + ": '" + std::string(nombre) + "' is missing");
}

std::vector<std::filesystem::path> ArchivosDe(const std::filesystem::path& carpeta,
                                              std::string_view extension) {
    std::vector<std::filesystem::path> rutas;
    for (const auto& entrada : std::filesystem::directory_iterator(carpeta))
        if (entrada.path().extension() == extension)
            rutas.push_back(entrada.path());
    std::sort(rutas.begin(), rutas.end());
    return rutas;
}

void Valores::Fallo(std::string_view nombre, std::string_view motivo) const {
    const Entrada& e = Buscar(nombre);
    throw ErrorFuente(Lugar(origen_, e.linea) + ": " + e.nombre + " '" + e.valor +
                      "': " + std::string(motivo));
}

std::string Valores::Texto(std::string_view nombre, std::size_t capacidad) const {
    const std::string& utf8 = Buscar(nombre).valor;
    const std::string texto = Utf8ToCp1252(utf8);
    if (std::count(texto.begin(), texto.end(), '?') != std::count(utf8.begin(), utf8.end(), '?'))
        Fallo(nombre, "holds a character that Windows-1252 cannot hold");
    if (texto.size() > capacidad)
        Fallo(nombre, "longer than " + std::to_string(capacidad) + " characters");
    return texto;
}

double Valores::Real(std::string_view nombre) const {
    const std::string& valor = Buscar(nombre).valor;
    double numero = 0;
    const char* fin = valor.data() + valor.size();
    const auto [ptr, ec] = std::from_chars(valor.data(), fin, numero, std::chars_format::fixed);
    if (valor.empty() || ec != std::errc() || ptr != fin || !std::isfinite(numero))
        Fallo(nombre, "not a decimal number");
    return numero;
}

std::int32_t Valores::Entero(std::string_view nombre, std::int32_t minimo, std::int32_t maximo) const {
    const std::string& valor = Buscar(nombre).valor;
    std::int32_t numero = 0;
    const char* fin = valor.data() + valor.size();
    const auto [ptr, ec] = std::from_chars(valor.data(), fin, numero);
    if (valor.empty() || ec != std::errc() || ptr != fin)
        Fallo(nombre, "not a whole number");
    if (numero < minimo || numero > maximo)
        Fallo(nombre, "outside " + std::to_string(minimo) + " to " + std::to_string(maximo));
    return numero;
}

std::int32_t Valores::Eleccion(std::string_view nombre, std::span<const char* const> opciones) const {
    const std::string& valor = Buscar(nombre).valor;
    for (std::size_t i = 0; i < opciones.size(); ++i)
        if (valor == opciones[i])
            return static_cast<std::int32_t>(i);
    Fallo(nombre, "not one of the choices");
}

std::vector<Valores> LeerTabla(const std::string& origen, std::span<const Linea> lineas,
                               std::initializer_list<std::string_view> columnas) {
    if (lineas.empty())
        throw ErrorFuente(origen + ": the table has no header");
    const std::vector<std::string> cabecera = Partir(lineas.front().texto, ',');
    if (!std::equal(cabecera.begin(), cabecera.end(), columnas.begin(), columnas.end())) {
        std::string esperada;
        for (std::string_view columna : columnas)
            esperada += (esperada.empty() ? "" : ",") + std::string(columna);
        throw ErrorFuente(Lugar(origen, lineas.front().numero) + ": the header must be " + esperada);
    }
    std::vector<Valores> filas;
    for (const Linea& linea : lineas.subspan(1)) {
        const std::vector<std::string> campos = Partir(linea.texto, ',');
        if (campos.size() != cabecera.size())
            throw ErrorFuente(Lugar(origen, linea.numero) + ": " + std::to_string(campos.size()) +
                              " fields, the header names " + std::to_string(cabecera.size()));
        Valores fila(origen);
        for (std::size_t i = 0; i < campos.size(); ++i)
            fila.Poner(cabecera[i], campos[i], linea.numero);
        filas.push_back(std::move(fila));
    }
    return filas;
}

Valores LeerBloque(const std::string& origen, std::span<const Linea> lineas,
                   std::initializer_list<std::string_view> nombres) {
    Valores valores(origen);
    for (const Linea& linea : lineas) {
        const auto pos = linea.texto.find(':');
        const std::string nombre(Recortado(std::string_view(linea.texto).substr(0, pos)));
        if (pos == std::string::npos || std::find(nombres.begin(), nombres.end(), nombre) == nombres.end())
            throw ErrorFuente(Lugar(origen, linea.numero) +
                              ": expected one of the study's fields and ': value'");
        valores.Poner(nombre, std::string(Recortado(std::string_view(linea.texto).substr(pos + 1))),
                      linea.numero);
    }
    for (std::string_view nombre : nombres)
        if (!valores.Tiene(nombre))
            throw ErrorFuente(origen + ": '" + std::string(nombre) + "' is missing");
    return valores;
}

} // namespace tarvik::fuentes
