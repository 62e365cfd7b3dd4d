#include "study/rutas.h"

#include "catalogue/catalogo.h"

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

} // namespace tarvik
