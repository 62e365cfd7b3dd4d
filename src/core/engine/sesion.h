#pragma once
// The shared state of one running program: the study, the catalogues and the results.

#include "core/catalogue/catalogo.h"
#include "core/engine/resultados.h"
#include "core/study/estudio.h"
#include "core/study/rutas.h"

#include <vector>

namespace tarvik {

struct Sesion {
    Rutas rutas;

    // The study.
    std::vector<TLectura> Lecturas;
    TDatosEstudio Datos;

    // Catalogues: conductors and current transformers stay loaded; equipment only during a selection.
    ListaEquipos CatalogoEquipos;
    std::vector<TConductor> CatalogoConductores;
    std::vector<TTransformador> CatalogoTransformadores;

    // Results.
    TAnalisisConsumo Analisis;
    double trafoEntradaMayor = 0; // the readings' largest input transformer (kVA), from their analysis
    std::vector<TEquipoSeleccionado> EquiposSeleccionados;
    std::vector<TTransformadorSeleccionado> TransformadoresSeleccionados;
    std::vector<TConductorSeleccionado> ConductoresSeleccionados;
    TCondensadorTrafo CondensadorTrafo;
    std::int32_t tensionNominal = 0;

    // Main-window state: results exist for this study / they no longer match the inputs.
    bool calculoRealizado = false;
    bool resultadosObsoletos = true;

    // Loads the catalogues that stay for the whole run: conductors, then current transformers.
    void CargarCatalogosFijos() {
        CatalogoConductores = LeerArchivo<TConductor>(rutas.RutaCond);
        CatalogoTransformadores = LeerArchivo<TTransformador>(rutas.RutaTrans);
    }
};

} // namespace tarvik
