#include "app/app/dialogos.h"

#include "app/app/ventana_ayuda.h"
#include "core/lang/traduccion.h"
#include "platform/rotulo.h"
#include "platform/texto_qt.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace tarvik {
namespace {

class DialogosReales : public Dialogos {
  public:
    QString Abrir(QWidget* padre, const QString& titulo, const QString& filtro) override {
        QFileDialog dialogo(padre, titulo, QString(), filtro);
        dialogo.setAcceptMode(QFileDialog::AcceptOpen);
        dialogo.setFileMode(QFileDialog::ExistingFile);
        return Elegido(dialogo);
    }

    QString Guardar(QWidget* padre, const QString& titulo, const QString& filtro,
                    const QString& sufijo) override {
        QFileDialog dialogo(padre, titulo, QString(), filtro);
        dialogo.setAcceptMode(QFileDialog::AcceptSave);
        dialogo.setFileMode(QFileDialog::AnyFile);
        dialogo.setDefaultSuffix(sufijo);
        return Elegido(dialogo);
    }

    void MostrarAyuda(QWidget* padre, const QString& rutaPrograma, int idioma) override {
        AbrirAyuda(rutaPrograma, idioma, padre);
    }

    std::optional<bool> ReemplazarLecturas(QWidget* padre, int actuales, int nuevas) override {
        const int idioma = IdiomaActivo();
        QMessageBox caja(QMessageBox::Question, DesdeAnsi(TextoDialogo("Confirm")),
                         Rotulo(idioma,
                                "El estudio ya tiene %1 lecturas. ¿Reemplazarlas por las %2 lecturas "
                                "importadas o añadir estas al final?",
                                "The study already holds %1 readings. Replace them with the %2 imported "
                                "readings, or add these at the end?")
                             .arg(actuales)
                             .arg(nuevas),
                         QMessageBox::NoButton, padre);
        QPushButton* reemplazar =
            caja.addButton(Rotulo(idioma, "&Reemplazar", "&Replace"), QMessageBox::DestructiveRole);
        QPushButton* anadir =
            caja.addButton(Rotulo(idioma, "A&ñadir al final", "&Add at the end"), QMessageBox::AcceptRole);
        caja.addButton(DesdeAnsi(TextoDialogo("Cancel")), QMessageBox::RejectRole);
        caja.setDefaultButton(anadir);
        caja.exec();
        if (caja.clickedButton() == reemplazar)
            return true;
        if (caja.clickedButton() == anadir)
            return false;
        return std::nullopt;
    }

  private:
    static QString Elegido(QFileDialog& dialogo) {
        if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
            return {};
        return dialogo.selectedFiles().first();
    }
};

} // namespace

template <> Dialogos& Reemplazable<Dialogos>::PorDefecto() {
    static DialogosReales reales;
    return reales;
}

} // namespace tarvik
