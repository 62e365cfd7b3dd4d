#include "core/catalogue/catalogo.h"

#include "core/util/archivo.h"
#include "core/util/bytes.h"

#include <algorithm>
#include <bit>

namespace tarvik {

TEquipo TEquipo::Decodificar(std::span<const std::uint8_t> bytes) {
    ByteReader r(bytes);
    TEquipo e;
    e.codigo = r.shortString(20);
    e.serie = r.shortString(20);
    e.reservado1 = r.raw<10>();
    e.potencia = r.f32();
    e.reservado2 = r.raw<4>();
    e.tension = r.i32();
    e.precio = r.f32();
    e.armonicos = r.u8();
    e.reservado3 = r.u8();
    e.tipo = r.u8();
    e.indicador = r.u8();
    return e;
}

std::vector<std::uint8_t> TEquipo::Codificar() const {
    ByteWriter w(kTamano);
    w.shortString(codigo, 20);
    w.shortString(serie, 20);
    w.raw(reservado1);
    w.f32(potencia);
    w.raw(reservado2);
    w.i32(tension);
    w.f32(precio);
    w.u8(armonicos);
    w.u8(reservado3);
    w.u8(tipo);
    w.u8(indicador);
    return w.bytes();
}

TTransformador TTransformador::Decodificar(std::span<const std::uint8_t> bytes) {
    ByteReader r(bytes);
    TTransformador t;
    t.reservado1 = r.raw<21>();
    t.designacion = r.shortString(20);
    r.seek(44);
    t.intensidad = r.f32();
    t.reservado2 = r.raw<4>();
    return t;
}

std::vector<std::uint8_t> TTransformador::Codificar() const {
    ByteWriter w(kTamano);
    w.raw(reservado1);
    w.shortString(designacion, 20);
    w.seek(44);
    w.f32(intensidad);
    w.raw(reservado2);
    return w.bytes();
}

TConductor TConductor::Decodificar(std::span<const std::uint8_t> bytes) {
    ByteReader r(bytes);
    TConductor c;
    c.seccion = r.f32();
    c.reservado1 = r.raw<4>();
    c.intensidad = r.f32();
    return c;
}

std::vector<std::uint8_t> TConductor::Codificar() const {
    ByteWriter w(kTamano);
    w.f32(seccion);
    w.raw(reservado1);
    w.f32(intensidad);
    return w.bytes();
}

template <class Registro> std::vector<Registro> LeerArchivo(const std::string& ruta) {
    std::vector<std::uint8_t> bytes;
    std::string detalle;
    if (!LeerBytes(ruta, bytes, detalle))
        return {};
    return DecodificarRegistros<Registro>(bytes);
}

template std::vector<TEquipo> LeerArchivo<TEquipo>(const std::string&);
template std::vector<TTransformador> LeerArchivo<TTransformador>(const std::string&);
template std::vector<TConductor> LeerArchivo<TConductor>(const std::string&);

void ListaEquipos::Cargar(const std::string& ruta) {
    clear();
    std::string detalle;
    if (!LeerBytes(ruta, bytes_, detalle))
        bytes_.clear();
    const std::size_t n = bytes_.size() / TEquipo::kTamano;
    bytes_.resize(n * TEquipo::kTamano);
    campos_.reserve(n);
    // Every block is whole here, so the fields are read straight from it (little-endian).
    const auto entero = [](const std::uint8_t* p) {
        return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
               static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
    };
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t* p = bytes_.data() + i * TEquipo::kTamano;
        campos_.push_back(
            {std::bit_cast<float>(entero(p + 52)), static_cast<std::int32_t>(entero(p + 60)), p[68], p[70]});
    }
}

std::span<const std::uint8_t> ListaEquipos::Bloque(std::size_t i) const {
    return std::span<const std::uint8_t>(bytes_).subspan(i * TEquipo::kTamano, TEquipo::kTamano);
}

TEquipo ListaEquipos::operator[](std::size_t i) const {
    return TEquipo::Decodificar(Bloque(i));
}

std::int32_t CodigoSerie(const std::string& nombre) {
    static const std::pair<const char*, std::int32_t> kCodigos[] = {
        {"Serie Ambar", 1},     {"Serie Berilo", 2},      {"Serie Coral", 10},
        {"Serie Diamante", 11}, {"Serie Esmeralda", 200}, {"Serie Fluorita", 201},
        {"Serie Granate", 100}, {"Serie Iolita", 101},    {"Serie Jade", 102}};
    for (const auto& [texto, codigo] : kCodigos)
        if (nombre == texto)
            return codigo;
    return 1000;
}

std::vector<std::int32_t> TensionesAdmitidas(std::int32_t voltaje, std::int32_t& tensionNominal) {
    switch (voltaje) {
    case 0:
        tensionNominal = 400;
        return {400, 440};
    case 1:
        tensionNominal = 480;
        return {480};
    case 2:
        tensionNominal = 230;
        return {220, 230, 240};
    default:
        return {};
    }
}

} // namespace tarvik
