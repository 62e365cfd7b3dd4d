// Saving over a study is all or nothing: killed at any moment, a save leaves on disk either the
// complete old study or the complete new one, and at most the temporary file of the killed save
// beside it, which the next save removes.

#include "soporte/archivos.h"

#include "core/study/facturacion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace tarvik;
using prueba::CarpetaTemporal;
namespace fs = std::filesystem;

namespace {

std::vector<TLectura> MuchasLecturas(std::size_t n, double base) {
    std::vector<TLectura> lecturas;
    for (std::size_t i = 0; i < n; ++i)
        lecturas.push_back({.mes = "MES " + std::to_string(i % 12 + 1),
                            .ano = 2000 + static_cast<std::int32_t>(i / 12),
                            .kwht = base + static_cast<double>(i),
                            .mdr = 180,
                            .kvarh = base / 2 + static_cast<double>(i)});
    return lecturas;
}

// The temporary files of saves of `nombre` in the folder.
std::vector<std::string> Temporales(const fs::path& carpeta, const std::string& nombre) {
    std::vector<std::string> vistos;
    for (const auto& e : fs::directory_iterator(carpeta)) {
        const std::string visto = e.path().filename().string();
        if (visto.starts_with("." + nombre + "."))
            vistos.push_back(visto);
    }
    return vistos;
}

} // namespace

TEST(GuardadoSeguro, KilledAtAnyMomentLeavesTheOldOrTheNewStudyWhole) {
    CarpetaTemporal dir;
    const std::string ruta = dir / "estudio.fac";
    TDatosEstudio viejo, nuevo;
    viejo.empresa = "VIEJA";
    nuevo.empresa = "NUEVA";
    const std::vector<TLectura> lecturasViejas = MuchasLecturas(20000, 1000);
    const std::vector<TLectura> lecturasNuevas = MuchasLecturas(19000, 5000);
    const std::vector<std::uint8_t> bytesViejos = CodificarFacturacion(viejo, lecturasViejas);
    const std::vector<std::uint8_t> bytesNuevos = CodificarFacturacion(nuevo, lecturasNuevas);

    ASSERT_TRUE(GuardarFacturacion(ruta, viejo, lecturasViejas).ok);
    const auto t0 = std::chrono::steady_clock::now();
    ASSERT_TRUE(GuardarFacturacion(ruta, nuevo, lecturasNuevas).ok);
    const auto unGuardado = std::chrono::steady_clock::now() - t0;
    const auto maximo = std::chrono::duration_cast<std::chrono::microseconds>(3 * unGuardado).count() + 1000;

    std::mt19937 azar(1789);
    std::uniform_int_distribution<long> espera(0, maximo);
    for (int vez = 0; vez < 50; ++vez) {
        const pid_t hijo = ::fork();
        ASSERT_GE(hijo, 0);
        if (hijo == 0) {
            // Saves one study over the other until it is killed (bounded, should the test die first).
            for (int i = 0; i < 1000; ++i) {
                const bool par = i % 2 == 0;
                GuardarFacturacion(ruta, par ? viejo : nuevo, par ? lecturasViejas : lecturasNuevas);
            }
            ::_exit(0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(espera(azar)));
        ::kill(hijo, SIGKILL);
        int estado = 0;
        ASSERT_EQ(::waitpid(hijo, &estado, 0), hijo);

        const std::vector<std::uint8_t> enDisco = prueba::LeerTodo(ruta);
        EXPECT_TRUE(enDisco == bytesViejos || enDisco == bytesNuevos)
            << "kill " << vez << " left a torn study of " << enDisco.size() << " bytes";
        EXPECT_LE(Temporales(dir.ruta(), "estudio.fac").size(), 1u) << "kill " << vez;
    }

    ASSERT_TRUE(GuardarFacturacion(ruta, viejo, lecturasViejas).ok);
    EXPECT_EQ(prueba::LeerTodo(ruta), bytesViejos);
    EXPECT_TRUE(Temporales(dir.ruta(), "estudio.fac").empty());
}

TEST(GuardadoSeguro, RemovesOnlyTheTemporaryFilesThatNoSaveHolds) {
    CarpetaTemporal dir;
    const std::string ruta = dir / "estudio.fac";
    const std::string abandonado = dir / ".estudio.fac.Ab3xZ9"; // left by a killed save
    const std::string enCurso = dir / ".estudio.fac.Qw8rT1";    // another program is writing it
    for (const std::string& nombre : {abandonado, enCurso, dir / ".otro.fac.Ab3xZ9",
                                      dir / ".estudio.fac.copia", dir / "estudio.fac.Ab3xZ9"})
        prueba::EscribirTodo(nombre, {1});
    const int enUso = ::open(enCurso.c_str(), O_RDONLY);
    ASSERT_GE(enUso, 0);
    ASSERT_EQ(::flock(enUso, LOCK_EX), 0);

    ASSERT_TRUE(GuardarFacturacion(ruta, TDatosEstudio{}, {}).ok);
    ::close(enUso);

    std::vector<std::string> quedan;
    for (const auto& e : fs::directory_iterator(dir.ruta()))
        quedan.push_back(e.path().filename().string());
    std::sort(quedan.begin(), quedan.end());
    EXPECT_EQ(quedan, (std::vector<std::string>{".estudio.fac.Qw8rT1", ".estudio.fac.copia",
                                                ".otro.fac.Ab3xZ9", "estudio.fac", "estudio.fac.Ab3xZ9"}));
}
