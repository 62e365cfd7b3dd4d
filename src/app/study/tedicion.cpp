#include "app/study/tedicion.h"

#include "app/study/entrada_numero.h"
#include "core/lang/traduccion.h"
#include "core/util/cp1252.h"
#include "core/util/numeros.h"
#include "platform/avisos.h"
#include "platform/texto_qt.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tarvik {
namespace {

constexpr int kAnchoEntrada = 110;

EntradaNumero* NuevaEntrada(const char* nombre, bool negativos, QWidget* padre) {
    auto* entrada = new EntradaNumero(0, padre);
    entrada->setObjectName(QString::fromLatin1(nombre));
    entrada->PermitirNegativos(negativos);
    entrada->setFixedWidth(kAnchoEntrada);
    return entrada;
}

} // namespace

Tedicion::Tedicion(QWidget* parent)
    : QDialog(parent), paginas_(new QTabWidget(this)), mes_(new QLineEdit),
      ano_(NuevaEntrada("ano", false, this)), kwht_(NuevaEntrada("kwht", false, this)),
      kvarh_(NuevaEntrada("kvarh", false, this)), mdr_(NuevaEntrada("mdr", false, this)),
      cpc_(NuevaEntrada("cpc", false, this)), rr_(NuevaEntrada("rr", false, this)),
      it_(NuevaEntrada("it", true, this)), ia_(NuevaEntrada("ia", true, this)),
      ifp_(NuevaEntrada("ifp", true, this)), ok_(new QPushButton(this)),
      cancel_(new QPushButton(QStringLiteral("&Cancelar"), this)) {
    setObjectName(QStringLiteral("edicion"));
    setWindowTitle(QStringLiteral("Edición"));
    setModal(true);

    mes_->setObjectName(QStringLiteral("mes"));
    mes_->setMaxLength(static_cast<int>(kCapMes));
    mes_->setFixedWidth(kAnchoEntrada);
    ano_->EstablecerRango(1900, 3000);
    // The discount amount has no visible input; it travels through the dialog all the same.
    ifp_->hide();

    struct Fila {
        const char* etiqueta;
        const char* clave;
        QWidget* entrada;
    };
    const Fila filas[] = {
        {"Label10", "label10_caption", mes_},  {"Label11", "label11_caption", ano_},
        {"Label12", "label12_caption", kwht_}, {"Label28", "label28_caption", kvarh_},
        {"Label31", "label31_caption", mdr_},  {"Label27", "label27_caption", cpc_},
        {"Label2", "label2_caption_0", rr_},   {"itf", "itf_label", it_},
        {"Label1", "label1_caption_0", ia_},
    };
    auto* pagina = new QWidget;
    auto* rejilla = new QGridLayout(pagina);
    int fila = 0;
    for (const Fila& f : filas) {
        auto* etiqueta = new QLabel(DesdeAnsi(Texto(f.clave)), pagina);
        etiqueta->setObjectName(QString::fromLatin1(f.etiqueta));
        etiqueta->setBuddy(f.entrada);
        rejilla->addWidget(etiqueta, fila, 0);
        rejilla->addWidget(f.entrada, fila, 1);
        ++fila;
    }
    paginas_->addTab(pagina, QString());

    ok_->setObjectName(QStringLiteral("ok"));
    ok_->setDefault(true);
    cancel_->setObjectName(QStringLiteral("cancel"));
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(ok_);
    botones->addWidget(cancel_);
    auto* disposicion = new QVBoxLayout(this);
    disposicion->addWidget(paginas_);
    disposicion->addLayout(botones);
    disposicion->setSizeConstraint(QLayout::SetFixedSize);

    // Keyboard order: the inputs as listed, then the buttons.
    QWidget* orden[] = {mes_, ano_, kwht_, kvarh_, mdr_, cpc_, rr_, it_, ia_, ok_, cancel_};
    for (std::size_t i = 1; i < std::size(orden); ++i)
        setTabOrder(orden[i - 1], orden[i]);
}

void Tedicion::Rellenar(ModoEdicion modo, const TLectura& lectura) {
    const bool anadir = modo == ModoEdicion::Anadir;
    ok_->setText(DesdeAnsi(Texto(anadir ? "okcaption" : "okcaption2")));
    mes_->setText(anadir ? QString() : DesdeAnsi(lectura.mes));
    ano_->EstablecerTexto(anadir ? QStringLiteral("0") : QString::number(lectura.ano));
    const std::pair<EntradaNumero*, double> numeros[] = {
        {kwht_, lectura.kwht}, {kvarh_, lectura.kvarh}, {mdr_, lectura.mdr}, {cpc_, lectura.cpc},
        {rr_, lectura.rr},     {it_, lectura.it},       {ia_, lectura.ia},   {ifp_, lectura.ifp},
    };
    for (const auto& [entrada, valor] : numeros)
        entrada->EstablecerTexto(anadir ? QStringLiteral("0")
                                        : QString::fromStdString(EnteroMostrado(valor)));
}

bool Tedicion::Leer(TLectura& lectura) const {
    const auto convertir = [](const EntradaNumero* entrada) {
        const std::optional<std::int32_t> valor = EnteroDeTexto(entrada->Texto());
        if (!valor)
            MostrarMensaje({TipoMensaje::Error,
                            {},
                            "'" + entrada->Texto().toStdString() + "' is not a valid integer value"});
        return valor;
    };
    lectura.mes = TruncateBytes(HaciaAnsi(mes_->text()), kCapMes);
    const std::optional<std::int32_t> ano = convertir(ano_);
    if (!ano)
        return false;
    lectura.ano = *ano;
    const std::pair<const EntradaNumero*, double*> numeros[] = {
        {kwht_, &lectura.kwht}, {it_, &lectura.it}, {cpc_, &lectura.cpc}, {kvarh_, &lectura.kvarh},
        {mdr_, &lectura.mdr},   {ia_, &lectura.ia}, {rr_, &lectura.rr},   {ifp_, &lectura.ifp},
    };
    for (const auto& [entrada, campo] : numeros) {
        const std::optional<std::int32_t> valor = convertir(entrada);
        if (!valor)
            return false;
        *campo = *valor;
    }
    return true;
}

bool Tedicion::EditarLectura(ModoEdicion modo, TLectura& lectura, std::int32_t tipoLectura) {
    Rellenar(modo, lectura);
    paginas_->setTabText(0, DesdeAnsi(Texto(tipoLectura == 1 ? "lecturabimestral" : "lecturamensual")));
    mes_->setFocus();
    const bool aceptado = exec() == QDialog::Accepted;
    TLectura leida = lectura;
    if (!Leer(leida) || !aceptado)
        return false;
    lectura = leida;
    return true;
}

} // namespace tarvik
