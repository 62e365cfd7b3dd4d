#include "app/study/entrada_numero.h"

#include "core/util/numeros.h"
#include "platform/numero_local.h"

#include <QLineEdit>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarvik {
namespace {

constexpr double kMinEntero = std::numeric_limits<std::int32_t>::min();
constexpr double kMaxEntero = std::numeric_limits<std::int32_t>::max();

// Digits after an optional minus sign, accumulated without passing `tope`.
std::optional<std::int64_t> Digitos(const QString& texto, std::int64_t tope, bool& negativo) {
    negativo = texto.startsWith(u'-');
    const qsizetype inicio = negativo ? 1 : 0;
    if (texto.size() == inicio)
        return std::nullopt;
    std::int64_t valor = 0;
    for (qsizetype i = inicio; i < texto.size(); ++i) {
        const QChar c = texto[i];
        if (c < u'0' || c > u'9')
            return std::nullopt;
        valor = std::min<std::int64_t>(valor * 10 + (c.unicode() - u'0'), tope);
    }
    return valor;
}

} // namespace

std::optional<std::int32_t> EnteroDeTexto(const QString& texto) {
    constexpr std::int64_t kFuera = std::int64_t{1} << 32;
    bool negativo = false;
    const std::optional<std::int64_t> digitos = Digitos(texto, kFuera, negativo);
    if (!digitos)
        return std::nullopt;
    const std::int64_t valor = negativo ? -*digitos : *digitos;
    if (valor < kMinEntero || valor > kMaxEntero)
        return std::nullopt;
    return static_cast<std::int32_t>(valor);
}

EntradaNumero::EntradaNumero(int decimales, QWidget* parent) : QSpinBox(parent), decimales_(decimales) {
    // The box's own value stays out of the way: the whole 32-bit range, never shown.
    setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    connect(lineEdit(), &QLineEdit::textChanged, this, &EntradaNumero::textoCambiado);
    lineEdit()->setText(QStringLiteral("0"));
}

QString EntradaNumero::Separador() const {
    return QLocale().decimalPoint();
}

QString EntradaNumero::Texto() const {
    return lineEdit()->text();
}

QString EntradaNumero::textFromValue(int) const {
    return lineEdit()->displayText();
}

std::int32_t EntradaNumero::Entero() const {
    bool negativo = false;
    const std::optional<std::int64_t> digitos = Digitos(Texto(), kMaxEntero + 1, negativo);
    if (!digitos)
        return 0;
    return static_cast<std::int32_t>(
        std::clamp<double>(negativo ? -*digitos : *digitos, kMinEntero, kMaxEntero));
}

double EntradaNumero::Valor() const {
    if (decimales_ == 0)
        return Entero();
    QString texto = Texto();
    texto.replace(Separador(), QStringLiteral("."));
    bool ok = false;
    const double valor = QLocale::c().toDouble(texto, &ok);
    return ok ? valor : 0.0;
}

QString EntradaNumero::Formatear(double valor) const {
    if (decimales_ == 0)
        return QString::number(static_cast<qint64>(valor));
    // Rounded as every number the program shows, exact halves to even.
    return QString::fromStdString(Fijo(valor, decimales_, SeparadorDecimal()));
}

double EntradaNumero::Acotado(double valor) const {
    if (rango_)
        valor = std::clamp(valor, rango_->first, rango_->second);
    if (decimales_ == 0)
        valor = std::clamp(std::trunc(valor), kMinEntero, kMaxEntero);
    return valor;
}

void EntradaNumero::EstablecerValor(double valor) {
    lineEdit()->setText(Formatear(Acotado(valor)));
}

void EntradaNumero::EstablecerTexto(const QString& texto) {
    lineEdit()->setText(texto);
}

std::pair<double, double> EntradaNumero::LimitesPaso() const {
    std::pair<double, double> limites = rango_.value_or(std::make_pair(kMinEntero, kMaxEntero));
    if (!negativos_)
        limites.first = std::max(limites.first, 0.0);
    return limites;
}

void EntradaNumero::stepBy(int pasos) {
    const auto [minimo, maximo] = LimitesPaso();
    const double paso = std::pow(10.0, -decimales_);
    const double siguiente = std::clamp(Valor() + pasos * paso, minimo, maximo);
    EstablecerTexto(Formatear(siguiente));
    lineEdit()->selectAll();
}

QAbstractSpinBox::StepEnabled EntradaNumero::stepEnabled() const {
    if (isReadOnly())
        return StepNone;
    const auto [minimo, maximo] = LimitesPaso();
    const double valor = Valor();
    StepEnabled permitidos = StepNone;
    if (valor < maximo)
        permitidos |= StepUpEnabled;
    if (valor > minimo)
        permitidos |= StepDownEnabled;
    return permitidos;
}

QValidator::State EntradaNumero::validate(QString& texto, int&) const {
    qsizetype i = 0;
    if (negativos_ && texto.startsWith(u'-'))
        ++i;
    const QString separador = Separador();
    qsizetype decimalesEscritos = -1; // -1: no separator yet
    for (; i < texto.size(); ++i) {
        if (texto[i] >= u'0' && texto[i] <= u'9') {
            if (decimalesEscritos >= 0 && ++decimalesEscritos > decimales_)
                return QValidator::Invalid;
        } else if (decimales_ > 0 && decimalesEscritos < 0 && texto.mid(i, separador.size()) == separador) {
            decimalesEscritos = 0;
            i += separador.size() - 1;
        } else {
            return QValidator::Invalid;
        }
    }
    return QValidator::Acceptable;
}

void EntradaNumero::focusOutEvent(QFocusEvent* evento) {
    // Leaving brings a typed value into the range; an emptied text reads as 0 and is brought in
    // like any other value, so that the input never stays blank.
    if (rango_) {
        const QString acotado = Formatear(Acotado(Valor()));
        if (acotado != Texto())
            EstablecerTexto(acotado);
    }
    QSpinBox::focusOutEvent(evento);
}

} // namespace tarvik
