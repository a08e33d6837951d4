#include "Modelo/BaseDatos.h"
#include "Modelo/GuiaDoc.h"
#include "support/Apoyo.h"

#include <gtest/gtest.h>

TEST(BaseDatos, ANewFileIsCreatedWithSchemaAndSeed) {
    apoyo::CarpetaTemporal tmp;
    CBaseDatos db;
    db.Abrir(tmp / "m.db");
    EXPECT_EQ(db.Valor("SELECT VALOR FROM AJUSTES WHERE CLAVE = 'version_semilla'"), "1");
    db.Ejecutar("UPDATE AJUSTES SET VALOR = 'mio' WHERE CLAVE = 'version_semilla'");
    db.Cerrar();
    db.Abrir(tmp / "m.db"); // reopening keeps the user's data
    EXPECT_EQ(db.Valor("SELECT VALOR FROM AJUSTES WHERE CLAVE = 'version_semilla'"), "mio");
}

TEST(BaseDatos, AFileThatIsNotADatabaseIsRefusedAndLeftAsItWas) {
    apoyo::CarpetaTemporal tmp;
    const std::string ruta = tmp / "notas.txt";
    const std::string contenido = "esto no es una base de datos\n" + std::string(5000, 'x');
    apoyo::Escribir(ruta, contenido);
    CBaseDatos db;
    EXPECT_THROW(db.Abrir(ruta), CExcepcionBD);
    EXPECT_FALSE(db.EstaAbierta());
    EXPECT_EQ(apoyo::Leer(ruta), contenido);
}

TEST(BaseDatos, InnerTransactionFailureUndoesOnlyWhatTheOuterDoesNotKeep) {
    apoyo::CarpetaTemporal tmp;
    CBaseDatos db;
    db.Abrir(tmp / "m.db");
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
    db.Abrir(tmp / "m.db");
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
    db.Abrir(tmp / "m.db");
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
