// Start-up: the windows in their order and the start-up picture.

#include "gui/ayudas.h"

#include "core/lang/traduccion.h"

#include <QLabel>

namespace tarvik::prueba {
namespace {

TEST(Arranque, CreatesEachWindowOnceAndShowsThePictureOfTheLanguage) {
    QImage imagenes[2];
    for (const int idioma : {kEspanol, kIngles}) {
        EstablecerIdiomaActivo(idioma);
        Sesion sesion;
        Ventanas v = CrearVentanas(sesion, true);
        ASSERT_TRUE(v.present);
        EXPECT_TRUE(v.present->isVisible());
        EXPECT_FALSE(v.mainform->isVisible());
        EXPECT_TRUE(v.present->windowFlags() & Qt::FramelessWindowHint);
        EXPECT_TRUE(v.present->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_EQ(v.present->palette().color(QPalette::Window), QColor(Qt::black));
        const QPixmap imagen = v.present->findChild<QLabel*>(QStringLiteral("imagen"))->pixmap();
        EXPECT_EQ(imagen.size(), QSize(528, 350));
        imagenes[idioma - 1] = imagen.toImage();
        EXPECT_EQ(v.mainform->findChildren<Tedicion*>().size(), 1);
        EXPECT_EQ(v.mainform->findChildren<TWTotales*>().size(), 1);
        EXPECT_EQ(v.mainform->findChildren<TWResult*>().size(), 1);
        EXPECT_EQ(v.mainform->findChildren<TWGrafico1*>().size(), 1);
        EXPECT_EQ(v.mainform->findChildren<Twopciones*>().size(), 1);
    }
    EstablecerIdiomaActivo(kEspanol);
    EXPECT_NE(imagenes[0], imagenes[1]);
}

} // namespace
} // namespace tarvik::prueba
