#pragma once
// Test helpers: a scratch folder removed at the end of the test, whole-file reads and writes, and
// little-endian values inside a byte image.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace tarvik::prueba {

// A fresh folder under the system's temporary folder, named at random so that parallel tests never
// share one.
class CarpetaTemporal {
  public:
    CarpetaTemporal() {
        std::random_device azar;
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        do
            ruta_ = base / ("tarvik-test-" + std::to_string(azar()) + std::to_string(azar()));
        while (!std::filesystem::create_directory(ruta_));
    }
    ~CarpetaTemporal() {
        std::error_code ec;
        std::filesystem::remove_all(ruta_, ec);
    }
    CarpetaTemporal(const CarpetaTemporal&) = delete;
    CarpetaTemporal& operator=(const CarpetaTemporal&) = delete;

    const std::filesystem::path& ruta() const { return ruta_; }
    std::string operator/(const std::string& nombre) const { return (ruta_ / nombre).string(); }

  private:
    std::filesystem::path ruta_;
};

// A little-endian unsigned value of `n` bytes at `at`.
inline std::uint64_t LeerLE(const std::vector<std::uint8_t>& b, std::size_t at, std::size_t n) {
    std::uint64_t v = 0;
    for (std::size_t i = n; i-- > 0;)
        v = (v << 8) | b.at(at + i);
    return v;
}

inline std::vector<std::uint8_t> LeerTodo(const std::filesystem::path& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

inline void EscribirTodo(const std::filesystem::path& ruta, const std::vector<std::uint8_t>& bytes) {
    std::ofstream f(ruta, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace tarvik::prueba
