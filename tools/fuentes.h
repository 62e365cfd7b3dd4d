#pragma once
// Readable sources of the shipped data: UTF-8 text files of comma-separated tables and of
// "name: value" lines, read strictly so that a slip in the data stops the generator.

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik::fuentes {

// A fault in a source file; the text names the file and line.
struct ErrorFuente : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// One significant line of a source file: blanks trimmed; empty lines and '#' comments are dropped.
struct Linea {
    std::size_t numero = 0;
    std::string texto;
};

std::vector<Linea> LeerLineas(const std::filesystem::path& ruta);

// The files of a folder whose names end in `extension` (".txt"), in name order.
std::vector<std::filesystem::path> ArchivosDe(const std::filesystem::path& carpeta,
                                              std::string_view extension);

// Named values of a source: the columns of one table row, or the "name: value" lines of a block.
class Valores {
  public:
    explicit Valores(std::string origen) : origen_(std::move(origen)) {}

    void Poner(std::string nombre, std::string valor, std::size_t linea);
    bool Tiene(std::string_view nombre) const { return Encontrar(nombre) != nullptr; }

    // A text converted to Windows-1252, refused when longer than `capacidad` bytes or when a
    // character has no place in the code page.
    std::string Texto(std::string_view nombre, std::size_t capacidad) const;
    // A finite decimal number.
    double Real(std::string_view nombre) const;
    // A whole number within [minimo, maximo].
    std::int32_t Entero(std::string_view nombre, std::int32_t minimo, std::int32_t maximo) const;
    // The position of the value among `opciones` (the texts a choice shows).
    std::int32_t Eleccion(std::string_view nombre, std::span<const char* const> opciones) const;

    // Reports a fault at the line of a value.
    [[noreturn]] void Fallo(std::string_view nombre, std::string_view motivo) const;

  private:
    struct Entrada {
        std::string nombre;
        std::string valor;
        std::size_t linea;
    };
    const Entrada* Encontrar(std::string_view nombre) const;
    const Entrada& Buscar(std::string_view nombre) const;

    std::string origen_;
    std::vector<Entrada> entradas_;
};

// A table: a header line naming exactly `columnas`, then one row per line.
std::vector<Valores> LeerTabla(const std::string& origen, std::span<const Linea> lineas,
                               std::initializer_list<std::string_view> columnas);

// "name: value" lines, each name one of `nombres` and given once.
Valores LeerBloque(const std::string& origen, std::span<const Linea> lineas,
                   std::initializer_list<std::string_view> nombres);

} // namespace tarvik::fuentes
