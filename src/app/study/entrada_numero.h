#pragma once
// A number input with up/down steps whose text is the state: it may be empty (it then reads as 0),
// typing accepts only what the number's kind allows, and the range, when the input has one, is
// applied when a value is set and when the user leaves the input, never while typing.

#include <QSpinBox>

#include <cstdint>
#include <optional>
#include <utility>

namespace tarvik {

// Parses an optional minus sign followed by decimal digits as a 32-bit signed whole number.
// Anything else (an empty text, a lone minus, a value beyond the range) gives nothing.
std::optional<std::int32_t> EnteroDeTexto(const QString& texto);

// The spin box machinery (arrows, keys, wheel) drives the steps; the shown text is never replaced
// by a value of the box's own, which is why the text, not QSpinBox::value(), is read.
class EntradaNumero : public QSpinBox {
    Q_OBJECT

  public:
    // `decimales` 0 makes a whole-number input; a step is one unit of the last decimal.
    explicit EntradaNumero(int decimales, QWidget* parent = nullptr);

    void PermitirNegativos(bool permitir) { negativos_ = permitir; }
    void EstablecerRango(double minimo, double maximo) { rango_ = std::make_pair(minimo, maximo); }

    // Shows a value brought into the range and written with the input's decimals.
    void EstablecerValor(double valor);
    // Shows a text as it is, without applying the range.
    void EstablecerTexto(const QString& texto);

    QString Texto() const;
    // The shown value; an empty or incomplete text reads as 0.
    double Valor() const;
    // The shown whole number, saturated to 32 bits; an empty text reads as 0.
    std::int32_t Entero() const;

    void stepBy(int pasos) override;
    QValidator::State validate(QString& texto, int& pos) const override;
    void fixup(QString&) const override {}

  signals:
    // The text changed, by typing, by a step or by the program.
    void textoCambiado();

  protected:
    QString textFromValue(int) const override;
    int valueFromText(const QString&) const override { return 0; }
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent* evento) override;

  private:
    QString Formatear(double valor) const;
    double Acotado(double valor) const;
    std::pair<double, double> LimitesPaso() const;
    QString Separador() const;

    int decimales_;
    bool negativos_ = false;
    std::optional<std::pair<double, double>> rango_;
};

} // namespace tarvik
