#include "platform/reemplazable.h"

#include "platform/avisos.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tarvik;

namespace {

// Records what it was shown and answers every confirmation with its own answer.
class AvisosAnotados : public Avisos {
  public:
    explicit AvisosAnotados(Respuesta respuesta) : respuesta_(respuesta) {}
    Respuesta Mostrar(TipoMensaje, const QString& texto) override {
        vistos.push_back(texto);
        return respuesta_;
    }
    std::vector<QString> vistos;

  private:
    Respuesta respuesta_;
};

Respuesta Confirmar(const char* texto) {
    return MostrarMensaje({TipoMensaje::Confirmacion, {}, texto});
}

TEST(Reemplazable, ReplacementsNestAndEachEndGivesBackTheOneBefore) {
    // Without a replacement, confirmations count as No.
    EXPECT_EQ(Confirmar("sin reemplazo"), Respuesta::No);
    AvisosAnotados exterior(Respuesta::Si);
    AvisosAnotados interior(Respuesta::Aceptar);
    {
        const Reemplazo<Avisos> primero(exterior);
        EXPECT_EQ(Confirmar("uno"), Respuesta::Si);
        {
            const Reemplazo<Avisos> segundo(interior);
            EXPECT_EQ(Confirmar("dos"), Respuesta::Aceptar);
        }
        // The inner end brings back the outer replacement, not the default.
        EXPECT_EQ(Confirmar("tres"), Respuesta::Si);
    }
    EXPECT_EQ(Confirmar("cuatro"), Respuesta::No);
    EXPECT_EQ(exterior.vistos, (std::vector<QString>{"uno", "tres"}));
    EXPECT_EQ(interior.vistos, (std::vector<QString>{"dos"}));
}

} // namespace
