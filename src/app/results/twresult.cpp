#include "app/results/twresult.h"

#include "app/app/ventana_fija.h"
#include "app/results/entrada_texto.h"
#include "app/results/rejilla_resultados.h"
#include "core/engine/calculo.h"
#include "core/results/tablas.h"
#include "core/util/numeros.h"
#include "platform/avisos.h"
#include "platform/numero_local.h"
#include "platform/rotulo.h"
#include "platform/texto_qt.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tarvik {
namespace {

constexpr int kAnchoEtiquetas = 200;
constexpr int kAnchoDatos = 80;

// Rows of the tables (the heading row is 0) that the user may change.
constexpr int kFilaPrecioEquipo = 5;
constexpr int kFilaPrecioTransformador = 3;
constexpr int kFilaLongitudConductor = 4;
constexpr int kFilaPrecioConductor = 6;

// A grid whose heading row is the header and whose label column is drawn like it and stays in
// view; only the data cells can be selected, none can be edited in place, and every column can be
// resized.
QTableWidget* CrearTabla(const char* nombre, QWidget* pagina) {
    auto* tabla = new RejillaResultados(pagina);
    tabla->setObjectName(QString::fromLatin1(nombre));
    tabla->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabla->verticalHeader()->hide();
    tabla->verticalHeader()->setDefaultSectionSize(tabla->fontMetrics().height() + 8);
    tabla->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    tabla->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    tabla->horizontalHeader()->setHighlightSections(false);
    tabla->setShowGrid(true);
    tabla->setWordWrap(false);
    return tabla;
}

void Llenar(QTableWidget* tabla, const Rejilla& rejilla) {
    const int columnas = static_cast<int>(rejilla.front().size());
    tabla->clear();
    tabla->setColumnCount(columnas);
    tabla->setRowCount(static_cast<int>(rejilla.size()) - 1);
    const QBrush fondoFijo = tabla->palette().button();
    const auto texto = [&rejilla](int f, int c) {
        return TextoVisible(rejilla[static_cast<std::size_t>(f)][static_cast<std::size_t>(c)]);
    };
    for (int c = 0; c < columnas; ++c) {
        tabla->setHorizontalHeaderItem(c, new QTableWidgetItem(texto(0, c)));
        for (int f = 1; f < static_cast<int>(rejilla.size()); ++f) {
            auto* celda = new QTableWidgetItem(texto(f, c));
            if (c == 0) {
                celda->setFlags(Qt::ItemIsEnabled);
                celda->setBackground(fondoFijo);
            } else {
                celda->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            }
            tabla->setItem(f - 1, c, celda);
        }
        tabla->setColumnWidth(c, c == 0 ? kAnchoEtiquetas : kAnchoDatos);
    }
}

// Column 1 first after the labels, and the code row selected from column 1 on.
void SeleccionarCodigos(QTableWidget* tabla) {
    tabla->clearSelection();
    if (tabla->rowCount() < 1 || tabla->columnCount() < 2)
        return;
    tabla->setCurrentCell(0, 1);
    tabla->setRangeSelected(QTableWidgetSelectionRange(0, 1, 0, tabla->columnCount() - 1), true);
    tabla->scrollToItem(tabla->item(0, 1), QAbstractItemView::PositionAtTop);
}

QLabel* Etiqueta(const char* nombre, const char* clave, QWidget* pagina, bool roja) {
    auto* etiqueta = new QLabel(TextoQt(clave), pagina);
    etiqueta->setObjectName(QString::fromLatin1(nombre));
    QFont negrita = etiqueta->font();
    negrita.setBold(true);
    etiqueta->setFont(negrita);
    if (roja) {
        etiqueta->setStyleSheet(QStringLiteral("color: red;"));
        etiqueta->setWordWrap(true);
    }
    return etiqueta;
}

QWidget* Pagina(const char* nombre, QTableWidget*& tabla, const char* nombreTabla) {
    auto* pagina = new QWidget;
    pagina->setObjectName(QString::fromLatin1(nombre));
    tabla = CrearTabla(nombreTabla, pagina);
    auto* disposicion = new QVBoxLayout(pagina);
    disposicion->addWidget(tabla, 1);
    return pagina;
}

// Restores the normal cursor however the calculation ends.
class CursorOcupado {
  public:
    CursorOcupado() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursorOcupado() { QGuiApplication::restoreOverrideCursor(); }
    CursorOcupado(const CursorOcupado&) = delete;
    CursorOcupado& operator=(const CursorOcupado&) = delete;
};

} // namespace

TWResult::TWResult(Sesion& sesion, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      sesion_(sesion) {
    setObjectName(QStringLiteral("WResult"));
    setModal(true);
    setWindowTitle(TextoQt("caption_resultados"));

    PageControl1_ = new QTabWidget(this);
    PageControl1_->setObjectName(QStringLiteral("PageControl1"));

    QWidget* cCap = Pagina("cCap", tabla_capacitores_, "tabla_capacitores");
    cCap->layout()->addWidget(Etiqueta("Label1", "label1caption", cCap, false));
    ArmLabel_ = Etiqueta("ArmLabel", "armlabelcaption", cCap, true);
    ArmLabel_->setFixedHeight(2 * ArmLabel_->fontMetrics().lineSpacing() + 2);
    ArmLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ArmLabel_->hide();
    cCap->layout()->addWidget(ArmLabel_);
    PageControl1_->addTab(cCap, TextoQt("equipo_instalar"));

    ctrans_ = Pagina("ctrans", tabla_trans_, "tabla_trans");
    Label2_ = Etiqueta("Label2", "label2caption", ctrans_, false);
    ctrans_->layout()->addWidget(Label2_);
    PageControl1_->addTab(ctrans_, TextoQt("transformador_intensidad"));

    QWidget* cCond = Pagina("cCond", tabla_conductor_, "tabla_conductor");
    for (QLabel* etiqueta : {Etiqueta("Label3", "label3caption", cCond, false),
                             Etiqueta("Label4", "conductores_seleccionados_footer", cCond, true),
                             Etiqueta("Label5", "conductores_seleccionados_footer2", cCond, true)})
        cCond->layout()->addWidget(etiqueta);
    PageControl1_->addTab(cCond, TextoQt("conductor"));

    const QString descripcion =
        Rotulo(IdiomaActivo(), "Doble clic en un precio o una longitud para cambiarlo",
               "Double-click a price or a length to change it");
    for (QTableWidget* tabla : {tabla_capacitores_, tabla_trans_, tabla_conductor_}) {
        connect(tabla, &QTableWidget::cellDoubleClicked, this,
                [this, tabla](int fila, int columna) { Editar(tabla, fila + 1, columna); });
        // A screen reader names a grid after its page.
        tabla->setAccessibleName(PageControl1_->tabText(PageControl1_->indexOf(tabla->parentWidget())));
        tabla->setAccessibleDescription(descripcion);
    }

    PageControl1_->setMinimumSize(700, 290);
    ComponerDialogoFijo(*this, PageControl1_, "close");
}

bool TWResult::Ejecutar(bool recalcular, const DatosPanel& panel) {
    if (recalcular) {
        ListaMensajes mensajes;
        bool ok = false;
        {
            CursorOcupado cursor;
            ok = Calcular(sesion_, panel, mensajes, SeparadorDecimal());
        }
        MostrarMensajes(mensajes);
        if (!ok)
            return false;
        equipos_ = panel.equipos;
        tarifa_ = panel.tarifa;
        MostrarEquipos();
        MostrarTransformadores();
        MostrarConductores();
    }
    exec();
    return true;
}

void TWResult::showEvent(QShowEvent* evento) {
    PageControl1_->setCurrentIndex(0);
    QDialog::showEvent(evento);
}

void TWResult::MostrarEquipos() {
    Llenar(tabla_capacitores_,
           tarvik::MostrarEquipos(sesion_.EquiposSeleccionados, equipos_, tarifa_, SeparadorDecimal()));
    ArmLabel_->setVisible(HayEquiposConArmonicos(sesion_.EquiposSeleccionados));
    SeleccionarCodigos(tabla_capacitores_);
}

void TWResult::MostrarTransformadores() {
    const bool hay = !sesion_.TransformadoresSeleccionados.empty();
    PageControl1_->setTabVisible(PageControl1_->indexOf(ctrans_), hay);
    Label2_->setVisible(hay);
    Llenar(tabla_trans_, tarvik::MostrarTransformadores(sesion_.TransformadoresSeleccionados,
                                                        sesion_.EquiposSeleccionados, SeparadorDecimal()));
}

void TWResult::MostrarConductores() {
    Llenar(tabla_conductor_,
           tarvik::MostrarConductores(sesion_.ConductoresSeleccionados, sesion_.EquiposSeleccionados, tarifa_,
                                      SeparadorDecimal()));
}

std::optional<TWResult::Campo> TWResult::CampoDe(const QTableWidget* tabla, int fila, int columna) {
    if (columna < 1)
        return std::nullopt;
    // A column that stands for no row of its list (the blank column under tariff "1.1") holds
    // nothing to change, except in the conductor table.
    const auto p = static_cast<std::size_t>(columna - 1);
    if (tabla == tabla_capacitores_) {
        if (fila == kFilaPrecioEquipo && p < sesion_.EquiposSeleccionados.size())
            return Campo{"nuevo_precio", &sesion_.EquiposSeleccionados[p].precio, 0};
    } else if (tabla == tabla_trans_) {
        if (fila == kFilaPrecioTransformador && p < sesion_.TransformadoresSeleccionados.size())
            return Campo{"precio_transformador", &sesion_.TransformadoresSeleccionados[p].precio, 0};
    } else if (fila == kFilaLongitudConductor || fila == kFilaPrecioConductor) {
        const bool longitud = fila == kFilaLongitudConductor;
        if (p < sesion_.ConductoresSeleccionados.size()) {
            TConductorSeleccionado& c = sesion_.ConductoresSeleccionados[p];
            return longitud ? Campo{"longitud_conductor", &c.longitud, 2}
                            : Campo{"precio_total_conductor", &c.precio, 0};
        }
        // The conductor of the input transformer's capacitor.
        if (tarifa_ == kTarifa11 && columna == tabla->columnCount() - 1) {
            TCondensadorTrafo& t = sesion_.CondensadorTrafo;
            return longitud ? Campo{"longitud_total_conductor", &t.longitudConductor, 2}
                            : Campo{"precio_total_conductor", &t.precioConductor, 0};
        }
    }
    return std::nullopt;
}

void TWResult::Editar(QTableWidget* tabla, int fila, int columna) {
    const std::optional<Campo> campo = CampoDe(tabla, fila, columna);
    if (!campo)
        return;
    const QString inicial = QString::fromStdString(Fijo(*campo->valor, campo->decimales, SeparadorDecimal()));
    const std::optional<QString> texto =
        EntradaTextoActiva().Pedir(this, TextoQt("cambiar_valor"), TextoQt(campo->clave), inicial);
    if (!texto)
        return;
    const std::optional<float> valor = DecimalDeTexto(*texto);
    if (!valor) {
        MostrarMensaje({TipoMensaje::Error, "valor_no_valido", {}});
        return;
    }
    *campo->valor = *valor;
    tabla->item(fila - 1, columna)->setText(*texto);
}

} // namespace tarvik
