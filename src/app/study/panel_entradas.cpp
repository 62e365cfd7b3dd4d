#include "app/study/panel_entradas.h"

#include "app/app/boton_comando.h"
#include "app/study/entrada_mayusculas.h"
#include "app/study/entrada_numero.h"
#include "app/study/lista_lecturas.h"
#include "core/lang/traduccion.h"
#include "platform/rotulo.h"
#include "platform/texto_qt.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QRadioButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <limits>

namespace tarvik {
namespace {

constexpr std::int32_t kMaxEntero = std::numeric_limits<std::int32_t>::max();
constexpr int kAnchoNumero = 90;
constexpr int kFilasVisibles = 10;

// Group captions shown with one blank on each side.
QString Espaciado(const char* clave) {
    return QLatin1Char(' ') + TextoQt(clave) + QLatin1Char(' ');
}

QLabel* Etiqueta(const char* nombre, const QString& texto, QWidget* entrada, QWidget* padre) {
    auto* etiqueta = new QLabel(texto, padre);
    etiqueta->setObjectName(QString::fromLatin1(nombre));
    etiqueta->setBuddy(entrada);
    return etiqueta;
}

EntradaNumero* Numero(const char* nombre, int decimales, double minimo, double maximo, QWidget* padre) {
    auto* entrada = new EntradaNumero(decimales, padre);
    entrada->setObjectName(QString::fromLatin1(nombre));
    entrada->EstablecerRango(minimo, maximo);
    entrada->setFixedWidth(kAnchoNumero);
    return entrada;
}

// Keys that press a button of the readings list while the list has the keyboard focus, so that
// they never act on a reading from another input; `nombre` is how the tooltip names them.
void TeclasDeLista(QWidget& lista, QToolButton& boton, std::initializer_list<Qt::Key> teclas,
                   const QString& descripcion, const QString& nombre) {
    for (const Qt::Key tecla : teclas)
        new QShortcut(
            QKeySequence(tecla), &lista, [&boton] { boton.animateClick(); }, Qt::WidgetShortcut);
    DescribirBoton(boton, descripcion, nombre);
}

// Marks the program's own changes for the time it makes them.
class Escribiendo {
  public:
    explicit Escribiendo(bool& bandera) : bandera_(bandera), anterior_(bandera) { bandera_ = true; }
    ~Escribiendo() { bandera_ = anterior_; }
    Escribiendo(const Escribiendo&) = delete;
    Escribiendo& operator=(const Escribiendo&) = delete;

  private:
    bool& bandera_;
    bool anterior_;
};

} // namespace

PanelEntradas::PanelEntradas(ModeloLecturas& lecturas, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("panel"));
    auto* disposicion = new QVBoxLayout(this);
    disposicion->setContentsMargins(0, 0, 0, 0);
    disposicion->addWidget(CrearDatosCliente());
    disposicion->addWidget(CrearElecciones());
    paginas_ = new QStackedWidget(this);
    paginas_->setObjectName(QStringLiteral("paginas"));
    paginas_->addWidget(CrearPaginaLecturas(lecturas));
    paginas_->addWidget(CrearPaginaPotencia());
    disposicion->addWidget(paginas_);

    AlElegir(cBat_filter_, &PanelEntradas::AplicarReglaEquipos);
    AlElegir(cTipoCalculo_, &PanelEntradas::AplicarReglaPagina);
    for (const Grupo* g : {&ctemperatura_, &cvoltaje_, &cfrecuencia_, &cArmonicos_, &clectura_})
        AlElegir(*g);
    for (EntradaNumero* e : {choras_, ccoseno_, potencia_maxima_, ccpc_})
        connect(e, &EntradaNumero::textoCambiado, this, &PanelEntradas::MarcarObsoleto);
    connect(ctienetransformador_, &QCheckBox::toggled, this, [this] {
        if (escribiendo_)
            return;
        AplicarReglaTransformador();
        MarcarObsoleto();
    });
}

QWidget* PanelEntradas::CrearDatosCliente() {
    auto* caja = new QWidget(this);
    auto* rejilla = new QGridLayout(caja);
    rejilla->setContentsMargins(8, 4, 8, 4);
    rejilla->setVerticalSpacing(3);
    struct Campo {
        QLineEdit** entrada;
        const char* nombre;
        const char* etiqueta;
        const char* clave;
        int fila;
        int columna;
    };
    const Campo campos[] = {
        {&cinstalacion_, "cinstalacion", "Label21", "nombre_empresa", 0, 0},
        {&cusuario_, "cusuario", "Label8", "nombre_cliente", 1, 0},
        {&cdireccion_, "cdireccion", "Label9", "direccion_empresa", 2, 0},
        {&cprovincia_, "cprovincia", "Label22", "provincia", 3, 0},
        {&cministerio_, "cministerio", "Label23", "distribuidor", 4, 0},
        {&cfax_, "cfax", "Label26", "fax", 3, 2},
        {&ctelf_, "ctelf", "Label25", "telefono", 4, 2},
    };
    // Created in keyboard order.
    for (const Campo& c : campos) {
        *c.entrada = new EntradaMayusculas(caja);
        (*c.entrada)->setObjectName(QString::fromLatin1(c.nombre));
        (*c.entrada)
            ->setAccessibleDescription(Rotulo(IdiomaActivo(), "Las letras se escriben en mayúsculas",
                                              "Letters are typed as capitals"));
        rejilla->addWidget(Etiqueta(c.etiqueta, TextoQt(c.clave), *c.entrada, caja), c.fila, c.columna);
        // Company, customer name and address take the whole width.
        rejilla->addWidget(*c.entrada, c.fila, c.columna + 1, 1, c.fila < 3 ? 3 : 1);
    }
    rejilla->setColumnStretch(1, 3);
    rejilla->setColumnStretch(3, 2);
    return caja;
}

PanelEntradas::Grupo PanelEntradas::CrearGrupo(const char* nombre, const QString& titulo,
                                               const QStringList& opciones, int columnas) {
    Grupo g;
    g.caja = new QGroupBox(titulo, this);
    g.caja->setObjectName(QString::fromLatin1(nombre));
    g.botones = new QButtonGroup(g.caja);
    auto* rejilla = new QGridLayout(g.caja);
    rejilla->setVerticalSpacing(2);
    const int filas = (static_cast<int>(opciones.size()) + columnas - 1) / columnas;
    for (int i = 0; i < opciones.size(); ++i) {
        auto* boton = new QRadioButton(opciones[i], g.caja);
        boton->setObjectName(QStringLiteral("%1_%2").arg(QString::fromLatin1(nombre)).arg(i));
        g.botones->addButton(boton, i);
        // Filled column by column, as a radio group with several columns does.
        rejilla->addWidget(boton, i % filas, i / filas);
    }
    return g;
}

QWidget* PanelEntradas::CrearElecciones() {
    auto* caja = new QWidget(this);
    auto* rejilla = new QGridLayout(caja);
    rejilla->setContentsMargins(8, 0, 8, 0);
    cBat_filter_ = CrearGrupo("cBat_filter", TextoQt("tipoequipos"),
                              {TextoQt("tipoequipos_caption_0"), TextoQt("tipoequipos_caption_1")}, 1);
    cTipoCalculo_ = CrearGrupo("cTipoCalculo", TextoQt("tipocalculo"),
                               {TextoQt("tipocalculo_caption_0"), TextoQt("tipocalculo_caption_1")}, 1);
    ctemperatura_ = CrearGrupo("ctemperatura", Espaciado("ctemperatura_caption"),
                               {TextoQt("ctemperatura_caption_0"), TextoQt("ctemperatura_caption_1")}, 1);
    cvoltaje_ =
        CrearGrupo("cvoltaje", Espaciado("cvoltaje_caption"),
                   {QStringLiteral("400 volt"), QStringLiteral("480 volt"), QStringLiteral("230 volt")}, 2);
    cfrecuencia_ = CrearGrupo("cfrecuencia", TextoQt("cfrecuencia_caption"),
                              {QStringLiteral("50 Hz"), QStringLiteral("60 Hz")}, 1);
    cArmonicos_ = CrearGrupo("cArmonicos", QString(),
                             {TextoQt("cArmonicos_caption_0"), TextoQt("cArmonicos_caption_1")}, 1);
    const int idioma = IdiomaActivo();
    cBat_filter_.caja->setAccessibleDescription(Rotulo(
        idioma, "Con filtros la frecuencia es 50 Hz y no se eligen temperatura, armónicos ni transformador",
        "With filters the frequency is 50 Hz and temperature, harmonics and transformer are not chosen"));
    cTipoCalculo_.caja->setAccessibleDescription(
        Rotulo(idioma, "Calcula con las lecturas o con la potencia contratada",
               "Calculate from the readings or from the contracted power"));
    cArmonicos_.caja->setAccessibleName(Rotulo(idioma, "Armónicos de corriente", "Current harmonics"));
    rejilla->addWidget(cBat_filter_.caja, 0, 0);
    rejilla->addWidget(cTipoCalculo_.caja, 0, 1);
    rejilla->addWidget(ctemperatura_.caja, 0, 2);
    rejilla->addWidget(cvoltaje_.caja, 1, 0);
    rejilla->addWidget(cfrecuencia_.caja, 1, 1);
    rejilla->addWidget(cArmonicos_.caja, 1, 2);
    return caja;
}

QWidget* PanelEntradas::CrearPaginaLecturas(ModeloLecturas& lecturas) {
    auto* pagina = new QWidget(this);
    pagina->setObjectName(QStringLiteral("pagina_lecturas"));
    lista_ = new ListaLecturas(lecturas, pagina);
    lista_->Vista()->setMinimumHeight(kFilasVisibles * kAltoFilaLecturas + 4);
    addbutton_ = CrearBotonComando("addbutton", "addbutton_caption", "anadir", pagina);
    editbutton_ = CrearBotonComando("editbutton", "editbutton_caption", "editar", pagina);
    delbutton_ = CrearBotonComando("delbutton", "delbutton_caption", "borrar", pagina);
    auto* botones = new QVBoxLayout;
    for (QToolButton* b : {addbutton_, editbutton_, delbutton_}) {
        b->setMinimumWidth(72);
        botones->addWidget(b);
    }
    botones->addStretch();
    const int idioma = IdiomaActivo();
    QWidget& vista = *lista_->Vista();
    TeclasDeLista(vista, *addbutton_, {Qt::Key_Insert}, Rotulo(idioma, "Añade una lectura", "Add a reading"),
                  Rotulo(idioma, "Insert en la lista", "Insert in the list"));
    TeclasDeLista(vista, *editbutton_, {Qt::Key_Return, Qt::Key_Enter},
                  Rotulo(idioma, "Cambia la lectura elegida", "Change the selected reading"),
                  Rotulo(idioma, "Intro o doble clic en la lista", "Enter or double-click in the list"));
    TeclasDeLista(vista, *delbutton_, {Qt::Key_Delete},
                  Rotulo(idioma, "Borra la lectura elegida", "Delete the selected reading"),
                  Rotulo(idioma, "Supr en la lista", "Delete in the list"));

    clectura_ = CrearGrupo("clectura", Espaciado("clectura_caption"),
                           {TextoQt("clectura_caption_0"), TextoQt("clectura_caption_1")}, 2);
    choras_ = Numero("choras", 0, kHorasMin, kHorasMax, pagina);
    ccoseno_ = Numero("ccoseno", 2, 0.0, 1.0, pagina);
    choras_->setAccessibleDescription(Rotulo(idioma, "Número entero de %1 a %2", "Whole number from %1 to %2")
                                          .arg(kHorasMin)
                                          .arg(kHorasMax));
    ccoseno_->setAccessibleDescription(
        Rotulo(idioma, "Número de 0 a 1 con dos decimales", "Number from 0 to 1 with two decimals"));
    auto* consumo = new QHBoxLayout;
    consumo->addWidget(clectura_.caja);
    consumo->addSpacing(16);
    consumo->addWidget(Etiqueta("cHourBox", Espaciado("horas_trabajo_mensuales"), choras_, pagina));
    consumo->addWidget(choras_);
    consumo->addSpacing(16);
    consumo->addWidget(Etiqueta("Label1", TextoQt("factor_potencia_deseado"), ccoseno_, pagina));
    consumo->addWidget(ccoseno_);
    consumo->addStretch();

    auto* rejilla = new QGridLayout(pagina);
    rejilla->setContentsMargins(8, 0, 8, 0);
    rejilla->addWidget(lista_, 0, 0);
    rejilla->addLayout(botones, 0, 1);
    rejilla->addLayout(consumo, 1, 0, 1, 2);
    return pagina;
}

QWidget* PanelEntradas::CrearPaginaPotencia() {
    auto* pagina = new QWidget(this);
    pagina->setObjectName(QStringLiteral("pagina_potencia"));
    potencia_maxima_ = Numero("potencia_maxima", 0, 0, kMaxEntero, pagina);
    ctienetransformador_ = new QCheckBox(TextoQt("tienetransformadorpropio"), pagina);
    ctienetransformador_->setObjectName(QStringLiteral("ctienetransformador"));
    // The caption stands left of the box.
    ctienetransformador_->setLayoutDirection(Qt::RightToLeft);
    ccpc_ = Numero("ccpc", 0, 0, kMaxEntero, pagina);
    ccpcLabel_ = Etiqueta("ccpcLabel", TextoQt("header_seccion_5"), ccpc_, pagina);
    for (EntradaNumero* e : {potencia_maxima_, ccpc_})
        e->setAccessibleDescription(
            Rotulo(IdiomaActivo(), "Número entero, 0 o más", "Whole number, 0 or more"));

    auto* rejilla = new QGridLayout(pagina);
    rejilla->setContentsMargins(16, 16, 16, 16);
    rejilla->addWidget(Etiqueta("Label10", TextoQt("potencia_contratada"), potencia_maxima_, pagina), 0, 0);
    rejilla->addWidget(potencia_maxima_, 0, 1);
    rejilla->addWidget(ctienetransformador_, 1, 0, 1, 2, Qt::AlignLeft);
    rejilla->addWidget(ccpcLabel_, 2, 0);
    rejilla->addWidget(ccpc_, 2, 1);
    rejilla->setColumnStretch(2, 1);
    rejilla->setRowStretch(3, 1);
    return pagina;
}

void PanelEntradas::AlElegir(const Grupo& grupo, void (PanelEntradas::*extra)()) {
    connect(grupo.botones, &QButtonGroup::idToggled, this, [this, extra](int, bool marcado) {
        if (!marcado || escribiendo_)
            return;
        if (extra) {
            (this->*extra)();
            emit tipoCambiado();
        }
        MarcarObsoleto();
    });
}

void PanelEntradas::MarcarObsoleto() {
    if (!escribiendo_)
        emit resultadosObsoletos();
}

std::int32_t PanelEntradas::Eleccion(const Grupo& grupo) {
    return grupo.botones->checkedId();
}

void PanelEntradas::Elegir(const Grupo& grupo, std::int32_t indice) {
    const Escribiendo marca(escribiendo_);
    const int ultimo = static_cast<int>(grupo.botones->buttons().size()) - 1;
    if (indice < 0) {
        // No choice: the group is emptied.
        grupo.botones->setExclusive(false);
        for (QAbstractButton* b : grupo.botones->buttons())
            b->setChecked(false);
        grupo.botones->setExclusive(true);
        return;
    }
    grupo.botones->button(std::min(indice, ultimo))->setChecked(true);
}

DatosPanel PanelEntradas::LeerPanel() const {
    DatosPanel d;
    d.empresa = HaciaAnsi(cinstalacion_->text());
    d.cliente = HaciaAnsi(cusuario_->text());
    d.direccion = HaciaAnsi(cdireccion_->text());
    d.provincia = HaciaAnsi(cprovincia_->text());
    d.distribuidor = HaciaAnsi(cministerio_->text());
    d.fax = HaciaAnsi(cfax_->text());
    d.telefono = HaciaAnsi(ctelf_->text());
    d.tarifa = tarifa_;
    d.voltaje = Eleccion(cvoltaje_);
    d.horas = choras_->Entero();
    d.cosenoDeseado = ccoseno_->Valor();
    d.porPrecio = porPrecio_;
    d.armonicos = Eleccion(cArmonicos_);
    d.tipoLectura = Eleccion(clectura_);
    d.seleccionModelo = seleccionModelo_;
    d.frecuencia = Eleccion(cfrecuencia_);
    d.temperatura = Eleccion(ctemperatura_);
    d.tipoCalculo = Eleccion(cTipoCalculo_);
    d.potenciaMaxima = potencia_maxima_->Entero();
    d.tieneTransformador = ctienetransformador_->isChecked();
    d.transformadorEntrada = ccpc_->Entero();
    d.equipos = Eleccion(cBat_filter_);
    return d;
}

void PanelEntradas::EscribirPanel(const DatosPanel& d) {
    const Escribiendo marca(escribiendo_);
    cinstalacion_->setText(DesdeAnsi(d.empresa));
    cusuario_->setText(DesdeAnsi(d.cliente));
    cdireccion_->setText(DesdeAnsi(d.direccion));
    cprovincia_->setText(DesdeAnsi(d.provincia));
    cministerio_->setText(DesdeAnsi(d.distribuidor));
    cfax_->setText(DesdeAnsi(d.fax));
    ctelf_->setText(DesdeAnsi(d.telefono));
    tarifa_ = d.tarifa;
    ccoseno_->EstablecerValor(d.cosenoDeseado);
    Elegir(cvoltaje_, std::max(d.voltaje, 0));
    porPrecio_ = d.porPrecio;
    Elegir(cArmonicos_, std::max(d.armonicos, 0));
    Elegir(clectura_, std::max(d.tipoLectura, 0));
    seleccionModelo_ = d.seleccionModelo;
    choras_->EstablecerValor(d.horas);
    Elegir(cfrecuencia_, std::max(d.frecuencia, 0));
    Elegir(ctemperatura_, d.temperatura);
    Elegir(cTipoCalculo_, std::max(d.tipoCalculo, 0));
    potencia_maxima_->EstablecerValor(d.potenciaMaxima);
    ctienetransformador_->setChecked(d.tieneTransformador);
    ccpc_->EstablecerValor(d.transformadorEntrada);
    Elegir(cBat_filter_, std::max(d.equipos, 0));
    AplicarReglaPagina();
}

void PanelEntradas::AplicarReglaEquipos() {
    const Escribiendo marca(escribiendo_);
    const bool baterias = EquipamientoDe(Eleccion(cBat_filter_)) == Equipamiento::Baterias;
    if (!baterias)
        Elegir(cfrecuencia_, static_cast<std::int32_t>(FrecuenciaRed::Hz50));
    for (QWidget* w : {static_cast<QWidget*>(ctemperatura_.caja), static_cast<QWidget*>(cfrecuencia_.caja),
                       static_cast<QWidget*>(cArmonicos_.caja), static_cast<QWidget*>(ctienetransformador_)})
        w->setEnabled(baterias);
    AplicarReglaTransformador();
}

void PanelEntradas::AplicarReglaTransformador() {
    const bool activo = ctienetransformador_->isChecked() && ctienetransformador_->isEnabledTo(this);
    ccpc_->setEnabled(activo);
    ccpcLabel_->setEnabled(activo);
}

void PanelEntradas::AplicarReglaPagina() {
    paginas_->setCurrentIndex(ModoCalculoDe(TipoCalculo()) == ModoCalculo::PorPotencia ? 1 : 0);
}

std::int32_t PanelEntradas::TipoCalculo() const {
    return Eleccion(cTipoCalculo_);
}
std::int32_t PanelEntradas::TipoLectura() const {
    return Eleccion(clectura_);
}

void PanelEntradas::EnfocarPrimero() {
    cinstalacion_->setFocus();
}

} // namespace tarvik
