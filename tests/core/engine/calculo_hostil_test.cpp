// Calculations on studies and catalogues from elsewhere: whatever numbers they hold, every
// calculation ends with a clear message or a sound result, never a crash, a hang or a result number
// or text that is infinite or not a number.

#include "core/engine/calculo.h"
#include "core/lang/traduccion.h"
#include "core/results/tablas.h"
#include "core/results/totales.h"
#include "soporte/catalogos_prueba.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <set>

using namespace tarvik;
using prueba::Equipo;
using prueba::Lectura;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr float kInfF = std::numeric_limits<float>::infinity();
constexpr float kNaNF = std::numeric_limits<float>::quiet_NaN();
constexpr std::int32_t kMinInt = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMaxInt = std::numeric_limits<std::int32_t>::max();

// What the study's numbers may hold after a crafted or damaged file.
const double kRealesHostiles[] = {kNaN, -kNaN, kInf, -kInf, DBL_MAX, 1e300, -1e300, -1, 0, 4.9e-324};
const std::int32_t kEnterosHostiles[] = {kMinInt, -1, 2, 3, 9, 745, kMaxInt};

bool Finito(std::initializer_list<double> valores) {
    return std::all_of(valores.begin(), valores.end(), [](double v) { return std::isfinite(v); });
}

// A cell or a totals text that shows a number that is not finite.
bool MuestraNoFinito(std::string texto) {
    std::transform(texto.begin(), texto.end(), texto.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    return texto.find("nan") != std::string::npos || texto.find("inf") != std::string::npos;
}

::testing::AssertionResult TablaSana(const Rejilla& tabla) {
    for (const auto& fila : tabla)
        for (std::size_t c = 1; c < fila.size(); ++c)
            if (MuestraNoFinito(fila[c]))
                return ::testing::AssertionFailure() << "a cell shows \"" << fila[c] << "\"";
    return ::testing::AssertionSuccess();
}

// The totals command as the program offers it (by consumption, with readings), then the
// calculation, on the panel given; every message is one of the calculation's, a refusal says why,
// and what a success leaves (the lists, the analysis, the tables and the totals texts in both
// languages) is aligned and finite.
::testing::AssertionResult CalculoSano(Sesion& s, const DatosPanel& p, ListaMensajes& mensajes) {
    static const std::set<std::string> kClaves = {
        "error_datos",     "no_compensacion",    "error_facturacion", "error_potencia_maxima",
        "error_cpc_value", "error_qc",           "no_filtros",        "no_baterias",
        "baterias_35",     "no_existen_baterias"};
    if (p.tipoCalculo == 0 && !s.Lecturas.empty()) {
        ListaMensajes previos;
        if (ValidarYAnalizar(s, p, previos)) {
            const TextosTotales t =
                LlenarTotales(s.Analisis, p.cosenoDeseado, s.Lecturas.size(), p.tipoLectura, ',');
            for (const std::string& texto : {t.fpb, t.fpm, t.fpd, t.total_penalizacion})
                if (MuestraNoFinito(texto))
                    return ::testing::AssertionFailure() << "the totals show \"" << texto << "\"";
        } else if (previos.empty()) {
            return ::testing::AssertionFailure() << "the totals were refused without a message";
        }
    }
    mensajes.clear();
    const bool ok = Calcular(s, p, mensajes, ',');
    for (const Mensaje& m : mensajes)
        if (!kClaves.contains(m.clave))
            return ::testing::AssertionFailure() << "unexpected message \"" << m.clave << "\"";
    if (!ok)
        return mensajes.empty() ? ::testing::AssertionFailure() << "refused without a message"
                                : ::testing::AssertionSuccess();
    if (s.EquiposSeleccionados.empty() || s.ConductoresSeleccionados.size() != s.EquiposSeleccionados.size())
        return ::testing::AssertionFailure() << "the result lists are not aligned";
    const TAnalisisConsumo& a = s.Analisis;
    if (!Finito({a.kwhTotal, a.kvarhTotal, a.cosenoMinimo, a.cosenoMedio, a.cosenoDeseado, a.tanMaxDemanda,
                 a.difTanMaxDemanda, a.importeTotal, a.precioMedio, a.recargoTotal, a.descuentoTotal,
                 a.saldoReactiva, a.qc, a.potenciaMaxima, a.cosenoMaxReactiva, a.trafoEntrada}))
        return ::testing::AssertionFailure() << "an analysis figure is not finite";
    for (const TEquipoSeleccionado& e : s.EquiposSeleccionados)
        if (!Finito({e.potencia, e.tension, e.precio}))
            return ::testing::AssertionFailure() << "unit " << e.codigo << " is not finite";
    for (const TConductorSeleccionado& c : s.ConductoresSeleccionados)
        if (!Finito({c.intensidadNominal, c.intensidadConductor, c.precio, c.longitud}))
            return ::testing::AssertionFailure() << "a conductor row is not finite";
    for (const TTransformadorSeleccionado& t : s.TransformadoresSeleccionados)
        if (!Finito({t.intensidad, t.precio, t.tension}))
            return ::testing::AssertionFailure() << "a current transformer row is not finite";
    for (const int idioma : {kEspanol, kIngles}) {
        EstablecerIdiomaActivo(idioma);
        for (const Rejilla& tabla :
             {MostrarEquipos(s.EquiposSeleccionados, p.equipos, p.tarifa, ','),
              MostrarTransformadores(s.TransformadoresSeleccionados, s.EquiposSeleccionados, ','),
              MostrarConductores(s.ConductoresSeleccionados, s.EquiposSeleccionados, p.tarifa, ',')}) {
            const ::testing::AssertionResult sana = TablaSana(tabla);
            if (!sana) {
                EstablecerIdiomaActivo(kEspanol);
                return sana;
            }
        }
    }
    EstablecerIdiomaActivo(kEspanol);
    return ::testing::AssertionSuccess();
}

// A year of monthly readings at a power factor of 0.8 with the peak in June, whose shipped-like
// catalogues give banks, filters, conductors and current transformers.
class CalculoHostil : public ::testing::Test {
  protected:
    void SetUp() override {
        Bancos({Equipo("Jade", 150, 400, 3100), Equipo("Ambar", 200, 400, 0),
                Equipo("Jade", 250, 400, 5200, 1), Equipo("Coral", 300, 400, 6100, 1),
                Equipo("Fijo", 32.5f, 400, 300, 0, 1)});
        Filtros({Equipo("Zentrola", 250, 400, 9850), Equipo("Zentrola", 300, 400, 11000)});
        transformadores = {prueba::Transformador("TI 400/5", 400), prueba::Transformador("TI 1000/5", 1000)};
        conductores = prueba::ConductoresHasta300();
        lecturas = std::vector<TLectura>(12, Lectura(40000, 30000, 100, 630, 80));
        lecturas[5].mdr = 120;
        datos = TDatosEstudio{};
        datos.cosenoDeseado = 0.98f;
        datos.potenciaMaxima = 200;
        datos.tieneTransformador = true;
        datos.transformadorEntrada = 630;
    }
    void Bancos(const std::vector<TEquipo>& e) const {
        carpeta.Escribir("bateria.dat", e);
        carpeta.Escribir("bateria60.dat", e);
    }
    void Filtros(const std::vector<TEquipo>& e) const { carpeta.Escribir("filtros.dat", e); }

    Sesion Nueva() const {
        Sesion s;
        s.rutas = carpeta.rutas();
        s.CatalogoConductores = conductores;
        s.CatalogoTransformadores = transformadores;
        s.Datos = datos;
        s.Lecturas = lecturas;
        return s;
    }

    // Calculates the study as the panel shows it, by consumption and by contracted power, each with
    // banks, banks for harmonics and filters, and returns the messages of each in that order.
    std::vector<ListaMensajes> Calcular(const std::string& caso) const {
        std::vector<ListaMensajes> todos;
        for (const std::int32_t tipoCalculo : {0, 1})
            for (const auto& [equipos, armonicos] : {std::pair{1, 0}, {1, 1}, {0, 0}}) {
                DatosPanel p = MostrarDatos(datos);
                p.tipoCalculo = tipoCalculo;
                p.equipos = equipos;
                p.armonicos = armonicos;
                Sesion s = Nueva();
                todos.emplace_back();
                EXPECT_TRUE(CalculoSano(s, p, todos.back()))
                    << caso << ", calculation type " << tipoCalculo << ", equipment " << equipos << armonicos;
            }
        return todos;
    }

    prueba::CarpetaPrograma carpeta;
    std::vector<TConductor> conductores;
    std::vector<TTransformador> transformadores;
    std::vector<TLectura> lecturas;
    TDatosEstudio datos;
};

ListaMensajes Errores(std::initializer_list<const char*> claves) {
    ListaMensajes m;
    for (const char* c : claves)
        m.push_back({TipoMensaje::Error, c, {}});
    return m;
}

} // namespace

TEST_F(CalculoHostil, TheStudyAsItIsGivesEveryKindOfResult) {
    for (const ListaMensajes& m : Calcular("the study as it is"))
        EXPECT_TRUE(m.empty());
}

TEST_F(CalculoHostil, ExtremeNumbersInAnyReadingFieldEndSoundly) {
    const std::pair<const char*, double TLectura::*> campos[] = {
        {"kwht", &TLectura::kwht},   {"mdr", &TLectura::mdr}, {"coseno", &TLectura::coseno},
        {"kvarh", &TLectura::kvarh}, {"ifp", &TLectura::ifp}, {"it", &TLectura::it},
        {"cpc", &TLectura::cpc},     {"ia", &TLectura::ia},   {"rr", &TLectura::rr}};
    const std::vector<TLectura> sanas = lecturas;
    for (const auto& [nombre, campo] : campos)
        for (const double v : kRealesHostiles)
            for (const bool todas : {false, true}) {
                lecturas = sanas;
                for (std::size_t i = todas ? 0 : 5; i < (todas ? lecturas.size() : 6); ++i)
                    lecturas[i].*campo = v;
                Calcular(std::string(nombre) + " = " + std::to_string(v) +
                         (todas ? " in every reading" : ""));
            }
}

TEST_F(CalculoHostil, ReadingsThatCannotBeCalculatedSayWhy) {
    const struct {
        const char* nombre;
        double TLectura::*campo;
        double valor;
        ListaMensajes porConsumo;
    } casos[] = {
        {"no active energy", &TLectura::kwht, 0, Errores({"error_datos"})},
        {"active energy not a number", &TLectura::kwht, kNaN, Errores({"error_datos"})},
        {"infinite reactive energy", &TLectura::kvarh, kInf, Errores({"error_datos"})},
        {"infinite active energy", &TLectura::kwht, kInf, Errores({"error_facturacion"})},
        {"peak demand not a number", &TLectura::mdr, kNaN, Errores({"error_facturacion"})},
        {"surcharges that add up past the largest number", &TLectura::rr, DBL_MAX,
         Errores({"error_facturacion"})},
        {"amounts that add up past the largest number", &TLectura::it, DBL_MAX,
         Errores({"error_facturacion"})},
    };
    for (const auto& c : casos) {
        lecturas[5].*c.campo = c.valor;
        lecturas[6].*c.campo = c.valor;
        const std::vector<ListaMensajes> m = Calcular(c.nombre);
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_EQ(m[i], c.porConsumo) << c.nombre;
        SetUp();
    }
}

TEST_F(CalculoHostil, AHugeTransformerRatingIsAnErrorBesideTheBanks) {
    lecturas[0].cpc = 1e300; // beyond what a transformer capacitor can be compared with
    const std::vector<ListaMensajes> m = Calcular("a huge transformer rating");
    EXPECT_EQ(m[0], Errores({"error_qc"}));
    EXPECT_EQ(m[1], Errores({"error_qc"}));
    EXPECT_TRUE(m[2].empty()); // filters have no transformer capacitor
}

TEST_F(CalculoHostil, ExtremeNumbersInTheStudyHeaderEndSoundly) {
    const std::pair<const char*, std::int32_t TDatosEstudio::*> campos[] = {
        {"tarifa", &TDatosEstudio::tarifa},
        {"voltaje", &TDatosEstudio::voltaje},
        {"horas", &TDatosEstudio::horas},
        {"armonicos", &TDatosEstudio::armonicos},
        {"tipoLectura", &TDatosEstudio::tipoLectura},
        {"seleccionModelo", &TDatosEstudio::seleccionModelo},
        {"frecuencia", &TDatosEstudio::frecuencia},
        {"temperatura", &TDatosEstudio::temperatura},
        {"potenciaMaxima", &TDatosEstudio::potenciaMaxima},
        {"transformadorEntrada", &TDatosEstudio::transformadorEntrada}};
    const TDatosEstudio sano = datos;
    for (const auto& [nombre, campo] : campos)
        for (const std::int32_t v : kEnterosHostiles) {
            datos = sano;
            datos.*campo = v;
            Calcular(std::string(nombre) + " = " + std::to_string(v));
        }
    for (const float v : {kNaNF, kInfF, -kInfF, FLT_MAX, -1.0f, 0.0f, 2.0f}) {
        datos = sano;
        datos.cosenoDeseado = v;
        Calcular("cosenoDeseado = " + std::to_string(v));
    }
}

// The panel cannot show a choice out of its range, but the calculation does not rely on it.
TEST_F(CalculoHostil, OutOfRangeChoicesAreRefusedOrIgnored) {
    const std::pair<const char*, std::int32_t DatosPanel::*> elecciones[] = {
        {"tarifa", &DatosPanel::tarifa},
        {"voltaje", &DatosPanel::voltaje},
        {"horas", &DatosPanel::horas},
        {"armonicos", &DatosPanel::armonicos},
        {"tipoLectura", &DatosPanel::tipoLectura},
        {"frecuencia", &DatosPanel::frecuencia},
        {"temperatura", &DatosPanel::temperatura},
        {"tipoCalculo", &DatosPanel::tipoCalculo},
        {"equipos", &DatosPanel::equipos},
        {"potenciaMaxima", &DatosPanel::potenciaMaxima},
        {"transformadorEntrada", &DatosPanel::transformadorEntrada}};
    for (const auto& [nombre, eleccion] : elecciones)
        for (const std::int32_t v : kEnterosHostiles)
            for (const std::int32_t equipos : {0, 1}) {
                DatosPanel p = MostrarDatos(datos);
                p.equipos = equipos;
                p.*eleccion = v;
                Sesion s = Nueva();
                ListaMensajes m;
                EXPECT_TRUE(CalculoSano(s, p, m)) << nombre << " = " << v << ", equipment " << equipos;
            }
    // A voltage without admitted catalogue voltages finds no equipment; neither do banks without a
    // temperature choice.
    const struct {
        std::int32_t DatosPanel::*eleccion;
        std::int32_t valor;
        std::int32_t equipos;
        const char* clave;
    } casos[] = {{&DatosPanel::voltaje, 3, 1, "no_baterias"},
                 {&DatosPanel::voltaje, -1, 0, "no_filtros"},
                 {&DatosPanel::temperatura, 2, 1, "no_existen_baterias"},
                 {&DatosPanel::horas, 0, 1, "error_facturacion"}};
    for (const auto& c : casos) {
        DatosPanel p = MostrarDatos(datos);
        p.equipos = c.equipos;
        p.*c.eleccion = c.valor;
        Sesion s = Nueva();
        ListaMensajes m;
        ASSERT_TRUE(CalculoSano(s, p, m));
        ASSERT_FALSE(m.empty());
        EXPECT_EQ(m.back().clave, c.clave);
    }
}

TEST_F(CalculoHostil, DamagedCataloguesEndSoundly) {
    const std::vector<TEquipo> bancos = {Equipo("Jade", 150, 400, 3100), Equipo("Jade", 250, 400, 5200, 1),
                                         Equipo("Fijo", 32.5f, 400, 300, 0, 1)};
    const auto conValor = [](TEquipo e, float TEquipo::*campo, float v) {
        e.*campo = v;
        return e;
    };
    for (const float v : {kNaNF, kInfF, -kInfF, FLT_MAX, 1e38f, -1.0f, 0.0f}) {
        const std::string valor = std::to_string(v);
        for (float TEquipo::*campo : {&TEquipo::potencia, &TEquipo::precio}) {
            // A damaged unit beside the good ones, and a catalogue of damaged units only.
            std::vector<TEquipo> danados;
            for (const TEquipo& e : bancos)
                danados.push_back(conValor(e, campo, v));
            std::vector<TEquipo> mezcla = bancos;
            mezcla.insert(mezcla.end(), danados.begin(), danados.end());
            for (const auto& catalogo : {mezcla, danados}) {
                Bancos(catalogo);
                Filtros(catalogo);
                Calcular(std::string(campo == &TEquipo::potencia ? "power" : "price") + " = " + valor);
            }
        }
        SetUp();
        for (float TConductor::*campo : {&TConductor::seccion, &TConductor::intensidad}) {
            conductores = prueba::ConductoresHasta300();
            for (TConductor& c : conductores)
                c.*campo = v;
            Calcular("every conductor's " +
                     std::string(campo == &TConductor::seccion ? "section" : "current") + " = " + valor);
            conductores = prueba::ConductoresHasta300();
            conductores.back().*campo = v;
            Calcular("the last conductor's field = " + valor);
        }
        conductores = prueba::ConductoresHasta300();
        for (TTransformador& t : transformadores)
            t.intensidad = v;
        Calcular("current transformers of " + valor + " A");
        SetUp();
    }
    // Equipment of any voltage.
    for (const std::int32_t v : kEnterosHostiles) {
        Bancos({Equipo("Jade", 150, v), Equipo("Jade", 250, v, 0, 1), Equipo("Fijo", 32.5f, v, 300, 0, 1)});
        Filtros({Equipo("Zentrola", 250, v)});
        Calcular("equipment of " + std::to_string(v) + " V");
    }
}

TEST_F(CalculoHostil, EmptyOrMissingCataloguesSayWhyOrLeaveEmptyRows) {
    Bancos({});
    Filtros({});
    conductores.clear();
    transformadores.clear();
    const std::vector<ListaMensajes> sinEquipos = Calcular("empty catalogues");
    const ListaMensajes bancos = {{TipoMensaje::Informacion, "no_baterias", {}}};
    const ListaMensajes filtros = {{TipoMensaje::Informacion, "no_filtros", {}}};
    EXPECT_EQ(sinEquipos, (std::vector<ListaMensajes>{bancos, bancos, filtros, bancos, bancos, filtros}));

    // Without conductors or current transformers the units are still offered, each with a "no
    // conductor" row.
    SetUp();
    for (const auto& cond :
         {std::vector<TConductor>{},
          std::vector<TConductor>{prueba::Conductor(1.5f, 17.5f), prueba::Conductor(16, 0)}}) {
        conductores = cond;
        transformadores.clear();
        Calcular("no conductor fits");
        Sesion s = Nueva();
        ListaMensajes m;
        ASSERT_TRUE(tarvik::Calcular(s, MostrarDatos(datos), m));
        EXPECT_TRUE(s.TransformadoresSeleccionados.empty());
        for (const TConductorSeleccionado& c : s.ConductoresSeleccionados) {
            EXPECT_EQ(c.seccion, "No existe");
            EXPECT_EQ(c.cantidad, 0);
        }
    }
}
