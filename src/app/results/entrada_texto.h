#pragma once
// The modal text-input dialog behind one replaceable interface: the program shows the real
// dialog, tests answer it.

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

// The interface in use: the real dialog unless a test installed its own.
EntradaTexto& EntradaTextoActiva();
void EstablecerEntradaTexto(EntradaTexto* entrada);

} // namespace tarvik
