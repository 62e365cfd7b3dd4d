// The data shipped beside the program: complete catalogues, and example studies that the
// catalogues can serve.

#include "core/catalogue/catalogo.h"
#include "core/study/facturacion.h"
#include "core/util/archivo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>

using namespace tarvik;

namespace {

const std::string kDbf = std::string(TARVIK_SOURCE_DIR) + "/dbf/";
const std::string kEjemplos = std::string(TARVIK_SOURCE_DIR) + "/examples/";

bool Automatico(const TEquipo& e) {
    return e.tipo == 0 && e.serie != "Hematites";
}

std::vector<std::int32_t> Admitidas(std::int32_t voltaje) {
    std::int32_t nominal = 0;
    return TensionesAdmitidas(voltaje, nominal);
}

// The power to cover: the largest per-period requirement or the one at the peak demand, kvar for
// banks and kW (over 0.7) for filters; or from the contracted power.
double Requerimiento(const TDatosEstudio& d, const std::vector<TLectura>& lecturas) {
    if (d.tipoCalculo == 1)
        return d.equipos == 0 ? d.potenciaMaxima : std::ceil(0.81 * d.potenciaMaxima);
    const double t = std::tan(std::acos(static_cast<double>(d.cosenoDeseado)));
    const double h = HorasPorPeriodo(d.horas, d.tipoLectura);
    double qc = -std::numeric_limits<double>::infinity(), pico = 0, difPico = 0;
    for (const TLectura& l : lecturas) {
        if (l.mdr >= pico) {
            pico = l.mdr;
            difPico = l.kvarh / l.kwht - t;
        }
        qc = std::max(qc, (l.kvarh / l.kwht - t) * l.kwht / h);
    }
    const double filtro = d.equipos == 0 ? 0.7 : 1.0;
    return std::max(qc / filtro, pico * difPico / filtro);
}

} // namespace

TEST(DatosEnviados, CataloguesHoldWholeRecords) {
    const std::pair<const char*, std::size_t> archivos[] = {
        {"bateria.dat", 72}, {"bateria60.dat", 72}, {"filtros.dat", 72}, {"trans.dat", 52}, {"cond.dat", 12}};
    for (const auto& [nombre, tamano] : archivos) {
        const auto bytes = std::filesystem::file_size(kDbf + nombre);
        EXPECT_GT(bytes, 0u) << nombre;
        EXPECT_EQ(bytes % tamano, 0u) << nombre;
    }
}

TEST(DatosEnviados, ConductorsAndCurrentTransformersRunInIncreasingOrder) {
    const auto conductores = LeerArchivo<TConductor>(kDbf + "cond.dat");
    ASSERT_EQ(conductores.size(), 16u);
    for (std::size_t i = 1; i < conductores.size(); ++i)
        EXPECT_GT(conductores[i].intensidad, conductores[i - 1].intensidad) << i;
    EXPECT_EQ(conductores.front().seccion, 1.5f);
    EXPECT_EQ(conductores.front().intensidad, 17.5f);
    EXPECT_EQ(conductores.back().seccion, 300.0f);
    EXPECT_EQ(conductores.back().intensidad, 464.0f);

    const auto trafos = LeerArchivo<TTransformador>(kDbf + "trans.dat");
    ASSERT_FALSE(trafos.empty());
    EXPECT_EQ(trafos.front().intensidad, 50.0f);
    EXPECT_EQ(trafos.back().intensidad, 4000.0f);
    for (std::size_t i = 0; i < trafos.size(); ++i) {
        const std::string relacion = "TI " + std::to_string(static_cast<int>(trafos[i].intensidad)) + "/5 ";
        EXPECT_EQ(trafos[i].designacion.rfind(relacion, 0), 0u) << trafos[i].designacion;
        if (i > 0) {
            EXPECT_GT(trafos[i].intensidad, trafos[i - 1].intensidad) << i;
        }
    }
}

TEST(DatosEnviados, EveryVoltageClassHasBanksCapacitorsAndFilters) {
    for (const char* archivo : {"bateria.dat", "bateria60.dat"}) {
        const auto bancos = LeerArchivo<TEquipo>(kDbf + archivo);
        EXPECT_TRUE(std::any_of(bancos.begin(), bancos.end(),
                                [](const TEquipo& e) { return e.serie == "Hematites"; }));
        for (std::int32_t voltaje = 0; voltaje <= 2; ++voltaje) {
            const auto admitidas = Admitidas(voltaje);
            for (std::uint8_t armonicos = 0; armonicos <= 1; ++armonicos) {
                float menor = std::numeric_limits<float>::max(), mayor = 0;
                for (const TEquipo& e : bancos)
                    if (Automatico(e) && e.armonicos == armonicos && EnteroEnLista(e.tension, admitidas)) {
                        menor = std::min(menor, e.potencia);
                        mayor = std::max(mayor, e.potencia);
                    }
                EXPECT_LE(menor, 30.0f)
                    << archivo << " voltaje " << voltaje << " armonicos " << int(armonicos);
                EXPECT_GE(mayor, 200.0f)
                    << archivo << " voltaje " << voltaje << " armonicos " << int(armonicos);
            }
            EXPECT_TRUE(std::any_of(
                bancos.begin(), bancos.end(),
                [&](const TEquipo& e) { return e.tipo == 1 && EnteroEnLista(e.tension, admitidas); }))
                << archivo << " voltaje " << voltaje;
        }
    }
    const auto filtros = LeerArchivo<TEquipo>(kDbf + "filtros.dat");
    for (std::int32_t voltaje = 0; voltaje <= 2; ++voltaje)
        EXPECT_TRUE(std::any_of(filtros.begin(), filtros.end(), [&](const TEquipo& e) {
            return e.tipo == 0 && e.armonicos == 0 && EnteroEnLista(e.tension, Admitidas(voltaje));
        })) << voltaje;
}

// Each example needs compensation and finds its equipment: a bank above the requirement (and
// below it + 1000) of its voltage and harmonics rating, or a filter above nine tenths of it.
TEST(DatosEnviados, ExampleStudiesNeedCompensationAndFindTheirEquipment) {
    const std::pair<const char*, std::size_t> ejemplos[] = {{"bancos-400v-mensual.fac", 12},
                                                            {"bancos-armonicos-bimestral.fac", 6},
                                                            {"filtros-400v-mensual.fac", 12},
                                                            {"potencia-contratada-trafo-630.fac", 0},
                                                            {"bancos-480v-60hz-mensual.fac", 12}};
    for (const auto& [nombre, numero] : ejemplos) {
        SCOPED_TRACE(nombre);
        std::vector<std::uint8_t> bytes;
        std::string detalle;
        ASSERT_TRUE(LeerBytes(kEjemplos + nombre, bytes, detalle)) << detalle;
        const ResultadoCarga r = DecodificarFacturacion(bytes, TDatosEstudio{});
        ASSERT_TRUE(r.ok());
        const TDatosEstudio& d = r.datos;
        ASSERT_EQ(r.lecturas.size(), numero);
        if (d.tipoCalculo == 0) {
            EXPECT_EQ(static_cast<std::int32_t>(numero), LecturasPorAno(d.tipoLectura));
            double suma = 0;
            for (const TLectura& l : r.lecturas)
                suma += std::round(std::cos(std::atan(l.kvarh / l.kwht)) * 10000);
            EXPECT_LT(suma / numero, d.cosenoDeseado * 10000.0);
        }
        const double qc = Requerimiento(d, r.lecturas);
        const auto admitidas = Admitidas(d.voltaje);
        const auto catalogo = LeerArchivo<TEquipo>(kDbf + (d.equipos == 0      ? "filtros.dat"
                                                           : d.frecuencia == 0 ? "bateria.dat"
                                                                               : "bateria60.dat"));
        EXPECT_TRUE(std::any_of(catalogo.begin(), catalogo.end(),
                                [&](const TEquipo& e) {
                                    if (!EnteroEnLista(e.tension, admitidas) || e.potencia >= qc + 1000)
                                        return false;
                                    if (d.equipos == 0)
                                        return e.tipo == 0 && e.armonicos == 0 && e.potencia / qc > 0.9;
                                    return Automatico(e) && e.armonicos == d.armonicos && e.potencia > qc;
                                }))
            << "qc " << qc;
    }
}
