#include "core/study/estudio.h"

#include "core/util/cp1252.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace tarvik {

DatosPanel NuevoEstudio(const DatosPanel& actual) {
    DatosPanel nuevo;
    nuevo.armonicos = actual.armonicos;
    nuevo.tipoLectura = actual.tipoLectura;
    return nuevo;
}

void RecogerDatos(const DatosPanel& panel, TDatosEstudio& datos) {
    datos.empresa = TruncateBytes(panel.empresa, kCapEmpresa);
    datos.provincia = TruncateBytes(panel.provincia, kCapProvincia);
    datos.distribuidor = TruncateBytes(panel.distribuidor, kCapDistribuidor);
    datos.fax = TruncateBytes(panel.fax, kCapFax);
    datos.telefono = TruncateBytes(panel.telefono, kCapTelefono);
    datos.tarifa = panel.tarifa;
    datos.voltaje = panel.voltaje;
    datos.cliente = TruncateBytes(panel.cliente, kCapCliente);
    datos.direccion = TruncateBytes(panel.direccion, kCapDireccion);
    datos.horas = panel.horas;
    datos.cosenoDeseado = static_cast<float>(panel.cosenoDeseado);
    datos.porPrecio = panel.porPrecio;
    datos.armonicos = panel.armonicos;
    datos.tipoLectura = panel.tipoLectura;
    datos.seleccionModelo = panel.seleccionModelo;
    datos.reservado1 = 0;
    datos.frecuencia = panel.frecuencia;
    datos.temperatura = panel.temperatura;
    datos.tipoCalculo = panel.tipoCalculo;
    datos.potenciaMaxima = panel.potenciaMaxima;
    datos.tieneTransformador = panel.tieneTransformador;
    datos.transformadorEntrada = panel.transformadorEntrada;
    datos.equipos = panel.equipos;
}

std::int32_t Acotar(std::int64_t valor, std::int32_t minimo, std::int32_t maximo) {
    if (valor < minimo)
        return minimo;
    if (valor > maximo)
        return maximo;
    return static_cast<std::int32_t>(valor);
}

double FactorMostrado(double valor) {
    // A NaN lands on the minimum, as a bounded input does with it.
    if (!(valor >= 0.0))
        return 0.0;
    if (valor > 1.0)
        return 1.0;
    char texto[32];
    std::snprintf(texto, sizeof texto, "%.2f", valor);
    return std::strtod(texto, nullptr);
}

namespace {
std::int32_t Eleccion(std::int32_t indice, std::int32_t ultimo) {
    return Acotar(indice, 0, ultimo);
}
} // namespace

DatosPanel MostrarDatos(const TDatosEstudio& datos) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    DatosPanel p;
    p.empresa = datos.empresa;
    p.cliente = datos.cliente;
    p.direccion = datos.direccion;
    p.provincia = datos.provincia;
    p.distribuidor = datos.distribuidor;
    p.fax = datos.fax;
    p.telefono = datos.telefono;
    p.tarifa = Eleccion(datos.tarifa, static_cast<std::int32_t>(kTarifas.size()) - 1);
    p.cosenoDeseado = FactorMostrado(datos.cosenoDeseado);
    p.voltaje = Eleccion(datos.voltaje, 2);
    p.porPrecio = datos.porPrecio;
    p.armonicos = Eleccion(datos.armonicos, 1);
    p.tipoLectura = Eleccion(datos.tipoLectura, 1);
    p.seleccionModelo = Eleccion(datos.seleccionModelo, 8);
    p.horas = Acotar(datos.horas, kHorasMin, kHorasMax);
    p.frecuencia = Eleccion(datos.frecuencia, 1);
    p.temperatura = datos.temperatura < 0 ? -1 : Acotar(datos.temperatura, 0, 1);
    p.tipoCalculo = Eleccion(datos.tipoCalculo, 1);
    p.potenciaMaxima = Acotar(datos.potenciaMaxima, 0, kMax);
    p.tieneTransformador = datos.tieneTransformador;
    p.transformadorEntrada = Acotar(datos.transformadorEntrada, 0, kMax);
    p.equipos = Eleccion(datos.equipos, 1);
    return p;
}

std::int32_t HorasPorPeriodo(std::int32_t horas, std::int32_t tipoLectura) {
    if (PeriodoLecturaDe(tipoLectura) == PeriodoLectura::Mensual)
        return horas;
    return Acotar(2LL * horas, std::numeric_limits<std::int32_t>::min(),
                  std::numeric_limits<std::int32_t>::max());
}

std::int32_t LecturasPorAno(std::int32_t tipoLectura) {
    return PeriodoLecturaDe(tipoLectura) == PeriodoLectura::Mensual ? 12 : 6;
}

} // namespace tarvik
