#include "app/results/entrada_texto.h"

#include "core/lang/traduccion.h"
#include "platform/texto_qt.h"

#include <QInputDialog>

namespace tarvik {
namespace {

class EntradaTextoReal : public EntradaTexto {
  public:
    std::optional<QString> Pedir(QWidget* padre, const QString& titulo, const QString& etiqueta,
                                 const QString& inicial) override {
        QInputDialog dialogo(padre);
        dialogo.setWindowTitle(titulo);
        dialogo.setLabelText(etiqueta);
        dialogo.setTextValue(inicial);
        dialogo.setOkButtonText(TextoDialogoQt("OK"));
        dialogo.setCancelButtonText(TextoDialogoQt("Cancel"));
        if (dialogo.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialogo.textValue();
    }
};

} // namespace

template <> EntradaTexto& Reemplazable<EntradaTexto>::PorDefecto() {
    static EntradaTextoReal real;
    return real;
}

} // namespace tarvik
