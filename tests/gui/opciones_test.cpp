// The options dialog: report sections and the interface language with its two settings.

#include "app/app/twopciones.h"
#include "core/lang/traduccion.h"
#include "platform/ajustes_idioma.h"
#include "soporte/ajustes_prueba.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

namespace tarvik {
namespace {

class Opciones : public ::testing::Test {
  protected:
    void SetUp() override { EstablecerIdiomaActivo(kEspanol); }
    void TearDown() override { EstablecerIdiomaActivo(kEspanol); }

    static bool Guardado(const char* nombre) {
        return prueba::AjustesPrueba::Ajustes().contains(QString::fromLatin1(nombre));
    }
    static int Leido(const char* nombre) { return LeerEnteroAjuste(QString::fromLatin1(nombre), -99); }

    // Shows the dialog modally, runs `accion` on it and closes it with the key or button given.
    static void Usar(Twopciones& d, std::function<void()> accion, bool conEscape = false) {
        QTimer::singleShot(0, [&d, accion, conEscape] {
            accion();
            if (conEscape) {
                QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(&d, &escape);
            } else {
                d.findChild<QPushButton*>(QStringLiteral("closebutton"))->click();
            }
        });
        d.exec();
        EXPECT_FALSE(d.isVisible());
    }

    template <class W> static W* Control(const Twopciones& d, const char* nombre) {
        W* w = d.findChild<W*>(QString::fromLatin1(nombre));
        EXPECT_NE(w, nullptr) << nombre;
        return w;
    }

  private:
    prueba::AjustesPrueba ajustes_;
};

TEST_F(Opciones, AFirstCloseStoresBothSettingsWithoutAnyChange) {
    for (int idioma : {kEspanol, kIngles}) {
        prueba::AjustesPrueba::Ajustes().clear();
        EstablecerIdiomaActivo(idioma);
        Twopciones d;
        EXPECT_TRUE(Control<QCheckBox>(d, "CheckBoxLanguage")->isChecked());
        EXPECT_EQ(Control<QComboBox>(d, "siLangCombo")->currentIndex(), idioma - 1);
        EXPECT_FALSE(Guardado("auto"));
        Usar(
            d, [] {}, idioma == kIngles);
        EXPECT_EQ(Leido("auto"), 1);
        EXPECT_EQ(Leido("language"), idioma);
        EXPECT_EQ(IdiomaActivo(), idioma);
    }
}

TEST_F(Opciones, AFixedLanguageAppliesAtOnceAndIsStored) {
    Twopciones d;
    const QString titulo = d.windowTitle();
    Usar(d, [&] {
        QCheckBox* automatico = Control<QCheckBox>(d, "CheckBoxLanguage");
        QComboBox* idiomas = Control<QComboBox>(d, "siLangCombo");
        EXPECT_FALSE(idiomas->isEnabled()) << "the list follows the system while the box is checked";
        automatico->click();
        EXPECT_TRUE(idiomas->isEnabled());
        idiomas->setCurrentIndex(1);
    });
    EXPECT_EQ(IdiomaActivo(), kIngles);
    EXPECT_EQ(Texto("closecaption"), "Close");
    EXPECT_EQ(d.windowTitle(), titulo) << "captions stay in the start-up language";
    EXPECT_EQ(Leido("auto"), 0);
    EXPECT_EQ(Leido("language"), kIngles);

    // A stored choice is what the dialog starts with next time, the list then enabled.
    Twopciones siguiente;
    Usar(siguiente, [&] {
        EXPECT_FALSE(Control<QCheckBox>(siguiente, "CheckBoxLanguage")->isChecked());
        EXPECT_TRUE(Control<QComboBox>(siguiente, "siLangCombo")->isEnabled());
        EXPECT_EQ(Control<QComboBox>(siguiente, "siLangCombo")->currentIndex(), 1);
        // Checking the box again hands the language back to the system.
        Control<QCheckBox>(siguiente, "CheckBoxLanguage")->click();
        EXPECT_FALSE(Control<QComboBox>(siguiente, "siLangCombo")->isEnabled());
    });
    EXPECT_EQ(Leido("auto"), 1);
}

TEST_F(Opciones, AListWithoutSelectionKeepsTheActiveLanguage) {
    EstablecerIdiomaActivo(kIngles);
    Twopciones d;
    Usar(d, [&] { Control<QComboBox>(d, "siLangCombo")->setCurrentIndex(-1); });
    EXPECT_EQ(IdiomaActivo(), kIngles);
    EXPECT_EQ(Leido("language"), kIngles);
}

TEST_F(Opciones, ReportSectionsStartCheckedAndKeepTheUsersChoice) {
    Twopciones d;
    EXPECT_EQ(d.SeccionesInforme(), (std::array<bool, 3>{true, true, true}));
    QListWidget* l = Control<QListWidget>(d, "l");
    ASSERT_EQ(l->count(), 3);
    EXPECT_EQ(l->item(2)->text(), "Gráfico de Facturación");
    Usar(d, [&] {
        EXPECT_EQ(Control<QTabWidget>(d, "PageControl1")->currentIndex(), 0);
        l->item(2)->setCheckState(Qt::Unchecked);
        Control<QTabWidget>(d, "PageControl1")->setCurrentIndex(1);
    });
    EXPECT_EQ(d.SeccionesInforme(), (std::array<bool, 3>{true, true, false}));
    Usar(d, [&] { EXPECT_EQ(Control<QTabWidget>(d, "PageControl1")->currentIndex(), 1); });
    EXPECT_EQ(d.SeccionesInforme(), (std::array<bool, 3>{true, true, false}));
}

} // namespace
} // namespace tarvik
