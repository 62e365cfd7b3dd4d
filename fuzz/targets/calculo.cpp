// The whole calculation against any study and any catalogues: a study file and the bank, filter,
// current-transformer and conductor catalogues, loaded as the program loads them, calculated with
// the panel showing the study (some of its choices replaced by the input), then the totals texts
// and the results tables in both languages. Whatever the files hold, every message is one the
// calculation may raise, a refusal says why, the result lists stay aligned, and no result number
// or number text is infinite or not a number.
//
// Input: as entrada_calculo.h lays it out (the page, the pictures and the description are the
// report's and go unused here).
// libFuzzer: -max_len=32768

#include "fuzz/entrada_calculo.h"

#include "core/engine/calculo.h"
#include "core/lang/traduccion.h"
#include "core/results/tablas.h"
#include "core/results/totales.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <string_view>

using namespace tarvik;
using namespace tarvik::fuzz;

namespace {

void ComprobarMensajes(const ListaMensajes& mensajes) {
    static const std::set<std::string, std::less<>> kClaves = {
        "error_datos",     "no_compensacion",    "error_facturacion", "error_potencia_maxima",
        "error_cpc_value", "error_qc",           "no_filtros",        "no_baterias",
        "baterias_35",     "no_existen_baterias"};
    for (const Mensaje& m : mensajes) {
        Exigir(kClaves.contains(m.clave), "a message is one the calculation may raise");
        Exigir(m.texto.empty(), "a calculation message is a key");
    }
}

bool Finito(std::initializer_list<double> valores) {
    return std::all_of(valores.begin(), valores.end(), [](double v) { return std::isfinite(v); });
}

void ComprobarResultados(const Sesion& s, const DatosPanel& p) {
    Exigir(s.ConductoresSeleccionados.size() == s.EquiposSeleccionados.size(),
           "one conductor row per selected unit");
    Exigir(!s.EquiposSeleccionados.empty(), "a calculation that succeeds selects equipment");
    const TAnalisisConsumo& a = s.Analisis;
    Exigir(Finito({a.kwhTotal, a.kvarhTotal, a.cosenoMinimo, a.cosenoMedio, a.cosenoDeseado, a.tanMaxDemanda,
                   a.difTanMaxDemanda, a.importeTotal, a.precioMedio, a.recargoTotal, a.descuentoTotal,
                   a.saldoReactiva, a.qc, a.potenciaMaxima, a.cosenoMaxReactiva, a.trafoEntrada}),
           "the analysis is finite");
    for (const TEquipoSeleccionado& e : s.EquiposSeleccionados)
        Exigir(Finito({e.potencia, e.tension, e.precio}), "selected equipment is finite");
    for (const TConductorSeleccionado& c : s.ConductoresSeleccionados)
        Exigir(Finito({c.intensidadNominal, c.intensidadConductor, c.precio, c.longitud}),
               "a conductor row is finite");
    for (const TTransformadorSeleccionado& t : s.TransformadoresSeleccionados)
        Exigir(Finito({t.intensidad, t.precio, t.tension}), "a current transformer row is finite");
    if (p.tipoCalculo == 0)
        for (const TLectura& l : s.Lecturas)
            Exigir(std::isfinite(l.coseno), "every analysed reading has a finite power factor");
}

// A number as the tables write it: an optional minus sign, digits and at most one separator.
bool TextoDeNumero(std::string_view t, char separador) {
    if (t.starts_with('-'))
        t.remove_prefix(1);
    return !t.empty() && std::count(t.begin(), t.end(), separador) <= 1 &&
           std::all_of(t.begin(), t.end(), [&](char c) { return (c >= '0' && c <= '9') || c == separador; });
}

// A cell of a number row: the left margin (where the row has it), then a number with the row's
// suffix, or one of the row's own texts.
void ComprobarCelda(std::string_view celda, char separador, std::string_view sufijo,
                    std::initializer_list<std::string_view> textos) {
    if (celda.empty())
        return; // a column without a unit
    for (std::string_view t : textos)
        if (celda == t || (celda.starts_with(' ') && celda.substr(1) == t))
            return;
    if (celda.starts_with(' '))
        celda.remove_prefix(1);
    const std::string_view entera = celda;
    Exigir(celda.ends_with(sufijo), "a number cell ends as its row says", entera);
    celda.remove_suffix(sufijo.size());
    Exigir(TextoDeNumero(celda, separador), "a number cell holds a finite number", entera);
}

void ComprobarFilas(const Rejilla& r, std::initializer_list<std::size_t> filas, char separador,
                    std::string_view sufijo, std::initializer_list<std::string_view> textos) {
    for (const std::size_t f : filas)
        for (std::size_t c = 1; c < r[f].size(); ++c)
            ComprobarCelda(r[f][c], separador, sufijo, textos);
}

void ComprobarTablas(const Sesion& s, const DatosPanel& p, char sep) {
    for (const int idioma : {kEspanol, kIngles}) {
        EstablecerIdiomaActivo(idioma);
        const std::string consultar = Texto("consultar");
        const Rejilla equipos = MostrarEquipos(s.EquiposSeleccionados, p.equipos, p.tarifa, sep);
        ComprobarFilas(equipos, {2, 3, 4}, sep, "", {});
        ComprobarFilas(equipos, {5}, sep, "", {consultar});
        const Rejilla transformadores =
            MostrarTransformadores(s.TransformadoresSeleccionados, s.EquiposSeleccionados, sep);
        ComprobarFilas(transformadores, {1}, sep, "/5", {});
        ComprobarFilas(transformadores, {2}, sep, "", {});
        ComprobarFilas(transformadores, {3}, sep, "", {consultar});
        const Rejilla conductores =
            MostrarConductores(s.ConductoresSeleccionados, s.EquiposSeleccionados, p.tarifa, sep);
        ComprobarFilas(conductores, {1, 3, 4}, sep, "", {});
        // The "no conductor" text is written in the language of the calculation.
        ComprobarFilas(
            conductores, {2}, sep, "",
            {Texto("no_existe", kEspanol).substr(0, 10), Texto("no_existe", kIngles).substr(0, 10)});
        ComprobarFilas(conductores, {5}, sep, "x3 " + Texto("phases_caption_singular"), {});
        ComprobarFilas(conductores, {6}, sep, "", {consultar});
    }
    EstablecerIdiomaActivo(kEspanol);
}

void ComprobarTotales(const Sesion& s, const DatosPanel& p, char sep) {
    const TextosTotales t = LlenarTotales(s.Analisis, p.cosenoDeseado, s.Lecturas.size(), p.tipoLectura, sep);
    for (const std::string* texto : {&t.fpb, &t.fpm, &t.fpd, &t.total_penalizacion})
        Exigir(TextoDeNumero(*texto, sep), "a totals text holds a finite number", *texto);
}

} // namespace

std::vector<Semilla> tarvik::fuzz::Semillas(const std::filesystem::path& datos) {
    return SemillasCalculo(datos);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const EntradaCalculo e = Partir({data, size});
    Sesion s;
    DatosPanel panel;
    if (!Cargar(e, s, panel))
        return 0;
    const char separador = e.Separador();

    // Totals first, as the program offers them: by consumption, with readings. Read without holding
    // the readings, as tarvik-cli totals reads a study, they must come out the same to the bit.
    if (panel.tipoCalculo == 0 && !s.Lecturas.empty()) {
        Sesion pasada = s;
        pasada.Lecturas.clear();
        ValidacionEnCurso validacion(pasada, panel);
        std::vector<TCifrasLectura> leidas; // a read block, gone once the totals are made
        for (const TLectura& l : s.Lecturas)
            leidas.push_back(l.Cifras());
        validacion.Anadir(leidas);
        ListaMensajes mensajesPasada;
        const bool validado = validacion.Terminar(mensajesPasada);

        ListaMensajes mensajes;
        const bool analizado = ValidarYAnalizar(s, panel, mensajes);
        ComprobarMensajes(mensajes);
        Exigir(analizado || !mensajes.empty(), "a refused analysis says why");
        Exigir(validado == analizado && mensajesPasada == mensajes,
               "the readings' figures passed by are refused as the study held whole");
        if (analizado) {
            ComprobarTotales(s, panel, separador);
            Exigir(std::memcmp(&pasada.Analisis, &s.Analisis, sizeof s.Analisis) == 0 &&
                       pasada.trafoEntradaMayor == s.trafoEntradaMayor,
                   "the readings' figures passed by are analysed as the study held whole");
        }
    }

    ListaMensajes mensajes;
    const bool calculado = Calcular(s, panel, mensajes, separador);
    ComprobarMensajes(mensajes);
    if (!calculado) {
        Exigir(!mensajes.empty(), "a refused calculation says why");
        Exigir(!s.calculoRealizado && s.resultadosObsoletos, "a refused calculation leaves no results");
        return 0;
    }
    ComprobarResultados(s, panel);
    ComprobarTablas(s, panel, separador);
    return 0;
}
