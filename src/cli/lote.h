#pragma once
// Runs over many studies: the studies that files and folders name, the work spread over every
// core with the answers kept in input order, and a progress line for a person watching.

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tarvik::cli {

// The studies that the command line names: a file as given, a folder's .fac files by name.
// `varios` tells whether the answer is a list (more than one name, or a folder). False with the
// reason when a folder cannot be read or holds no study.
bool ListarEstudios(const std::vector<std::string>& archivos, std::vector<std::string>& estudios,
                    bool& varios, std::string& motivo);

// "tarvik-cli: 120/10000 studies" on standard error, rewritten in place at most ten times a
// second, only when standard error is a terminal.
class Progreso {
  public:
    explicit Progreso(std::size_t total);
    ~Progreso();
    Progreso(const Progreso&) = delete;
    Progreso& operator=(const Progreso&) = delete;
    void Avanzar();

  private:
    void Mostrar();
    std::size_t total_, hechos_ = 0;
    bool terminal_;
    std::chrono::steady_clock::time_point ultimo_{};
};

// Runs `tarea(i)` for every i below n on every core, and hands each answer to `escribir(i, answer)`
// on the calling thread in the order of i, as soon as it and every answer before it are ready.
template <class Respuesta, class Tarea, class Escribir>
void EnOrden(std::size_t n, Tarea tarea, Escribir escribir) {
    std::vector<std::optional<Respuesta>> respuestas(n);
    std::mutex cerrojo;
    std::condition_variable lista;
    std::size_t siguiente = 0;
    const auto trabajar = [&] {
        for (;;) {
            std::size_t i;
            {
                std::lock_guard<std::mutex> g(cerrojo);
                if (siguiente == n)
                    return;
                i = siguiente++;
            }
            Respuesta r = tarea(i);
            {
                std::lock_guard<std::mutex> g(cerrojo);
                respuestas[i] = std::move(r);
            }
            lista.notify_all();
        }
    };
    const std::size_t hilos = std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), n);
    std::vector<std::thread> trabajadores;
    for (std::size_t h = 0; h < hilos; ++h)
        trabajadores.emplace_back(trabajar);
    for (std::size_t i = 0; i < n; ++i) {
        Respuesta r;
        {
            std::unique_lock<std::mutex> g(cerrojo);
            lista.wait(g, [&] { return respuestas[i].has_value(); });
            r = std::move(*respuestas[i]);
            respuestas[i].reset();
        }
        escribir(i, r);
    }
    for (std::thread& t : trabajadores)
        t.join();
}

} // namespace tarvik::cli
