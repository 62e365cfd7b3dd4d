#include "core/util/archivo.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvik {

ArchivoLectura::ArchivoLectura(const std::string& ruta) {
    // Opened without blocking, so that a named pipe in place of a file cannot hang the program.
    fd_ = ::open(ruta.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        error_ = errno;
        return;
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0)
        error_ = errno;
    else if (S_ISDIR(st.st_mode))
        error_ = EISDIR;
    else if (!S_ISREG(st.st_mode))
        error_ = EINVAL; // a device, pipe or socket has no end to read up to
    else if (static_cast<std::uint64_t>(st.st_size) > kTamMaximoArchivo)
        error_ = EFBIG;
    else
        tamano_ = static_cast<std::size_t>(st.st_size);
}

ArchivoLectura::~ArchivoLectura() {
    if (fd_ >= 0)
        ::close(fd_);
}

std::string ArchivoLectura::Motivo() const {
    return std::strerror(error_);
}

std::size_t ArchivoLectura::Llenar(std::span<std::uint8_t> destino, std::size_t desde) {
    while (ok() && desde < destino.size()) {
        const ssize_t n = ::read(fd_, destino.data() + desde, destino.size() - desde);
        if (n < 0) {
            if (errno != EINTR)
                error_ = errno;
        } else if (n == 0) {
            break;
        } else {
            desde += static_cast<std::size_t>(n);
            leidos_ += static_cast<std::size_t>(n);
            if (leidos_ > kTamMaximoArchivo)
                error_ = EFBIG;
        }
    }
    return desde;
}

bool LeerBytes(const std::string& ruta, std::vector<std::uint8_t>& bytes, std::string& detalle) {
    bytes.clear();
    ArchivoLectura archivo(ruta);
    // Straight into the vector, sized from the file's length (one byte more, to meet the end in the
    // same read), and grown if the file turns out longer.
    std::size_t capacidad = archivo.Tamano() + 1;
    std::size_t leidos = 0;
    while (archivo.ok()) {
        bytes.resize(capacidad);
        leidos = archivo.Llenar(bytes, leidos);
        if (leidos < capacidad)
            break;
        capacidad *= 2;
    }
    bytes.resize(leidos);
    if (!archivo.ok()) {
        bytes.clear();
        detalle = archivo.Motivo();
        return false;
    }
    return true;
}

} // namespace tarvik
