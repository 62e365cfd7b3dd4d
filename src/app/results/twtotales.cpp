#include "app/results/twtotales.h"

#include "app/app/ventana_fija.h"
#include "app/results/twgrafico1.h"
#include "core/engine/calculo.h"
#include "core/lang/traduccion.h"
#include "core/results/amortizacion.h"
#include "core/results/totales.h"
#include "platform/avisos.h"
#include "platform/numero_local.h"
#include "platform/rotulo.h"
#include "platform/texto_qt.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace tarvik {

TWTotales::TWTotales(Sesion& sesion, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      sesion_(sesion) {
    setObjectName(QStringLiteral("WTotales"));
    setModal(true);
    setWindowTitle(TextoQt("utotales_caption"));

    auto* PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    auto* TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    auto* rejilla = new QGridLayout(TabSheet1);
    rejilla->setColumnStretch(0, 1);
    const int idioma = IdiomaActivo();
    const struct {
        const char* etiqueta;
        QString texto;
        const char* campo;
        QLineEdit** control;
    } filas[] = {
        {"Label1", TextoQt("label1_caption"), "fpb", &fpb_},
        {"Label7", TextoQt("label17_caption"), "fpm", &fpm_},
        {"Label2", TextoQt("label2_caption"), "fpd", &fpd_},
        {"Label14", TextoQt("label14_caption"), "total_penalizacion", &total_penalizacion_},
        // Below a rule: the equipment as priced in the results window, against that surcharge.
        {"LabelInversion", Rotulo(idioma, "Inversión en equipos (€)", "Investment in equipment (€)"),
         "inversion", &inversion_},
        {"LabelAmortizacion", Rotulo(idioma, "Amortización simple (años)", "Simple payback (years)"),
         "amortizacion", &amortizacion_},
    };
    int fila = 0;
    for (const auto& f : filas) {
        if (f.control == &inversion_) {
            auto* regla = new QFrame(TabSheet1);
            regla->setFrameShape(QFrame::HLine);
            regla->setFrameShadow(QFrame::Sunken);
            rejilla->addWidget(regla, fila++, 0, 1, 2);
        }
        auto* etiqueta = new QLabel(f.texto, TabSheet1);
        etiqueta->setObjectName(QString::fromLatin1(f.etiqueta));
        auto* campo = new QLineEdit(TabSheet1);
        campo->setObjectName(QString::fromLatin1(f.campo));
        campo->setReadOnly(true);
        campo->setFixedWidth(90);
        campo->setAlignment(Qt::AlignRight);
        etiqueta->setBuddy(campo);
        rejilla->addWidget(etiqueta, fila, 0);
        rejilla->addWidget(campo, fila, 1);
        *f.control = campo;
        ++fila;
    }
    auto* Button2 = new QPushButton(TextoQt("button_graphiccaption"), TabSheet1);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(false);
    rejilla->setRowStretch(fila, 1);
    rejilla->addWidget(Button2, fila + 1, 1, Qt::AlignRight);
    PageControl1->addTab(TabSheet1, TextoQt("pagecontrol_Caption"));
    connect(Button2, &QPushButton::clicked, this, [this] {
        if (grafico_)
            grafico_->exec();
    });

    PageControl1->setMinimumWidth(440);
    ComponerDialogoFijo(*this, PageControl1, "Button1");
}

void TWTotales::MostrarTotales(const DatosPanel& panel) {
    ListaMensajes mensajes;
    const bool ok = ValidarYAnalizar(sesion_, panel, mensajes);
    MostrarMensajes(mensajes);
    if (!ok) {
        MostrarMensaje({TipoMensaje::Error, "error_facturacion", {}});
        return;
    }
    const TextosTotales textos = LlenarTotales(sesion_.Analisis, panel.cosenoDeseado, sesion_.Lecturas.size(),
                                               panel.tipoLectura, SeparadorDecimal());
    fpb_->setText(QString::fromStdString(textos.fpb));
    fpm_->setText(QString::fromStdString(textos.fpm));
    fpd_->setText(QString::fromStdString(textos.fpd));
    total_penalizacion_->setText(QString::fromStdString(textos.total_penalizacion));
    const Amortizacion amortizacion = AmortizacionDelEstudio(sesion_, panel);
    inversion_->setText(DesdeAnsi(TextoInversion(amortizacion, SeparadorDecimal(), IdiomaActivo())));
    amortizacion_->setText(DesdeAnsi(TextoAmortizacion(amortizacion, SeparadorDecimal(), IdiomaActivo())));
    exec();
}

} // namespace tarvik
