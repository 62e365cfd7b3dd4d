#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it at the end.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

class CarpetaTemporal {
  public:
    CarpetaTemporal() {
        std::string plantilla = (std::filesystem::temp_directory_path() / "tarvik-test-XXXXXX").string();
        std::vector<char> nombre(plantilla.begin(), plantilla.end());
        nombre.push_back('\0');
        if (::mkdtemp(nombre.data()) != nullptr)
            ruta_ = nombre.data();
    }
    ~CarpetaTemporal() {
        std::error_code ec;
        if (!ruta_.empty())
            std::filesystem::remove_all(ruta_, ec);
    }
    CarpetaTemporal(const CarpetaTemporal&) = delete;
    CarpetaTemporal& operator=(const CarpetaTemporal&) = delete;

    const std::filesystem::path& ruta() const { return ruta_; }
    std::string operator/(const std::string& nombre) const { return (ruta_ / nombre).string(); }

  private:
    std::filesystem::path ruta_;
};
