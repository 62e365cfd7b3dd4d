#pragma once
// Paths of the data files, built once from the program's own location.

#include <string>

namespace tarvik {

#ifdef _WIN32
inline constexpr char kSeparador = '\\';
#else
inline constexpr char kSeparador = '/';
#endif

struct Rutas {
    std::string RutaPrograma; // the program's folder with its trailing separator
    std::string RutaDbf;      // the data folder (normally "dbf" in the program's folder), with its separator
    std::string RutaBateria;
    std::string RutaBateria60;
    std::string RutaFiltros;
    std::string RutaTrans;
    std::string RutaCond;

    // From the absolute path of the running program (or of any file in its folder).
    static Rutas DesdePrograma(const std::string& rutaEjecutable);
    // From a folder that holds (or stands in for) the program's folder.
    static Rutas DesdeCarpeta(const std::string& carpeta);
    // From the program's folder and a data folder somewhere else.
    static Rutas DesdeCarpetas(const std::string& carpeta, const std::string& carpetaDbf);
};

// 1-based position of the last occurrence of `c` in `texto`, or -1.
int UltimaPosicion(const std::string& texto, char c);

// The part of a path up to and including its last separator; the whole path if it has none.
std::string ExtraerRuta(const std::string& ruta, char separador);

} // namespace tarvik
