#include "app/app/mainform.h"

#include "app/app/boton_comando.h"
#include "app/app/dialogos.h"
#include "app/app/twopciones.h"
#include "app/app/ventana_fija.h"
#include "app/report/imprimir_informe.h"
#include "app/results/twresult.h"
#include "app/results/twtotales.h"
#include "app/study/lista_lecturas.h"
#include "app/study/panel_entradas.h"
#include "app/study/tedicion.h"
#include "core/lang/traduccion.h"
#include "platform/archivo_estudio.h"
#include "platform/avisos.h"
#include "platform/rotulo.h"
#include "platform/texto_qt.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace tarvik {
namespace {

const QColor kColorBanda(0xD8, 0x1F, 0x85);
constexpr const char* kLineaContacto = "Tel. +34 916 000 000 · info@keltu.example";
constexpr const char* kEnlaceFabricante = "https://www.keltu.example";

// A band in the maker's colour with rounded corners; its captions are white.
class Banda : public QWidget {
  public:
    explicit Banda(const char* nombre, QWidget* padre) : QWidget(padre) {
        setObjectName(QString::fromLatin1(nombre));
        setStyleSheet(QStringLiteral("QLabel, QToolButton { color: white; }"
                                     "QToolButton:disabled { color: #f3b6d6; }"
                                     "QToolButton:hover { background: rgba(255, 255, 255, 40); }"));
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter pintor(this);
        pintor.setRenderHint(QPainter::Antialiasing);
        pintor.setPen(Qt::NoPen);
        pintor.setBrush(kColorBanda);
        pintor.drawRoundedRect(QRectF(rect()), 10, 10);
    }
};

std::string RutaLocal(const QString& ruta) {
    return QFile::encodeName(ruta).toStdString();
}

bool Confirmado(const char* clave) {
    return MostrarMensaje({TipoMensaje::Confirmacion, clave, {}}) == Respuesta::Si;
}

} // namespace

Tmainform::Tmainform(Sesion& sesion, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      sesion_(sesion), modelo_(new ModeloLecturas(sesion.Lecturas, this)) {
    setObjectName(QStringLiteral("mainform"));
    titulo_ = TextoQt("main_caption");

    // Created top to bottom, which is also the keyboard order.
    auto* disposicion = new QVBoxLayout(this);
    disposicion->setContentsMargins(6, 6, 6, 6);
    disposicion->addWidget(CrearCabecera());
    panel_ = new PanelEntradas(*modelo_, this);
    disposicion->addWidget(panel_);
    disposicion->addWidget(CrearPie());

    connect(panel_, &PanelEntradas::resultadosObsoletos, this, &Tmainform::MarcarObsoletos);
    connect(panel_, &PanelEntradas::tipoCambiado, this, &Tmainform::AplicarReglasComandos);
    connect(panel_->BotonAnadir(), &QToolButton::clicked, this, &Tmainform::AnadirLectura);
    connect(panel_->BotonEditar(), &QToolButton::clicked, this, &Tmainform::EditarLectura);
    connect(panel_->BotonBorrar(), &QToolButton::clicked, this, &Tmainform::BorrarLectura);
    connect(panel_->Lista(), &ListaLecturas::filaActivada, this, &Tmainform::EditarLectura);

    sesion_.CargarCatalogosFijos();
    MostrarEstudio(DatosPanel{}, {});
    PrepararArchivos();

    PrepararVentanaFija(*this, Qt::white);
}

Tmainform::~Tmainform() = default;

QWidget* Tmainform::CrearCabecera() {
    auto* banda = new Banda("cabecera", this);
    auto* fila = new QHBoxLayout(banda);
    fila->setContentsMargins(12, 6, 12, 6);
    auto* logo = new QLabel(banda);
    logo->setObjectName(QStringLiteral("logo"));
    logo->setPixmap(QPixmap(QStringLiteral(":/app/logo.svg")));
    fila->addWidget(logo);
    fila->addStretch();

    struct Comando {
        const char* nombre;
        const char* clave;
        const char* icono;
        void (Tmainform::*accion)();
        // UnknownKey for the commands that have no standard keys.
        QKeySequence::StandardKey teclas;
        const char* espanol;
        const char* ingles;
    };
    const Comando comandos[] = {
        {"newbutton", "newbutton_caption", "nuevo", &Tmainform::Nuevo, QKeySequence::New,
         "Empieza un estudio nuevo", "Start a new study"},
        {"openbutton", "openbutton_caption", "abrir", &Tmainform::Abrir, QKeySequence::Open,
         "Abre un archivo de facturación; la flecha lista los estudios recientes",
         "Open a billing file; the arrow lists the recent studies"},
        {"guardarButton", "guardarButton_caption", "guardar", &Tmainform::Guardar, QKeySequence::Save,
         "Guarda el estudio en un archivo de facturación", "Save the study to a billing file"},
        {"Totalesbutton", "Totalesbutton_caption", "totales", &Tmainform::Totales, QKeySequence::UnknownKey,
         "Muestra los factores de potencia y el recargo anual por reactiva",
         "Show the power factors and the yearly reactive-energy surcharge"},
        {"resultButton", "resultButton_caption", "calculos", &Tmainform::CalcularResultados,
         QKeySequence::UnknownKey,
         "Calcula el equipamiento, sus conductores y el transformador de intensidad",
         "Size the equipment, its conductors and the current transformer"},
        {"bimp", "bimp_caption", "imprimir", &Tmainform::Imprimir, QKeySequence::Print,
         "Imprime el informe del último cálculo", "Print the report of the last calculation"},
        {"OptiosButton", "OptiosButton_caption", "opciones", &Tmainform::Opciones, QKeySequence::UnknownKey,
         "Elige el idioma y las secciones del informe", "Choose the language and the report sections"},
    };
    const int idioma = IdiomaActivo();
    for (const Comando& c : comandos) {
        QToolButton* boton = CrearBotonComando(c.nombre, c.clave, c.icono, banda);
        boton->setMinimumWidth(76);
        fila->addWidget(boton);
        connect(boton, &QToolButton::clicked, this, c.accion);
        DarAtajo(*boton, c.teclas, Rotulo(idioma, c.espanol, c.ingles));
    }
    Totalesbutton_ = banda->findChild<QToolButton*>(QStringLiteral("Totalesbutton"));
    resultButton_ = banda->findChild<QToolButton*>(QStringLiteral("resultButton"));
    bimp_ = banda->findChild<QToolButton*>(QStringLiteral("bimp"));
    return banda;
}

QWidget* Tmainform::CrearPie() {
    auto* banda = new Banda("pie", this);
    auto* fila = new QHBoxLayout(banda);
    fila->setContentsMargins(14, 6, 14, 6);
    auto* lineas = new QVBoxLayout;
    lineas->setSpacing(1);
    auto* label4 = new QLabel(TextoQt("keltu_address"), banda);
    label4->setObjectName(QStringLiteral("Label4"));
    auto* label5 = new QLabel(QString::fromUtf8(kLineaContacto), banda);
    label5->setObjectName(QStringLiteral("Label5"));
    auto* enlace = new QLabel(QStringLiteral("<a href=\"%1\" style=\"color: white;\">www.keltu.example</a>")
                                  .arg(QString::fromLatin1(kEnlaceFabricante)),
                              banda);
    enlace->setObjectName(QStringLiteral("HTMLabel1"));
    enlace->setOpenExternalLinks(true);
    for (QLabel* l : {label4, label5, enlace})
        lineas->addWidget(l);
    fila->addLayout(lineas);
    fila->addStretch();

    auto* ayuda = new QPushButton(TextoQt("HelpButton_caption"), banda);
    ayuda->setObjectName(QStringLiteral("HelpButton"));
    auto* salir = new QPushButton(TextoQt("salirbutton_caption"), banda);
    salir->setObjectName(QStringLiteral("salirbutton"));
    for (QPushButton* b : {ayuda, salir}) {
        QFont negrita = b->font();
        negrita.setBold(true);
        b->setFont(negrita);
        b->setMinimumWidth(90);
        fila->addWidget(b);
    }
    const int idioma = IdiomaActivo();
    DarAtajo(*ayuda, QKeySequence::HelpContents,
             Rotulo(idioma, "Abre el manual del programa", "Open the program's manual"));
    DarAtajo(*salir, QKeySequence::Quit, Rotulo(idioma, "Cierra el programa", "Close the program"));
    connect(ayuda, &QPushButton::clicked, this, &Tmainform::Ayuda);
    connect(salir, &QPushButton::clicked, this, &QWidget::close);
    return banda;
}

void Tmainform::Conectar(Tedicion* edicion, TWTotales* totales, TWResult* resultados, Twopciones* opciones) {
    edicion_ = edicion;
    totales_ = totales;
    resultados_ = resultados;
    opciones_ = opciones;
}

DatosPanel Tmainform::LeerPanel() const {
    return panel_->LeerPanel();
}

void Tmainform::EscribirPanel(const DatosPanel& datos) {
    panel_->EscribirPanel(datos);
}

void Tmainform::MostrarEstudio(const DatosPanel& datos, std::vector<TLectura> lecturas) {
    panel_->EscribirPanel(datos);
    modelo_->Asignar(std::move(lecturas));
    panel_->AplicarReglaEquipos();
    panel_->AplicarReglaTransformador();
    AplicarReglasComandos();
    sesion_.calculoRealizado = false;
    MarcarObsoletos();
    if (isVisible())
        panel_->EnfocarPrimero();
}

void Tmainform::AplicarReglasComandos() {
    const bool hayLecturas = !sesion_.Lecturas.empty();
    const bool porPotencia = ModoCalculoDe(panel_->TipoCalculo()) == ModoCalculo::PorPotencia;
    Totalesbutton_->setEnabled(hayLecturas && !porPotencia);
    resultButton_->setEnabled(porPotencia || hayLecturas);
}

void Tmainform::MarcarObsoletos() {
    sesion_.resultadosObsoletos = true;
    bimp_->setEnabled(false);
}

void Tmainform::Nuevo() {
    // A study that should have been saved first is kept when the save is cancelled or fails.
    if (Confirmado("guardar_datos_anteriores") && !GuardarComo())
        return;
    MostrarEstudio(NuevoEstudio(LeerPanel()), {});
    PonerArchivo({});
}

void Tmainform::Abrir() {
    const QString ruta = Reemplazable<Dialogos>::Activo().Abrir(this, TextoQt("opendialog_caption"),
                                                                QString::fromUtf8(kFiltroFacturacion));
    if (!ruta.isEmpty())
        AbrirArchivo(ruta);
}

bool Tmainform::AbrirArchivo(const QString& ruta) {
    ResultadoCarga carga = CargarFacturacion(RutaLocal(ruta), sesion_.Datos);
    switch (carga.error) {
    case ErrorCarga::Ninguno:
        break;
    case ErrorCarga::Apertura:
        MostrarMensaje(
            ErrorArchivo(FalloArchivo::Abrir, ruta, QString::fromLocal8Bit(carga.detalle.c_str())));
        return false;
    case ErrorCarga::Formato:
        MostrarMensaje({TipoMensaje::Error, "error_formato_archivo", {}});
        return false;
    }
    sesion_.Datos = carga.datos;
    MostrarEstudio(MostrarDatos(sesion_.Datos), std::move(carga.lecturas));
    PonerArchivo(ruta);
    return true;
}

bool Tmainform::GuardarComo() {
    const QString ruta = Reemplazable<Dialogos>::Activo().Guardar(this, TextoQt("savedialog_caption"),
                                                                  QString::fromUtf8(kFiltroFacturacion),
                                                                  QString::fromLatin1(kExtensionFacturacion));
    if (ruta.isEmpty())
        return false;
    RecogerDatos(LeerPanel(), sesion_.Datos);
    const ResultadoGuardado guardado = GuardarFacturacion(RutaLocal(ruta), sesion_.Datos, sesion_.Lecturas);
    if (!guardado.ok) {
        MostrarMensaje(
            ErrorArchivo(FalloArchivo::Crear, ruta, QString::fromLocal8Bit(guardado.detalle.c_str())));
        return false;
    }
    PonerArchivo(ruta);
    return true;
}

void Tmainform::Guardar() {
    GuardarComo();
}

void Tmainform::Totales() {
    totales_->MostrarTotales(LeerPanel());
}

void Tmainform::CalcularResultados() {
    const bool recalcular = !sesion_.calculoRealizado || Confirmado("recalcular_equipamiento");
    if (resultados_->Ejecutar(recalcular, LeerPanel())) {
        sesion_.calculoRealizado = true;
        sesion_.resultadosObsoletos = false;
        bimp_->setEnabled(true);
    } else if (recalcular) {
        // A refused calculation may have emptied or half filled the result lists: they belong to
        // no calculation any more, so the next press recalculates and nothing can print them.
        sesion_.calculoRealizado = false;
        MarcarObsoletos();
    }
}

void Tmainform::Imprimir() {
    ImprimirInforme(this, sesion_, LeerPanel(), opciones_->SeccionesInforme());
}

void Tmainform::Opciones() {
    opciones_->exec();
}

void Tmainform::Ayuda() {
    Reemplazable<Dialogos>::Activo().MostrarAyuda(
        this, QFile::decodeName(QByteArray::fromStdString(sesion_.rutas.RutaPrograma)), IdiomaActivo());
}

void Tmainform::closeEvent(QCloseEvent* evento) {
    if (Confirmado("salir_tarvik"))
        evento->accept();
    else
        evento->ignore();
}

void Tmainform::AnadirLectura() {
    TLectura nueva;
    if (edicion_->EditarLectura(ModoEdicion::Anadir, nueva, panel_->TipoLectura())) {
        modelo_->Anadir(nueva);
        MarcarObsoletos();
    }
    AplicarReglasComandos();
}

void Tmainform::EditarLectura() {
    const int fila = panel_->Lista()->FilaSeleccionada();
    if (fila < 0)
        return;
    TLectura copia = sesion_.Lecturas.at(static_cast<std::size_t>(fila));
    if (edicion_->EditarLectura(ModoEdicion::Cambiar, copia, panel_->TipoLectura())) {
        modelo_->Reemplazar(fila, copia);
        MarcarObsoletos();
    }
}

void Tmainform::BorrarLectura() {
    const int fila = panel_->Lista()->FilaSeleccionada();
    if (fila >= 0 && Confirmado("borrar_lectura")) {
        modelo_->Borrar(fila);
        MarcarObsoletos();
    }
    AplicarReglasComandos();
}

} // namespace tarvik
