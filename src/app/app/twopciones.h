#pragma once
// The options dialog: the report sections to print and the interface language.

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QListWidget;
class QTabWidget;

namespace tarvik {

class Twopciones : public QDialog {
    Q_OBJECT

  public:
    // Reads whether the language follows the system, checks every report section and selects the
    // active language. The dialog keeps its state between showings.
    explicit Twopciones(QWidget* parent = nullptr);

    // The report sections to print: final report, equipment characteristics, billing chart.
    std::array<bool, 3> SeccionesInforme() const;

    // However the dialog closes, the chosen language becomes active and both language settings
    // are stored.
    void done(int resultado) override;

  protected:
    void showEvent(QShowEvent* evento) override;

  private:
    void HabilitarIdiomas();

    QTabWidget* PageControl1_;
    QListWidget* l_;
    QCheckBox* CheckBoxLanguage_;
    QComboBox* siLangCombo_;
};

} // namespace tarvik
