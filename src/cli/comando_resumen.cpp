// The summary command: one row per study (customer, calculation type, power to compensate, the
// selected equipment, investment, yearly surcharge and payback) into a CSV or JSON file.

#include "cli/comandos.h"
#include "cli/registros_json.h"
#include "core/engine/calculo.h"
#include "core/lang/traduccion.h"
#include "core/results/amortizacion.h"
#include "core/study/lecturas_csv.h"
#include "core/util/cp1252.h"
#include "core/util/numeros.h"
#include "platform/archivo_texto.h"

#include <QJsonDocument>

namespace tarvik::cli {

namespace {

std::string Utf8(const std::string& texto1252) {
    return Cp1252ToUtf8(texto1252);
}

// The texts of the messages that refused a calculation, one after another.
std::string Motivos(const ListaMensajes& mensajes) {
    std::string motivos;
    for (const Mensaje& m : mensajes)
        motivos += (motivos.empty() ? "" : " ") + (m.clave.empty() ? m.texto : Utf8(Texto(m.clave)));
    return motivos;
}

RespuestaEstudio Fila(Contexto& c) {
    Sesion& s = c.sesion;
    const bool ok = Calcular(s, c.panel, c.mensajes, c.separador);
    const std::string tipo =
        Utf8(Texto(c.panel.tipoCalculo == 0 ? "tipocalculo_caption_0" : "tipocalculo_caption_1"));
    RespuestaEstudio r;
    r.objeto = QJsonObject{
        {"ok", ok}, {"customer", Texto1252(s.Datos.cliente)}, {"calculation", QString::fromStdString(tipo)}};
    r.celdas = {Utf8(s.Datos.cliente), tipo};
    if (!ok) {
        r.codigo = kRechazado;
        r.objeto.insert("error", QString::fromStdString(Motivos(c.mensajes)));
        r.celdas.resize(8);
        r.celdas.back() = Motivos(c.mensajes);
        return r;
    }
    const Amortizacion a = CalcularAmortizacion(
        s, c.panel.tarifa, RecargoAnual(s.Analisis.recargoTotal, s.Lecturas.size(), c.panel.tipoLectura));
    QJsonArray equipos;
    std::string listaEquipos;
    for (const TEquipoSeleccionado& e : s.EquiposSeleccionados) {
        equipos.append(QJsonObject{{"codigo", Texto1252(e.codigo)}, {"cantidad", e.cantidad}});
        listaEquipos +=
            (listaEquipos.empty() ? "" : " + ") + Utf8(e.codigo) + " x" + std::to_string(e.cantidad);
    }
    const bool anos = a.estado == EstadoAmortizacion::Anos;
    r.objeto.insert("qc", Real(s.Analisis.qc));
    r.objeto.insert("equipment", equipos);
    r.objeto.insert("investment", a.consultar ? QJsonValue(QJsonValue::Null) : Real(a.inversion));
    r.objeto.insert("surcharge", Real(a.recargoAnual));
    r.objeto.insert("payback", anos ? Real(a.anos) : QJsonValue(QJsonValue::Null));
    const std::string amortizacion = Utf8(TextoAmortizacion(a, c.separador, IdiomaActivo()));
    r.objeto.insert("payback_text", QString::fromStdString(amortizacion));
    r.celdas.insert(r.celdas.end(), {Fijo(s.Analisis.qc, 2, c.separador), listaEquipos,
                                     Utf8(TextoInversion(a, c.separador, IdiomaActivo())),
                                     Fijo(a.recargoAnual, 0, c.separador), amortizacion, ""});
    return r;
}

std::string CabeceraCsv(char separador) {
    const bool es = IdiomaActivo() == kEspanol;
    const char* const nombres[] = {es ? "Archivo" : "File",
                                   es ? "Cliente" : "Customer",
                                   es ? "Tipo de cálculo" : "Calculation type",
                                   es ? "Potencia a compensar (kvar; kW en filtros)"
                                      : "Power to compensate (kvar; kW for filters)",
                                   es ? "Equipos" : "Equipment",
                                   es ? "Inversión (€)" : "Investment (€)",
                                   es ? "Recargo anual por reactiva (€)" : "Yearly reactive surcharge (€)",
                                   es ? "Amortización (años)" : "Payback (years)",
                                   es ? "Error" : "Error"};
    std::string linea;
    for (const char* nombre : nombres)
        linea += (linea.empty() ? "" : std::string(1, separador)) + CeldaCsv(nombre, separador);
    return linea + "\r\n";
}

} // namespace

int EjecutarSummary(const Argumentos& a, const Entorno& e) {
    const auto salida = a.opciones.find("o");
    const QString ruta = salida == a.opciones.end() ? QString() : QString::fromStdString(salida->second);
    const bool json = ruta.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive);
    if (!json && !ruta.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) {
        Error("summary needs -o SUMMARY.csv or -o SUMMARY.json");
        return kErrorUso;
    }
    const char separador = e.separador == ',' ? ';' : ',';
    std::string csv = "\xEF\xBB\xBF" + CabeceraCsv(separador);
    QJsonArray filas;
    const int codigo =
        RecorrerEstudios(a, e, Fila, [&](const std::string& estudio, RespuestaEstudio& r, bool) {
            if (!r.error.empty()) {
                r.objeto = QJsonObject{{"ok", false}, {"error", QString::fromStdString(r.error)}};
                r.celdas.assign(8, "");
                r.celdas.back() = r.error;
            }
            r.objeto.insert("file", QString::fromStdString(estudio));
            filas.append(r.objeto);
            csv += CeldaCsv(estudio, separador);
            for (const std::string& celda : r.celdas)
                csv += separador + CeldaCsv(celda, separador);
            csv += "\r\n";
        });
    if (filas.isEmpty())
        return codigo;
    QString error;
    const std::string bytes = json ? QJsonDocument(filas).toJson().toStdString() : csv;
    if (!GuardarArchivoCompleto(ruta, bytes, error)) {
        Error(ruta.toStdString() + ": " + error.toStdString());
        return kErrorUso;
    }
    return codigo;
}

} // namespace tarvik::cli
