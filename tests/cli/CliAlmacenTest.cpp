// The store under many writers at once, a writer that holds the lock, a read-only copy, a full
// disk, a damaged file and a log taken away: nothing lost, and every failure said as what it is.
#include "Modelo/store/BaseDatos.h"
#include "cli/Cli.h"
#include "support/SqlDirecto.h"

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <sqlite3.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using apoyo::Sql;

std::string Programa() {
    return std::string(MODELO_BIN_DIR) + "/modelo";
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

// Desks creating declarations at once take their codes from one counter; the first ones on a
// new database race to make its schema as well.
TEST_F(Cli, ManyProgramsCreatingAtOnceGetDistinctCodes) {
    constexpr int kProgramas = 28;
    std::set<std::string> codigos;
    for (const char* ronda : {"on a new database", "on a database in use"}) {
        SCOPED_TRACE(ronda);
        std::vector<pid_t> programas;
        for (int i = 0; i < kProgramas; ++i)
            programas.push_back(apoyo::Lanzar({Programa(), "--db", db, "new", "863"},
                                              tmp / ("salida" + std::to_string(i))));
        for (int i = 0; i < kProgramas; ++i) {
            EXPECT_EQ(apoyo::Esperar(programas[size_t(i)]), 0);
            const std::string salida = apoyo::Leer(tmp / ("salida" + std::to_string(i)));
            EXPECT_EQ(salida.size(), 14u) << salida; // the code alone, nothing on stderr
            codigos.insert(salida.substr(0, 13));
        }
    }
    EXPECT_EQ(codigos.size(), size_t(2 * kProgramas));
    const auto lista = Modelo("list --form 863");
    EXPECT_EQ(std::count(lista.out.begin(), lista.out.end(), '\n'), 2 * kProgramas) << lista.out;
    for (const std::string& c : codigos)
        EXPECT_TRUE(Contiene(lista.out, c + "\t")) << c;
}

TEST_F(Cli, AWriterWaitsForTheLockThenGivesUpSayingSoWhileReadersGoOn) {
    const std::string c = Nueva("863");
    ASSERT_EQ(Modelo("set " + c + " P1-10=ANTES").estado, 0);
    auto otro = std::make_unique<CBaseDatos>();
    otro->Abrir(db);
    auto escribe = std::make_unique<CBaseDatos::Transaccion>(*otro);

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

    escribe.reset();
    otro.reset();
    ASSERT_EQ(Modelo("set " + c + " P1-10=DESPUES").estado, 0);
    EXPECT_TRUE(Contiene(Modelo("show " + c).out, "P1-10\tDESPUES\n"));
}

// Root may write any file whatever its mode, so the copy sits on a read-only mount.
TEST_F(Cli, AReadOnlyCopyAnswersEveryReadingCommandAndRefusesChanges) {
    SOLO_EN_FICHERO("a copy of the file on a read-only mount");
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
    SOLO_EN_FICHERO("the file on a full disk");
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
    SOLO_EN_FICHERO("the file's bytes damaged");
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

// What a file dialog did to the window: it opened and closed the database's files, which drops
// every lock this process held on them. The next program to finish then believes it is the
// last user and deletes the log this connection still has open.
TEST_F(Cli, AWriteIntoALogAnotherProgramDeletedIsRefusedAndNothingIsLost) {
    SOLO_EN_FICHERO("the file's write-ahead log deleted");
    const std::string c = Nueva("863");
    CBaseDatos ventana;
    ventana.Abrir(db);
    // Pages of its own in its log, which a late checkpoint would copy over newer ones.
    ventana.Ejecutar("INSERT INTO AJUSTES (CLAVE, VALOR) VALUES ('antes', '1')");
    std::vector<std::string> otras;
    for (bool enTransaccion : {true, false}) {
        ventana.Valor("SELECT count(*) FROM AJUSTES"); // the connection has its log open
        for (const std::string& f : {db, db + "-wal", db + "-shm"})
            close(open(f.c_str(), O_RDONLY | O_CLOEXEC));
        ASSERT_EQ(Modelo("list").estado, 0);
        ASSERT_FALSE(fs::exists(db + "-wal")) << "the locks were kept: the test shows nothing";
        otras.push_back(Nueva("871"));
        try {
            if (enTransaccion) {
                CBaseDatos::Transaccion t(ventana);
                ventana.Ejecutar("UPDATE AJUSTES SET VALOR = '2' WHERE CLAVE = 'antes'");
                t.Confirmar();
            } else {
                ventana.Ejecutar("UPDATE AJUSTES SET VALOR = '2' WHERE CLAVE = 'antes'");
            }
            ADD_FAILURE() << "a write into a deleted log was reported as saved";
        } catch (const CExcepcionBD& e) {
            EXPECT_EQ(e.Fallo(), FalloBD::DiarioPerdido) << e.what();
            const std::string texto = DescribirFalloBD(e, CString(db)).str();
            EXPECT_TRUE(Contiene(texto, "otro programa ha borrado el diario")) << texto;
            EXPECT_TRUE(Contiene(texto, "vuelva a intentarlo")) << texto;
        }
    }
    // A reader on such a connection just moves to the files as they are now.
    ventana.Valor("SELECT count(*) FROM AJUSTES");
    for (const std::string& f : {db, db + "-wal", db + "-shm"})
        close(open(f.c_str(), O_RDONLY | O_CLOEXEC));
    ASSERT_EQ(Modelo("list").estado, 0);
    otras.push_back(Nueva("871"));
    {
        CBaseDatos::Transaccion l(ventana, CBaseDatos::Transaccion::Lectura);
        EXPECT_EQ(ventana.Valor("SELECT count(*) FROM DECLARACIONES"), "4");
        l.Confirmar();
    }
    // The refusal connected again: the retry works on the real files, and others see it.
    CBaseDatos::Transaccion t(ventana);
    ventana.Ejecutar("UPDATE AJUSTES SET VALOR = '3' WHERE CLAVE = 'antes'");
    t.Confirmar();
    const auto lista = Modelo("list");
    for (const std::string& codigo : {c, otras[0], otras[1], otras[2]})
        EXPECT_TRUE(Contiene(lista.out, codigo + "\t")) << lista.out;
    ventana.Cerrar();
    EXPECT_EQ(Sql(db, "PRAGMA integrity_check"), "ok\n");
    EXPECT_EQ(Sql(db, "SELECT VALOR FROM AJUSTES WHERE CLAVE = 'antes'"), "3\n");
    EXPECT_EQ(Sql(db, "SELECT count(*) FROM DECLARACIONES"), "4\n");
}

namespace {

// A person without rights over the files: the tests run as root, who may write any file.
std::string ComoOtraPersona() {
    return geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
}

std::string Listado(const std::string& carpeta) {
    std::string nombres;
    for (const auto& e : fs::directory_iterator(carpeta))
        nombres += e.path().filename().string() + " ";
    return nombres;
}

} // namespace

// Whatever keeps a database from being written, it is read as it is, every reading command
// answers as on the writable file, every change is refused by name, and nothing is left
// beside it that would refuse a later writer.
TEST_F(Cli, ADatabaseThatCannotBeWrittenIsReadAsItIsAndLeavesNothingBehind) {
    SOLO_EN_FICHERO("the file and its folder without write permission");
    const std::string c = Nueva("863 --month 3 --year 2024");
    ASSERT_EQ(Modelo("set " + c + " P1-10=B12345674 P1-60=2 P1-64=10,00").estado, 0);
    const std::string salidas = tmp / "salidas";
    fs::create_directory(salidas);
    fs::permissions(salidas, fs::perms::all);
    const std::vector<std::string> lecturas{"list",
                                            "show " + c,
                                            "show " + c + " --json",
                                            "validate " + c,
                                            "pdf417 " + c,
                                            "remesa " + c,
                                            "view " + c,
                                            "tariff 863 --date 01/03/2024",
                                            "parties list",
                                            "quota 863 1500.00 01/03/2023"};
    std::map<std::string, apoyo::Salida> originales;
    for (const std::string& args : lecturas)
        originales[args] = Modelo(args);

    struct Caso {
        const char* nombre;
        fs::perms fichero, carpeta;
        bool otraVersion;
    };
    const fs::perms lectura =
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                    paso = lectura | fs::perms::owner_exec | fs::perms::group_exec |
                           fs::perms::others_exec;
    for (const Caso& caso :
         {Caso{"fichero", lectura, fs::perms::all, false},
          Caso{"carpeta", fs::perms::all, paso, false}, Caso{"ambos", lectura, paso, false},
          Caso{"otra-version", lectura, fs::perms::all, true},
          Caso{"otra-version-carpeta", fs::perms::all, paso, true}}) {
        SCOPED_TRACE(caso.nombre);
        const std::string carpeta = tmp / caso.nombre, copia = carpeta + "/modelo.db";
        fs::create_directory(carpeta);
        fs::copy_file(db, copia);
        if (caso.otraVersion)
            Sql(copia, "PRAGMA user_version = 1");
        const std::string bytes = apoyo::Leer(copia);
        fs::permissions(copia, caso.fichero);
        fs::permissions(carpeta, caso.carpeta);
        const std::string m = ComoOtraPersona() + "'" + Programa() + "' --db '" + copia + "' ";

        for (const std::string& args : lecturas) {
            const auto s = apoyo::Ejecutar(m + args);
            EXPECT_EQ(s.estado, originales[args].estado) << args << ": " << s.err;
            EXPECT_EQ(s.out, originales[args].out) << args;
        }
        for (const std::string& args :
             {std::string("view ") + c + " -o '" + salidas + "/p.png'",
              std::string("print ") + c + " -o '" + salidas + "/d.pdf'"}) {
            const auto s = apoyo::Ejecutar(m + args);
            EXPECT_EQ(s.estado, 0) << args << ": " << s.err;
        }
        for (const std::string& args : {"set " + c + " P1-10=OTRO", std::string("new 863")}) {
            const auto s = apoyo::Ejecutar(m + args);
            EXPECT_EQ(s.estado, 2) << args;
            EXPECT_TRUE(Contiene(s.err, "es de sólo lectura; no se ha cambiado nada")) << s.err;
        }
        EXPECT_EQ(Listado(carpeta), "modelo.db ");
        EXPECT_EQ(apoyo::Leer(copia), bytes) << "a file that cannot be written was rewritten";

        // Once it may be written, the next writer is not refused by anything left behind.
        fs::permissions(carpeta, fs::perms::all);
        fs::permissions(copia, fs::perms::all);
        const auto s = apoyo::Ejecutar(m + "set " + c + " P1-10=OTRO");
        EXPECT_EQ(s.estado, 0) << s.err;
        EXPECT_TRUE(Contiene(apoyo::Ejecutar(m + "show " + c).out, "P1-10\tOTRO\n"));
    }
}

// Another program that may write has the database open and has committed a change that is
// still only in its log: a person who may only read sees it.
TEST_F(Cli, AReaderWithoutRightsSeesWhatAWriterHasCommittedToItsLog) {
    SOLO_EN_FICHERO("a reader without rights over the file's log");
    const std::string c = Nueva("863");
    ASSERT_EQ(Modelo("set " + c + " P1-10=ANTES").estado, 0);
    const fs::perms paso = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                           fs::perms::others_read | fs::perms::others_exec;
    sqlite3* escritor = nullptr;
    ASSERT_EQ(sqlite3_open(db.c_str(), &escritor), SQLITE_OK);
    sqlite3_exec(escritor, "PRAGMA wal_autocheckpoint = 0", nullptr, nullptr, nullptr);
    ASSERT_EQ(sqlite3_exec(escritor,
                           ("UPDATE CASILLAS SET VALOR = 'DESPUES' WHERE CODIGO = '" + c +
                            "' AND PAGINA = 0 AND CASILLA = 10")
                               .c_str(),
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    fs::permissions(tmp.Ruta(), paso);
    const std::string antes = Listado(tmp.Ruta());
    const auto s =
        apoyo::Ejecutar(ComoOtraPersona() + "'" + Programa() + "' --db '" + db + "' show " + c);
    EXPECT_EQ(s.estado, 0) << s.err;
    EXPECT_TRUE(Contiene(s.out, "P1-10\tDESPUES\n")) << s.out;
    EXPECT_EQ(Listado(tmp.Ruta()), antes);
    sqlite3_close(escritor);
}
