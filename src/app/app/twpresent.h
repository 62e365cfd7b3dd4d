#pragma once
// The start-up picture: a borderless black window on top of the others, in the active language.

#include <QWidget>

namespace tarvik {

class TwPresent : public QWidget {
    Q_OBJECT

  public:
    explicit TwPresent(QWidget* parent = nullptr);
};

} // namespace tarvik
