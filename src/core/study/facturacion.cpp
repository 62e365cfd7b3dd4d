#include "study/facturacion.h"

#include "util/bytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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

TLectura DecodificarLectura(std::span<const std::uint8_t> bytes) {
    ByteReader r(bytes);
    TLectura l;
    l.mes = r.shortString(kCapMes);
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

ResultadoCarga DecodificarFacturacion(std::span<const std::uint8_t> bytes, const TDatosEstudio& previo) {
    ResultadoCarga res;
    if (bytes.size() < 2) {
        res.error = ErrorCarga::Formato;
        return res;
    }
    const auto version = static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
    const std::size_t cabecera = LongitudCabecera(version);
    if (cabecera == 0 || bytes.size() < cabecera) {
        res.error = ErrorCarga::Formato;
        return res;
    }
    ByteReader r(bytes.first(cabecera));
    TDatosEstudio& d = res.datos;
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
    const std::size_t n = (bytes.size() - cabecera) / kTamLectura;
    res.lecturas.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        res.lecturas[i] = DecodificarLectura(bytes.subspan(cabecera + i * kTamLectura, kTamLectura));
    return res;
}

bool LeerBytes(const std::string& ruta, std::vector<std::uint8_t>& bytes, std::string& detalle) {
    bytes.clear();
    // Opened without blocking, so that a named pipe in place of a file cannot hang the program.
    const int fd = ::open(ruta.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        detalle = std::strerror(errno);
        return false;
    }
    int err = 0;
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        err = errno;
    else if (S_ISDIR(st.st_mode))
        err = EISDIR;
    else if (!S_ISREG(st.st_mode))
        err = EINVAL; // a device, pipe or socket has no end to read up to
    else if (static_cast<std::uint64_t>(st.st_size) > kTamMaximoArchivo)
        err = EFBIG;
    // Straight into the vector, sized from the file's length (one byte more, to meet the end in the
    // same read), and grown if the file turns out longer.
    std::size_t capacidad = err == 0 ? static_cast<std::size_t>(st.st_size) + 1 : 0;
    std::size_t leidos = 0;
    while (err == 0) {
        bytes.resize(capacidad);
        const ssize_t n = ::read(fd, bytes.data() + leidos, capacidad - leidos);
        if (n < 0) {
            if (errno != EINTR)
                err = errno;
        } else if (n == 0) {
            break;
        } else {
            leidos += static_cast<std::size_t>(n);
            if (leidos > kTamMaximoArchivo)
                err = EFBIG; // it grew while being read
            else if (leidos == capacidad)
                capacidad *= 2;
        }
    }
    bytes.resize(leidos);
    ::close(fd);
    if (err != 0) {
        bytes.clear();
        detalle = std::strerror(err);
        return false;
    }
    return true;
}

ResultadoCarga CargarFacturacion(const std::string& ruta, const TDatosEstudio& previo) {
    std::vector<std::uint8_t> bytes;
    ResultadoCarga res;
    if (!LeerBytes(ruta, bytes, res.detalle)) {
        res.error = ErrorCarga::Apertura;
        return res;
    }
    return DecodificarFacturacion(bytes, previo);
}

namespace {

bool escribirTodo(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t hecho = 0;
    while (hecho < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + hecho, bytes.size() - hecho);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        hecho += static_cast<std::size_t>(n);
    }
    return true;
}

// A save writes into "." + name + "." + six random characters beside the target, holding a lock
// on it until the rename. One that nobody holds was left by a save that was killed or lost its
// power, and goes; one that another program is still writing stays.
void BorrarTemporalesAbandonados(const std::filesystem::path& carpeta, const std::string& nombre) {
    const std::string prefijo = "." + nombre + ".";
    std::error_code ec;
    for (const auto& entrada : std::filesystem::directory_iterator(carpeta, ec)) {
        const std::string visto = entrada.path().filename().string();
        if (visto.size() != prefijo.size() + 6 || !visto.starts_with(prefijo) || !entrada.is_regular_file(ec))
            continue;
        const int fd = ::open(entrada.path().c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(entrada.path().c_str());
        ::close(fd);
    }
}

} // namespace

ResultadoGuardado GuardarFacturacion(const std::string& ruta, const TDatosEstudio& datos,
                                     const std::vector<TLectura>& lecturas) {
    ResultadoGuardado res;
    const std::vector<std::uint8_t> bytes = CodificarFacturacion(datos, lecturas);
    const std::filesystem::path destino(ruta);
    const std::filesystem::path carpeta =
        destino.parent_path().empty() ? std::filesystem::path(".") : destino.parent_path();
    BorrarTemporalesAbandonados(carpeta, destino.filename().string());
    const std::string plantilla = carpeta / ("." + destino.filename().string() + ".XXXXXX");
    std::vector<char> nombre(plantilla.begin(), plantilla.end());
    nombre.push_back('\0');
    const int fd = ::mkstemp(nombre.data());
    if (fd < 0) {
        res.ok = false;
        res.detalle = std::strerror(errno);
        return res;
    }
    ::flock(fd, LOCK_EX);
    // Keep the permissions an existing study had; a new one gets the usual ones.
    struct stat st {};
    const mode_t modo = ::stat(ruta.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    ::fchmod(fd, modo);
    // Renamed while still open and locked, so no other save takes it for abandoned meanwhile.
    bool ok = escribirTodo(fd, bytes) && ::fsync(fd) == 0 && std::rename(nombre.data(), ruta.c_str()) == 0;
    const int err = ok ? 0 : errno;
    if (!ok)
        ::unlink(nombre.data());
    ::close(fd);
    if (!ok) {
        res.ok = false;
        res.detalle = std::strerror(err ? err : EIO);
        return res;
    }
    // Make the rename itself durable; some file systems cannot sync a folder, which costs nothing here.
    const int dir = ::open(carpeta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return res;
}

} // namespace tarvik
