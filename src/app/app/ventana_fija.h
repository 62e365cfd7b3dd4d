#pragma once
// The shape shared by the program's fixed windows.

class QColor;
class QDialog;
class QWidget;

namespace tarvik {

// Paints the window's background in one colour, fixes its size to what its contents ask for and
// centres it on its screen. Called once its contents are in place.
void PrepararVentanaFija(QWidget& ventana, const QColor& fondo);

// Lays out a fixed dialog in the colours of the system: its contents above, the close button
// (named `nombreBoton`, captioned `closecaption`) at the bottom right. The button and Escape close it.
void ComponerDialogoFijo(QDialog& dialogo, QWidget* contenido, const char* nombreBoton);

} // namespace tarvik
