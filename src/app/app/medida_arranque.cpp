#include "app/app/medida_arranque.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace tarvik::medida {
namespace {

using Reloj = std::chrono::steady_clock;

struct Paso {
    std::string nombre;
    double ms;
    bool espera;
};

struct Medida {
    bool activa = false;
    Reloj::time_point inicio;
    Reloj::time_point ultima;
    std::vector<Paso> pasos;
};

Medida& Estado() {
    static Medida medida;
    return medida;
}

void Anotar(const char* paso, bool espera) {
    Medida& m = Estado();
    if (!m.activa)
        return;
    const Reloj::time_point ahora = Reloj::now();
    m.pasos.push_back({paso, std::chrono::duration<double, std::milli>(ahora - m.ultima).count(), espera});
    m.ultima = ahora;
}

// One line: the clock at main() in nanoseconds (the same clock as CLOCK_MONOTONIC, so a caller can
// add the time before main), each step in milliseconds, and the total of the steps but the pause.
void Escribir() {
    const Medida& m = Estado();
    double total = 0;
    std::string linea =
        "tarvik-arranque inicio_ns=" +
        std::to_string(
            std::chrono::duration_cast<std::chrono::nanoseconds>(m.inicio.time_since_epoch()).count());
    for (const Paso& p : m.pasos) {
        char valor[32];
        std::snprintf(valor, sizeof valor, "%.2f", p.ms);
        linea += ' ' + p.nombre + '=' + valor;
        if (!p.espera)
            total += p.ms;
    }
    char valor[32];
    std::snprintf(valor, sizeof valor, "%.2f", total);
    std::fprintf(stderr, "%s total=%s\n", linea.c_str(), valor);
    std::fflush(stderr);
}

// Waits for the window's first paint; the next turn of the message loop ends the run.
class AlPintar : public QObject {
  public:
    explicit AlPintar(QWidget& ventana) : QObject(&ventana) { ventana.installEventFilter(this); }

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (evento->type() == QEvent::Paint) {
            objeto->removeEventFilter(this);
            QTimer::singleShot(0, [] {
                Marcar("mostrar");
                Escribir();
                QCoreApplication::quit();
            });
        }
        return false;
    }
};

} // namespace

void Empezar() {
    Medida& m = Estado();
    m.activa = qEnvironmentVariableIntValue("TARVIK_MEDIR_ARRANQUE") == 1;
    m.inicio = m.ultima = Reloj::now();
}

void Marcar(const char* paso) {
    Anotar(paso, false);
}

void MarcarEspera() {
    Anotar("espera", true);
}

void TerminarAlPintar(QWidget& ventana) {
    if (Estado().activa)
        new AlPintar(ventana);
}

} // namespace tarvik::medida
