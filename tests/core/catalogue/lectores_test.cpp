// Readers of outside bytes given arbitrary input: every block is a heap buffer of exactly its
// size, so a read past it shows under the address sanitizer.

#include "core/catalogue/catalogo.h"
#include "core/study/facturacion.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <random>

using namespace tarvik;

namespace {

std::vector<std::uint8_t> Azar(std::mt19937& rng, std::size_t n) {
    std::vector<std::uint8_t> b(n);
    for (auto& x : b)
        x = static_cast<std::uint8_t>(rng());
    return b;
}

} // namespace

TEST(Lectores, CatalogueRecordsOfAnySizeStayInsideTheirBlock) {
    std::mt19937 rng(72);
    for (std::size_t n = 0; n <= 200; ++n) {
        for (int vuelta = 0; vuelta < 8; ++vuelta) {
            const auto b = Azar(rng, n);
            const TEquipo e = TEquipo::Decodificar(b);
            EXPECT_LE(e.codigo.size(), 20u);
            EXPECT_LE(e.serie.size(), 20u);
            EXPECT_LE(TTransformador::Decodificar(b).designacion.size(), 20u);
            TConductor::Decodificar(b);
            EXPECT_EQ(DecodificarRegistros<TEquipo>(b).size(), n / 72);
            EXPECT_EQ(DecodificarRegistros<TTransformador>(b).size(), n / 52);
            EXPECT_EQ(DecodificarRegistros<TConductor>(b).size(), n / 12);
        }
    }
}

TEST(Lectores, BillingFilesOfAnySizeStayInsideTheirBuffer) {
    std::mt19937 rng(136);
    for (std::size_t n = 0; n <= 200; ++n) {
        for (int vuelta = 0; vuelta < 8; ++vuelta) {
            const auto b = Azar(rng, n);
            EXPECT_LE(DecodificarLectura(b).mes.size(), kCapMes);
            DecodificarFacturacion(b, TDatosEstudio{});
        }
    }
    // Past a valid version word, so that the header and the readings are decoded too.
    for (const std::uint16_t version : std::initializer_list<std::uint16_t>{2, 34, 50, 100}) {
        const std::size_t cabecera = LongitudCabecera(version);
        for (std::size_t extra = 0; extra <= 300; ++extra) {
            auto b = Azar(rng, cabecera + extra);
            b[0] = static_cast<std::uint8_t>(version);
            b[1] = 0;
            const ResultadoCarga r = DecodificarFacturacion(b, TDatosEstudio{});
            ASSERT_TRUE(r.ok());
            EXPECT_EQ(r.lecturas.size(), extra / kTamLectura);
            for (const std::string* t :
                 {&r.datos.empresa, &r.datos.provincia, &r.datos.distribuidor, &r.datos.cliente})
                EXPECT_LE(t->size(), kCapEmpresa);
            EXPECT_LE(r.datos.direccion.size(), kCapDireccion);
            EXPECT_LE(r.datos.fax.size(), kCapFax);
            EXPECT_LE(r.datos.telefono.size(), kCapTelefono);
            for (const TLectura& l : r.lecturas)
                EXPECT_LE(l.mes.size(), kCapMes);
        }
    }
}
