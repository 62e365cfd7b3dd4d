#include "tools/fuentes.h"
#include "tools/generar.h"

#include "core/study/facturacion.h"
#include "core/util/cp1252.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace tarvik::fuentes {

namespace {

constexpr std::int32_t kMaxEntero = std::numeric_limits<std::int32_t>::max();

// The choices as the inputs panel shows them: volts and hertz.
constexpr std::array<const char*, 3> kVoltajes = {"400", "480", "230"};
constexpr std::array<const char*, 2> kFrecuencias = {"50", "60"};

// Customer texts are stored as the main window types them: in upper case.
std::string Mayuscula(const Valores& v, std::string_view nombre, std::size_t capacidad) {
    std::string texto = v.Texto(nombre, capacidad);
    if (Cp1252ToUpper(texto) != texto)
        v.Fallo(nombre, "customer texts are written in upper case");
    return texto;
}

bool Booleano(const Valores& v, std::string_view nombre) {
    return v.Entero(nombre, 0, 1) != 0;
}

TDatosEstudio Cabecera(const Valores& v) {
    TDatosEstudio d;
    d.empresa = Mayuscula(v, "empresa", kCapEmpresa);
    d.cliente = Mayuscula(v, "cliente", kCapCliente);
    d.direccion = Mayuscula(v, "direccion", kCapDireccion);
    d.provincia = Mayuscula(v, "provincia", kCapProvincia);
    d.distribuidor = Mayuscula(v, "distribuidor", kCapDistribuidor);
    d.fax = Mayuscula(v, "fax", kCapFax);
    d.telefono = Mayuscula(v, "telefono", kCapTelefono);
    d.tarifa = v.Eleccion("tarifa", kTarifas);
    d.voltaje = v.Eleccion("voltaje", kVoltajes);
    d.horas = v.Entero("horas", kHorasMin, kHorasMax);
    const double coseno = v.Real("cosenoDeseado");
    if (coseno < 0 || coseno > 1)
        v.Fallo("cosenoDeseado", "outside 0 to 1");
    d.cosenoDeseado = static_cast<float>(coseno);
    d.porPrecio = Booleano(v, "porPrecio");
    d.armonicos = v.Entero("armonicos", 0, 1);
    d.tipoLectura = v.Entero("tipoLectura", 0, 1);
    d.seleccionModelo = v.Entero("seleccionModelo", 0, 8);
    d.frecuencia = v.Eleccion("frecuencia", kFrecuencias);
    d.temperatura = v.Entero("temperatura", 0, 1);
    d.tipoCalculo = v.Entero("tipoCalculo", 0, 1);
    d.potenciaMaxima = v.Entero("potenciaMaxima", 0, kMaxEntero);
    d.tieneTransformador = Booleano(v, "tieneTransformador");
    d.transformadorEntrada = v.Entero("transformadorEntrada", 0, kMaxEntero);
    d.equipos = v.Entero("equipos", 0, 1);
    return d;
}

TLectura Lectura(const Valores& v) {
    TLectura l;
    l.mes = v.Texto("mes", kCapMes);
    l.ano = v.Entero("ano", 1900, 9999);
    l.kwht = v.Real("kwht");
    l.kvarh = v.Real("kvarh");
    l.mdr = v.Real("mdr");
    l.cpc = v.Real("cpc");
    l.ifp = v.Real("ifp");
    l.it = v.Real("it");
    l.ia = v.Real("ia");
    l.rr = v.Real("rr");
    if (!(l.kwht > 0))
        v.Fallo("kwht", "must be above 0");
    // As the last calculation before the save would have left it.
    l.coseno = std::cos(std::atan(l.kvarh / l.kwht));
    return l;
}

ArchivoGenerado Estudio(const std::filesystem::path& ruta) {
    const std::string origen = ruta.string();
    const std::vector<Linea> lineas = LeerLineas(ruta);
    const auto marca =
        std::find_if(lineas.begin(), lineas.end(), [](const Linea& l) { return l.texto == "lecturas:"; });
    if (marca == lineas.end())
        throw ErrorFuente(origen + ": the line 'lecturas:' before the readings table is missing");
    const std::span<const Linea> todas(lineas);
    const auto corte = static_cast<std::size_t>(marca - lineas.begin());
    const TDatosEstudio datos = Cabecera(LeerBloque(origen, todas.first(corte),
                                                    {"empresa",
                                                     "cliente",
                                                     "direccion",
                                                     "provincia",
                                                     "distribuidor",
                                                     "fax",
                                                     "telefono",
                                                     "tarifa",
                                                     "voltaje",
                                                     "horas",
                                                     "cosenoDeseado",
                                                     "porPrecio",
                                                     "armonicos",
                                                     "tipoLectura",
                                                     "seleccionModelo",
                                                     "frecuencia",
                                                     "temperatura",
                                                     "tipoCalculo",
                                                     "potenciaMaxima",
                                                     "tieneTransformador",
                                                     "transformadorEntrada",
                                                     "equipos"}));
    std::vector<TLectura> lecturas;
    for (const Valores& fila :
         LeerTabla(origen, todas.subspan(corte + 1),
                   {"mes", "ano", "kwht", "kvarh", "mdr", "cpc", "ifp", "it", "ia", "rr"}))
        lecturas.push_back(Lectura(fila));
    return {ruta.stem().string() + ".fac", CodificarFacturacion(datos, lecturas)};
}

} // namespace

std::vector<ArchivoGenerado> GenerarEjemplos(const std::filesystem::path& carpeta) {
    std::vector<ArchivoGenerado> archivos;
    for (const auto& ruta : ArchivosDe(carpeta, ".txt"))
        archivos.push_back(Estudio(ruta));
    return archivos;
}

} // namespace tarvik::fuentes
