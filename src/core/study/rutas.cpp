#include "core/study/rutas.h"

namespace tarvik {

Rutas Rutas::DesdePrograma(const std::string& rutaEjecutable) {
    return DesdeCarpeta(ExtraerRuta(rutaEjecutable, kSeparador));
}

namespace {
std::string ConSeparador(std::string carpeta) {
    if (!carpeta.empty() && carpeta.back() != kSeparador)
        carpeta += kSeparador;
    return carpeta;
}
} // namespace

Rutas Rutas::DesdeCarpeta(const std::string& carpeta) {
    return DesdeCarpetas(carpeta, ConSeparador(carpeta) + "dbf");
}

Rutas Rutas::DesdeCarpetas(const std::string& carpeta, const std::string& carpetaDbf) {
    Rutas r;
    r.RutaPrograma = ConSeparador(carpeta);
    r.RutaDbf = ConSeparador(carpetaDbf);
    r.RutaBateria = r.RutaDbf + "bateria.dat";
    r.RutaBateria60 = r.RutaDbf + "bateria60.dat";
    r.RutaFiltros = r.RutaDbf + "filtros.dat";
    r.RutaTrans = r.RutaDbf + "trans.dat";
    r.RutaCond = r.RutaDbf + "cond.dat";
    return r;
}

int UltimaPosicion(const std::string& texto, char c) {
    const auto pos = texto.rfind(c);
    return pos == std::string::npos ? -1 : static_cast<int>(pos) + 1;
}

std::string ExtraerRuta(const std::string& ruta, char separador) {
    const int pos = UltimaPosicion(ruta, separador);
    return pos < 0 ? ruta : ruta.substr(0, static_cast<std::size_t>(pos));
}

} // namespace tarvik
