#include "app/results/twgrafico1.h"

#include "platform/texto_qt.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValueAxis>

namespace tarvik {
namespace {

constexpr int kAltoPanel = 31;

// Provisional chart until the shared builder lands.
QChart* CrearGrafico(const std::vector<TLectura>& lecturas) {
    auto* grafico = new QChart;
    grafico->setTitle(TextoQt("grafico1title"));
    auto* activa = new QBarSet(TextoQt("grafico1serie1"));
    auto* reactiva = new QBarSet(TextoQt("grafico1serie2"));
    activa->setColor(QColor(128, 255, 255));
    reactiva->setColor(QColor(255, 0, 0));
    QStringList meses;
    for (const TLectura& l : lecturas) {
        activa->append(l.kwht);
        reactiva->append(l.kvarh);
        meses << DesdeAnsi(l.mes);
    }
    auto* serie = new QBarSeries;
    serie->append(activa);
    serie->append(reactiva);
    grafico->addSeries(serie);
    auto* x = new QBarCategoryAxis;
    x->append(meses);
    grafico->addAxis(x, Qt::AlignBottom);
    serie->attachAxis(x);
    auto* y = new QValueAxis;
    grafico->addAxis(y, Qt::AlignLeft);
    serie->attachAxis(y);
    grafico->legend()->setAlignment(Qt::AlignBottom);
    return grafico;
}

} // namespace

TWGrafico1::TWGrafico1(Sesion& sesion, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      sesion_(sesion) {
    setObjectName(QStringLiteral("WGrafico1"));
    setModal(true);
    setWindowTitle(TextoQt("grafico_caption"));
    setSizeGripEnabled(true);

    Chart1_ = new QChartView(this);
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
    bclose_->move(0, (kAltoPanel - bclose_->sizeHint().height()) / 2);
    bclose_->resize(bclose_->sizeHint());
    connect(bclose_, &QPushButton::clicked, this, &QDialog::accept);

    auto* disposicion = new QVBoxLayout(this);
    disposicion->setContentsMargins(0, 0, 0, 0);
    disposicion->setSpacing(0);
    disposicion->addWidget(Chart1_, 1);
    disposicion->addWidget(Panel1_);
    resize(640, 420);
}

void TWGrafico1::MostrarConsumo() {
    QChart* anterior = Chart1_->chart();
    Chart1_->setChart(CrearGrafico(sesion_.Lecturas));
    delete anterior;
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
