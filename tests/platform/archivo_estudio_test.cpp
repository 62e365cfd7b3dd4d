// Billing files on disk: opening reads them as their image decodes and refuses what is no study
// file; saving replaces a study whole or not at all, with the permissions and links a user expects.

#include "platform/archivo_estudio.h"

#include "core/util/archivo.h"
#include "soporte/archivos.h"
#include "soporte/estudio_prueba.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <optional>
#include <random>
#include <span>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tarvik {
namespace {

using prueba::CarpetaTemporal;
namespace fs = std::filesystem;

const prueba::EstudioPrueba kEstudio = prueba::EstudioCompleto();

std::vector<std::uint8_t> Imagen(const prueba::EstudioPrueba& e = kEstudio) {
    return CodificarFacturacion(e.datos, e.lecturas);
}

// What is in the folder besides the files named, sorted.
std::vector<std::string> Contenido(const fs::path& carpeta) {
    std::vector<std::string> nombres;
    for (const auto& e : fs::directory_iterator(carpeta))
        nombres.push_back(e.path().filename().string());
    std::sort(nombres.begin(), nombres.end());
    return nombres;
}

mode_t Permisos(const std::string& ruta) {
    struct stat st {};
    EXPECT_EQ(::stat(ruta.c_str(), &st), 0) << ruta;
    return st.st_mode & 07777;
}

// The file-creation mask for one test.
class ConMascara {
  public:
    explicit ConMascara(mode_t mascara) : antes_(::umask(mascara)) {}
    ~ConMascara() { ::umask(antes_); }
    ConMascara(const ConMascara&) = delete;
    ConMascara& operator=(const ConMascara&) = delete;

  private:
    mode_t antes_;
};

// What the analysis takes of each reading.
std::vector<TCifrasLectura> Cifras(const std::vector<TLectura>& lecturas) {
    std::vector<TCifrasLectura> cifras;
    for (const TLectura& l : lecturas)
        cifras.push_back(l.Cifras());
    return cifras;
}

// A study as a reader gave it: the result, and the figures of the readings that it handed over.
struct Leido {
    ResultadoCarga carga;
    std::vector<TCifrasLectura> cifras;
};

// A study opened whole.
Leido Cargado(const std::string& ruta) {
    Leido leido{CargarFacturacion(ruta, TDatosEstudio{}), {}};
    leido.cifras = Cifras(leido.carga.lecturas);
    return leido;
}

// A study read without holding it, with what it handed over gathered: its fields once, before the
// readings, then every reading's figures in order, all on the calling thread.
Leido Recorrido(const std::string& ruta, Hilos hilos) {
    const std::thread::id llamada = std::this_thread::get_id();
    std::optional<TDatosEstudio> datos;
    std::vector<TCifrasLectura> cifras;
    ResultadoCarga r = RecorrerFacturacion(
        ruta, TDatosEstudio{},
        [&](const TDatosEstudio& d) {
            EXPECT_EQ(std::this_thread::get_id(), llamada);
            EXPECT_FALSE(datos);
            datos = d;
        },
        [&](std::span<const TCifrasLectura> bloque) {
            EXPECT_EQ(std::this_thread::get_id(), llamada);
            EXPECT_TRUE(datos);
            cifras.insert(cifras.end(), bloque.begin(), bloque.end());
        },
        hilos);
    EXPECT_TRUE(r.lecturas.empty());
    EXPECT_EQ(datos.has_value(), r.ok());
    if (datos) {
        EXPECT_EQ(*datos, r.datos);
    }
    return {std::move(r), std::move(cifras)};
}

// The ways of reading a study, which must read it alike.
const std::pair<const char*, Leido (*)(const std::string&)> kLectores[] = {
    {"opened whole", Cargado},
    {"read without holding it", [](const std::string& ruta) { return Recorrido(ruta, Hilos::Uno); }},
    {"read on two threads", [](const std::string& ruta) { return Recorrido(ruta, Hilos::Dos); }}};

} // namespace

// A study is read a block of readings at a time: in every layout (whose readings then straddle the
// blocks differently) and at any length, the file opens as its image decodes.
TEST(AbrirEstudio, AFileOpensAsItsImageDecodes) {
    const prueba::EstudioPrueba largo{kEstudio.datos, prueba::LecturasMensuales(2101)};
    const std::vector<std::uint8_t> completo = Imagen(largo);
    CarpetaTemporal carpeta;
    const std::string ruta = carpeta / "estudio.fac";
    for (const auto& [version, cabecera] :
         {std::pair<std::uint8_t, std::size_t>{2, 588}, {34, 592}, {50, 596}, {100, 616}}) {
        for (const std::size_t n : std::initializer_list<std::size_t>{0, 1, 1023, 1024, 1025, 2048, 2100}) {
            for (const std::size_t resto : std::initializer_list<std::size_t>{0, 1, 135}) {
                SCOPED_TRACE(testing::Message() << "version " << int(version) << ", " << n << " readings and "
                                                << resto << " bytes");
                const std::span<const std::uint8_t> imagen(completo);
                const std::span<const std::uint8_t> principio = imagen.first(cabecera);
                std::vector<std::uint8_t> bytes(principio.begin(), principio.end());
                bytes[0] = version;
                const std::span<const std::uint8_t> lecturas = imagen.subspan(616, n * 136 + resto);
                bytes.insert(bytes.end(), lecturas.begin(), lecturas.end());
                prueba::EscribirTodo(ruta, bytes);
                const ResultadoCarga esperado = DecodificarFacturacion(bytes, TDatosEstudio{});
                EXPECT_TRUE(Cargado(ruta).carga.lecturas == esperado.lecturas); // labels and all
                for (const auto& [lector, leer] : kLectores) {
                    SCOPED_TRACE(lector);
                    const Leido leido = leer(ruta);
                    ASSERT_TRUE(leido.carga.ok());
                    EXPECT_EQ(leido.carga.datos, esperado.datos);
                    ASSERT_EQ(leido.cifras.size(), n);
                    EXPECT_TRUE(leido.cifras == Cifras(esperado.lecturas));
                }
            }
        }
    }
}

// A study long enough to be read on a second thread hands over the same readings, also with a
// reading cut short at its end; every reading differs, so that one lost, doubled or out of order
// shows.
TEST(AbrirEstudio, ALongStudyOnTwoThreadsOpensAsItsImageDecodes) {
    prueba::EstudioPrueba largo{kEstudio.datos, prueba::LecturasMensuales(40000)};
    for (std::size_t i = 0; i < largo.lecturas.size(); ++i)
        largo.lecturas[i].rr = static_cast<double>(i);
    const std::vector<std::uint8_t> completo = Imagen(largo);
    CarpetaTemporal carpeta;
    const std::string ruta = carpeta / "largo.fac";
    for (const std::size_t resto : {0u, 1u, 135u}) {
        SCOPED_TRACE(testing::Message() << resto << " bytes of a reading at the end");
        std::vector<std::uint8_t> bytes = completo;
        bytes.resize(completo.size() + resto, 0x5A);
        prueba::EscribirTodo(ruta, bytes);
        for (const auto& [lector, leer] : kLectores) {
            SCOPED_TRACE(lector);
            const Leido leido = leer(ruta);
            ASSERT_TRUE(leido.carga.ok());
            EXPECT_EQ(leido.carga.datos, largo.datos);
            EXPECT_TRUE(leido.cifras == Cifras(largo.lecturas));
        }
    }
}

// A failure while the readings are taken (memory running out, say) reaches the caller, and the
// reading thread stops with it instead of reading on or waiting for ever.
TEST(AbrirEstudio, AFailureWhileTakingTheReadingsStopsTheRead) {
    CarpetaTemporal carpeta;
    const std::string ruta = carpeta / "largo.fac";
    prueba::EscribirTodo(ruta, Imagen({kEstudio.datos, prueba::LecturasMensuales(100000)}));
    for (const Hilos hilos : {Hilos::Uno, Hilos::Dos}) {
        for (const std::size_t hasta : {0u, 1u, 50000u}) {
            std::size_t tomadas = 0;
            const auto tomar = [&](std::span<const TCifrasLectura> bloque) {
                if (tomadas >= hasta)
                    throw std::runtime_error("no more memory");
                tomadas += bloque.size();
            };
            EXPECT_THROW(RecorrerFacturacion(
                             ruta, TDatosEstudio{}, [](const TDatosEstudio&) {}, tomar, hilos),
                         std::runtime_error);
        }
        EXPECT_THROW(RecorrerFacturacion(
                         ruta, TDatosEstudio{},
                         [](const TDatosEstudio&) { throw std::runtime_error("fields"); },
                         [](std::span<const TCifrasLectura>) {}, hilos),
                     std::runtime_error);
    }
}

TEST(AbrirEstudio, AFileOfAnUnknownVersionOrACutHeaderIsAFormatError) {
    CarpetaTemporal carpeta;
    std::vector<std::uint8_t> bytes = Imagen();
    prueba::EscribirTodo(carpeta / "corto.fac",
                         std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 300));
    bytes[0] = 101;
    prueba::EscribirTodo(carpeta / "raro.fac", bytes);
    for (const auto& [lector, leer] : kLectores)
        for (const char* nombre : {"raro.fac", "corto.fac"})
            EXPECT_EQ(leer(carpeta / nombre).carga.error, ErrorCarga::Formato) << lector << ": " << nombre;
}

// A pipe among them: opened, it would wait for a writer for ever.
TEST(AbrirEstudio, WhatIsNoRegularFileIsRefusedWithTheSystemsReason) {
    CarpetaTemporal dir;
    ASSERT_EQ(::mkfifo((dir / "tuberia.fac").c_str(), 0600), 0);
    prueba::EscribirTodo(dir / "grande.fac", {});
    fs::resize_file(dir / "grande.fac", kTamMaximoArchivo + 1); // sparse: no disk used
    const std::pair<std::string, const char*> casos[] = {
        {dir / "no-existe.fac", "No such file or directory"},
        {dir.ruta().string(), "Is a directory"},
        {dir / "tuberia.fac", "Invalid argument"},
        {"/dev/zero", "Invalid argument"},
        {dir / "grande.fac", "File too large"},
    };
    for (const auto& [lector, leer] : kLectores) {
        for (const auto& [ruta, motivo] : casos) {
            const Leido r = leer(ruta);
            EXPECT_EQ(r.carga.error, ErrorCarga::Apertura) << lector << ": " << ruta;
            EXPECT_EQ(r.carga.detalle, motivo) << lector << ": " << ruta;
            EXPECT_TRUE(r.cifras.empty()) << lector << ": " << ruta;
        }
    }
}

TEST(AbrirEstudio, AFileWithoutReadPermissionIsRefused) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop the superuser from reading";
    CarpetaTemporal dir;
    const std::string ruta = dir / "cerrado.fac";
    prueba::EscribirTodo(ruta, Imagen());
    ASSERT_EQ(::chmod(ruta.c_str(), 0), 0);
    const ResultadoCarga r = CargarFacturacion(ruta, TDatosEstudio{});
    EXPECT_EQ(r.error, ErrorCarga::Apertura);
    EXPECT_EQ(r.detalle, "Permission denied");
}

TEST(GuardarEstudio, WritesTheImageAndOpensAgainAsSaved) {
    CarpetaTemporal dir;
    const std::string ruta = dir / "estudio.fac";
    ASSERT_TRUE(GuardarFacturacion(ruta, kEstudio.datos, kEstudio.lecturas).ok);
    EXPECT_EQ(prueba::LeerTodo(ruta), Imagen());
    const ResultadoCarga leido = CargarFacturacion(ruta, TDatosEstudio{});
    ASSERT_TRUE(leido.ok());
    EXPECT_EQ(leido.datos, kEstudio.datos);
    EXPECT_EQ(leido.lecturas, kEstudio.lecturas);
    EXPECT_EQ(Contenido(dir.ruta()), std::vector<std::string>{"estudio.fac"});
}

// A new study is as private as the user's mask asks (customer data under umask 077 is the owner's
// only); an existing one keeps the permissions it was given, whatever the mask.
TEST(GuardarEstudio, NewStudiesFollowTheMaskAndExistingOnesKeepTheirPermissions) {
    const struct {
        mode_t mascara;
        std::optional<mode_t> antes; // the existing file's permissions, or none for a new study
        mode_t despues;
    } casos[] = {
        {077, std::nullopt, 0600}, {022, std::nullopt, 0644}, {002, std::nullopt, 0664},
        {077, 0644, 0644},         {022, 0600, 0600},         {022, 0640, 0640},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(testing::Message()
                     << std::oct << "mask " << c.mascara << ", before " << (c.antes ? *c.antes : 0));
        CarpetaTemporal dir;
        const std::string ruta = dir / "estudio.fac";
        if (c.antes) {
            prueba::EscribirTodo(ruta, {1, 2, 3});
            ASSERT_EQ(::chmod(ruta.c_str(), *c.antes), 0);
        }
        const ConMascara mascara(c.mascara);
        ASSERT_TRUE(GuardarFacturacion(ruta, kEstudio.datos, kEstudio.lecturas).ok);
        EXPECT_EQ(Permisos(ruta), c.despues);
        EXPECT_EQ(prueba::LeerTodo(ruta), Imagen());
    }
}

// Saving through a symbolic link changes the study it names and keeps the link, also through a
// chain of links and a link into another folder.
TEST(GuardarEstudio, ThroughASymbolicLinkTheTargetChangesAndTheLinkStays) {
    CarpetaTemporal dir;
    fs::create_directory(dir / "clientes");
    const std::string destino = dir / "clientes/estudio.fac";
    const std::string enlace = dir / "enlace.fac";
    const std::string cadena = dir / "cadena.fac";
    fs::create_symlink("clientes/estudio.fac", enlace);
    fs::create_symlink("enlace.fac", cadena);
    prueba::EscribirTodo(destino, {1, 2, 3});
    ASSERT_EQ(::chmod(destino.c_str(), 0640), 0);

    prueba::EstudioPrueba otro = kEstudio;
    otro.datos.cliente = "OTRO CLIENTE";
    const std::pair<std::string, const prueba::EstudioPrueba*> guardados[] = {{enlace, &kEstudio},
                                                                              {cadena, &otro}};
    for (const auto& [ruta, estudio] : guardados) {
        SCOPED_TRACE(ruta);
        ASSERT_TRUE(GuardarFacturacion(ruta, estudio->datos, estudio->lecturas).ok);
        EXPECT_TRUE(fs::is_symlink(enlace));
        EXPECT_TRUE(fs::is_symlink(cadena));
        EXPECT_EQ(fs::read_symlink(enlace), "clientes/estudio.fac");
        EXPECT_EQ(prueba::LeerTodo(destino), Imagen(*estudio));
        EXPECT_EQ(Permisos(destino), 0640u);
        EXPECT_EQ(Contenido(dir / "clientes"), std::vector<std::string>{"estudio.fac"});
    }
}

// The program runs as any user, root included, so failures are forced by the file system's shape
// rather than by permission bits.
TEST(GuardarEstudio, AFailedSaveIsReportedAndLeavesNothingBehind) {
    CarpetaTemporal carpeta;
    prueba::EscribirTodo(carpeta / "archivo", {1, 2, 3});
    fs::create_directory(carpeta / "carpeta");
    for (const std::string& ruta :
         {carpeta / "archivo/estudio.fac", carpeta / "carpeta", carpeta / "falta/e.fac"}) {
        const ResultadoGuardado r = GuardarFacturacion(ruta, kEstudio.datos, kEstudio.lecturas);
        EXPECT_FALSE(r.ok) << ruta;
        EXPECT_FALSE(r.detalle.empty()) << ruta;
    }
    EXPECT_TRUE(fs::is_empty(carpeta / "carpeta"));
    EXPECT_EQ(prueba::LeerTodo(carpeta / "archivo"), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(Contenido(carpeta.ruta()), (std::vector<std::string>{"archivo", "carpeta"}));
}

TEST(GuardarEstudio, AWriteThatFailsHalfwayKeepsTheOldFile) {
    CarpetaTemporal carpeta;
    const std::string ruta = carpeta / "estudio.fac";
    ASSERT_TRUE(GuardarFacturacion(ruta, kEstudio.datos, {}).ok);
    const auto antes = prueba::LeerTodo(ruta);

    // Files may grow to 700 bytes only: the header fits, the readings do not.
    rlimit viejo{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &viejo), 0);
    const auto senal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit corto = viejo;
    corto.rlim_cur = 700;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &corto), 0);
    const ResultadoGuardado r = GuardarFacturacion(ruta, kEstudio.datos, kEstudio.lecturas);
    ::setrlimit(RLIMIT_FSIZE, &viejo);
    std::signal(SIGXFSZ, senal);

    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.detalle.empty());
    EXPECT_EQ(prueba::LeerTodo(ruta), antes);
    EXPECT_EQ(Contenido(carpeta.ruta()), std::vector<std::string>{"estudio.fac"});
}

// A folder that lets its files be changed but no file be created in it: the study is written in
// place, the only way it can be saved there.
TEST(GuardarEstudio, InAFolderThatTakesNoNewFileTheStudyIsWrittenInPlace) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop the superuser from creating files";
    CarpetaTemporal dir;
    fs::create_directory(dir / "compartida");
    const std::string ruta = dir / "compartida/estudio.fac";
    prueba::EscribirTodo(ruta, {1, 2, 3});
    ASSERT_EQ(::chmod((dir / "compartida").c_str(), 0555), 0);
    const ResultadoGuardado r = GuardarFacturacion(ruta, kEstudio.datos, kEstudio.lecturas);
    const ResultadoGuardado nuevo = GuardarFacturacion(dir / "compartida/nuevo.fac", kEstudio.datos, {});
    ::chmod((dir / "compartida").c_str(), 0755);
    EXPECT_TRUE(r.ok) << r.detalle;
    EXPECT_EQ(prueba::LeerTodo(ruta), Imagen());
    EXPECT_FALSE(nuevo.ok);
    EXPECT_FALSE(nuevo.detalle.empty());
}

// Killed at any moment, a save leaves on disk the complete old study or the complete new one, and
// nothing else beside it.
TEST(GuardarEstudio, KilledAtAnyMomentLeavesTheOldOrTheNewStudyWhole) {
    CarpetaTemporal dir;
    const std::string ruta = dir / "estudio.fac";
    prueba::EstudioPrueba viejo{kEstudio.datos, prueba::LecturasMensuales(20000)};
    prueba::EstudioPrueba nuevo{kEstudio.datos, prueba::LecturasMensuales(19000)};
    viejo.datos.empresa = "VIEJA";
    nuevo.datos.empresa = "NUEVA";
    const std::vector<std::uint8_t> bytesViejos = Imagen(viejo);
    const std::vector<std::uint8_t> bytesNuevos = Imagen(nuevo);

    ASSERT_TRUE(GuardarFacturacion(ruta, viejo.datos, viejo.lecturas).ok);
    const auto t0 = std::chrono::steady_clock::now();
    ASSERT_TRUE(GuardarFacturacion(ruta, nuevo.datos, nuevo.lecturas).ok);
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
                const prueba::EstudioPrueba& e = i % 2 == 0 ? viejo : nuevo;
                GuardarFacturacion(ruta, e.datos, e.lecturas);
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
        // Killed in the instant between naming its finished temporary file and renaming it over the
        // study, a save leaves that file beside the study; nothing else is ever left.
        const std::vector<std::string> vistos = Contenido(dir.ruta());
        ASSERT_FALSE(vistos.empty()) << "kill " << vez;
        EXPECT_EQ(vistos.front(), "estudio.fac") << "kill " << vez;
        for (std::size_t i = 1; i < vistos.size(); ++i)
            EXPECT_TRUE(vistos[i].size() == 18 && vistos[i].starts_with("estudio.fac."))
                << "kill " << vez << " left " << vistos[i];
    }
    // The next save takes away whatever the killed ones left.
    ASSERT_TRUE(GuardarFacturacion(ruta, nuevo.datos, nuevo.lecturas).ok);
    EXPECT_EQ(Contenido(dir.ruta()), std::vector<std::string>{"estudio.fac"});
}

} // namespace tarvik
