#pragma once
// The file dialogs, the help and the question that goes with an import behind one replaceable
// interface: the program shows the real
// dialogs, tests answer them.

#include "platform/reemplazable.h"

#include <QString>

#include <optional>

class QWidget;

namespace tarvik {

class Dialogos {
  public:
    virtual ~Dialogos() = default;
    // The file the user chose to open, or an empty text when the dialog was cancelled.
    virtual QString Abrir(QWidget* padre, const QString& titulo, const QString& filtro) = 0;
    // The file the user chose to write (after agreeing to replace an existing one), or an empty
    // text when the dialog was cancelled. A name typed without extension gets `sufijo`.
    virtual QString Guardar(QWidget* padre, const QString& titulo, const QString& filtro,
                            const QString& sufijo) = 0;
    // Opens the help of a language from the program's folder (with its trailing separator); help
    // that cannot be shown is skipped silently.
    virtual void MostrarAyuda(QWidget* padre, const QString& rutaPrograma, int idioma) = 0;
    // Whether `nuevas` readings brought into a study that holds `actuales` replace them (true) or
    // go after them (false); nothing when the user cancelled.
    virtual std::optional<bool> ReemplazarLecturas(QWidget* padre, int actuales, int nuevas) = 0;
};

// The real dialogs, in use unless a test replaced them.
template <> Dialogos& Reemplazable<Dialogos>::PorDefecto();

} // namespace tarvik
