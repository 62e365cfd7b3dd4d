#include "app/study/lista_lecturas.h"

#include "core/lang/traduccion.h"
#include "core/util/numeros.h"
#include "platform/rotulo.h"
#include "platform/texto_qt.h"

#include <QHeaderView>
#include <QListView>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <array>

namespace tarvik {
namespace {

constexpr std::array<const char*, kSeccionesLecturas> kClaves = {"header_seccion_0", "header_seccion_1",
                                                                 "header_seccion_2", "header_seccion_3",
                                                                 "header_seccion_4", "header_seccion_5"};
constexpr std::array<int, kSeccionesLecturas> kAnchos = {135, 87, 110, 95, 145, 229};
// Sections 0 to 3 keep their width between these limits; the last two have none.
constexpr int kSeccionesLimitadas = 4;
constexpr int kAnchoMinimo = 50;
constexpr int kAnchoMaximo = 150;
// The first cell starts this far right of the row's left edge.
constexpr int kMargenFila = 2;

// Draws a row cell by cell, each as wide as the header section with the same index.
class DelegadoLecturas : public QStyledItemDelegate {
  public:
    DelegadoLecturas(const ModeloLecturas& modelo, const QHeaderView& cabecera, QObject* parent)
        : QStyledItemDelegate(parent), modelo_(modelo), cabecera_(cabecera) {}

    void paint(QPainter* pintor, const QStyleOptionViewItem& opcion,
               const QModelIndex& indice) const override {
        const int fila = indice.row();
        if (fila < 0 || fila >= static_cast<int>(modelo_.Lecturas().size()))
            return;
        const bool seleccionada = opcion.state & QStyle::State_Selected;
        const QPalette::ColorGroup grupo =
            (opcion.state & QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
        pintor->save();
        pintor->fillRect(opcion.rect,
                         opcion.palette.brush(grupo, seleccionada ? QPalette::Highlight : QPalette::Base));
        pintor->setPen(
            opcion.palette.color(grupo, seleccionada ? QPalette::HighlightedText : QPalette::Text));
        const QFontMetrics medidas(opcion.font);
        int x = opcion.rect.left() + kMargenFila;
        for (int seccion = 0; seccion < kSeccionesLecturas; ++seccion) {
            const int ancho = cabecera_.sectionSize(seccion);
            const QRect celda(x, opcion.rect.top(), ancho, opcion.rect.height());
            const QString texto =
                medidas.elidedText(modelo_.TextoCelda(fila, seccion), Qt::ElideRight, ancho);
            pintor->setClipRect(celda);
            pintor->drawText(celda, Qt::AlignLeft | Qt::AlignVCenter, texto);
            x += ancho;
        }
        pintor->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& opcion, const QModelIndex&) const override {
        return {opcion.rect.width(), kAltoFilaLecturas};
    }

  private:
    const ModeloLecturas& modelo_;
    const QHeaderView& cabecera_;
};

} // namespace

ModeloLecturas::ModeloLecturas(std::vector<TLectura>& lecturas, QObject* parent)
    : QAbstractListModel(parent), lecturas_(lecturas) {}

int ModeloLecturas::rowCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : static_cast<int>(lecturas_.size());
}

QVariant ModeloLecturas::data(const QModelIndex& indice, int rol) const {
    if (!indice.isValid() || indice.row() >= rowCount())
        return {};
    if (rol == Qt::DisplayRole)
        return TextoCelda(indice.row(), 0);
    if (rol != Qt::AccessibleTextRole)
        return {};
    // A screen reader reads the whole row, each value after its heading.
    QStringList partes;
    for (int seccion = 0; seccion < kSeccionesLecturas; ++seccion)
        partes << QStringLiteral("%1: %2").arg(TextoQt(kClaves[static_cast<std::size_t>(seccion)]),
                                               TextoCelda(indice.row(), seccion));
    return partes.join(QStringLiteral(", "));
}

QString ModeloLecturas::TextoCelda(int fila, int seccion) const {
    const TLectura& l = lecturas_.at(static_cast<std::size_t>(fila));
    switch (seccion) {
    case 0:
        return TextoVisible(l.mes);
    case 1:
        return QString::number(l.ano);
    case 2:
        return QString::fromStdString(EnteroMostrado(l.kwht));
    case 3:
        return QString::fromStdString(EnteroMostrado(l.kvarh));
    case 4:
        return QString::fromStdString(EnteroMostrado(l.mdr));
    case 5:
        return QString::fromStdString(EnteroMostrado(l.cpc));
    default:
        return {};
    }
}

void ModeloLecturas::Anadir(const TLectura& lectura) {
    const int fila = rowCount();
    beginInsertRows(QModelIndex(), fila, fila);
    lecturas_.push_back(lectura);
    endInsertRows();
}

void ModeloLecturas::Reemplazar(int fila, const TLectura& lectura) {
    lecturas_.at(static_cast<std::size_t>(fila)) = lectura;
    emit dataChanged(index(fila), index(fila));
}

void ModeloLecturas::Borrar(int fila) {
    beginRemoveRows(QModelIndex(), fila, fila);
    lecturas_.erase(lecturas_.begin() + fila);
    endRemoveRows();
}

void ModeloLecturas::Asignar(std::vector<TLectura> lecturas) {
    beginResetModel();
    lecturas_ = std::move(lecturas);
    endResetModel();
}

ListaLecturas::ListaLecturas(ModeloLecturas& modelo, QWidget* parent)
    : QWidget(parent), titulos_(new QStandardItemModel(0, kSeccionesLecturas, this)),
      cabecera_(new QHeaderView(Qt::Horizontal, this)), vista_(new QListView(this)) {
    QStringList titulos;
    for (const char* clave : kClaves)
        titulos << TextoQt(clave);
    titulos_->setHorizontalHeaderLabels(titulos);

    cabecera_->setObjectName(QStringLiteral("Header"));
    cabecera_->setModel(titulos_);
    cabecera_->setSectionsClickable(false);
    cabecera_->setSectionsMovable(false);
    cabecera_->setStretchLastSection(false);
    cabecera_->setMinimumSectionSize(0);
    cabecera_->setSectionResizeMode(QHeaderView::Interactive);
    cabecera_->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int i = 0; i < kSeccionesLecturas; ++i)
        cabecera_->resizeSection(i, kAnchos[static_cast<std::size_t>(i)]);
    connect(cabecera_, &QHeaderView::sectionResized, this, &ListaLecturas::AlRedimensionar);

    vista_->setObjectName(QStringLiteral("lista"));
    const int idioma = IdiomaActivo();
    vista_->setAccessibleName(Rotulo(idioma, "Lecturas", "Readings"));
    vista_->setAccessibleDescription(Rotulo(
        idioma, "Una fila por lectura. Insert añade una lectura, Intro cambia la elegida y Supr la borra",
        "One row per reading. Insert adds a reading, Enter changes the selected one and Delete deletes it"));
    vista_->setModel(&modelo);
    vista_->setItemDelegate(new DelegadoLecturas(modelo, *cabecera_, vista_));
    vista_->setUniformItemSizes(true);
    // Several rows may be selected to copy them out; Edit and Delete act on the first.
    vista_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    vista_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    vista_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(vista_, &QListView::doubleClicked, this, &ListaLecturas::filaActivada);

    // Wide enough for the initial sections, the row margin and the scroll bar.
    int ancho = kMargenFila + 2 * vista_->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (const int a : kAnchos)
        ancho += a;
    vista_->setMinimumWidth(ancho);
    cabecera_->setFixedHeight(cabecera_->sizeHint().height());

    auto* disposicion = new QVBoxLayout(this);
    disposicion->setContentsMargins(0, 0, 0, 0);
    disposicion->setSpacing(0);
    disposicion->addWidget(cabecera_);
    disposicion->addWidget(vista_, 1);
}

int ListaLecturas::FilaSeleccionada() const {
    int primera = -1;
    for (const QModelIndex& i : vista_->selectionModel()->selectedIndexes())
        primera = primera < 0 ? i.row() : std::min(primera, i.row());
    return primera;
}

void ListaLecturas::AlRedimensionar(int seccion, int, int nuevo) {
    if (seccion < kSeccionesLimitadas && (nuevo < kAnchoMinimo || nuevo > kAnchoMaximo)) {
        cabecera_->resizeSection(seccion, std::clamp(nuevo, kAnchoMinimo, kAnchoMaximo));
        return;
    }
    vista_->viewport()->update();
}

} // namespace tarvik
