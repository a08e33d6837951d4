// Programs killed at random moments of a save and of an import: after every kill the database
// is whole and the declaration is as it was before or as it is after, never a mix.
//
// MODELO_MATANZAS sets the number of kills of each (100 by default) for a longer run.
#include "cli/Cli.h"
#include "support/SqlDirecto.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <sqlite3.h>
#include <thread>

namespace fs = std::filesystem;
using namespace std::chrono;

namespace {

int Matanzas() {
    const char* n = std::getenv("MODELO_MATANZAS");
    return n && std::atoi(n) > 0 ? std::atoi(n) : 100;
}

// The engine's full check, then everything the store keeps of the declaration but the time of
// its last change. Opening the file recovers what a killed writer left in the log.
std::string LeerFichero(const std::string& db, const std::string& codigo, std::string& integridad) {
    sqlite3* c = nullptr;
    std::string todo;
    integridad = "no se abre";
    if (sqlite3_open_v2(db.c_str(), &c, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(c);
        return todo;
    }
    auto Filas = [&](const std::string& sql, std::string& destino) {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(c, sql.c_str(), -1, &s, nullptr);
        sqlite3_bind_text(s, 1, codigo.c_str(), -1, SQLITE_TRANSIENT);
        while (sqlite3_step(s) == SQLITE_ROW)
            for (int i = 0; i < sqlite3_column_count(s); ++i)
                destino += std::string(reinterpret_cast<const char*>(sqlite3_column_text(s, i))) +
                           (i + 1 < sqlite3_column_count(s) ? "\t" : "\n");
        sqlite3_finalize(s);
    };
    integridad.clear();
    Filas("PRAGMA integrity_check", integridad);
    Filas("SELECT ESTADO, MES, ANIO FROM DECLARACIONES WHERE CODIGO = ?1", todo);
    Filas("SELECT PAGINA, CASILLA, VALOR FROM CASILLAS WHERE CODIGO = ?1 ORDER BY 1, 2", todo);
    Filas("SELECT ORDEN, CLAVE, VALOR FROM REGISTROS_ADICIONALES WHERE CODIGO = ?1 ORDER BY 1",
          todo);
    sqlite3_close(c);
    return todo;
}

// On a server the engine keeps itself whole; what is left to check is that no box or record
// outlived its declaration.
std::string LeerServidor(const std::string& db, const std::string& codigo,
                         std::string& integridad) {
    integridad = apoyo::Sql(db, "SELECT count(*) FROM CASILLAS WHERE CODIGO NOT IN (SELECT "
                                "CODIGO FROM DECLARACIONES)") == "0\n" &&
                         apoyo::Sql(db, "SELECT count(*) FROM REGISTROS_ADICIONALES WHERE CODIGO "
                                        "NOT IN (SELECT CODIGO FROM DECLARACIONES)") == "0\n"
                     ? "ok\n"
                     : "orphan rows";
    const std::string donde = " WHERE CODIGO = '" + codigo + "'";
    return apoyo::Sql(db, "SELECT ESTADO, MES, ANIO FROM DECLARACIONES" + donde) +
           apoyo::Sql(db,
                      "SELECT PAGINA, CASILLA, VALOR FROM CASILLAS" + donde + " ORDER BY 1, 2") +
           apoyo::Sql(db, "SELECT ORDEN, CLAVE, VALOR FROM REGISTROS_ADICIONALES" + donde +
                              " ORDER BY 1");
}

std::string Leer(const std::string& db, const std::string& codigo, std::string& integridad) {
    return apoyo::EnServidor() ? LeerServidor(db, codigo, integridad)
                               : LeerFichero(db, codigo, integridad);
}

class Caidas : public Cli {
protected:
    std::string codigo;

    void SetUp() override { codigo = Nueva("863 --month 3 --year 2024"); }

    // Runs `args` on the database as it is now, killing it at random moments around the time a
    // whole run takes. Before each run a file is copied afresh; a server's database, which
    // cannot be copied, is brought back by `reponer`, the command that made it as it is now.
    void Matar(const std::vector<std::string>& args, const std::vector<std::string>& reponer,
               const char* que) {
        const std::string limpia = tmp / "limpia.db";
        const std::string trabajo = apoyo::EnServidor() ? db : tmp / "trabajo.db";
        if (!apoyo::EnServidor())
            fs::copy_file(db, limpia);
        std::vector<std::string> repone = {std::string(MODELO_BIN_DIR) + "/modelo", "--db", db};
        repone.insert(repone.end(), reponer.begin(), reponer.end());
        auto Copia = [&] {
            if (apoyo::EnServidor()) {
                ASSERT_EQ(apoyo::Esperar(apoyo::Lanzar(repone, tmp / "repone")), 0)
                    << apoyo::Leer(tmp / "repone");
                return;
            }
            for (const char* resto : {"-wal", "-shm"})
                fs::remove(trabajo + resto);
            fs::copy_file(limpia, trabajo, fs::copy_options::overwrite_existing);
        };
        std::vector<std::string> argv = {std::string(MODELO_BIN_DIR) + "/modelo", "--db", trabajo};
        argv.insert(argv.end(), args.begin(), args.end());

        std::string integridad;
        Copia();
        const std::string antes = Leer(trabajo, codigo, integridad);
        // The state after, and how long a whole run takes (the middle one of three).
        std::vector<nanoseconds> duraciones;
        std::string despues;
        for (int i = 0; i < 3; ++i) {
            Copia();
            const auto inicio = steady_clock::now();
            ASSERT_EQ(apoyo::Esperar(apoyo::Lanzar(argv, "/dev/null")), 0) << que;
            duraciones.push_back(steady_clock::now() - inicio);
            despues = Leer(trabajo, codigo, integridad);
        }
        ASSERT_NE(antes, despues) << que << " changes nothing to test";
        std::sort(duraciones.begin(), duraciones.end());
        const nanoseconds duracion = duraciones[1];

        // Before the change come the start and the reading of the input, after it the
        // checkpoint of the log and the exit: the moments span all but the very start, and
        // some fall past the end of a run of the usual length.
        const unsigned semilla = apoyo::Semilla();
        SCOPED_TRACE("MODELO_SEMILLA=" + std::to_string(semilla));
        std::mt19937 azar(semilla);
        std::uniform_int_distribution<long long> momento(duracion.count() / 5,
                                                         duracion.count() * 6 / 5);
        int vecesAntes = 0, vecesDespues = 0, conDiario = 0;
        const int matanzas = Matanzas();
        for (int i = 0; i < matanzas; ++i) {
            Copia();
            if (HasFatalFailure())
                return;
            const pid_t pid = apoyo::Lanzar(argv, "/dev/null");
            std::this_thread::sleep_for(nanoseconds(momento(azar)));
            kill(pid, SIGKILL);
            const int estado = apoyo::Esperar(pid);
            std::error_code ec;
            if (!apoyo::EnServidor() && fs::file_size(trabajo + "-wal", ec) > 0 && !ec)
                ++conDiario;
            const std::string ahora = Leer(trabajo, codigo, integridad);
            ASSERT_EQ(integridad, "ok\n") << que << ", kill " << i;
            ASSERT_TRUE(ahora == antes || ahora == despues)
                << que << ", kill " << i << ": a mix of before and after\n"
                << ahora;
            // A run that ended before the kill finished its change.
            if (estado == 0) {
                ASSERT_EQ(ahora, despues) << que << ", kill " << i;
            }
            (ahora == antes ? vecesAntes : vecesDespues)++;
        }
        std::printf("[ caídas ] %s: %d kills (run of %.0f ms): %d before, %d after, %d with the "
                    "log left behind\n",
                    que, matanzas, duration<double, std::milli>(duracion).count(), vecesAntes,
                    vecesDespues, conDiario);
        // Kills fell on both sides of the commit, so the moments did span the change.
        EXPECT_GT(vecesAntes, 0) << que;
        EXPECT_GT(vecesDespues, 0) << que;
    }
};

// A file of 2.6 MB; under the sanitizers, which make a run ten times slower, a quarter of it.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kFilasGrande = 5000;
#else
constexpr int kFilasGrande = 20000;
#endif

std::string Fila(int i) {
    const char* terceros[] = {"12345678Z", "X1234567L", "A58818501", "P1234567D"};
    const int tipo = i % 4 + 1;
    char linea[160];
    std::snprintf(linea, sizeof linea, "8632024%s%s%s%-49s%d%-20s%-20s%015d\n", "03", "B12345674",
                  terceros[i % 4], ("CLIENTE " + std::to_string(i)).c_str(), tipo,
                  tipo == 4 ? "LETRA DE CAMBIO" : "", ("REF" + std::to_string(i)).c_str(),
                  100 + (i * 7919) % 6000000);
    return linea;
}

} // namespace

TEST_F(Caidas, ASaveOfManyBoxesIsAllOrNothing) {
    // Every box a script may write, with long values, so that the save lasts long enough to be
    // killed in the middle; page 2 gets its copies in the same save.
    std::vector<std::string> antes = {"set", codigo};
    std::vector<std::string> args = {"set", codigo};
    for (const auto& entrada : nlohmann::json::parse(Modelo("boxes --json").out)) {
        if (!entrada["escribible"].get<bool>())
            continue;
        const std::string n = entrada["casilla"].get<std::string>();
        antes.push_back(n + "=A" + n.substr(3));
        args.push_back(n + "=" + std::string(8000, 'K') + n.substr(3));
    }
    ASSERT_GT(args.size(), 50u);
    std::string linea;
    for (const std::string& a : antes)
        linea += a + " ";
    ASSERT_EQ(Modelo(linea).estado, 0);
    Matar(args, antes, "save of every box");
}

TEST_F(Caidas, AnImportOfALargeFileIsAllOrNothing) {
    ASSERT_EQ(Modelo("set " + codigo + " P1-10=B12345674").estado, 0);
    std::string pequeno, grande;
    for (int i = 0; i < 3; ++i)
        pequeno += Fila(i);
    for (int i = 0; i < kFilasGrande; ++i)
        grande += Fila(i);
    apoyo::Escribir(tmp / "pequeno.txt", pequeno);
    apoyo::Escribir(tmp / "grande.txt", grande);
    ASSERT_EQ(Modelo("import " + codigo + " '" + tmp / "pequeno.txt" + "'").estado, 0);
    Matar({"import", codigo, tmp / "grande.txt"}, {"import", codigo, tmp / "pequeno.txt"},
          ("import of " + std::to_string(kFilasGrande) + " rows").c_str());
}
