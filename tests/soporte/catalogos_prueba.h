#pragma once
// Small catalogues written from field values into a temporary program folder, and readings built
// from their energies, for the calculation tests.

#include "core/catalogue/catalogo.h"
#include "core/engine/sesion.h"
#include "core/study/estudio.h"
#include "soporte/archivos.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tarvik::prueba {

// A program folder with an empty dbf/ beside it, removed at the end of the test.
class CarpetaPrograma : public CarpetaTemporal {
  public:
    CarpetaPrograma() { std::filesystem::create_directories(ruta() / "dbf"); }

    Rutas rutas() const { return Rutas::DesdeCarpeta(ruta().string()); }

    template <class Registro>
    void Escribir(const std::string& nombre, const std::vector<Registro>& registros) const {
        std::vector<std::uint8_t> bytes;
        for (const Registro& r : registros) {
            const auto b = r.Codificar();
            bytes.insert(bytes.end(), b.begin(), b.end());
        }
        EscribirTodo(ruta() / "dbf" / nombre, bytes);
    }
};

inline TEquipo Equipo(const std::string& serie, float potencia, std::int32_t tension = 400,
                      float precio = 100, std::uint8_t armonicos = 0, std::uint8_t tipo = 0,
                      const std::string& codigo = "") {
    TEquipo e;
    e.codigo = codigo.empty() ? serie.substr(0, 3) + std::to_string(static_cast<int>(potencia * 10)) : codigo;
    e.serie = serie;
    e.potencia = potencia;
    e.tension = tension;
    e.precio = precio;
    e.armonicos = armonicos;
    e.tipo = tipo;
    e.indicador = 7;
    return e;
}

inline TConductor Conductor(float seccion, float intensidad) {
    TConductor c;
    c.seccion = seccion;
    c.intensidad = intensidad;
    return c;
}

inline TTransformador Transformador(const std::string& designacion, float intensidad) {
    TTransformador t;
    t.designacion = designacion;
    t.intensidad = intensidad;
    return t;
}

inline TLectura Lectura(double kwht, double kvarh, double mdr = 0, double cpc = 0, double rr = 0) {
    TLectura l;
    l.mes = "ENERO";
    l.kwht = kwht;
    l.kvarh = kvarh;
    l.mdr = mdr;
    l.cpc = cpc;
    l.rr = rr;
    return l;
}

// Copper conductors, PVC, three loaded, up to 300 A.
inline std::vector<TConductor> ConductoresHasta300() {
    return {Conductor(35, 119), Conductor(50, 144),  Conductor(70, 184),
            Conductor(95, 223), Conductor(120, 259), Conductor(185, 300)};
}

} // namespace tarvik::prueba
