#pragma once
// The modal text-input dialog behind one replaceable interface: the program shows the real
// dialog, tests answer it.

#include "platform/reemplazable.h"

#include <QString>

#include <optional>

class QWidget;

namespace tarvik {

class EntradaTexto {
  public:
    virtual ~EntradaTexto() = default;
    // The text that the user confirmed, or nothing when the dialog was cancelled.
    virtual std::optional<QString> Pedir(QWidget* padre, const QString& titulo, const QString& etiqueta,
                                         const QString& inicial) = 0;
};

// The real dialog, in use unless a test replaced it.
template <> EntradaTexto& Reemplazable<EntradaTexto>::PorDefecto();

} // namespace tarvik
