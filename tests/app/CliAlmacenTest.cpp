// The store under many writers at once, a writer that holds the lock, a read-only copy, a full
// disk and a damaged file: nothing lost, and every failure said as what it is.
#include "app/Cli.h"

#include <chrono>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sqlite3.h>

namespace fs = std::filesystem;

namespace {

std::string Programa() {
    return std::string(MODELO_BIN_DIR) + "/modelo";
}

bool Contiene(const std::string& texto, const std::string& parte) {
    return texto.find(parte) != std::string::npos;
}

// A statement run on the file directly, as another program would.
std::string Sql(const std::string& db, const std::string& sql) {
    sqlite3* c = nullptr;
    std::string r;
    if (sqlite3_open(db.c_str(), &c) == SQLITE_OK)
        sqlite3_exec(
            c, sql.c_str(),
            [](void* p, int n, char** v, char**) {
                for (int i = 0; i < n; ++i)
                    *static_cast<std::string*>(p) += std::string(v[i] ? v[i] : "") + "\n";
                return 0;
            },
            &r, nullptr);
    sqlite3_close(c);
    return r;
}

} // namespace

TEST_F(Cli, ManyWritersAtOnceLoseNothing) {
    const std::string c = Nueva("863");
    constexpr int kEscritores = 28;
    // A text box of each party group apiece: the two groups have fourteen boxes each.
    const auto Casilla = [](int i) { return (i < 14 ? 10 : 16) + i; };
    std::vector<pid_t> programas;
    for (int i = 0; i < kEscritores; ++i)
        programas.push_back(
            apoyo::Lanzar({Programa(), "--db", db, "set", c,
                           "P1-" + std::to_string(Casilla(i)) + "=V" + std::to_string(i)},
                          tmp / ("salida" + std::to_string(i))));
    for (int i = 0; i < kEscritores; ++i)
        EXPECT_EQ(apoyo::Esperar(programas[size_t(i)]), 0)
            << apoyo::Leer(tmp / ("salida" + std::to_string(i)));
    const auto j = nlohmann::json::parse(Modelo("show " + c + " --json").out);
    for (int i = 0; i < kEscritores; ++i)
        EXPECT_EQ(j.value("P1-" + std::to_string(Casilla(i)), ""), "V" + std::to_string(i));
}

TEST_F(Cli, AWriterWaitsForTheLockThenGivesUpSayingSoWhileReadersGoOn) {
    const std::string c = Nueva("863");
    ASSERT_EQ(Modelo("set " + c + " P1-10=ANTES").estado, 0);
    sqlite3* otro = nullptr;
    ASSERT_EQ(sqlite3_open(db.c_str(), &otro), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(otro, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);

    const auto inicio = std::chrono::steady_clock::now();
    auto s = Modelo("set " + c + " P1-10=DESPUES");
    const auto espera = std::chrono::steady_clock::now() - inicio;
    EXPECT_EQ(s.estado, 2);
    EXPECT_TRUE(Contiene(s.err, "está ocupada por otro programa")) << s.err;
    EXPECT_TRUE(Contiene(s.err, "no se ha cambiado nada")) << s.err;
    EXPECT_GE(espera, std::chrono::seconds(4)) << "refused without waiting";
    // A reader does not wait for the writer.
    s = Modelo("show " + c);
    EXPECT_EQ(s.estado, 0) << s.err;
    EXPECT_TRUE(Contiene(s.out, "P1-10\tANTES\n"));

    sqlite3_exec(otro, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(otro);
    ASSERT_EQ(Modelo("set " + c + " P1-10=DESPUES").estado, 0);
    EXPECT_TRUE(Contiene(Modelo("show " + c).out, "P1-10\tDESPUES\n"));
}

// Root may write any file whatever its mode, so the copy sits on a read-only mount.
TEST_F(Cli, AReadOnlyCopyAnswersEveryReadingCommandAndRefusesChanges) {
    if (!apoyo::HayEspacioDeMontaje())
        GTEST_SKIP() << "no mount namespace for a read-only file system";
    const std::string c = Nueva("863 --month 3 --year 2024");
    ASSERT_EQ(Modelo("set " + c + " P1-10=B12345674 P1-60=2 P1-64=10,00").estado, 0);
    const std::string carpeta = tmp / "copia";
    fs::create_directory(carpeta);
    const std::string copia = carpeta + "/modelo.db";
    fs::copy_file(db, copia);
    auto EnCopia = [&](const std::string& args) {
        return apoyo::Ejecutar("unshare -rm sh -c \"mount --bind '" + carpeta + "' '" + carpeta +
                               "' && mount -o remount,bind,ro '" + carpeta + "' && exec '" +
                               Programa() + "' --db '" + copia + "' " + args + "\"");
    };
    for (const std::string& args : std::vector<std::string>{
             "list", "show " + c, "show " + c + " --json", "validate " + c, "pdf417 " + c,
             "remesa " + c, "parties list", "quota 863 1500.00 01/03/2023"}) {
        const auto original = Modelo(args);
        const auto s = EnCopia(args);
        EXPECT_EQ(s.estado, original.estado) << args << ": " << s.err;
        EXPECT_EQ(s.out, original.out) << args;
    }
    for (const std::string& args :
         std::vector<std::string>{"set " + c + " P1-10=OTRO", "new 863", "replicate " + c,
                                  "config presenter B12345674 EMPRESA"}) {
        const auto s = EnCopia(args);
        EXPECT_EQ(s.estado, 2) << args;
        EXPECT_TRUE(Contiene(s.err, "es de sólo lectura; no se ha cambiado nada")) << s.err;
    }
    // A copy stamped by an earlier version cannot be brought up to date, but is still read.
    Sql(copia, "PRAGMA user_version = 0");
    const auto s = EnCopia("show " + c);
    EXPECT_EQ(s.estado, 0) << s.err;
    EXPECT_EQ(s.out, Modelo("show " + c).out);
}

TEST_F(Cli, OnAFullDiskReadingWorksAndEveryWriteKeepsWhatWasThere) {
    if (!apoyo::HayEspacioDeMontaje())
        GTEST_SKIP() << "no mount namespace for a small file system";
    const std::string c = Nueva("863");
    ASSERT_EQ(Modelo("set " + c + " P1-10=ANTES").estado, 0);
    const std::string disco = tmp / "disco", guion = tmp / "lleno.sh";
    fs::create_directory(disco);
    const std::string m = "'" + Programa() + "' --db '" + disco + "/modelo.db' ";
    apoyo::Escribir(guion, "set -u\n"
                           "mount -t tmpfs -o size=1m tmpfs '" +
                               disco +
                               "' || exit 99\n"
                               "cp '" +
                               db + "' '" + disco + "/modelo.db'\n" + m + "barcode " + c + " -o '" +
                               disco +
                               "/c.png' || exit 98\n"
                               "cp '" +
                               disco + "/c.png' '" + tmp / "antes.png" +
                               "'\n"
                               "dd if=/dev/zero of='" +
                               disco + "/relleno' bs=4k 2>/dev/null\n" + m + "show " + c + " >'" +
                               tmp / "show" + "' 2>&1; echo show $?\n" + m + "set " + c +
                               " P1-10=DESPUES >'" + tmp / "set" + "' 2>&1; echo set $?\n" + m +
                               "barcode " + c + " -o '" + disco + "/c.png' >'" + tmp / "barcode" +
                               "' 2>&1; echo barcode $?\n"
                               "cmp -s '" +
                               disco + "/c.png' '" + tmp / "antes.png" +
                               "' && echo png igual\n"
                               "rm '" +
                               disco + "/relleno'\n" + m + "show " + c + " >'" + tmp / "despues" +
                               "' 2>&1\n"
                               "ls -A '" +
                               disco + "' >'" + tmp / "ls" + "'\n");
    const auto s = apoyo::Ejecutar("unshare -rm sh '" + guion + "'");
    ASSERT_EQ(s.out, "show 0\nset 2\nbarcode 2\npng igual\n") << s.err;
    EXPECT_TRUE(Contiene(apoyo::Leer(tmp / "show"), "P1-10\tANTES\n"));
    EXPECT_TRUE(
        Contiene(apoyo::Leer(tmp / "set"), "no queda espacio en el disco de la base de datos"))
        << apoyo::Leer(tmp / "set");
    EXPECT_TRUE(Contiene(apoyo::Leer(tmp / "barcode"),
                         "no queda espacio en el disco; el fichero que había sigue como estaba"))
        << apoyo::Leer(tmp / "barcode");
    EXPECT_TRUE(Contiene(apoyo::Leer(tmp / "despues"), "P1-10\tANTES\n"));
    EXPECT_FALSE(Contiene(apoyo::Leer(tmp / "ls"), ".tmp")) << apoyo::Leer(tmp / "ls");
}

TEST_F(Cli, AFileThatCannotTakeTheImageKeepsItsOwnAndTheExitSaysSo) {
    const std::string c = Nueva("863");
    auto s = Modelo("barcode " + c + " -o /dev/full");
    EXPECT_EQ(s.estado, 2);
    EXPECT_TRUE(Contiene(s.err, "no queda espacio en el disco")) << s.err;
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

// A damaged index can hide a row without any error: "there is none" must not be said then.
TEST_F(Cli, ADamagedDatabaseIsCalledDamagedNotAMissingDeclaration) {
    const std::string c = Nueva("863");
    const int pagina = std::stoi(Sql(db, "SELECT rootpage FROM sqlite_master WHERE name = "
                                         "'sqlite_autoindex_DECLARACIONES_1'"));
    const int tamano = std::stoi(Sql(db, "PRAGMA page_size"));
    std::string bytes = apoyo::Leer(db);
    const size_t inicio = size_t(pagina - 1) * size_t(tamano);
    const size_t donde = bytes.find(c, inicio);
    ASSERT_LT(donde, inicio + size_t(tamano));
    bytes[donde + c.size() - 1] = '9'; // the index now names another declaration
    apoyo::Escribir(db, bytes);

    for (const std::string& args : std::vector<std::string>{"show " + c, "set " + c + " P1-10=X"}) {
        const auto s = Modelo(args);
        EXPECT_EQ(s.estado, 2) << args;
        EXPECT_TRUE(Contiene(s.err, "está dañada")) << s.err;
        EXPECT_FALSE(Contiene(s.err, "No existe")) << s.err;
    }
}
