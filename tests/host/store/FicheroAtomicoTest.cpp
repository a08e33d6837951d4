#include "Modelo/store/FicheroAtomico.h"
#include "support/Apoyo.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {
// Whatever the writer left in the folder besides the files a test made.
size_t Ficheros(const apoyo::CarpetaTemporal& tmp) {
    size_t n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(tmp.Ruta()))
        ++n;
    return n;
}
} // namespace

TEST(FicheroAtomico, ReplacesTheWholeFileAndKeepsItsPermissions) {
    apoyo::CarpetaTemporal tmp;
    const std::string ruta = tmp / "salida.png";
    apoyo::Escribir(ruta, std::string(10000, 'v'));
    fs::permissions(ruta, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EscribirFicheroAtomico(ruta, "nuevo");
    EXPECT_EQ(apoyo::Leer(ruta), "nuevo");
    EXPECT_EQ(fs::status(ruta).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Ficheros(tmp), 1u);

    // Through a link, what it points to is replaced and the link stays.
    fs::create_symlink(ruta, tmp / "enlace.png");
    EscribirFicheroAtomico(tmp / "enlace.png", "otra vez");
    EXPECT_TRUE(fs::is_symlink(tmp / "enlace.png"));
    EXPECT_EQ(apoyo::Leer(ruta), "otra vez");
}

TEST(FicheroAtomico, AnAbandonedWriteLeavesTheOldFileAndNoTrace) {
    apoyo::CarpetaTemporal tmp;
    const std::string ruta = tmp / "salida.pdf";
    apoyo::Escribir(ruta, "antes");
    {
        CFicheroAtomico f(ruta);
        f.Escribir("a medias");
    }
    EXPECT_EQ(apoyo::Leer(ruta), "antes");
    EXPECT_EQ(Ficheros(tmp), 1u);
}

TEST(FicheroAtomico, EveryFailureIsThrownAndNamed) {
    apoyo::CarpetaTemporal tmp;
    struct Caso {
        std::string ruta;
        int error;
        const char* dice;
    };
    const Caso casos[] = {
        {"/dev/full", ENOSPC, "no queda espacio en el disco"},
        {tmp / "falta/salida.png", ENOENT, "la carpeta no existe"},
        {tmp.Ruta().string(), EISDIR, "es una carpeta"},
        {"", ENOENT, "la carpeta no existe"},
    };
    for (const Caso& c : casos) {
        try {
            EscribirFicheroAtomico(c.ruta, std::string(70000, 'x'));
            ADD_FAILURE() << c.ruta << " was written";
        } catch (const CExcepcionFichero& e) {
            EXPECT_EQ(e.Errno(), c.error) << c.ruta;
            EXPECT_NE(std::string(e.what()).find(c.dice), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(Ficheros(tmp), 0u);
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
}
