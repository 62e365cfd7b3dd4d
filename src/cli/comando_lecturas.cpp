// The import and export commands: a study's readings from and to a spreadsheet's CSV file.

#include "cli/comandos.h"
#include "core/lang/traduccion.h"
#include "core/study/lecturas_csv.h"
#include "core/util/cp1252.h"
#include "platform/archivo_estudio.h"
#include "platform/archivo_texto.h"

namespace tarvik::cli {

namespace {

bool Salida(const Argumentos& a, const char* uso, std::string& ruta) {
    const auto o = a.opciones.find("o");
    if (o == a.opciones.end() || o->second.empty()) {
        Error(uso);
        return false;
    }
    ruta = o->second;
    return true;
}

} // namespace

int EjecutarImport(const Argumentos& a, const Entorno&) {
    std::string destino;
    if (!Salida(a, "import needs -o STUDY.fac", destino))
        return kErrorUso;
    const std::string& origen = a.archivos.front();
    std::string bytes;
    QString error;
    if (!LeerArchivoCompleto(QString::fromStdString(origen), bytes, error)) {
        Error(origen + ": " + error.toStdString());
        return kErrorUso;
    }
    const ResultadoLecturasCsv csv = LeerLecturasCsv(bytes);
    if (!csv.ok()) {
        for (const ErrorCsv& e : csv.errores)
            Error(origen + ": " + Cp1252ToUtf8(TextoErrorCsv(e, IdiomaActivo())));
        if (csv.erroresOmitidos > 0)
            Error(origen + ": " + std::to_string(csv.erroresOmitidos) +
                  (IdiomaActivo() == kEspanol ? " filas más con errores" : " more rows with errors"));
        return kErrorUso;
    }
    // The customer data and every setting from the template; a new study's without one.
    TDatosEstudio datos;
    const auto plantilla = a.opciones.find("from");
    if (plantilla != a.opciones.end()) {
        const ResultadoCarga carga = CargarFacturacion(plantilla->second, datos);
        if (!carga.ok()) {
            Error(plantilla->second + ": " +
                  (carga.error == ErrorCarga::Apertura ? carga.detalle
                                                       : "not a billing file of a known version"));
            return kErrorUso;
        }
        datos = carga.datos;
    }
    const ResultadoGuardado guardado = GuardarFacturacion(destino, datos, csv.lecturas);
    if (!guardado.ok) {
        Error(destino + ": " + guardado.detalle);
        return kErrorUso;
    }
    return kExito;
}

int EjecutarExport(const Argumentos& a, const Entorno& e) {
    if (!a.lecturas) {
        Error("export needs --readings (the readings are what it exports)");
        return kErrorUso;
    }
    std::string destino;
    if (!Salida(a, "export needs -o READINGS.csv", destino))
        return kErrorUso;
    Contexto c;
    if (!CargarEstudio(a, e, c))
        return kErrorUso;
    QString error;
    if (!GuardarArchivoCompleto(QString::fromStdString(destino),
                                EscribirLecturasCsv(c.sesion.Lecturas, e.separador, IdiomaActivo()), error)) {
        Error(destino + ": " + error.toStdString());
        return kErrorUso;
    }
    return kExito;
}

} // namespace tarvik::cli
