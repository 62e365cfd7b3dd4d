#include "app/app/twopciones.h"

#include "app/app/ventana_fija.h"

#include "core/lang/traduccion.h"
#include "platform/ajustes_idioma.h"
#include "platform/texto_qt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tarvik {
namespace {

constexpr QSize kTamanoBandera(24, 16);

// Spain: red, yellow twice as wide, red.
QPixmap BanderaEspanola() {
    QPixmap imagen(kTamanoBandera);
    QPainter p(&imagen);
    const int w = imagen.width(), h = imagen.height();
    p.fillRect(0, 0, w, h, QColor(0xAA, 0x15, 0x1B));
    p.fillRect(0, h / 4, w, h / 2, QColor(0xF1, 0xBF, 0x00));
    return imagen;
}

// The United Kingdom: blue field, white and red saltires, white and red crosses.
QPixmap BanderaInglesa() {
    QPixmap imagen(kTamanoBandera);
    QPainter p(&imagen);
    p.setRenderHint(QPainter::Antialiasing);
    const int w = imagen.width(), h = imagen.height();
    p.fillRect(0, 0, w, h, QColor(0x01, 0x21, 0x69));
    const QLineF diagonales[] = {{0, 0, qreal(w), qreal(h)}, {0, qreal(h), qreal(w), 0}};
    p.setPen(QPen(Qt::white, 3.2));
    p.drawLines(diagonales, 2);
    p.setPen(QPen(QColor(0xC8, 0x10, 0x2E), 1.1));
    p.drawLines(diagonales, 2);
    p.fillRect(w / 2 - 3, 0, 6, h, Qt::white);
    p.fillRect(0, h / 2 - 3, w, 6, Qt::white);
    p.fillRect(w / 2 - 1, 0, 2, h, QColor(0xC8, 0x10, 0x2E));
    p.fillRect(0, h / 2 - 1, w, 2, QColor(0xC8, 0x10, 0x2E));
    return imagen;
}

} // namespace

Twopciones::Twopciones(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("wopciones"));
    setModal(true);
    setWindowTitle(TextoQt("wopciones_caption"));

    PageControl1_ = new QTabWidget(this);
    PageControl1_->setObjectName(QStringLiteral("PageControl1"));

    auto* TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    l_ = new QListWidget(TabSheet1);
    l_->setObjectName(QStringLiteral("l"));
    for (const char* clave : {"wopciones_0", "wopciones_1", "wopciones_2"}) {
        auto* item = new QListWidgetItem(TextoQt(clave), l_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    (new QVBoxLayout(TabSheet1))->addWidget(l_);
    PageControl1_->addTab(TabSheet1, TextoQt("imprimir_tab_caption"));

    auto* TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    auto* Label1 = new QLabel(TextoQt("idioma_interfaz_label"), TabSheet2);
    Label1->setObjectName(QStringLiteral("Label1"));
    CheckBoxLanguage_ = new QCheckBox(TextoQt("checkboxLanguage"), TabSheet2);
    CheckBoxLanguage_->setObjectName(QStringLiteral("CheckBoxLanguage"));
    CheckBoxLanguage_->setChecked((LeerEnteroAjuste(kAjusteAutomatico, 1) & 0xFF) != 0);
    siLangCombo_ = new QComboBox(TabSheet2);
    siLangCombo_->setObjectName(QStringLiteral("siLangCombo"));
    siLangCombo_->setIconSize(kTamanoBandera);
    siLangCombo_->addItem(QIcon(BanderaEspanola()), QStringLiteral("Español"));
    siLangCombo_->addItem(QIcon(BanderaInglesa()), QStringLiteral("English"));
    siLangCombo_->setCurrentIndex(IdiomaActivo() - 1);
    auto* Label2 = new QLabel(TextoQt("reiniciar_aplicacion_languaje"), TabSheet2);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    QFont negrita = Label2->font();
    negrita.setBold(true);
    Label2->setFont(negrita);
    auto* idioma = new QVBoxLayout(TabSheet2);
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, CheckBoxLanguage_, siLangCombo_, Label2})
        idioma->addWidget(w);
    idioma->addStretch();
    PageControl1_->addTab(TabSheet2, TextoQt("idioma_tab_caption"));
    PageControl1_->setCurrentIndex(0);

    connect(CheckBoxLanguage_, &QCheckBox::clicked, this, &Twopciones::HabilitarIdiomas);

    PageControl1_->setMinimumSize(360, 210);
    ComponerDialogoFijo(*this, PageControl1_, "closebutton");
}

std::array<bool, 3> Twopciones::SeccionesInforme() const {
    std::array<bool, 3> secciones{};
    for (int i = 0; i < 3; ++i)
        secciones[static_cast<std::size_t>(i)] = l_->item(i)->checkState() == Qt::Checked;
    return secciones;
}

void Twopciones::HabilitarIdiomas() {
    siLangCombo_->setEnabled(!CheckBoxLanguage_->isChecked());
}

void Twopciones::showEvent(QShowEvent* evento) {
    HabilitarIdiomas();
    QDialog::showEvent(evento);
}

void Twopciones::done(int resultado) {
    // A list without a selection keeps the language in use.
    if (siLangCombo_->currentIndex() >= 0)
        EstablecerIdiomaActivo(siLangCombo_->currentIndex() + 1);
    EscribirEnteroAjuste(kAjusteAutomatico, CheckBoxLanguage_->isChecked() ? 1 : 0);
    EscribirEnteroAjuste(kAjusteIdioma, IdiomaActivo());
    QDialog::done(resultado);
}

} // namespace tarvik
