#include "Modelo/store/BaseDatos.h"
#include "Formularios.h"
#include "Modelo/document/GuiaDoc.h"
#include "support/Apoyo.h"
#include "support/Motor.h"
#include "support/SqlDirecto.h"

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <string>
#include <thread>

TEST(BaseDatos, ANewDatabaseIsCreatedWithSchemaAndSeed) {
    apoyo::CarpetaTemporal tmp;
    const CString base = apoyo::BaseNueva(tmp.Ruta()).c_str();
    CBaseDatos db;
    db.Abrir(base);
    EXPECT_EQ(db.EnServidor(), apoyo::EnServidor());
    EXPECT_EQ(db.Valor("SELECT VALOR FROM AJUSTES WHERE CLAVE = 'version_semilla'"), "1");
    db.Ejecutar("UPDATE AJUSTES SET VALOR = 'mio' WHERE CLAVE = 'version_semilla'");
    db.Cerrar();
    db.Abrir(base); // reopening keeps the user's data
    EXPECT_EQ(db.Valor("SELECT VALOR FROM AJUSTES WHERE CLAVE = 'version_semilla'"), "mio");
}

// The rows kept per form are written from the build's list of forms: each form of it gets the
// same rows of every such table, and no other model gets any.
TEST(BaseDatos, ANewDatabaseHoldsTheSameRowsForEveryFormOfTheBuild) {
    apoyo::CarpetaTemporal tmp;
    CBaseDatos db;
    db.Abrir(apoyo::BaseNueva(tmp.Ruta()).c_str());
    const std::set<std::string> esperados(std::begin(formularios::kModelos),
                                          std::end(formularios::kModelos));
    struct Tabla {
        const char* nombre;
        const char* modelo;
        const char* filtro;
    };
    for (const Tabla& t :
         {Tabla{"PATARIFA", "CDMODELO", "1 = 1"}, Tabla{"CODIGOS_CASILLA0", "MODELO", "1 = 1"},
          Tabla{"AYUDAS_CASILLA", "MODELO", "1 = 1"}, Tabla{"AYUDAS_BLOQUE", "MODELO", "1 = 1"},
          // A form's error code is its model code and a serial of five digits; the host's own
          // codes are not kept per form.
          Tabla{"CATALOGO_ERRORES", "substr(CODIGO, 1, length(CODIGO) - 5)",
                "CODIGO NOT LIKE 'MODELO%'"}}) {
        const CString filas = CString("(SELECT ") + t.modelo + " AS m FROM " + t.nombre +
                              " WHERE " + t.filtro + ") AS filas";
        std::set<std::string> modelos;
        db.Consultar("SELECT DISTINCT m FROM " + filas, {},
                     [&](const FilaSql& f) { modelos.insert(f.Texto(0).c_str()); });
        EXPECT_EQ(modelos, esperados) << t.nombre;
        EXPECT_EQ(db.Valor("SELECT count(DISTINCT n) FROM (SELECT count(*) AS n FROM " + filas +
                           " GROUP BY m) AS cuentas"),
                  "1")
            << t.nombre;
    }
}

TEST(BaseDatos, AFileThatIsNotADatabaseIsRefusedAndLeftAsItWas) {
    if (apoyo::EnServidor())
        GTEST_SKIP() << "about a file";
    apoyo::CarpetaTemporal tmp;
    const std::string ruta = tmp / "notas.txt";
    const std::string contenido = "esto no es una base de datos\n" + std::string(5000, 'x');
    apoyo::Escribir(ruta, contenido);
    CBaseDatos db;
    EXPECT_THROW(db.Abrir(ruta), CExcepcionBD);
    EXPECT_FALSE(db.EstaAbierta());
    EXPECT_EQ(apoyo::Leer(ruta), contenido);
}

TEST(BaseDatos, AnotherProgramsDatabaseIsRefusedAndLeftAsItWas) {
    apoyo::CarpetaTemporal tmp;
    const std::string base = apoyo::BaseNueva(tmp.Ruta());
    apoyo::Sql(base, "CREATE TABLE CLIENTES (NOMBRE VARCHAR(40)); "
                     "INSERT INTO CLIENTES VALUES ('suyo')");
    CBaseDatos db;
    try {
        db.Abrir(base.c_str());
        FAIL() << "another program's database was taken";
    } catch (const CExcepcionBD& e) {
        EXPECT_EQ(e.Fallo(), FalloBD::Ajena) << e.what();
    }
    EXPECT_FALSE(db.EstaAbierta());
    EXPECT_EQ(apoyo::Sql(base, "SELECT NOMBRE FROM CLIENTES"), "suyo\n");
    // Nothing of this program's schema was left beside it.
    EXPECT_EQ(apoyo::Sql(base, "SELECT VALOR FROM AJUSTES"), "");
}

TEST(BaseDatos, InnerTransactionFailureUndoesOnlyWhatTheOuterDoesNotKeep) {
    apoyo::CarpetaTemporal tmp;
    CBaseDatos db;
    db.Abrir(apoyo::BaseNueva(tmp.Ruta()).c_str());
    {
        CBaseDatos::Transaccion fuera(db);
        db.Ejecutar("INSERT INTO AJUSTES VALUES ('a', '1')");
        {
            CBaseDatos::Transaccion dentro(db);
            db.Ejecutar("INSERT INTO AJUSTES VALUES ('b', '2')");
        } // not confirmed: 'b' is undone
        fuera.Confirmar();
    }
    EXPECT_EQ(db.Valor("SELECT count(*) FROM AJUSTES WHERE CLAVE IN ('a', 'b')"), "1");
    {
        CBaseDatos::Transaccion t(db);
        db.Ejecutar("INSERT INTO AJUSTES VALUES ('c', '3')");
    }
    EXPECT_EQ(db.Valor("SELECT count(*) FROM AJUSTES WHERE CLAVE = 'c'"), "0");
}

TEST(BaseDatos, ParametersCarryApostrophesAndErrorsNameTheStatement) {
    apoyo::CarpetaTemporal tmp;
    CBaseDatos db;
    db.Abrir(apoyo::BaseNueva(tmp.Ruta()).c_str());
    db.Ejecutar("INSERT INTO AJUSTES VALUES (?, ?)", {"o'brien", "x"});
    EXPECT_EQ(db.Valor("SELECT VALOR FROM AJUSTES WHERE CLAVE = ?", {"o'brien"}), "x");
    try {
        db.EjecutarScript("SELECT 1; SELEC 2;");
        FAIL();
    } catch (const CExcepcionBD& e) {
        EXPECT_NE(e.Sql().Find("SELEC 2"), -1);
    }
    // The same text run again after a failure still works (the cached statement was reset).
    EXPECT_THROW(db.Ejecutar("INSERT INTO AJUSTES VALUES (?, ?)", {"o'brien", "y"}), CExcepcionBD);
    db.Ejecutar("INSERT INTO AJUSTES VALUES (?, ?)", {"nuevo", "y"});
}

TEST(Catalogo, UnknownCodesSaySoInsteadOfStayingBlank) {
    apoyo::CarpetaTemporal tmp;
    CBaseDatos db;
    db.Abrir(apoyo::BaseNueva(tmp.Ruta()).c_str());
    CBaseDatos::FijarActual(&db);
    db.Ejecutar("INSERT INTO CATALOGO_ERRORES VALUES ('X1', 'Fila %1 mal', 'detalle')");
    CListaErrores errores;
    errores.Add(stError(50, 0, "X1", "", ""));
    errores.Add(stError(50, 0, "X2", "", ""));
    errores.Add(stError(50, 0, "X1", "Fila 7 mal", "ya puesto"));
    CGuiaDoc doc;
    doc.ObtenerDetallesListaErrores(errores);
    EXPECT_EQ(errores[0].Descripcion, "Fila %1 mal");
    EXPECT_EQ(errores[0].Detalle, "detalle");
    EXPECT_NE(errores[1].Descripcion.Find("X2"), -1);
    EXPECT_EQ(errores[2].Detalle, "ya puesto");
    CBaseDatos::FijarActual(nullptr);
}

namespace {
CString Stamp() {
    return CString::Formatted("%d", CBaseDatos::VersionEsquema());
}
} // namespace

TEST(BaseDatos, OpeningWritesNothingUnlessTheStampIsOfAnotherVersion) {
    apoyo::CarpetaTemporal tmp;
    const CString base = apoyo::BaseNueva(tmp.Ruta()).c_str();
    const bool servidor = apoyo::EnServidor();
    const CString sello =
        servidor ? "SELECT max(version) FROM modelo_version" : "PRAGMA user_version";
    CBaseDatos db;
    // What an opening that writes changes: the stamp's row on a server; on a file, the count of
    // the connection's changes, which starts at 0.
    auto escrito = [&] {
        return db.Valor(servidor ? "SELECT xmin FROM modelo_version" : "SELECT total_changes()");
    };
    db.Abrir(base);
    EXPECT_EQ(db.Valor(sello), Stamp());
    if (!servidor) {
        EXPECT_EQ(db.Valor("PRAGMA journal_mode"), "wal");
    }
    const CString contar = "SELECT count(*) FROM CATALOGO_ERRORES WHERE CODIGO = '863A100001'";
    db.Ejecutar("DELETE FROM CATALOGO_ERRORES WHERE CODIGO = '863A100001'");
    CString antes = servidor ? escrito() : "0";
    db.Cerrar();

    db.Abrir(base);
    EXPECT_EQ(escrito(), antes);
    EXPECT_EQ(db.Valor(contar), "0"); // the catalogue was not rewritten
    // As an earlier version left it: another stamp (on a file none, and the rollback journal).
    if (servidor)
        db.Ejecutar("UPDATE modelo_version SET version = 1");
    else
        db.EjecutarScript("PRAGMA user_version = 0; PRAGMA journal_mode = DELETE");
    db.Ejecutar("INSERT INTO AJUSTES VALUES ('mio', 'sigue')");
    antes = servidor ? escrito() : "0";
    db.Cerrar();

    db.Abrir(base);
    EXPECT_NE(escrito(), antes);
    EXPECT_EQ(db.Valor(contar), "1");
    EXPECT_EQ(db.Valor(sello), Stamp());
    if (!servidor) {
        EXPECT_EQ(db.Valor("PRAGMA journal_mode"), "wal");
    }
    EXPECT_EQ(db.Valor("SELECT VALOR FROM AJUSTES WHERE CLAVE = 'mio'"), "sigue");
}

// A read-only folder or a full disk cannot hold the shared memory of the write-ahead log; a link
// to nowhere in its place stands for both, and no user's permissions can defeat it.
TEST(BaseDatos, WithoutSharedMemoryTheFileIsReadAloneUnlessTheLogHoldsChanges) {
    if (apoyo::EnServidor())
        GTEST_SKIP() << "about a file";
    apoyo::CarpetaTemporal tmp;
    const std::string ruta = tmp / "m.db";
    {
        CBaseDatos db;
        db.Abrir(ruta);
        db.Ejecutar("INSERT INTO AJUSTES VALUES ('a', '1')");
    }
    std::filesystem::create_symlink(tmp / "falta/shm", ruta + "-shm");
    const std::string antes = apoyo::Leer(ruta);
    {
        CBaseDatos db;
        db.Abrir(ruta);
        EXPECT_TRUE(db.SoloLectura());
        EXPECT_EQ(db.Valor("SELECT VALOR FROM AJUSTES WHERE CLAVE = 'a'"), "1");
        try {
            CBaseDatos::Transaccion t(db);
            db.Ejecutar("INSERT INTO AJUSTES VALUES ('b', '2')");
            t.Confirmar();
            FAIL() << "a change was accepted";
        } catch (const CExcepcionBD& e) {
            EXPECT_EQ(e.Fallo(), FalloBD::SoloLectura) << e.what();
        }
    }
    // Changes the file may lack must not be skipped silently.
    apoyo::Escribir(ruta + "-wal", std::string(4096, 'w'));
    CBaseDatos db;
    EXPECT_THROW(db.Abrir(ruta), CExcepcionBD);
    EXPECT_EQ(apoyo::Leer(ruta), antes);
}

TEST(BaseDatos, AReaderKeepsItsSnapshotWhileAWriterCommits) {
    apoyo::CarpetaTemporal tmp;
    const CString base = apoyo::BaseNueva(tmp.Ruta()).c_str();
    CBaseDatos lector, escritor;
    lector.Abrir(base);
    escritor.Abrir(base);
    CBaseDatos::Transaccion t(lector, CBaseDatos::Transaccion::Lectura);
    const CString antes = lector.Valor("SELECT count(*) FROM AJUSTES");
    const auto inicio = std::chrono::steady_clock::now();
    escritor.Ejecutar("INSERT INTO AJUSTES VALUES ('nuevo', '1')");
    EXPECT_LT(std::chrono::steady_clock::now() - inicio, std::chrono::seconds(1))
        << "the writer waited for the reader";
    EXPECT_EQ(lector.Valor("SELECT count(*) FROM AJUSTES"), antes);
    t.Confirmar();
    EXPECT_NE(lector.Valor("SELECT count(*) FROM AJUSTES"), antes);
}

TEST(BaseDatos, ASecondWriterWaitsForTheFirstInsteadOfFailing) {
    apoyo::CarpetaTemporal tmp;
    const CString base = apoyo::BaseNueva(tmp.Ruta()).c_str();
    CBaseDatos primero, segundo;
    primero.Abrir(base);
    segundo.Abrir(base);
    auto t = std::make_unique<CBaseDatos::Transaccion>(primero);
    primero.Ejecutar("INSERT INTO AJUSTES VALUES ('n', '1')");
    std::string error;
    CString leido;
    std::thread otro([&] {
        try {
            // Reads what it changes inside its own transaction: it must see the first one's.
            CBaseDatos::Transaccion t2(segundo);
            leido = segundo.Valor("SELECT VALOR FROM AJUSTES WHERE CLAVE = 'n'");
            segundo.Ejecutar(
                "UPDATE AJUSTES SET VALOR = CAST(VALOR AS INTEGER) + 1 WHERE CLAVE = 'n'");
            t2.Confirmar();
        } catch (const CExcepcionBD& e) {
            error = e.what();
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    t->Confirmar();
    t.reset();
    otro.join();
    EXPECT_EQ(error, "");
    EXPECT_EQ(leido, "1");
    EXPECT_EQ(primero.Valor("SELECT VALOR FROM AJUSTES WHERE CLAVE = 'n'"), "2");
}

// What the engine alone would call an I/O error, or would blame on a stale reason.
TEST(BaseDatos, AFailureIsNamedByItsSystemReasonOnlyWhenThatIsWhatFailed) {
    const CString ruta = "/datos/m.db";
    struct Caso {
        CExcepcionBD e;
        FalloBD fallo;
        const char* dice;
    };
    const Caso casos[] = {
        // The system's reason behind an I/O error: no space, a read-only medium.
        {CExcepcionBD("disk I/O error", "", 10 | (19 << 8), ENOSPC), FalloBD::DiscoLleno,
         "no queda espacio"},
        {CExcepcionBD("disk I/O error", "", 10, EROFS), FalloBD::SoloLectura, "sólo lectura"},
        {CExcepcionBD("disk I/O error", "", 10, EIO), FalloBD::EntradaSalida,
         "lectura o escritura"},
        {CExcepcionBD("no such table: X", "SELECT * FROM X", 1), FalloBD::Sentencia,
         "no such table"},
        // A busy error after an earlier failure of the disk is still a busy error.
        {CExcepcionBD("database is locked", "", 5, ENOSPC), FalloBD::Ocupada, "ocupada"},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(c.e.Fallo(), c.fallo) << c.e.what();
        const CString linea = DescribirFalloBD(c.e, ruta);
        EXPECT_NE(linea.Find(c.dice), -1) << linea;
        EXPECT_EQ(linea.Find('\n'), -1) << linea;
        if (c.fallo != FalloBD::Sentencia) {
            EXPECT_NE(linea.Find(ruta), -1) << linea;
            EXPECT_NE(linea.Find("no se ha cambiado nada"), -1) << linea;
        }
    }
}
