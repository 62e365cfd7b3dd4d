#include "core/study/facturacion.h"

#include "core/util/bytes.h"

namespace tarvik {

std::size_t LongitudCabecera(std::uint16_t version) {
    switch (version) {
    case 100:
        return 616;
    case 50:
        return 596;
    case 34:
        return 592;
    case 2:
        return 588;
    default:
        return 0;
    }
}

std::vector<std::uint8_t> CodificarCabecera(const TDatosEstudio& d) {
    ByteWriter w(kTamCabecera);
    w.u16(kVersionActual);
    w.shortString(d.empresa, kCapEmpresa);
    w.shortString(d.provincia, kCapProvincia);
    w.shortString(d.distribuidor, kCapDistribuidor);
    w.shortString(d.fax, kCapFax);
    w.shortString(d.telefono, kCapTelefono);
    w.seek(348);
    w.i32(d.tarifa);
    w.i32(d.voltaje);
    w.shortString(d.cliente, kCapCliente);
    w.shortString(d.direccion, kCapDireccion);
    w.seek(556);
    w.i32(d.horas);
    w.f32(d.cosenoDeseado);
    w.u8(d.porPrecio ? 1 : 0);
    w.seek(568);
    w.i32(d.armonicos);
    w.i32(d.tipoLectura);
    w.i32(d.seleccionModelo);
    w.i32(d.reservado1);
    w.i32(d.frecuencia);
    w.i32(d.temperatura);
    w.i32(d.reservado2);
    w.i32(d.tipoCalculo);
    w.i32(d.potenciaMaxima);
    w.u8(d.tieneTransformador ? 1 : 0);
    w.seek(608);
    w.i32(d.transformadorEntrada);
    w.i32(d.equipos);
    return w.bytes();
}

std::vector<std::uint8_t> CodificarLectura(const TLectura& l) {
    ByteWriter w(kTamLectura);
    w.shortString(l.mes, kCapMes);
    w.i32(l.ano);
    w.seek(24);
    w.f64(l.kwht);
    w.raw(l.reservado1);
    w.f64(l.mdr);
    w.f64(l.coseno);
    w.f64(l.kvarh);
    w.f64(l.ifp);
    w.f64(l.it);
    w.f64(l.cpc);
    w.raw(l.reservado2);
    w.f64(l.ia);
    w.f64(l.rr);
    return w.bytes();
}

namespace {

// A reading from `bytes`, which hold it whole when their size is fixed as kTamLectura: every bounds
// check of the fields is then settled when this is compiled, not once per field of a million
// readings.
template <std::size_t Tam> void DeBytes(std::span<const std::uint8_t, Tam> bytes, TLectura& l) {
    ByteReader r(bytes);
    l.mes = r.shortStringView(kCapMes);
    l.ano = r.i32();
    r.seek(24);
    l.kwht = r.f64();
    l.reservado1 = r.raw<32>();
    l.mdr = r.f64();
    l.coseno = r.f64();
    l.kvarh = r.f64();
    l.ifp = r.f64();
    l.it = r.f64();
    l.cpc = r.f64();
    l.reservado2 = r.raw<8>();
    l.ia = r.f64();
    l.rr = r.f64();
}

// The same fields as above, where the figures lie.
template <std::size_t Tam> void DeBytes(std::span<const std::uint8_t, Tam> bytes, TCifrasLectura& c) {
    ByteReader r(bytes);
    r.seek(24);
    c.kwht = r.f64();
    r.seek(64);
    c.mdr = r.f64();
    r.skip(8); // the power factor, which the analysis works out again
    c.kvarh = r.f64();
    c.ifp = r.f64();
    c.it = r.f64();
    c.cpc = r.f64();
    r.skip(8);
    c.ia = r.f64();
    c.rr = r.f64();
}

template <class Registro> void Decodificar(std::span<const std::uint8_t> bytes, Registro& registro) {
    if (bytes.size() == kTamLectura)
        DeBytes(bytes.first<kTamLectura>(), registro);
    else
        DeBytes(bytes, registro);
}

} // namespace

void DecodificarLectura(std::span<const std::uint8_t> bytes, TLectura& l) {
    Decodificar(bytes, l);
}

void DecodificarCifras(std::span<const std::uint8_t> bytes, TCifrasLectura& c) {
    Decodificar(bytes, c);
}

TLectura DecodificarLectura(std::span<const std::uint8_t> bytes) {
    TLectura l;
    DecodificarLectura(bytes, l);
    return l;
}

std::vector<std::uint8_t> CodificarFacturacion(const TDatosEstudio& datos,
                                               const std::vector<TLectura>& lecturas) {
    std::vector<std::uint8_t> out = CodificarCabecera(datos);
    out.reserve(kTamCabecera + kTamLectura * lecturas.size());
    for (const TLectura& l : lecturas) {
        const auto b = CodificarLectura(l);
        out.insert(out.end(), b.begin(), b.end());
    }
    return out;
}

std::size_t DecodificarCabecera(std::span<const std::uint8_t> bytes, const TDatosEstudio& previo,
                                TDatosEstudio& d) {
    if (bytes.size() < 2)
        return 0;
    const auto version = static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
    const std::size_t cabecera = LongitudCabecera(version);
    if (cabecera == 0 || bytes.size() < cabecera)
        return 0;
    ByteReader r(bytes.first(cabecera));
    d.version = r.u16();
    d.empresa = r.shortString(kCapEmpresa);
    d.provincia = r.shortString(kCapProvincia);
    d.distribuidor = r.shortString(kCapDistribuidor);
    d.fax = r.shortString(kCapFax);
    d.telefono = r.shortString(kCapTelefono);
    r.seek(348);
    d.tarifa = r.i32();
    d.voltaje = r.i32();
    d.cliente = r.shortString(kCapCliente);
    d.direccion = r.shortString(kCapDireccion);
    r.seek(556);
    d.horas = r.i32();
    d.cosenoDeseado = r.f32();
    d.porPrecio = r.u8() != 0;
    r.seek(568);
    d.armonicos = r.i32();
    d.tipoLectura = r.i32();
    d.seleccionModelo = r.i32();
    d.reservado1 = r.i32();
    d.frecuencia = r.i32();
    // Fields that the older layouts lack get the values of a study of those days.
    d.temperatura = cabecera >= 592 ? r.i32() : 0;
    d.reservado2 = cabecera >= 596 ? r.i32() : previo.reservado2;
    if (cabecera >= 616) {
        d.tipoCalculo = r.i32();
        d.potenciaMaxima = r.i32();
        d.tieneTransformador = r.u8() != 0;
        r.seek(608);
        d.transformadorEntrada = r.i32();
        d.equipos = r.i32();
    } else {
        d.tipoCalculo = 0;
        d.potenciaMaxima = 0;
        d.tieneTransformador = false;
        d.transformadorEntrada = 0;
        d.equipos = 1;
    }
    return cabecera;
}

ResultadoCarga DecodificarFacturacion(std::span<const std::uint8_t> bytes, const TDatosEstudio& previo) {
    ResultadoCarga res;
    const std::size_t cabecera = DecodificarCabecera(bytes, previo, res.datos);
    if (cabecera == 0) {
        res.error = ErrorCarga::Formato;
        return res;
    }
    const std::size_t n = (bytes.size() - cabecera) / kTamLectura;
    res.lecturas.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        DecodificarLectura(bytes.subspan(cabecera + i * kTamLectura, kTamLectura), res.lecturas[i]);
    return res;
}

} // namespace tarvik
