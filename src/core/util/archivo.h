#pragma once
// Whole regular files read into memory.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tarvik {

// Far above any real study (a million readings take 136 MB); a larger file is refused before it is
// read, so a damaged or foreign file cannot exhaust memory.
inline constexpr std::size_t kTamMaximoArchivo = std::size_t{1} << 30;

// Reads a whole regular file into memory; false with the system's reason on failure (also for a
// folder, a device or a pipe, which are refused before they are opened, so a pipe cannot hang the
// program, and for a file larger than kTamMaximoArchivo, also one that grows past it while read).
bool LeerBytes(const std::string& ruta, std::vector<std::uint8_t>& bytes, std::string& detalle);

} // namespace tarvik
