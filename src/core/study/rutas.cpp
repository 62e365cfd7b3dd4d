#include "study/rutas.h"

#include "catalogue/catalogo.h"

namespace tarvik {

Rutas Rutas::DesdePrograma(const std::string& rutaEjecutable) {
    return DesdeCarpeta(ExtraerRuta(rutaEjecutable, kSeparador));
}

Rutas Rutas::DesdeCarpeta(const std::string& carpeta) {
    Rutas r;
    r.RutaPrograma = carpeta;
    if (!r.RutaPrograma.empty() && r.RutaPrograma.back() != kSeparador)
        r.RutaPrograma += kSeparador;
    const std::string dbf = r.RutaPrograma + "dbf" + kSeparador;
    r.RutaBateria = dbf + "bateria.dat";
    r.RutaBateria60 = dbf + "bateria60.dat";
    r.RutaFiltros = dbf + "filtros.dat";
    r.RutaTrans = dbf + "trans.dat";
    r.RutaCond = dbf + "cond.dat";
    return r;
}

} // namespace tarvik
