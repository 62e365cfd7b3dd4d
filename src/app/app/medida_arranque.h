#pragma once
// Start-up timing for the benchmarks. With TARVIK_MEDIR_ARRANQUE=1 in the environment the program
// writes to its error output how long each start-up step took and ends as soon as the main window
// has been painted. Without it every call here does nothing.

class QWidget;

namespace tarvik::medida {

// Starts the clock; the first thing main() does.
void Empezar();
// The step that began at the previous mark (or at Empezar) ends now.
void Marcar(const char* paso);
// Marks the end of the start-up picture's pause: a step kept apart from the start-up's total.
void MarcarEspera();
// Once `ventana` has been painted: marks "mostrar", writes the line of steps and quits the
// message loop.
void TerminarAlPintar(QWidget& ventana);

} // namespace tarvik::medida
