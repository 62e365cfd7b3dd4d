#pragma once
// A results grid whose first column, the row labels, stays in view when the grid scrolls
// sideways, and whose cells show their whole text in a tooltip when the column is too narrow for it.

#include <QTableWidget>

class QTableView;

namespace tarvik {

class RejillaResultados : public QTableWidget {
  public:
    explicit RejillaResultados(QWidget* parent = nullptr);
    ~RejillaResultados() override;
    RejillaResultados(const RejillaResultados&) = delete;
    RejillaResultados& operator=(const RejillaResultados&) = delete;

    // The view drawn over the left edge that holds the label column.
    QTableView* ColumnaFija() const { return fija_; }

    void scrollTo(const QModelIndex& indice, ScrollHint sugerencia = EnsureVisible) override;

  protected:
    void resizeEvent(QResizeEvent* evento) override;
    void updateGeometries() override;
    QModelIndex moveCursor(CursorAction accion, Qt::KeyboardModifiers modificadores) override;

  private:
    void MostrarSoloEtiquetas();
    void ColocarColumnaFija();
    // Scrolls sideways so that a data cell is not hidden under the label column.
    void Descubrir(const QModelIndex& indice);

    QTableView* fija_;
};

} // namespace tarvik
