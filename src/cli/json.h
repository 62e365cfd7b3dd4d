#pragma once
// A small JSON value and writer for the command-line output: members keep the order they were
// added in, and every double prints as the shortest text that reads back to the same double.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tarvik::cli {

class Json {
  public:
    Json() = default; // null
    Json(bool v) : tipo_(Tipo::Logico), logico_(v) {}
    Json(std::int32_t v) : tipo_(Tipo::Entero), entero_(v) {}
    Json(std::int64_t v) : tipo_(Tipo::Entero), entero_(v) {}
    Json(double v) : tipo_(Tipo::Real), real_(v) {}
    Json(std::string utf8) : tipo_(Tipo::Texto), texto_(std::move(utf8)) {}
    Json(const char* utf8) : Json(std::string(utf8)) {}

    static Json Objeto();
    static Json Lista();

    // Adds a member to an object, or an element to a list; returns *this.
    Json& Agregar(std::string clave, Json valor);
    Json& Agregar(Json valor);

    // The text, indented by two blanks per level; lists of plain values stay on one line.
    std::string Escribir() const;

  private:
    enum class Tipo { Nulo, Logico, Entero, Real, Texto, Lista, Objeto };
    void Escribir(std::string& salida, int nivel) const;
    bool Compuesto() const { return tipo_ == Tipo::Lista || tipo_ == Tipo::Objeto; }

    Tipo tipo_ = Tipo::Nulo;
    bool logico_ = false;
    std::int64_t entero_ = 0;
    double real_ = 0;
    std::string texto_;
    std::vector<std::string> claves_;
    std::vector<Json> elementos_;
};

} // namespace tarvik::cli
