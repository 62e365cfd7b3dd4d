#include "app/results/rejilla_resultados.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolTip>

namespace tarvik {
namespace {

// A cell whose text the column cuts shows the whole text in a tooltip; a cell that shows all of
// it has none.
class DelegadoTextoEntero : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* evento, QAbstractItemView* vista, const QStyleOptionViewItem& opcion,
                   const QModelIndex& indice) override {
        if (evento->type() != QEvent::ToolTip)
            return QStyledItemDelegate::helpEvent(evento, vista, opcion, indice);
        QStyleOptionViewItem celda = opcion;
        initStyleOption(&celda, indice);
        const QStyle* estilo = vista->style();
        const QRect espacio = estilo->subElementRect(QStyle::SE_ItemViewItemText, &celda, vista);
        // The style keeps this margin on both sides of a cell's text.
        const int margen = estilo->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, vista) + 1;
        if (celda.fontMetrics.horizontalAdvance(celda.text) > espacio.width() - 2 * margen)
            QToolTip::showText(evento->globalPos(), celda.text, vista->viewport(), opcion.rect);
        else
            QToolTip::hideText();
        return true;
    }
};

} // namespace

RejillaResultados::RejillaResultados(QWidget* parent) : QTableWidget(parent), fija_(new QTableView(this)) {
    fija_->setObjectName(QStringLiteral("columna_fija"));
    fija_->setModel(model());
    fija_->setSelectionModel(selectionModel());
    fija_->setFocusPolicy(Qt::NoFocus);
    fija_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fija_->setWordWrap(false);
    fija_->setFrameShape(QFrame::NoFrame);
    fija_->verticalHeader()->hide();
    fija_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    fija_->horizontalHeader()->setHighlightSections(false);
    fija_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fija_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->stackUnder(fija_);

    auto* delegado = new DelegadoTextoEntero(this);
    setItemDelegate(delegado);
    fija_->setItemDelegate(delegado);
    // By pixels, so that the columns slide out from under the label column instead of jumping.
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    // The label column is resized on either header and follows on the other.
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int seccion, int, int ancho) {
        if (seccion == 0) {
            fija_->setColumnWidth(0, ancho);
            ColocarColumnaFija();
        }
    });
    connect(fija_->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int seccion, int, int ancho) {
                if (seccion == 0)
                    setColumnWidth(0, ancho);
            });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, fija_->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(fija_->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(),
            &QScrollBar::setValue);
    connect(model(), &QAbstractItemModel::columnsInserted, this, &RejillaResultados::MostrarSoloEtiquetas);
    connect(model(), &QAbstractItemModel::modelReset, this, &RejillaResultados::MostrarSoloEtiquetas);
    MostrarSoloEtiquetas();
}

RejillaResultados::~RejillaResultados() {
    // The model and the headers die with the grid's children and still signal while they go;
    // the grid is half destroyed by then.
    model()->disconnect(this);
    horizontalHeader()->disconnect(this);
    fija_->horizontalHeader()->disconnect(this);
}

void RejillaResultados::MostrarSoloEtiquetas() {
    for (int c = 0; c < model()->columnCount(); ++c)
        fija_->setColumnHidden(c, c != 0);
    if (model()->columnCount() > 0)
        fija_->setColumnWidth(0, columnWidth(0));
    ColocarColumnaFija();
}

void RejillaResultados::ColocarColumnaFija() {
    fija_->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    fija_->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
    fija_->setVisible(model()->columnCount() > 0);
    fija_->setGeometry(viewport()->x(), frameWidth(), columnWidth(0),
                       viewport()->height() + horizontalHeader()->height());
}

void RejillaResultados::resizeEvent(QResizeEvent* evento) {
    QTableWidget::resizeEvent(evento);
    ColocarColumnaFija();
}

void RejillaResultados::updateGeometries() {
    QTableWidget::updateGeometries();
    ColocarColumnaFija();
}

void RejillaResultados::Descubrir(const QModelIndex& indice) {
    const int oculto = columnWidth(0) - visualRect(indice).left();
    if (indice.column() > 0 && oculto > 0)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - oculto);
}

void RejillaResultados::scrollTo(const QModelIndex& indice, ScrollHint sugerencia) {
    // The label column is always in view: reaching one of its cells scrolls only up or down.
    const int lateral = horizontalScrollBar()->value();
    QTableWidget::scrollTo(indice, sugerencia);
    if (indice.column() == 0)
        horizontalScrollBar()->setValue(lateral);
    else
        Descubrir(indice);
}

QModelIndex RejillaResultados::moveCursor(CursorAction accion, Qt::KeyboardModifiers modificadores) {
    const QModelIndex actual = QTableWidget::moveCursor(accion, modificadores);
    Descubrir(actual);
    return actual;
}

} // namespace tarvik
