#pragma once
// A customer text input that turns every typed letter into upper case, as the stored
// Windows-1252 text will hold it, keeping the cursor where the user left it.

#include <QLineEdit>

namespace tarvik {

class EntradaMayusculas : public QLineEdit {
    Q_OBJECT

  public:
    explicit EntradaMayusculas(QWidget* parent = nullptr);

  private:
    void AlEditar(const QString& texto);
};

} // namespace tarvik
