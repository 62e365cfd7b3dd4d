#pragma once
// The readings table: one row per reading of the study, drawn from the reading itself under a
// resizable six-section header. The model is a view of the study's list, so thousands of readings
// cost nothing until a row is painted.

#include "core/study/estudio.h"

#include <QAbstractListModel>
#include <QWidget>

#include <vector>

class QHeaderView;
class QListView;
class QStandardItemModel;

namespace tarvik {

inline constexpr int kSeccionesLecturas = 6;
inline constexpr int kAltoFilaLecturas = 16;

class ModeloLecturas : public QAbstractListModel {
    Q_OBJECT

  public:
    explicit ModeloLecturas(std::vector<TLectura>& lecturas, QObject* parent = nullptr);

    int rowCount(const QModelIndex& padre = QModelIndex()) const override;
    QVariant data(const QModelIndex& indice, int rol) const override;

    // The text of one cell of the table.
    QString TextoCelda(int fila, int seccion) const;

    const std::vector<TLectura>& Lecturas() const { return lecturas_; }
    void Anadir(const TLectura& lectura);
    void Reemplazar(int fila, const TLectura& lectura);
    void Borrar(int fila);
    // Replaces every reading at once (a new or loaded study).
    void Asignar(std::vector<TLectura> lecturas);

  private:
    std::vector<TLectura>& lecturas_;
};

class ListaLecturas : public QWidget {
    Q_OBJECT

  public:
    explicit ListaLecturas(ModeloLecturas& modelo, QWidget* parent = nullptr);

    QHeaderView* Cabecera() const { return cabecera_; }
    QListView* Vista() const { return vista_; }
    // The first selected row, or -1.
    int FilaSeleccionada() const;

  signals:
    void filaActivada();

  private:
    void AlRedimensionar(int seccion, int anterior, int nuevo);

    QStandardItemModel* titulos_;
    QHeaderView* cabecera_;
    QListView* vista_;
};

} // namespace tarvik
