#include "cli/registros_json.h"

#include "core/engine/seleccion.h"
#include "core/lang/traduccion.h"
#include "core/util/cp1252.h"

#include <QString>

#include <cmath>

namespace tarvik::cli {

namespace {

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
template <class Registro, class Objeto>
QJsonArray ListaDe(const std::vector<Registro>& registros, Objeto objeto) {
    QJsonArray lista;
    for (const Registro& r : registros)
        lista.append(objeto(r));
    return lista;
}

} // namespace

QJsonValue Texto1252(const std::string& texto) {
    return QString::fromStdString(Cp1252ToUtf8(texto));
}

QJsonValue Real(double valor) {
    return std::isfinite(valor) ? QJsonValue(valor) : QJsonValue(QJsonValue::Null);
}

QJsonArray MensajesJson(const ListaMensajes& mensajes) {
    // A message without key carries its own text, already in UTF-8.
    return ListaDe(mensajes, [](const Mensaje& m) {
        return QJsonObject{
            {"kind", NombreTipo(m.tipo)},
            {"key", QString::fromStdString(m.clave)},
            {"text", m.clave.empty() ? QString::fromStdString(m.texto) : Texto1252(Texto(m.clave))}};
    });
}

QJsonObject EstudioJson(const TDatosEstudio& d) {
    return {{"version", d.version},
            {"empresa", Texto1252(d.empresa)},
            {"provincia", Texto1252(d.provincia)},
            {"distribuidor", Texto1252(d.distribuidor)},
            {"fax", Texto1252(d.fax)},
            {"telefono", Texto1252(d.telefono)},
            {"tarifa", d.tarifa},
            {"voltaje", d.voltaje},
            {"cliente", Texto1252(d.cliente)},
            {"direccion", Texto1252(d.direccion)},
            {"horas", d.horas},
            {"cosenoDeseado", Real(static_cast<double>(d.cosenoDeseado))},
            {"porPrecio", d.porPrecio},
            {"armonicos", d.armonicos},
            {"tipoLectura", d.tipoLectura},
            {"seleccionModelo", d.seleccionModelo},
            {"reservado1", d.reservado1},
            {"frecuencia", d.frecuencia},
            {"temperatura", d.temperatura},
            {"reservado2", d.reservado2},
            {"tipoCalculo", d.tipoCalculo},
            {"potenciaMaxima", d.potenciaMaxima},
            {"tieneTransformador", d.tieneTransformador},
            {"transformadorEntrada", d.transformadorEntrada},
            {"equipos", d.equipos}};
}

QJsonObject AnalisisJson(const TAnalisisConsumo& a) {
    QJsonArray reservado;
    for (double r : a.reservado)
        reservado.append(Real(r));
    return {{"kwhTotal", Real(a.kwhTotal)},
            {"kvarhTotal", Real(a.kvarhTotal)},
            {"cosenoMinimo", Real(a.cosenoMinimo)},
            {"cosenoMedio", Real(a.cosenoMedio)},
            {"cosenoDeseado", Real(a.cosenoDeseado)},
            {"tanMaxDemanda", Real(a.tanMaxDemanda)},
            {"difTanMaxDemanda", Real(a.difTanMaxDemanda)},
            {"importeTotal", Real(a.importeTotal)},
            {"precioMedio", Real(a.precioMedio)},
            {"recargoTotal", Real(a.recargoTotal)},
            {"descuentoTotal", Real(a.descuentoTotal)},
            {"saldoReactiva", Real(a.saldoReactiva)},
            {"qc", Real(a.qc)},
            {"potenciaMaxima", Real(a.potenciaMaxima)},
            {"cosenoMaxReactiva", Real(a.cosenoMaxReactiva)},
            {"trafoEntrada", Real(a.trafoEntrada)},
            {"reservado", reservado}};
}

QJsonArray LecturasJson(const std::vector<TLectura>& lecturas) {
    return ListaDe(lecturas, [](const TLectura& l) {
        return QJsonObject{{"mes", Texto1252(l.mes)},  {"ano", l.ano},
                           {"kwht", Real(l.kwht)},     {"mdr", Real(l.mdr)},
                           {"coseno", Real(l.coseno)}, {"kvarh", Real(l.kvarh)},
                           {"ifp", Real(l.ifp)},       {"it", Real(l.it)},
                           {"cpc", Real(l.cpc)},       {"ia", Real(l.ia)},
                           {"rr", Real(l.rr)}};
    });
}

QJsonArray EquiposJson(const std::vector<TEquipoSeleccionado>& equipos) {
    return ListaDe(equipos, [](const TEquipoSeleccionado& e) {
        return QJsonObject{
            {"cantidad", e.cantidad},     {"codigo", Texto1252(e.codigo)}, {"serie", Texto1252(e.serie)},
            {"armonicos", e.armonicos},   {"indicador", e.indicador},      {"potencia", Real(e.potencia)},
            {"tension", Real(e.tension)}, {"precio", Real(e.precio)},      {"codigoSerie", e.codigoSerie}};
    });
}

QJsonArray TransformadoresJson(const std::vector<TTransformadorSeleccionado>& transformadores,
                               const std::vector<TEquipoSeleccionado>& equipos) {
    return ListaDe(transformadores, [&](const TTransformadorSeleccionado& t) {
        return QJsonObject{{"designacion", Texto1252(t.designacion)},
                           {"intensidad", Real(t.intensidad)},
                           {"precio", Real(t.precio)},
                           {"tension", Real(t.tension)},
                           {"cantidad", t.intensidad != 0 ? CantidadTransformadores(equipos, t.tension) : 0}};
    });
}

QJsonArray ConductoresJson(const std::vector<TConductorSeleccionado>& conductores) {
    return ListaDe(conductores, [](const TConductorSeleccionado& c) {
        return QJsonObject{{"intensidadNominal", Real(c.intensidadNominal)},
                           {"seccion", Texto1252(c.seccion)},
                           {"intensidadConductor", Real(c.intensidadConductor)},
                           {"precio", Real(c.precio)},
                           {"longitud", Real(c.longitud)},
                           {"cantidad", c.cantidad}};
    });
}

QJsonArray RejillaJson(const Rejilla& rejilla) {
    QJsonArray filas;
    for (const auto& fila : rejilla) {
        QJsonArray celdas;
        for (const std::string& celda : fila)
            celdas.append(Texto1252(celda));
        filas.append(celdas);
    }
    return filas;
}

} // namespace tarvik::cli
