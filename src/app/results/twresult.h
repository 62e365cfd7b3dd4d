#pragma once
// The results window: the calculation's three tables, where prices and lengths are entered.

#include "core/engine/sesion.h"
#include "core/study/estudio.h"

#include <QDialog>

#include <optional>

class QLabel;
class QTabWidget;
class QTableWidget;

namespace tarvik {

class TWResult : public QDialog {
    Q_OBJECT

  public:
    explicit TWResult(Sesion& sesion, QWidget* parent = nullptr);

    // With `recalcular`, runs the calculation on the panel's values and fills the tables; otherwise
    // keeps the tables of the previous calculation with the user's entries. Then shows the window
    // modally. True when the window was shown; false when the calculation was refused (its
    // messages shown).
    virtual bool Ejecutar(bool recalcular, const DatosPanel& panel);

  protected:
    void showEvent(QShowEvent* evento) override;

    Sesion& sesion_;

  private:
    // A cell that the user may change: the prompt's key, the value in its record and the
    // decimals of the prompt's initial text.
    struct Campo {
        const char* clave;
        double* valor;
        int decimales;
    };

    void MostrarEquipos();
    void MostrarTransformadores();
    void MostrarConductores();

    // The field behind a cell of a table (row as the table numbers it, heading row 0), if any.
    std::optional<Campo> CampoDe(const QTableWidget* tabla, int fila, int columna);
    void Editar(QTableWidget* tabla, int fila, int columna);

    // The equipment type and tariff of the calculation that filled the tables.
    std::int32_t equipos_ = 1;
    std::int32_t tarifa_ = 0;

    QTabWidget* PageControl1_;
    QWidget* ctrans_;
    QTableWidget* tabla_capacitores_;
    QTableWidget* tabla_trans_;
    QTableWidget* tabla_conductor_;
    QLabel* ArmLabel_;
    QLabel* Label2_;
};

} // namespace tarvik
