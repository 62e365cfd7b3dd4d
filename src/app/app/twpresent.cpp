#include "app/app/twpresent.h"

#include "app/app/ventana_fija.h"
#include "core/lang/traduccion.h"

#include <QLabel>
#include <QVBoxLayout>

namespace tarvik {

TwPresent::TwPresent(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("wPresent"));
    auto* imagen = new QLabel(this);
    imagen->setObjectName(QStringLiteral("imagen"));
    const bool espanol = IdiomaActivo() == kEspanol;
    imagen->setPixmap(QPixmap(espanol ? QStringLiteral(":/app/presentacion_es.svg")
                                      : QStringLiteral(":/app/presentacion_en.svg")));
    auto* disposicion = new QVBoxLayout(this);
    disposicion->setContentsMargins(0, 0, 0, 0);
    disposicion->addWidget(imagen);

    PrepararVentanaFija(*this, Qt::black);
}

} // namespace tarvik
