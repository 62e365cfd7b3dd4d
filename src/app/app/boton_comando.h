#pragma once
// A command button as the windows show them: a picture above its caption.

#include <QKeySequence>
#include <QString>

class QAbstractButton;
class QToolButton;
class QWidget;

namespace tarvik {

// `nombre` is the control's name, `clave` the translation key of its caption and `icono` the
// resource name of its picture (under :/app/iconos/, without extension).
QToolButton* CrearBotonComando(const char* nombre, const char* clave, const char* icono, QWidget* padre);

// What a button does, beyond its caption: the tooltip shows `descripcion` followed by the keys that
// press it (when there are any), and a screen reader reads the same text as the button's
// description after its caption.
void DescribirBoton(QAbstractButton& boton, const QString& descripcion, const QString& teclas = {});

// The platform's standard keys for `accion` press the button as a click does (not while it is
// disabled), and its description names them. Where the platform has no keys for the action, the
// button has none.
void DarAtajo(QAbstractButton& boton, QKeySequence::StandardKey accion, const QString& descripcion);

} // namespace tarvik
