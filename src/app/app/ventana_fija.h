#pragma once
// The shape shared by the program's fixed windows.

class QColor;
class QWidget;

namespace tarvik {

// Paints the window's background in one colour, fixes its size to what its contents ask for and
// centres it on its screen. Called once its contents are in place.
void PrepararVentanaFija(QWidget& ventana, const QColor& fondo);

} // namespace tarvik
