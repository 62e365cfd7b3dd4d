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
        dialogo.setOkButtonText(DesdeAnsi(TextoDialogo("OK")));
        dialogo.setCancelButtonText(DesdeAnsi(TextoDialogo("Cancel")));
        if (dialogo.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialogo.textValue();
    }
};

EntradaTextoReal g_real;
EntradaTexto* g_activa = &g_real;

} // namespace

EntradaTexto& EntradaTextoActiva() {
    return *g_activa;
}
void EstablecerEntradaTexto(EntradaTexto* entrada) {
    g_activa = entrada ? entrada : &g_real;
}

} // namespace tarvik
