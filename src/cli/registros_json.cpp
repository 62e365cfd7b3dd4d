#include "cli/registros_json.h"

#include "core/engine/seleccion.h"
#include "core/lang/traduccion.h"
#include "core/util/cp1252.h"

namespace tarvik::cli {

namespace {

Json Texto1252(const std::string& texto) {
    return Json(Cp1252ToUtf8(texto));
}

const char* NombreTipo(TipoMensaje tipo) {
    switch (tipo) {
    case TipoMensaje::Error:
        return "error";
    case TipoMensaje::Informacion:
        return "information";
    case TipoMensaje::Confirmacion:
        return "confirmation";
    }
    return "error";
}

// A list of objects, one per record.
template <class Registro, class Objeto> Json ListaDe(const std::vector<Registro>& registros, Objeto objeto) {
    Json lista = Json::Lista();
    for (const Registro& r : registros)
        lista.Agregar(objeto(r));
    return lista;
}

} // namespace

Json MensajesJson(const ListaMensajes& mensajes) {
    // A message without key carries its own text, already in UTF-8.
    return ListaDe(mensajes, [](const Mensaje& m) {
        return Json::Objeto()
            .Agregar("kind", NombreTipo(m.tipo))
            .Agregar("key", m.clave)
            .Agregar("text", m.clave.empty() ? Json(m.texto) : Texto1252(Texto(m.clave)));
    });
}

Json EstudioJson(const TDatosEstudio& d) {
    return Json::Objeto()
        .Agregar("version", static_cast<std::int32_t>(d.version))
        .Agregar("empresa", Texto1252(d.empresa))
        .Agregar("provincia", Texto1252(d.provincia))
        .Agregar("distribuidor", Texto1252(d.distribuidor))
        .Agregar("fax", Texto1252(d.fax))
        .Agregar("telefono", Texto1252(d.telefono))
        .Agregar("tarifa", d.tarifa)
        .Agregar("voltaje", d.voltaje)
        .Agregar("cliente", Texto1252(d.cliente))
        .Agregar("direccion", Texto1252(d.direccion))
        .Agregar("horas", d.horas)
        .Agregar("cosenoDeseado", static_cast<double>(d.cosenoDeseado))
        .Agregar("porPrecio", d.porPrecio)
        .Agregar("armonicos", d.armonicos)
        .Agregar("tipoLectura", d.tipoLectura)
        .Agregar("seleccionModelo", d.seleccionModelo)
        .Agregar("reservado1", d.reservado1)
        .Agregar("frecuencia", d.frecuencia)
        .Agregar("temperatura", d.temperatura)
        .Agregar("reservado2", d.reservado2)
        .Agregar("tipoCalculo", d.tipoCalculo)
        .Agregar("potenciaMaxima", d.potenciaMaxima)
        .Agregar("tieneTransformador", d.tieneTransformador)
        .Agregar("transformadorEntrada", d.transformadorEntrada)
        .Agregar("equipos", d.equipos);
}

Json AnalisisJson(const TAnalisisConsumo& a) {
    Json reservado = Json::Lista();
    for (double r : a.reservado)
        reservado.Agregar(r);
    return Json::Objeto()
        .Agregar("kwhTotal", a.kwhTotal)
        .Agregar("kvarhTotal", a.kvarhTotal)
        .Agregar("cosenoMinimo", a.cosenoMinimo)
        .Agregar("cosenoMedio", a.cosenoMedio)
        .Agregar("cosenoDeseado", a.cosenoDeseado)
        .Agregar("tanMaxDemanda", a.tanMaxDemanda)
        .Agregar("difTanMaxDemanda", a.difTanMaxDemanda)
        .Agregar("importeTotal", a.importeTotal)
        .Agregar("precioMedio", a.precioMedio)
        .Agregar("recargoTotal", a.recargoTotal)
        .Agregar("descuentoTotal", a.descuentoTotal)
        .Agregar("saldoReactiva", a.saldoReactiva)
        .Agregar("qc", a.qc)
        .Agregar("potenciaMaxima", a.potenciaMaxima)
        .Agregar("cosenoMaxReactiva", a.cosenoMaxReactiva)
        .Agregar("trafoEntrada", a.trafoEntrada)
        .Agregar("reservado", std::move(reservado));
}

Json LecturasJson(const std::vector<TLectura>& lecturas) {
    return ListaDe(lecturas, [](const TLectura& l) {
        return Json::Objeto()
            .Agregar("mes", Texto1252(l.mes))
            .Agregar("ano", l.ano)
            .Agregar("kwht", l.kwht)
            .Agregar("mdr", l.mdr)
            .Agregar("coseno", l.coseno)
            .Agregar("kvarh", l.kvarh)
            .Agregar("ifp", l.ifp)
            .Agregar("it", l.it)
            .Agregar("cpc", l.cpc)
            .Agregar("ia", l.ia)
            .Agregar("rr", l.rr);
    });
}

Json EquiposJson(const std::vector<TEquipoSeleccionado>& equipos) {
    return ListaDe(equipos, [](const TEquipoSeleccionado& e) {
        return Json::Objeto()
            .Agregar("cantidad", e.cantidad)
            .Agregar("codigo", Texto1252(e.codigo))
            .Agregar("serie", Texto1252(e.serie))
            .Agregar("armonicos", e.armonicos)
            .Agregar("indicador", e.indicador)
            .Agregar("potencia", e.potencia)
            .Agregar("tension", e.tension)
            .Agregar("precio", e.precio)
            .Agregar("codigoSerie", e.codigoSerie);
    });
}

Json TransformadoresJson(const std::vector<TTransformadorSeleccionado>& transformadores,
                         const std::vector<TEquipoSeleccionado>& equipos) {
    return ListaDe(transformadores, [&](const TTransformadorSeleccionado& t) {
        return Json::Objeto()
            .Agregar("designacion", Texto1252(t.designacion))
            .Agregar("intensidad", t.intensidad)
            .Agregar("precio", t.precio)
            .Agregar("tension", t.tension)
            .Agregar("cantidad", t.intensidad != 0 ? CantidadTransformadores(equipos, t.tension) : 0);
    });
}

Json ConductoresJson(const std::vector<TConductorSeleccionado>& conductores) {
    return ListaDe(conductores, [](const TConductorSeleccionado& c) {
        return Json::Objeto()
            .Agregar("intensidadNominal", c.intensidadNominal)
            .Agregar("seccion", Texto1252(c.seccion))
            .Agregar("intensidadConductor", c.intensidadConductor)
            .Agregar("precio", c.precio)
            .Agregar("longitud", c.longitud)
            .Agregar("cantidad", c.cantidad);
    });
}

Json RejillaJson(const Rejilla& rejilla) {
    Json filas = Json::Lista();
    for (const auto& fila : rejilla) {
        Json celdas = Json::Lista();
        for (const std::string& celda : fila)
            celdas.Agregar(Texto1252(celda));
        filas.Agregar(std::move(celdas));
    }
    return filas;
}

} // namespace tarvik::cli
