#include "platform/archivo_estudio.h"

#include "core/util/archivo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <span>
#include <system_error>
#include <thread>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace tarvik {

namespace {

std::string Motivo(std::errc error) {
    return std::make_error_code(error).message();
}

std::string Motivo(const QFileDevice& archivo) {
    const QString texto = archivo.errorString();
    return texto.isEmpty() ? Motivo(std::errc::io_error) : texto.toStdString();
}

// Why the file cannot be opened as a study, before it is opened; empty when it may be.
std::string Rechazo(const QFileInfo& info) {
    if (!info.exists())
        return {}; // opening it gives the system's own reason
    if (info.isDir())
        return Motivo(std::errc::is_a_directory);
    if (!info.isFile())
        return Motivo(std::errc::invalid_argument); // a device, pipe or socket has no end to read up to
    if (static_cast<std::uint64_t>(info.size()) > kTamMaximoArchivo)
        return Motivo(std::errc::file_too_large);
    return {};
}

ResultadoCarga FalloApertura(std::string detalle) {
    ResultadoCarga res;
    res.error = ErrorCarga::Apertura;
    res.detalle = std::move(detalle);
    return res;
}

// Fills `destino` from `desde` until it is full or the file ends; the bytes it then holds, or
// nothing when the read fails or the file grows past kTamMaximoArchivo.
std::optional<std::size_t> Llenar(QFile& archivo, std::span<std::uint8_t> destino, std::size_t desde) {
    while (desde < destino.size()) {
        const qint64 n = archivo.read(reinterpret_cast<char*>(destino.data() + desde),
                                      static_cast<qint64>(destino.size() - desde));
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        desde += static_cast<std::size_t>(n);
    }
    if (static_cast<std::uint64_t>(archivo.pos()) > kTamMaximoArchivo)
        return std::nullopt;
    return desde;
}

// Writes every byte, going on after a short write until the system reports why it cannot.
bool EscribirTodo(QSaveFile& archivo, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const qint64 n =
            archivo.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        if (n <= 0)
            return false;
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

// The readings of a large study take fresh memory (136 MB for a million), which the kernel would
// otherwise hand over one 4 KiB page fault at a time as the decoding reaches it; one request for the
// whole block costs a fraction of that. Only advice: where the system cannot, the faults happen as
// before.
void Preparar(const std::vector<TLectura>& lecturas) {
#if defined(Q_OS_LINUX) && defined(MADV_POPULATE_WRITE)
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

// A block of a thousand readings at a time, decoded where it was read.
constexpr std::size_t kLecturasBloque = 1024;
constexpr std::size_t kTamBloque = kTamCabecera + kLecturasBloque * kTamLectura;

// Reads a study a block of readings at a time into `res`: its fields, then `alEmpezar` with the
// number of readings that the file's size promises, then `porBloque` with the bytes of the whole
// readings of each block, in order. Each block is read into the kTamBloque bytes that `pedir`
// gives, none when the reading is to stop; `porBloque` may keep those bytes, as the next block is
// read into those that `pedir` gives next. A reading cut short by the end of the file is dropped.
// On a failure `res` holds only the error.
template <class AlEmpezar, class Pedir, class PorBloque>
void LeerPorBloques(const std::string& ruta, const TDatosEstudio& previo, ResultadoCarga& res,
                    AlEmpezar alEmpezar, Pedir pedir, PorBloque porBloque) {
    const QString nombre = QFile::decodeName(ruta.c_str());
    const QFileInfo info(nombre);
    if (std::string rechazo = Rechazo(info); !rechazo.empty()) {
        res = FalloApertura(std::move(rechazo));
        return;
    }
    QFile archivo(nombre);
    if (!archivo.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        res = FalloApertura(Motivo(archivo));
        return;
    }
    if (archivo.isSequential()) { // swapped for a pipe or a device since it was looked at
        res = FalloApertura(Motivo(std::errc::invalid_argument));
        return;
    }

    std::span<std::uint8_t> bloque = pedir();
    if (bloque.empty())
        return;
    std::optional<std::size_t> lleno = Llenar(archivo, bloque, 0);
    if (!lleno) {
        res = FalloApertura(Motivo(archivo));
        return;
    }
    std::size_t inicio = DecodificarCabecera(bloque.first(*lleno), previo, res.datos);
    if (inicio == 0) {
        res.error = ErrorCarga::Formato;
        return;
    }
    const auto tamano = static_cast<std::size_t>(archivo.size());
    alEmpezar(tamano > inicio ? (tamano - inicio) / kTamLectura : 0);
    for (;;) {
        const std::size_t enteras = (*lleno - inicio) / kTamLectura * kTamLectura;
        // A reading cut by the block's end is completed at the front of the next block; it is put
        // aside first, as the block may be another thread's once it is handed over.
        std::array<std::uint8_t, kTamLectura> cortada;
        const std::size_t resto = *lleno - inicio - enteras;
        std::memcpy(cortada.data(), bloque.data() + inicio + enteras, resto);
        porBloque(std::span<const std::uint8_t>(bloque).subspan(inicio, enteras));
        if (*lleno < bloque.size())
            break; // the end of the file
        bloque = pedir();
        if (bloque.empty())
            return;
        std::memcpy(bloque.data(), cortada.data(), resto);
        lleno = Llenar(archivo, bloque, resto);
        if (!lleno) {
            res = FalloApertura(archivo.error() == QFileDevice::NoError ? Motivo(std::errc::file_too_large)
                                                                        : Motivo(archivo));
            return;
        }
        inicio = 0;
    }
}

} // namespace

ResultadoCarga CargarFacturacion(const std::string& ruta, const TDatosEstudio& previo) {
    ResultadoCarga res;
    std::vector<std::uint8_t> bloque(kTamBloque);
    LeerPorBloques(
        ruta, previo, res,
        [&](std::size_t previstas) {
            res.lecturas.reserve(previstas);
            Preparar(res.lecturas);
        },
        [&] { return std::span(bloque); },
        [&](std::span<const std::uint8_t> bytes) {
            for (std::size_t i = 0; i < bytes.size(); i += kTamLectura)
                DecodificarLectura(bytes.subspan(i, kTamLectura), res.lecturas.emplace_back());
        });
    return res;
}

namespace {

// A block read by the thread that reads a study, on its way to the one that takes its readings:
// the bytes of its whole readings, with the study's fields when it is the first, or the news that
// the reading has ended.
struct Hueco {
    enum class Tipo { Cabecera, Lecturas, Fin } tipo = Tipo::Lecturas; // Cabecera: the first block
    TDatosEstudio datos;
    std::unique_ptr<std::uint8_t[]> bloque = std::make_unique_for_overwrite<std::uint8_t[]>(kTamBloque);
    std::span<const std::uint8_t> bytes;
};

// Hands Huecos from one thread to another in order, a few blocks ahead: the reading thread fills
// one while the taking thread works on another.
class Relevo {
  public:
    // The reading side: the next Hueco to fill, once the taking side has given one back; none when
    // that side has stopped taking.
    Hueco* Vacio() {
        for (;;) {
            const std::uint32_t devueltos = devueltos_.load(std::memory_order_acquire);
            if (parado_.load(std::memory_order_acquire))
                return nullptr;
            if (llenos_ - devueltos < kHuecos)
                return &huecos_[llenos_ % kHuecos];
            Esperar(devueltos_, devueltos);
        }
    }
    void Lleno() {
        ++llenos_;
        listos_.store(llenos_, std::memory_order_release);
        listos_.notify_one();
    }
    // The taking side: the next Hueco filled, which stays its own until it is given back.
    Hueco& Siguiente() {
        while (listos_.load(std::memory_order_acquire) == tomados_)
            Esperar(listos_, tomados_);
        return huecos_[tomados_ % kHuecos];
    }
    void Devolver() {
        ++tomados_;
        devueltos_.store(tomados_, std::memory_order_release);
        devueltos_.notify_one();
    }
    // The taking side stops taking: the reading side finds no more Huecos to fill.
    void Parar() {
        parado_.store(true, std::memory_order_release);
        devueltos_.fetch_add(1, std::memory_order_release); // wakes the reading side
        devueltos_.notify_one();
    }

  private:
    // Until `contador` is no longer `visto`. The other side mostly answers within microseconds,
    // sooner than a thread put to sleep wakes again, so it is watched for a while first.
    static void Esperar(const std::atomic<std::uint32_t>& contador, std::uint32_t visto) {
        const auto hasta = std::chrono::steady_clock::now() + std::chrono::microseconds(50);
        do {
            for (int i = 0; i < 64; ++i)
                if (contador.load(std::memory_order_acquire) != visto)
                    return;
        } while (std::chrono::steady_clock::now() < hasta);
        contador.wait(visto, std::memory_order_acquire);
    }

    static constexpr std::uint32_t kHuecos = 4;
    std::array<Hueco, kHuecos> huecos_;
    std::atomic<std::uint32_t> listos_{0};    // Huecos filled, as the taking side may see them
    std::atomic<std::uint32_t> devueltos_{0}; // Huecos given back, as the reading side may see them
    std::atomic<bool> parado_{false};
    std::uint32_t llenos_ = 0;  // the reading side's own count
    std::uint32_t tomados_ = 0; // the taking side's own count
};

// Decodes the figures of whole readings into `tramo` and hands them on as many at a time as it
// holds: a run of decoded figures stays in the processor's nearest cache while it is worked on.
void Entregar(std::span<const std::uint8_t> bytes, std::span<TCifrasLectura> tramo,
              const std::function<void(std::span<const TCifrasLectura>)>& porBloque) {
    while (!bytes.empty()) {
        const std::size_t n = std::min(tramo.size(), bytes.size() / kTamLectura);
        for (std::size_t i = 0; i < n; ++i)
            DecodificarCifras(bytes.subspan(i * kTamLectura, kTamLectura), tramo[i]);
        porBloque(tramo.first(n));
        bytes = bytes.subspan(n * kTamLectura);
    }
}

// From this many readings on, a study read on two threads is worth the thread.
constexpr std::size_t kLecturasEnDosHilos = 16 * 1024;

} // namespace

ResultadoCarga RecorrerFacturacion(const std::string& ruta, const TDatosEstudio& previo,
                                   const std::function<void(const TDatosEstudio&)>& alEmpezar,
                                   const std::function<void(std::span<const TCifrasLectura>)>& porBloque,
                                   Hilos hilos) {
    ResultadoCarga res;
    std::vector<TCifrasLectura> tramo(256);
    if (hilos == Hilos::Uno || static_cast<std::uint64_t>(QFileInfo(QFile::decodeName(ruta.c_str())).size()) <
                                   kLecturasEnDosHilos * kTamLectura) {
        std::vector<std::uint8_t> bloque(kTamBloque);
        LeerPorBloques(
            ruta, previo, res, [&](std::size_t) { alEmpezar(res.datos); }, [&] { return std::span(bloque); },
            [&](std::span<const std::uint8_t> bytes) { Entregar(bytes, tramo, porBloque); });
        return res;
    }

    // A second thread reads the file straight into the blocks that it hands over, while this one
    // decodes and takes the blocks already read: the copy out of the system's cache overlaps the
    // work done with the readings. `res` is the reading thread's until it has ended, and so is
    // `fallo`, what the reading itself threw.
    Relevo relevo;
    std::exception_ptr fallo;
    std::thread lector([&] {
        Hueco* hueco = nullptr; // the block being read, once the taking side has given it back
        const auto pedir = [&] {
            hueco = relevo.Vacio();
            return hueco ? std::span(hueco->bloque.get(), kTamBloque) : std::span<std::uint8_t>();
        };
        bool cabecera = false;
        try {
            LeerPorBloques(
                ruta, previo, res, [&](std::size_t) { cabecera = true; }, pedir,
                [&](std::span<const std::uint8_t> bytes) {
                    hueco->tipo = cabecera ? Hueco::Tipo::Cabecera : Hueco::Tipo::Lecturas;
                    if (cabecera)
                        hueco->datos = res.datos;
                    cabecera = false;
                    hueco->bytes = bytes;
                    relevo.Lleno();
                });
        } catch (...) {
            fallo = std::current_exception();
        }
        if (!pedir().empty()) {
            hueco->tipo = Hueco::Tipo::Fin;
            relevo.Lleno();
        }
    });
    try {
        for (Hueco* hueco = &relevo.Siguiente(); hueco->tipo != Hueco::Tipo::Fin;
             hueco = &relevo.Siguiente()) {
            if (hueco->tipo == Hueco::Tipo::Cabecera)
                alEmpezar(hueco->datos);
            Entregar(hueco->bytes, tramo, porBloque);
            relevo.Devolver();
        }
    } catch (...) {
        relevo.Parar();
        lector.join();
        throw;
    }
    lector.join();
    if (fallo)
        std::rethrow_exception(fallo);
    return res;
}

namespace {

// A save killed in the instant between its finished temporary file getting a name and that name
// replacing the study leaves the temporary file beside the study as "<study>.XXXXXX" (the study
// itself is whole, old or new); the next save of the same study removes it.
void BorrarTemporalesAbandonados(const QFileInfo& estudio) {
    const QString nombre = estudio.fileName();
    const QRegularExpression temporal(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(nombre) + QStringLiteral("\\.[A-Za-z0-9]{6}")));
    const QFileInfoList vistos = estudio.absoluteDir().entryInfoList(
        {nombre + QStringLiteral(".??????")}, QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo& visto : vistos)
        if (temporal.match(visto.fileName()).hasMatch())
            QFile::remove(visto.absoluteFilePath());
}

} // namespace

ResultadoGuardado GuardarFacturacion(const std::string& ruta, const TDatosEstudio& datos,
                                     const std::vector<TLectura>& lecturas) {
    const std::vector<std::uint8_t> bytes = CodificarFacturacion(datos, lecturas);
    const QString nombre = QFile::decodeName(ruta.c_str());
    QSaveFile archivo(nombre);
    // A folder where no file can be created (a shared folder that only lets its files be changed)
    // gets the study written in place; everywhere else the study is replaced whole or not at all.
    const QFileInfo destino(QFileInfo(nombre).canonicalFilePath()); // empty for a new study
    archivo.setDirectWriteFallback(destino.exists() && !QFileInfo(destino.absolutePath()).isWritable());
    BorrarTemporalesAbandonados(destino.exists() ? destino : QFileInfo(nombre));
    // Unbuffered, so that a write the file system cuts short (a full disk, a size limit) is seen
    // here: through the buffer it would reach the disk at the commit, which does not report it.
    const bool ok = archivo.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
                    EscribirTodo(archivo, bytes) && archivo.commit();
    if (ok)
        return {};
    const std::string detalle = Motivo(archivo);
    archivo.cancelWriting();
    return {false, detalle};
}

} // namespace tarvik
