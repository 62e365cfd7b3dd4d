#pragma once
// Test helpers: a scratch folder removed at the end of the test, whole-file reads and writes, and
// little-endian values inside a byte image.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tarvik::prueba {

class CarpetaTemporal {
  public:
    CarpetaTemporal() {
        std::string plantilla = (std::filesystem::temp_directory_path() / "tarvik-test-XXXXXX").string();
        ruta_ = ::mkdtemp(plantilla.data());
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
