#pragma once
// A command button as the windows show them: a picture above its caption.

#include <QString>

class QToolButton;
class QWidget;

namespace tarvik {

// `nombre` is the control's name, `clave` the translation key of its caption and `icono` the
// resource name of its picture (under :/app/iconos/, without extension).
QToolButton* CrearBotonComando(const char* nombre, const char* clave, const char* icono, QWidget* padre);

} // namespace tarvik
