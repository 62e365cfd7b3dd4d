#include "app/app/medida_arranque.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace tarvik::medida {
namespace {

using Reloj = std::chrono::steady_clock;

// Processor time of the whole process (every thread) in milliseconds.
double MsProcesador() {
    return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

struct Paso {
    std::string nombre;
    double ms;
    double msProcesador;
    bool espera;
};

struct Medida {
    bool activa = false;
    Reloj::time_point inicio;
    Reloj::time_point ultima;
    double ultimaProcesador = 0;
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
    const double procesador = MsProcesador();
    m.pasos.push_back({paso, std::chrono::duration<double, std::milli>(ahora - m.ultima).count(),
                       procesador - m.ultimaProcesador, espera});
    m.ultima = ahora;
    m.ultimaProcesador = procesador;
}

std::string Numero(double ms) {
    char texto[32];
    std::snprintf(texto, sizeof texto, "%.2f", ms);
    return texto;
}

// One line: the clock at main() in nanoseconds (the same clock as CLOCK_MONOTONIC, so a caller can
// add the time before main), each step in milliseconds, and the totals of the steps but the pause:
// elapsed time, and processor time since the process began.
void Escribir() {
    const Medida& m = Estado();
    double total = 0;
    double totalProcesador = 0;
    std::string linea =
        "tarvik-arranque inicio_ns=" +
        std::to_string(
            std::chrono::duration_cast<std::chrono::nanoseconds>(m.inicio.time_since_epoch()).count());
    for (const Paso& p : m.pasos) {
        linea += ' ' + p.nombre + '=' + Numero(p.ms);
        if (!p.espera) {
            total += p.ms;
            totalProcesador += p.msProcesador;
        }
    }
    std::fprintf(stderr, "%s total=%s procesador=%s\n", linea.c_str(), Numero(total).c_str(),
                 Numero(totalProcesador).c_str());
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
                QCoreApplication::exit(0);
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
    m.ultimaProcesador = 0;
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
