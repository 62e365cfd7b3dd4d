#include "core/util/archivo.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

namespace tarvik {

namespace {

struct CerrarArchivo {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

std::string Motivo(std::errc error) {
    return std::make_error_code(error).message();
}

// Why the path cannot be read as a whole regular file, or an empty text when it can.
std::string Rechazo(const std::filesystem::path& ruta, std::uintmax_t& tamano) {
    std::error_code ec;
    const std::filesystem::file_status estado = std::filesystem::status(ruta, ec);
    if (ec)
        return ec.message();
    if (std::filesystem::is_directory(estado))
        return Motivo(std::errc::is_a_directory);
    if (!std::filesystem::is_regular_file(estado))
        return Motivo(std::errc::invalid_argument); // a device, pipe or socket has no end to read up to
    tamano = std::filesystem::file_size(ruta, ec);
    if (ec)
        return ec.message();
    if (tamano > kTamMaximoArchivo)
        return Motivo(std::errc::file_too_large);
    return {};
}

} // namespace

bool LeerBytes(const std::string& ruta, std::vector<std::uint8_t>& bytes, std::string& detalle) {
    bytes.clear();
    std::uintmax_t tamano = 0;
    detalle = Rechazo(ruta, tamano);
    if (!detalle.empty())
        return false;
    errno = 0;
    const std::unique_ptr<std::FILE, CerrarArchivo> archivo(std::fopen(ruta.c_str(), "rb"));
    if (!archivo) {
        detalle = errno != 0 ? std::error_code(errno, std::generic_category()).message()
                             : Motivo(std::errc::io_error);
        return false;
    }
    // Straight into the vector, sized from the file's length (one byte more, to meet the end in the
    // same read), and grown if the file turns out longer.
    std::size_t capacidad = static_cast<std::size_t>(tamano) + 1;
    std::size_t leidos = 0;
    for (;;) {
        bytes.resize(capacidad);
        leidos += std::fread(bytes.data() + leidos, 1, capacidad - leidos, archivo.get());
        if (leidos > kTamMaximoArchivo) {
            detalle = Motivo(std::errc::file_too_large);
            break;
        }
        if (leidos < capacidad) {
            if (std::ferror(archivo.get()))
                detalle = Motivo(std::errc::io_error);
            break;
        }
        capacidad *= 2;
    }
    if (!detalle.empty()) {
        bytes.clear();
        return false;
    }
    bytes.resize(leidos);
    return true;
}

} // namespace tarvik
