#include "app/app/dialogos.h"

#include "app/app/ventana_ayuda.h"

#include <QFileDialog>

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
