#pragma once
// Program start: the windows in their order of creation, the start-up picture and the message loop.

#include "app/app/mainform.h"
#include "app/app/twopciones.h"
#include "app/app/twpresent.h"
#include "app/results/twgrafico1.h"
#include "app/results/twresult.h"
#include "app/results/twtotales.h"
#include "app/study/tedicion.h"

#include <memory>

class QApplication;

namespace tarvik {

// Every window of the program, created once and kept until the end. The modal windows are
// children of the main window, which owns them.
struct Ventanas {
    std::unique_ptr<Tmainform> mainform;
    std::unique_ptr<TwPresent> present;
    Tedicion* edicion = nullptr;
    TWTotales* totales = nullptr;
    TWResult* resultados = nullptr;
    TWGrafico1* grafico = nullptr;
    Twopciones* opciones = nullptr;
};

// Creates the windows in start-up order. With `presentacion` the start-up picture is created and
// shown as soon as the main window exists, before the remaining windows.
Ventanas CrearVentanas(Sesion& sesion, bool presentacion);

// The whole run of the program; returns its exit code when the main window has closed.
int EjecutarTarvik(QApplication& aplicacion);

} // namespace tarvik
