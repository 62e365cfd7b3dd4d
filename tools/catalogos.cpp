#include "tools/fuentes.h"
#include "tools/generar.h"

#include "core/catalogue/catalogo.h"

#include <limits>

namespace tarvik::fuentes {

namespace {

constexpr std::int32_t kMaxEntero = std::numeric_limits<std::int32_t>::max();

float Positivo(const Valores& fila, std::string_view columna) {
    const double valor = fila.Real(columna);
    if (!(valor > 0) || valor > std::numeric_limits<float>::max())
        fila.Fallo(columna, "must be above 0");
    return static_cast<float>(valor);
}

template <class Registro> void Anadir(std::vector<std::uint8_t>& bytes, const Registro& registro) {
    const std::vector<std::uint8_t> b = registro.Codificar();
    bytes.insert(bytes.end(), b.begin(), b.end());
}

std::vector<Valores> Tabla(const std::filesystem::path& carpeta, const std::string& nombre,
                           std::initializer_list<std::string_view> columnas) {
    const std::filesystem::path ruta = carpeta / nombre;
    return LeerTabla(ruta.string(), LeerLineas(ruta), columnas);
}

// Banks, filters and transformer capacitors.
ArchivoGenerado Equipos(const std::filesystem::path& carpeta, const std::string& fuente,
                        const std::string& destino) {
    ArchivoGenerado archivo{destino, {}};
    for (const Valores& fila :
         Tabla(carpeta, fuente, {"codigo", "serie", "potencia", "tension", "precio", "armonicos", "tipo"})) {
        TEquipo e;
        e.codigo = fila.Texto("codigo", 20);
        e.serie = fila.Texto("serie", 20);
        e.potencia = Positivo(fila, "potencia");
        e.tension = fila.Entero("tension", 1, kMaxEntero);
        const double precio = fila.Real("precio");
        if (precio < 0)
            fila.Fallo("precio", "must not be negative");
        e.precio = static_cast<float>(precio);
        e.armonicos = static_cast<std::uint8_t>(fila.Entero("armonicos", 0, 1));
        e.tipo = static_cast<std::uint8_t>(fila.Entero("tipo", 0, 1));
        Anadir(archivo.bytes, e);
    }
    return archivo;
}

ArchivoGenerado Transformadores(const std::filesystem::path& carpeta) {
    ArchivoGenerado archivo{"trans.dat", {}};
    for (const Valores& fila : Tabla(carpeta, "trans.csv", {"designacion", "intensidad"})) {
        TTransformador t;
        t.designacion = fila.Texto("designacion", 20);
        t.intensidad = Positivo(fila, "intensidad");
        Anadir(archivo.bytes, t);
    }
    return archivo;
}

// The conductor selection takes the last conductor as the one that carries the most, so the
// table must run in increasing order of current.
ArchivoGenerado Conductores(const std::filesystem::path& carpeta) {
    ArchivoGenerado archivo{"cond.dat", {}};
    float anterior = 0;
    for (const Valores& fila : Tabla(carpeta, "cond.csv", {"seccion", "intensidad"})) {
        TConductor c;
        c.seccion = Positivo(fila, "seccion");
        c.intensidad = Positivo(fila, "intensidad");
        if (c.intensidad <= anterior)
            fila.Fallo("intensidad", "conductors must be listed in increasing order of current");
        anterior = c.intensidad;
        Anadir(archivo.bytes, c);
    }
    return archivo;
}

} // namespace

std::vector<ArchivoGenerado> GenerarCatalogos(const std::filesystem::path& carpeta) {
    return {Equipos(carpeta, "bateria.csv", "bateria.dat"),
            Equipos(carpeta, "bateria60.csv", "bateria60.dat"),
            Equipos(carpeta, "filtros.csv", "filtros.dat"), Transformadores(carpeta), Conductores(carpeta)};
}

} // namespace tarvik::fuentes
