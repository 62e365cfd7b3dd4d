#pragma once
// A shipped example study opened as Open does and calculated with the shipped catalogues.

#include "core/engine/calculo.h"
#include "platform/archivo_estudio.h"
#include "soporte/estudio_prueba.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
#include <string>

namespace tarvik::prueba {

// The example `nombre` of examples/; with `lecturas` readings of the test study in place of its own
// when given.
inline Sesion EjemploCalculado(const char* nombre, std::optional<std::size_t> lecturas = std::nullopt) {
    Sesion s;
    s.rutas = Rutas::DesdeCarpeta(TARVIK_BIN_DIR);
    const ResultadoCarga carga =
        CargarFacturacion(std::string(TARVIK_SOURCE_DIR "/examples/") + nombre, s.Datos);
    EXPECT_TRUE(carga.ok()) << nombre;
    s.Datos = carga.datos;
    s.Lecturas = lecturas ? LecturasMensuales(*lecturas) : carga.lecturas;
    s.CargarCatalogosFijos();
    ListaMensajes mensajes;
    EXPECT_TRUE(Calcular(s, MostrarDatos(s.Datos), mensajes)) << nombre;
    return s;
}

} // namespace tarvik::prueba
