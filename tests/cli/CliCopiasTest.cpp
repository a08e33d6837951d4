// Backups of the database: written while another program writes, put back all or nothing.
#include "Cli.h"

#include <csignal>
#include <filesystem>
#include <sqlite3.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// One row of a query on a database file, as text; "" when it fails.
std::string Consulta(const std::string& fichero, const std::string& sql) {
    sqlite3* db = nullptr;
    std::string r;
    if (sqlite3_open_v2(fichero.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr) == SQLITE_OK &&
            sqlite3_step(s) == SQLITE_ROW && sqlite3_column_text(s, 0))
            r = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
        sqlite3_finalize(s);
    }
    sqlite3_close(db);
    return r;
}

// Another program writing the database in a loop, each transaction raising two counters
// together and adding a row large enough that a copy takes a while; killed when done.
class Escritor {
public:
    explicit Escritor(const std::string& ruta) {
        pid_ = fork();
        if (pid_ != 0)
            return;
        sqlite3* db = nullptr;
        if (sqlite3_open(ruta.c_str(), &db) != SQLITE_OK)
            _exit(3);
        sqlite3_busy_timeout(db, 5000);
        const std::string relleno(20000, 'x');
        for (long n = 1;; ++n) {
            const std::string sql = "BEGIN IMMEDIATE;"
                                    "INSERT INTO AJUSTES VALUES ('contador_a', " +
                                    std::to_string(n) +
                                    ") "
                                    "ON CONFLICT (CLAVE) DO UPDATE SET VALOR = excluded.VALOR;"
                                    "INSERT INTO AJUSTES VALUES ('relleno_" +
                                    std::to_string(n) + "', '" + relleno +
                                    "');"
                                    "INSERT INTO AJUSTES VALUES ('contador_b', " +
                                    std::to_string(n) +
                                    ") "
                                    "ON CONFLICT (CLAVE) DO UPDATE SET VALOR = excluded.VALOR;"
                                    "COMMIT;";
            if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
                sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        }
    }
    ~Escritor() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }

private:
    pid_t pid_;
};

long Contador(const std::string& db, const char* cual) {
    return std::atol(
        Consulta(db, std::string("SELECT VALOR FROM AJUSTES WHERE CLAVE = '") + cual + "'")
            .c_str());
}

} // namespace

TEST_F(Cli, BackupWhileAnotherProgramWritesIsWholeAndOfOneMoment) {
    SOLO_EN_FICHERO("a backup is a copy of the database file");
    Nueva("863 --month 3 --year 2024");
    const Escritor escritor(db);
    // Under way before the first copy.
    for (int i = 0; i < 500 && Contador(db, "contador_b") < 20; ++i)
        usleep(10000);
    ASSERT_GE(Contador(db, "contador_b"), 20);
    long anterior = 0;
    for (int vez = 0; vez < 4; ++vez) {
        const std::string copia = tmp / ("copia" + std::to_string(vez) + ".db");
        auto s = Modelo("db backup '" + copia + "'");
        ASSERT_EQ(s.estado, 0) << s.err;
        EXPECT_EQ(Consulta(copia, "PRAGMA integrity_check"), "ok");
        // Both counters of one transaction, and every row it added: never half of one.
        const long a = Contador(copia, "contador_a"), b = Contador(copia, "contador_b");
        EXPECT_EQ(a, b);
        EXPECT_EQ(Consulta(copia, "SELECT count(*) FROM AJUSTES WHERE CLAVE LIKE 'relleno_%'"),
                  std::to_string(b));
        EXPECT_GT(b, anterior); // the other program went on writing between copies
        anterior = b;
        // A database of this program, with the declaration in it.
        auto l = apoyo::Ejecutar(std::string(MODELO_BIN_DIR) + "/modelo --db '" + copia + "' list");
        EXPECT_EQ(l.estado, 0) << l.err;
        EXPECT_TRUE(Contiene(l.out, "8630000000001"));
    }
    EXPECT_GT(Contador(db, "contador_b"), anterior);
}

TEST_F(Cli, BackupIsNeverWrittenOverTheDatabaseOrIntoWhatIsNotAFile) {
    SOLO_EN_FICHERO("a backup is a copy of the database file");
    Nueva("863");
    const std::string antes = Estado();
    for (const std::string& destino :
         {db, db + "-wal", db + "-shm", tmp.Ruta().string(), std::string("/dev/null")}) {
        auto s = Modelo("db backup '" + destino + "'");
        EXPECT_EQ(s.estado, 2) << destino;
        EXPECT_FALSE(s.err.empty());
    }
    EXPECT_EQ(Estado(), antes);
    // A failed copy leaves the file that was there, and nothing beside it.
    apoyo::Escribir(tmp / "vieja.db", "copia anterior");
    auto s = Modelo("db backup '" + (tmp / "no-existe") + "/copia.db'");
    EXPECT_EQ(s.estado, 2);
    EXPECT_EQ(apoyo::Leer(tmp / "vieja.db"), "copia anterior");
}

TEST_F(Cli, RestoreBringsBackTheCopyAndOnlyWhenTheAnswerIsYes) {
    SOLO_EN_FICHERO("a backup is a copy of the database file");
    const std::string primera = Nueva("863 --month 3 --year 2024");
    ASSERT_EQ(Modelo("set " + primera + " P1-60=2").estado, 0);
    const std::string copiada = Estado();
    const std::string copia = tmp / "copia.db";
    ASSERT_EQ(Modelo("db backup '" + copia + "'").estado, 0);
    Nueva("871");
    ASSERT_EQ(Modelo("delete --yes " + primera).estado, 0);
    const std::string despues = Estado();

    // No answer is a no.
    auto s = Modelo("db restore '" + copia + "' < /dev/null");
    EXPECT_EQ(s.estado, 2);
    EXPECT_TRUE(Contiene(s.err, "[s/N]"));
    EXPECT_EQ(Estado(), despues);

    // A copy made by an earlier version of the program, and another program that keeps the
    // database open all along.
    const std::string version = Consulta(db, "PRAGMA user_version");
    sqlite3* otro = nullptr;
    ASSERT_EQ(sqlite3_open(copia.c_str(), &otro), SQLITE_OK);
    sqlite3_exec(otro, "PRAGMA user_version = 1", nullptr, nullptr, nullptr);
    sqlite3_close(otro);
    ASSERT_EQ(sqlite3_open(db.c_str(), &otro), SQLITE_OK);
    const auto declaraciones = [&] {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(otro, "SELECT group_concat(CODIGO) FROM DECLARACIONES", -1, &st,
                           nullptr);
        std::string codigos;
        if (sqlite3_step(st) == SQLITE_ROW && sqlite3_column_text(st, 0))
            codigos = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        sqlite3_finalize(st);
        return codigos;
    };
    EXPECT_EQ(declaraciones(), "8710000000001");

    s = apoyo::Ejecutar("echo s | " + std::string(MODELO_BIN_DIR) + "/modelo --db '" + db +
                        "' db restore '" + copia + "'");
    EXPECT_EQ(s.estado, 0) << s.err;
    EXPECT_EQ(Estado(), copiada);
    EXPECT_EQ(Consulta(db, "PRAGMA user_version"), version);
    EXPECT_EQ(declaraciones(), primera);
    sqlite3_close(otro);
    // The store goes on from the copy: the next code follows the copy's own.
    EXPECT_EQ(Nueva("863"), "8630000000002");
}

TEST_F(Cli, RestoreRefusesWhatIsNotAnUndamagedDatabaseOfThisProgram) {
    SOLO_EN_FICHERO("a backup is a copy of the database file");
    Nueva("863 --month 3 --year 2024");
    const std::string antes = Estado();
    const std::string buena = tmp / "buena.db";
    ASSERT_EQ(Modelo("db backup '" + buena + "'").estado, 0);

    apoyo::Escribir(tmp / "texto.db", "CREATE TABLE AJUSTES (CLAVE);\n");
    apoyo::Escribir(tmp / "vacia.db", "");
    sqlite3* otra = nullptr;
    sqlite3_open((tmp / "otra.db").c_str(), &otra);
    sqlite3_exec(otra, "CREATE TABLE CLIENTES (NIF TEXT)", nullptr, nullptr, nullptr);
    sqlite3_close(otra);
    // A copy of this program whose pages were overwritten in the middle.
    std::string danada = apoyo::Leer(buena);
    ASSERT_GT(danada.size(), 40000u);
    for (size_t i = 16384; i < 40000; ++i)
        danada[i] = char(i * 7);
    apoyo::Escribir(tmp / "danada.db", danada);

    for (const char* nombre : {"texto.db", "vacia.db", "otra.db", "danada.db", "no-existe.db"}) {
        const std::string fichero = tmp / nombre;
        const bool existia = std::filesystem::exists(fichero);
        const std::string bytes = existia ? apoyo::Leer(fichero) : "";
        auto s = Modelo("db restore --yes '" + fichero + "'");
        EXPECT_EQ(s.estado, 2) << nombre;
        EXPECT_TRUE(Contiene(s.err, "No se restaura la copia")) << s.err;
        EXPECT_EQ(Estado(), antes) << nombre;
        // The copy itself is only read.
        EXPECT_EQ(std::filesystem::exists(fichero), existia) << nombre;
        if (existia) {
            EXPECT_EQ(apoyo::Leer(fichero), bytes) << nombre;
        }
    }
    EXPECT_EQ(Modelo("db restore --yes '" + db + "'").estado, 2);
    EXPECT_EQ(Estado(), antes);
}
