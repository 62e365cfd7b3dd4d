#include "core/study/facturacion.h"

#include "core/util/archivo.h"
#include "core/util/bytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/mman.h>
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

void DecodificarLectura(std::span<const std::uint8_t> bytes, TLectura& l) {
    ByteReader r(bytes);
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

namespace {

// The header of a file image into `d`; its length, or 0 (and `d` untouched) for an unknown version
// or a header cut short.
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

// The readings of a large study take fresh memory (150 MB for a million), which the kernel would
// otherwise hand over one 4 KiB page fault at a time as the decoding reaches it; one request for the
// whole block costs a fraction of that. Only advice: where the system cannot, the faults happen as
// before.
void Preparar(const std::vector<TLectura>& lecturas) {
#ifdef MADV_POPULATE_WRITE
    constexpr std::size_t kMinimo = std::size_t{1} << 20;
    const auto pagina = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto inicio = (reinterpret_cast<std::uintptr_t>(lecturas.data()) + pagina - 1) & ~(pagina - 1);
    const auto fin = reinterpret_cast<std::uintptr_t>(lecturas.data() + lecturas.capacity()) & ~(pagina - 1);
    if (fin > inicio + kMinimo)
        ::madvise(reinterpret_cast<void*>(inicio), fin - inicio, MADV_POPULATE_WRITE);
#else
    (void)lecturas;
#endif
}

} // namespace

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

ResultadoCarga CargarFacturacion(const std::string& ruta, const TDatosEstudio& previo) {
    ResultadoCarga res;
    ArchivoLectura archivo(ruta);
    // The file goes through a block of a thousand readings at a time, so a large study is never
    // held twice: once as bytes and once as readings.
    constexpr std::size_t kLecturasBloque = 1024;
    std::vector<std::uint8_t> bloque(kTamCabecera + kLecturasBloque * kTamLectura);
    std::size_t lleno = archivo.Llenar(bloque, 0);
    std::size_t inicio =
        archivo.ok() ? DecodificarCabecera(std::span(bloque).first(lleno), previo, res.datos) : 0;
    if (inicio == 0) {
        res.error = archivo.ok() ? ErrorCarga::Formato : ErrorCarga::Apertura;
        res.detalle = archivo.ok() ? std::string() : archivo.Motivo();
        return res;
    }
    res.lecturas.reserve(archivo.Tamano() > inicio ? (archivo.Tamano() - inicio) / kTamLectura : 0);
    Preparar(res.lecturas);
    for (;;) {
        for (; lleno - inicio >= kTamLectura; inicio += kTamLectura)
            DecodificarLectura(std::span(bloque).subspan(inicio, kTamLectura), res.lecturas.emplace_back());
        if (lleno < bloque.size())
            break; // the end of the file
        // A reading cut by the block's end moves to its front and is completed by the next read.
        std::memmove(bloque.data(), bloque.data() + inicio, lleno - inicio);
        lleno = archivo.Llenar(bloque, lleno - inicio);
        inicio = 0;
    }
    if (!archivo.ok()) {
        res = {};
        res.error = ErrorCarga::Apertura;
        res.detalle = archivo.Motivo();
    }
    return res;
}

namespace {

bool EscribirTodo(int fd, const std::vector<std::uint8_t>& bytes) {
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
    bool ok = EscribirTodo(fd, bytes) && ::fsync(fd) == 0 && std::rename(nombre.data(), ruta.c_str()) == 0;
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
