#include "app/results/twgrafico1.h"

#include "platform/grafico_consumo.h"
#include "platform/texto_qt.h"

#include <QChartView>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvik {
namespace {

constexpr int kAltoPanel = 31;

} // namespace

TWGrafico1::TWGrafico1(Sesion& sesion, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      sesion_(sesion) {
    setObjectName(QStringLiteral("WGrafico1"));
    setModal(true);
    setWindowTitle(TextoQt("grafico_caption"));

    // The chart's titles keep the language of this moment, like every caption.
    Chart1_ = new QChartView(CrearGraficoConsumo(), this);
    Chart1_->setObjectName(QStringLiteral("Chart1"));
    Chart1_->setRenderHint(QPainter::Antialiasing);
    Chart1_->setRubberBand(QChartView::NoRubberBand);
    Chart1_->setBackgroundBrush(Qt::white);

    Panel1_ = new QWidget(this);
    Panel1_->setObjectName(QStringLiteral("Panel1"));
    Panel1_->setFixedHeight(kAltoPanel);
    bclose_ = new QPushButton(TextoQt("closecaption"), Panel1_);
    bclose_->setObjectName(QStringLiteral("bclose"));
    bclose_->setAutoDefault(false);
    bclose_->resize(bclose_->sizeHint());
    bclose_->move(0, (kAltoPanel - bclose_->height()) / 2);
    connect(bclose_, &QPushButton::clicked, this, &QDialog::accept);

    auto* disposicion = new QVBoxLayout(this);
    disposicion->setContentsMargins(0, 0, 0, 0);
    disposicion->setSpacing(0);
    disposicion->addWidget(Chart1_, 1);
    disposicion->addWidget(Panel1_);
    resize(640, 420);
}

void TWGrafico1::MostrarConsumo() {
    tarvik::MostrarConsumo(*Chart1_->chart(), sesion_.Lecturas);
}

void TWGrafico1::showEvent(QShowEvent* evento) {
    MostrarConsumo();
    QDialog::showEvent(evento);
}

void TWGrafico1::resizeEvent(QResizeEvent* evento) {
    QDialog::resizeEvent(evento);
    bclose_->move(Panel1_->width() - bclose_->width() - 2, bclose_->y());
}

} // namespace tarvik
