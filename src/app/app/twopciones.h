#pragma once
// The options dialog: the interface language and the report sections to print.

#include <QDialog>

namespace tarvik {

class Twopciones : public QDialog {
    Q_OBJECT

  public:
    explicit Twopciones(QWidget* parent = nullptr);
};

} // namespace tarvik
