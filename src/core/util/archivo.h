#pragma once
// Whole regular files read into memory, and a reader that fills a buffer block by block.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tarvik {

// Far above any real study (a million readings take 136 MB); a larger file is refused before it is
// read, so a damaged or foreign file cannot exhaust memory.
inline constexpr std::size_t kTamMaximoArchivo = std::size_t{1} << 30;

// Reads a whole regular file into memory; false with the system's reason on failure (also for a
// folder, a device or a pipe, and for a file larger than kTamMaximoArchivo).
bool LeerBytes(const std::string& ruta, std::vector<std::uint8_t>& bytes, std::string& detalle);

// A regular file opened for reading, checked before any byte is read. Reads stop with an error
// once more than kTamMaximoArchivo bytes have come (a file that grows while it is read).
class ArchivoLectura {
  public:
    explicit ArchivoLectura(const std::string& ruta);
    ~ArchivoLectura();
    ArchivoLectura(const ArchivoLectura&) = delete;
    ArchivoLectura& operator=(const ArchivoLectura&) = delete;

    bool ok() const { return error_ == 0; }
    std::string Motivo() const;
    // The length the file had when it was opened.
    std::size_t Tamano() const { return tamano_; }

    // Reads into `destino` from `desde` until it is full or the file ends; the bytes it then holds.
    std::size_t Llenar(std::span<std::uint8_t> destino, std::size_t desde);

  private:
    int fd_ = -1;
    int error_ = 0;
    std::size_t tamano_ = 0;
    std::size_t leidos_ = 0;
};

} // namespace tarvik
