#pragma once
// The reading editor: a small modal dialog with one input per field of a billing reading.

#include "core/study/estudio.h"

#include <QDialog>

#include <cstdint>

class QLineEdit;
class QPushButton;
class QTabWidget;

namespace tarvik {

class EntradaNumero;

enum class ModoEdicion { Anadir, Cambiar };

class Tedicion : public QDialog {
    Q_OBJECT

  public:
    explicit Tedicion(QWidget* parent = nullptr);

    // Fills the inputs from `lectura` (adding: an empty label and "0" everywhere), shows the dialog
    // modally, then reads the inputs back whichever button closed it. True when the user pressed OK
    // and every number converted; a text that is not a 32-bit whole number shows the conversion
    // error. `lectura` changes only when the result is true. `tipoLectura` names the page.
    bool EditarLectura(ModoEdicion modo, TLectura& lectura, std::int32_t tipoLectura);

  private:
    void Rellenar(ModoEdicion modo, const TLectura& lectura);
    bool Leer(TLectura& lectura) const;

    QTabWidget* paginas_;
    QLineEdit* mes_;
    EntradaNumero* ano_;
    EntradaNumero* kwht_;
    EntradaNumero* kvarh_;
    EntradaNumero* mdr_;
    EntradaNumero* cpc_;
    EntradaNumero* rr_;
    EntradaNumero* it_;
    EntradaNumero* ia_;
    EntradaNumero* ifp_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

} // namespace tarvik
