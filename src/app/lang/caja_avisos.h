#pragma once
// The desktop program's message boxes.

#include "platform/avisos.h"

namespace tarvik {

// A modal box with the title of its kind, the platform's icon for it and buttons, all in the
// active language. A confirmation closed in any way other than its Yes button answers No.
class CajaAvisos : public Avisos {
  public:
    Respuesta Mostrar(TipoMensaje tipo, const QString& texto) override;
};

} // namespace tarvik
