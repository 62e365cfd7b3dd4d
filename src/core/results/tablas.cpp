#include "core/results/tablas.h"

#include "core/engine/seleccion.h"
#include "core/lang/traduccion.h"
#include "core/study/estudio.h"
#include "core/util/numeros.h"

#include <algorithm>

namespace tarvik {

namespace {

std::string Margen(const std::string& texto) {
    return " " + texto;
}

// The price cell: the amount, or the "on request" text (with the margin only where `margen` says).
std::string Precio(double precio, char separador, bool margen) {
    if (precio != 0)
        return Margen(Fijo(precio, 0, separador));
    return margen ? Margen(Texto("consultar")) : Texto("consultar");
}

// A table of `columnas` columns of empty cells, one row per label, the labels in column 0.
Rejilla Tabla(const std::vector<std::string>& etiquetas, std::size_t columnas) {
    Rejilla r(etiquetas.size(), std::vector<std::string>(columnas));
    for (std::size_t f = 0; f < etiquetas.size(); ++f)
        r[f][0] = etiquetas[f];
    return r;
}

std::vector<std::string> Etiquetas(std::initializer_list<const char*> claves) {
    std::vector<std::string> etiquetas;
    for (const char* clave : claves)
        etiquetas.push_back(Margen(Texto(clave)));
    return etiquetas;
}

std::size_t ColumnaExtra(std::int32_t tarifa) {
    return tarifa == kTarifa11 ? 1 : 0;
}

// "%s" takes the text, "%%" is a percent sign; anything else is kept as written.
std::string Formatear(const std::string& plantilla, const std::string& texto) {
    std::string r;
    bool usado = false;
    for (std::size_t i = 0; i < plantilla.size(); ++i) {
        if (plantilla[i] == '%' && i + 1 < plantilla.size()) {
            if (plantilla[i + 1] == '%') {
                r += '%';
                ++i;
                continue;
            }
            if (plantilla[i + 1] == 's' && !usado) {
                r += texto;
                usado = true;
                ++i;
                continue;
            }
        }
        r += plantilla[i];
    }
    return r;
}

} // namespace

std::string NombreSerie(std::int32_t tipoEquipos, const std::string& serie) {
    return Formatear(
        Texto(EquipamientoDe(tipoEquipos) == Equipamiento::Filtros ? "filter_name" : "battery_name"), serie);
}

Rejilla MostrarEquipos(const std::vector<TEquipoSeleccionado>& equipos, std::int32_t tipoEquipos,
                       std::int32_t tarifa, char separador) {
    const std::size_t n = equipos.size();
    Rejilla r =
        Tabla(Etiquetas({"tabla_capacitores_0", "tabla_capacitores_1",
                         EquipamientoDe(tipoEquipos) == Equipamiento::Filtros ? "tabla_capacitores_2_kw"
                                                                              : "tabla_capacitores_2",
                         "tabla_capacitores_3", "tabla_capacitores_4", "tabla_capacitores_5"}),
              std::max<std::size_t>(n, 1) + 1 + ColumnaExtra(tarifa));
    for (std::size_t i = 0; i < n; ++i) {
        const TEquipoSeleccionado& e = equipos[i];
        r[0][i + 1] = Margen(NombreSerie(tipoEquipos, e.serie));
        r[1][i + 1] = Margen(e.codigo);
        r[2][i + 1] = Margen(Fijo(e.potencia, 2, separador));
        r[3][i + 1] = Margen(Fijo(e.tension, 0, separador));
        r[4][i + 1] = Margen(Fijo(e.cantidad, 0, separador));
        r[5][i + 1] = Precio(e.precio, separador, true);
    }
    return r;
}

bool HayEquiposConArmonicos(const std::vector<TEquipoSeleccionado>& equipos) {
    return std::any_of(equipos.begin(), equipos.end(),
                       [](const TEquipoSeleccionado& e) { return e.armonicos != 0; });
}

Rejilla MostrarTransformadores(const std::vector<TTransformadorSeleccionado>& transformadores,
                               const std::vector<TEquipoSeleccionado>& equipos, char separador) {
    std::vector<std::string> etiquetas = Etiquetas({"tabla_Trans_1", "tabla_Trans_2", "tabla_Trans_3"});
    etiquetas.insert(etiquetas.begin(), " ");
    Rejilla r = Tabla(etiquetas, std::max<std::size_t>(transformadores.size(), 1) + 1);
    for (std::size_t j = 0; j < transformadores.size(); ++j) {
        const TTransformadorSeleccionado& t = transformadores[j];
        const std::int32_t cantidad = t.intensidad != 0 ? CantidadTransformadores(equipos, t.tension) : 0;
        r[0][j + 1] = " ";
        r[1][j + 1] = Margen(Fijo(t.intensidad, 0, separador) + "/5");
        r[2][j + 1] = Margen(std::to_string(cantidad));
        r[3][j + 1] = Precio(t.precio, separador, false);
    }
    return r;
}

Rejilla MostrarConductores(const std::vector<TConductorSeleccionado>& conductores,
                           const std::vector<TEquipoSeleccionado>& equipos, std::int32_t tarifa,
                           char separador) {
    Rejilla r =
        Tabla(Etiquetas({"tabla_conductor_0", "tabla_conductor_1", "tabla_conductor_2", "tabla_conductor_3",
                         "tabla_conductor_4", "tabla_conductor_5", "tabla_conductor_6"}),
              conductores.size() + 1 + ColumnaExtra(tarifa));
    for (std::size_t p = 0; p < conductores.size(); ++p) {
        const TConductorSeleccionado& c = conductores[p];
        r[0][p + 1] = Margen(p < equipos.size() ? equipos[p].codigo : std::string());
        r[1][p + 1] = Margen(Fijo(c.intensidadNominal, 2, separador));
        r[2][p + 1] = Margen(c.seccion);
        r[3][p + 1] = Margen(Fijo(c.intensidadConductor, 2, separador));
        r[4][p + 1] = Margen(Fijo(c.longitud, 2, separador));
        r[5][p + 1] = Margen(Fijo(c.cantidad, 0, separador) + "x3 " + Texto("phases_caption_singular"));
        r[6][p + 1] = Precio(c.precio, separador, false);
    }
    return r;
}

} // namespace tarvik
