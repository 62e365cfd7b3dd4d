#include "app/study/entrada_mayusculas.h"

#include "core/util/cp1252.h"
#include "platform/texto_qt.h"

namespace tarvik {
namespace {
QString Mayusculas(const QString& texto) {
    return DesdeAnsi(Cp1252ToUpper(HaciaAnsi(texto)));
}
} // namespace

EntradaMayusculas::EntradaMayusculas(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textEdited, this, &EntradaMayusculas::AlEditar);
}

void EntradaMayusculas::AlEditar(const QString& texto) {
    const QString nuevo = Mayusculas(texto);
    if (nuevo == texto)
        return;
    // The text before the cursor may change length (a character outside the code page becomes
    // one '?'), so the cursor goes to the end of that part as converted.
    const int cursor = static_cast<int>(Mayusculas(texto.left(cursorPosition())).size());
    setText(nuevo);
    setCursorPosition(cursor);
}

} // namespace tarvik
