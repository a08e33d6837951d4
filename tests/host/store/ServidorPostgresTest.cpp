// What only a server shows: statements that fail inside a transaction, a connection cut in the
// middle of one, another program's schema, and the mark other desks' changes move. These run
// in the server's pass of the tests only.
#include "Modelo/parties/MantenimientoIntervinientes.h"
#include "Modelo/store/BaseDatos.h"
#include "support/Apoyo.h"
#include "support/Motor.h"
#include "support/SqlDirecto.h"

#include <gtest/gtest.h>

namespace {

class EnServidor : public ::testing::Test {
protected:
    void SetUp() override {
        if (!apoyo::EnServidor())
            GTEST_SKIP() << "sólo con un servidor (MODELO_PRUEBA_SERVIDOR)";
        uri = apoyo::BaseNueva(tmp.Ruta());
        db.Abrir(uri);
    }
    CString Contar(const CString& tabla) { return db.Valor("SELECT count(*) FROM " + tabla); }

    apoyo::CarpetaTemporal tmp;
    std::string uri;
    CBaseDatos db;
};

} // namespace

TEST_F(EnServidor, AnEmptySchemaGetsTheProgramsTablesAndAForeignOneIsRefused) {
    EXPECT_TRUE(db.EnServidor());
    EXPECT_NE(Contar("CATALOGO_ERRORES"), "0");
    EXPECT_NE(Contar("PATARIFA"), "0");
    EXPECT_EQ(db.Valor("SELECT max(version) FROM modelo_version"),
              CString::Formatted("%d", CBaseDatos::VersionEsquema()));
    // Opened again, nothing is rewritten: a row of the user's stays as it is.
    db.Ejecutar("UPDATE CATALOGO_ERRORES SET DETALLE = 'mío' WHERE CODIGO = 'MODELO0001'");
    CBaseDatos otra;
    otra.Abrir(CString(uri));
    EXPECT_EQ(otra.Valor("SELECT DETALLE FROM CATALOGO_ERRORES WHERE CODIGO = 'MODELO0001'"),
              "mío");

    const std::string ajena = apoyo::BaseNueva(tmp.Ruta());
    apoyo::Sql(ajena, "CREATE TABLE clientes (id int)");
    CBaseDatos tercera;
    try {
        tercera.Abrir(CString(ajena));
        FAIL() << "la base de otro programa se ha abierto";
    } catch (const CExcepcionBD& e) {
        EXPECT_EQ(e.Fallo(), FalloBD::Ajena);
    }
    EXPECT_EQ(apoyo::Sql(ajena, "SELECT count(*) FROM information_schema.tables WHERE "
                                "table_schema = current_schema()"),
              "1\n");
}

TEST_F(EnServidor, AFailedStatementInsideATransactionUndoesOnlyItself) {
    {
        CBaseDatos::Transaccion t(db);
        db.Ejecutar("INSERT INTO AJUSTES (CLAVE, VALOR) VALUES ('a', '1')");
        EXPECT_THROW(db.Ejecutar("INSERT INTO AJUSTES (CLAVE, VALOR) VALUES ('a', '2')"),
                     CExcepcionBD);
        EXPECT_THROW(db.Ejecutar("SELECT nada FROM ninguna"), CExcepcionBD);
        db.Ejecutar("INSERT INTO AJUSTES (CLAVE, VALOR) VALUES ('b', '3')");
        t.Confirmar();
    }
    EXPECT_EQ(db.Valor("SELECT VALOR FROM AJUSTES WHERE CLAVE = 'a'"), "1");
    EXPECT_EQ(db.Valor("SELECT VALOR FROM AJUSTES WHERE CLAVE = 'b'"), "3");
    // An inner transaction that fails takes back its own work only.
    {
        CBaseDatos::Transaccion t(db);
        db.Ejecutar("UPDATE AJUSTES SET VALOR = 'x' WHERE CLAVE = 'a'");
        {
            CBaseDatos::Transaccion dentro(db);
            db.Ejecutar("UPDATE AJUSTES SET VALOR = 'y' WHERE CLAVE = 'b'");
        }
        t.Confirmar();
    }
    EXPECT_EQ(db.Valor("SELECT VALOR FROM AJUSTES WHERE CLAVE = 'a'"), "x");
    EXPECT_EQ(db.Valor("SELECT VALOR FROM AJUSTES WHERE CLAVE = 'b'"), "3");
}

TEST_F(EnServidor, AConnectionCutInTheMiddleLeavesNothingAndTheNextChangeConnectsAgain) {
    const CString antes = Contar("DECLARACIONES");
    try {
        CBaseDatos::Transaccion t(db);
        db.Ejecutar("INSERT INTO DECLARACIONES (CODIGO, MODELO, CREADA, MODIFICADA) "
                    "VALUES ('8630000000999', '863A1', 'x', 'x')");
        // Another program (an administrator, a restart) ends this connection.
        const std::string pid = db.Valor("SELECT pg_backend_pid()").str();
        apoyo::Sql(uri, "SELECT pg_terminate_backend(" + pid + ")");
        db.Ejecutar("INSERT INTO AJUSTES (CLAVE, VALOR) VALUES ('c', '1')");
        t.Confirmar();
        FAIL() << "la transacción ha seguido sin conexión";
    } catch (const CExcepcionBD& e) {
        EXPECT_EQ(e.Fallo(), FalloBD::ConexionPerdida) << e.what();
        EXPECT_NE(DescribirFalloBD(e, CString(uri)).Find("se ha perdido la conexión"), -1);
    }
    EXPECT_EQ(Contar("DECLARACIONES"), antes);
    EXPECT_EQ(apoyo::Sql(uri, "SELECT count(*) FROM DECLARACIONES WHERE CODIGO = '8630000000999'"),
              "0\n");
}

TEST_F(EnServidor, TheMarkMovesWithAnotherDesksChangeNotWithOurOwn) {
    const CString inicio = db.MarcaCambios();
    db.Ejecutar("INSERT INTO AJUSTES (CLAVE, VALOR) VALUES ('propio', '1')");
    db.Valor("SELECT 1"); // a round trip, so that a notice of our own would have arrived
    EXPECT_EQ(db.MarcaCambios(), inicio);
    CBaseDatos otra;
    otra.Abrir(CString(uri));
    otra.Ejecutar("INSERT INTO AJUSTES (CLAVE, VALOR) VALUES ('ajeno', '1')");
    CString ahora = db.MarcaCambios();
    for (int i = 0; i < 100 && ahora == inicio; ++i) {
        db.Valor("SELECT pg_sleep(0.01)");
        ahora = db.MarcaCambios();
    }
    EXPECT_NE(ahora, inicio);
}

TEST_F(EnServidor, APartyTakesTheNumberAfterTheHighestEvenWhenOneWasLoadedByHand) {
    db.CargarScript("INSERT INTO PAINTERVIN (NUMORDEN, DENIF, DENOMBRE) VALUES (100, "
                    "'B12345674', 'CARGADA A MANO, S.L.')");
    CMantenimientoIntervinientes partes(db);
    stInterviniente p;
    p.Nif = "12345678Z";
    p.Nombre = "GARCIA|LOPEZ|MARIA";
    EXPECT_EQ(partes.Anadir(p), "101");
    EXPECT_EQ(partes.Anadir(p), "102");
    // A loaded script may not end the transaction it runs in, nor reach past the database.
    const CString antes = Contar("PAINTERVIN");
    for (const char* s : {"COMMIT", "  -- x\n  begin", "SET search_path = public", "/* */ COPY x"})
        EXPECT_THROW(db.CargarScript(CString("DELETE FROM PAINTERVIN; ") + s), CExcepcionBD) << s;
    EXPECT_EQ(Contar("PAINTERVIN"), antes);
}

TEST_F(EnServidor, OlderLatin1TextIsKeptAsUtf8AndSqliteFunctionsAnswerAsThere) {
    // A box of an older data file holds Latin-1; the server takes UTF-8 only.
    db.Ejecutar("INSERT INTO AJUSTES (CLAVE, VALOR) VALUES (?, ?)",
                {CString("latin1"), CString("O\xD1"
                                            "A")});
    EXPECT_EQ(db.Valor("SELECT VALOR FROM AJUSTES WHERE CLAVE = 'latin1'"), "OÑA");
    db.CargarScript("INSERT INTO AJUSTES (CLAVE, VALOR) VALUES ('cargado', 'CA\xD1"
                    "ADA')");
    EXPECT_EQ(db.Valor("SELECT VALOR FROM AJUSTES WHERE CLAVE = 'cargado'"), "CAÑADA");
    EXPECT_EQ(db.Valor("SELECT group_concat(CLAVE) FROM (SELECT CLAVE FROM AJUSTES WHERE CLAVE "
                       "IN ('latin1', 'cargado') ORDER BY CLAVE) t"),
              "cargado,latin1");
    EXPECT_EQ(db.Valor("SELECT typeof(RANGOINI) || ' ' || typeof(NULL::text) FROM PATARIFA"),
              "real null");
    EXPECT_EQ(db.Valor("SELECT round(2.675e0, 1) || ' ' || instr('abc', 'c')"), "2.7 3");
}
