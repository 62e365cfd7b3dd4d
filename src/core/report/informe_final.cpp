#include "core/engine/seleccion.h"
#include "core/lang/traduccion.h"
#include "core/report/informe.h"
#include "core/report/table_report.h"
#include "core/results/tablas.h"
#include "core/util/numeros.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>

namespace tarvik {

namespace {

// Requested widths of the automatic tables: only their proportions count.
constexpr float kSeptimo = 100.0f / 7;
constexpr float kSexto = 100.0f / 6;
constexpr float kSeptimoMasDiez = 100.0f / 7 + 10;
constexpr float kAnchoMinimo = 10;
constexpr double kAlturaLetra = 3;
// The note under the equipment table never takes more than two lines; the others print in full.
constexpr int kLineasNotaEquipos = 2;

struct Columna {
    std::string leyenda;
    Alignment justificacion;
    float ancho;
};

// How one table of the report looks.
struct Formato {
    std::string titulo;
    bool enmarcada = true;
    bool cabecera = true;
    bool leyendas = true;
    bool autoAncho = true;
};

Columna Derecha(const char* clave, float ancho) {
    return {Texto(clave), Alignment::Right, ancho};
}

Columna Izquierda(const char* clave, float ancho) {
    return {Texto(clave), Alignment::Left, ancho};
}

// Prints a table; `lineasNotas` lines of notes follow it and stay on its last row's page.
void Imprimir(PageWriter& writer, const Formato& formato, std::initializer_list<Columna> columnas,
              const TTableData& filas, int lineasNotas = 0) {
    TTableReport tabla(formato.enmarcada, formato.cabecera);
    tabla.Title = formato.titulo;
    tabla.AutoWidth = formato.autoAncho;
    tabla.ShowCaptions = formato.leyendas;
    tabla.lineasNotas = lineasNotas;
    for (const Columna& c : columnas)
        tabla.AddColumn(c.leyenda, c.justificacion, c.ancho, kAnchoMinimo, false);
    tabla.SetData(filas);
    tabla.Print(writer);
    writer.clearTabs();
}

// A label row of the data tables: "label: " and the value.
std::vector<std::string> Dato(const char* clave, std::string valor) {
    return {Texto(clave) + ": ", std::move(valor)};
}

std::string TextoSiNo(bool valor) {
    return Texto(valor ? "si_label" : "no_label");
}

// Quantity of conductors: "2x3 Fases".
std::string Fases(std::int32_t cantidad) {
    return std::to_string(cantidad) + "x3 " + Texto("phases_caption");
}

// A note: wrapped text across the printable area.
MemoBuffer MemoNota(const PageWriter& writer, const char* clave) {
    return {Texto(clave), writer.area().left, writer.area().right, Alignment::Left, false, 0};
}

// The lines that a note of at most `lineas` lines takes in the font now in force.
int LineasNota(const PageWriter& writer, const char* clave, int lineas) {
    return std::min(lineas, writer.memoLinesLeft(MemoNota(writer, clave)));
}

// At most `lineas` lines of a note, each followed by a new line.
void Nota(PageWriter& writer, const char* clave, int lineas) {
    MemoBuffer nota = MemoNota(writer, clave);
    ImprimirLineas(writer, nota, lineas);
}

// A price as the results window gives it: a price of 0 is on request. `cantidad` multiplies it
// into the total of a conductor's length.
std::string Precio(double precio, double cantidad, char separador) {
    return precio != 0 ? Fijo(precio * cantidad, 2, separador) : Texto("consultar");
}

} // namespace

void InformeFinal(PageWriter& writer, const Sesion& sesion, char separador) {
    const TDatosEstudio& d = sesion.Datos;
    const TAnalisisConsumo& a = sesion.Analisis;
    const bool porConsumo = d.tipoCalculo == 0;
    const bool filtros = d.equipos == 0;
    auto fijo = [separador](double valor, int decimales) { return Fijo(valor, decimales, separador); };

    SavedFont fuente(writer);
    writer.setFontHeight(kAlturaLetra);

    Imprimir(writer, {"", false, false, true, false}, {{"", Alignment::Left, 50}, {"", Alignment::Left, 70}},
             {Dato("nombre_empresa", d.empresa), Dato("nombre_cliente", d.cliente),
              Dato("direccion_empresa", d.direccion), Dato("provincia", d.provincia),
              Dato("distribuidor", d.distribuidor), Dato("fax", d.fax), Dato("telefono", d.telefono),
              Dato("tipocalculo", Texto(porConsumo ? "tipocalculo_caption_0" : "tipocalculo_caption_1"))});

    writer.setFontHeight(kAlturaLetra);
    writer.newLine();
    if (porConsumo) {
        const std::int64_t horas =
            static_cast<std::int64_t>(HorasPorPeriodo(d.horas, d.tipoLectura)) * sesion.Lecturas.size();
        auto media = [horas](double energia) { return horas != 0 ? energia / horas : 0.0; };
        Imprimir(writer, {Texto("datos_generales")},
                 {Derecha("potencia_media_activa", 20), Derecha("potencia_media_reactiva", 20),
                  Derecha("header_seccion_4", 20), Derecha("factor_medio_actual", 20),
                  Derecha("factor_medio_deseado", 20)},
                 {{fijo(media(a.kwhTotal), 2), fijo(media(a.kvarhTotal), 2), fijo(a.potenciaMaxima, 2),
                   fijo(a.cosenoMedio, 2), fijo(a.cosenoDeseado, 2)}});
    } else {
        TTableData filas = {Dato("potencia_contratada", std::to_string(d.potenciaMaxima))};
        if (!filtros) {
            filas.push_back(Dato("tienetransformadorpropio", TextoSiNo(d.tieneTransformador)));
            if (d.tieneTransformador)
                filas.push_back(Dato("header_seccion_5", std::to_string(d.transformadorEntrada)));
        }
        Imprimir(writer, {Texto("datos_generales"), true, true, false, false},
                 {{"", Alignment::Left, 100}, {"", Alignment::Left, 30}}, filas);
    }

    if (porConsumo) {
        TTableData filas;
        for (const TLectura& l : sesion.Lecturas)
            filas.push_back({l.mes, std::to_string(l.ano), fijo(l.kwht, 0), fijo(l.mdr, 0), fijo(l.coseno, 2),
                             fijo(l.rr, 0)});
        writer.newLine();
        Imprimir(writer, {Texto("facturacion_caption")},
                 {Izquierda("mes_caption", kSexto), Izquierda("ano_caption", kSexto),
                  Derecha("consumo_activo", kSexto), Derecha("header_seccion_4", kSexto),
                  Derecha("factor_potencia", kSexto), Derecha("recargo_reactiva", kSexto)},
                 filas);
    }

    {
        TTableData filas;
        for (const TEquipoSeleccionado& e : sesion.EquiposSeleccionados)
            filas.push_back({NombreSerie(d.equipos, e.serie), e.codigo, fijo(e.potencia, 1),
                             fijo(e.tension, 0), filtros || d.frecuencia == 0 ? "50" : "60",
                             std::to_string(e.cantidad), Precio(e.precio, 1, separador)});
        writer.newLine();
        Imprimir(writer, {Texto(filtros ? "filters_caption" : "baterias_caption")},
                 {Izquierda("tipo_caption", kSeptimo), Izquierda("codigo_caption", kSeptimoMasDiez),
                  Derecha(filtros ? "potencia_caption_kw" : "potencia_caption", kSeptimo),
                  Derecha("tension_caption", kSeptimo), Derecha("frecuencia_caption", kSeptimo),
                  Derecha("cantidad_caption", kSeptimo), Derecha("precio_caption", kSeptimo)},
                 filas, LineasNota(writer, "baterias_seleccionadas_footer", kLineasNotaEquipos));
        Nota(writer, "baterias_seleccionadas_footer", kLineasNotaEquipos);
    }

    // The transformer capacitor's tables only when that record holds a unit: no tables of zeros.
    const TCondensadorTrafo& ct = sesion.CondensadorTrafo;
    const bool condensadorTrafo = d.tarifa == kTarifa11 && !ct.equipo.codigo.empty();
    if (condensadorTrafo) {
        writer.newLine();
        Imprimir(writer, {Texto("trans_caption")},
                 {Izquierda("codigo_caption", 20), Derecha("potencia_caption", 20),
                  Derecha("tension_caption", 20), Derecha("precio_caption", 20)},
                 {{ct.equipo.codigo, fijo(ct.equipo.potencia, 0), fijo(ct.equipo.tension, 0),
                   Precio(ct.equipo.precio, 1, separador)}});
    }

    if (!sesion.TransformadoresSeleccionados.empty()) {
        TTableData filas;
        for (const TTransformadorSeleccionado& t : sesion.TransformadoresSeleccionados) {
            const std::int32_t cantidad =
                t.intensidad != 0 ? CantidadTransformadores(sesion.EquiposSeleccionados, t.tension) : 0;
            filas.push_back({t.designacion, fijo(t.intensidad, 0) + "/5", std::to_string(cantidad),
                             Precio(t.precio, 1, separador)});
        }
        writer.newLine();
        Imprimir(writer, {Texto("trans_seleccionados")},
                 {{"", Alignment::Left, 25},
                  {"I1/I2", Alignment::Right, 25},
                  Derecha("cantidad_caption", 25),
                  Derecha("precio_caption", 25)},
                 filas);
    }

    {
        TTableData filas;
        for (const TConductorSeleccionado& c : sesion.ConductoresSeleccionados)
            filas.push_back({fijo(c.intensidadNominal, 2), c.seccion, fijo(c.intensidadConductor, 2),
                             fijo(c.longitud, 2), Fases(c.cantidad),
                             Precio(c.precio, c.longitud, separador)});
        writer.newLine();
        Imprimir(writer, {Texto(filtros ? "conductores_seleccionados_filtros" : "conductores_seleccionados")},
                 {Derecha("i_nominal", kSexto), Derecha("seccion_caption", kSexto),
                  Derecha("i_conductor_caption", kSexto), Derecha("longitud_caption", kSexto),
                  Derecha("cantidad_caption", kSexto), Derecha("precio_total_caption", kSexto)},
                 filas,
                 LineasNota(writer, "conductores_seleccionados_footer", kTodasLasLineas) +
                     LineasNota(writer, "conductores_seleccionados_footer2", kTodasLasLineas));
        Nota(writer, "conductores_seleccionados_footer", kTodasLasLineas);
        Nota(writer, "conductores_seleccionados_footer2", kTodasLasLineas);
    }

    if (condensadorTrafo) {
        writer.newLine();
        Imprimir(writer, {Texto("conductor_bateria_caption")},
                 {Derecha("i_calculo", kSexto), Derecha("seccion_caption", kSexto),
                  Derecha("corriente_caption", kSexto), Derecha("longitud_caption", kSexto),
                  Derecha("cantidad_caption", kSexto), Derecha("precio_total_caption", kSexto)},
                 {{fijo(ct.intensidadCalculo, 2), ct.seccion, fijo(ct.intensidadConductor, 2),
                   fijo(ct.longitudConductor, 2), Fases(ct.cantidadConductores),
                   Precio(ct.precioConductor, ct.longitudConductor, separador)}});
    }
}

} // namespace tarvik
