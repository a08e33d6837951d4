// Parties, the defaults of a new declaration and the replication of page 1, on a real
// database, for the form the test is compiled for.
#include "Modelo/parties/Intervinientes.h"
#include "Formulario.h"
#include "core/Casillas.h"
#include "core/ModDoc.h"
#include "support/BaseTemporal.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

class Partes : public ::testing::Test {
protected:
    BaseTemporal base;
    MOD_DOC doc;

    void SetUp() override {
        base.db.Ejecutar("DELETE FROM PAINTERVIN");
        doc.SetCodDeclar("8630000000007");
        doc.CrearEstructPaginas();
        Reloj::Fijar([] { return COleDateTime(2024, 3, 5, 9, 30, 0); });
    }
    void Parte(int orden, ValorSql declar, ValorSql papel, const char* nif, const char* nombre,
               const char* tel = "") {
        base.db.Ejecutar("INSERT INTO PAINTERVIN (NUMORDEN, CDDECLAR, CDROL, DENIF, DENOMBRE, "
                         "CDPROVIN, CDMUNICI, CDTIPVIA, DENOMVIA, NUMVIA, CODPOSTAL, TELEFONO) "
                         "VALUES (?, ?, ?, ?, ?, '28', '079', 'CL', 'MAYOR', '1', '28013', ?)",
                         {orden, declar, papel, nif, nombre, tel});
    }
    void Presentador(const char* nif, const char* nombre) {
        AfxFijarAjuste("presentador_nif", nif);
        AfxFijarAjuste("presentador_nombre", nombre);
    }
    CString P1(int c) { return doc.GetCasilla(c, 0); }
    CString Vinculos() {
        CString r;
        base.db.Consultar("SELECT DENIF || '/' || TELEFONO FROM PAINTERVIN WHERE CDDECLAR = "
                          "'8630000000007' AND CDROL = 'Presentador' ORDER BY NUMORDEN",
                          {}, [&](const FilaSql& f) {
                              if (!r.IsEmpty())
                                  r += ",";
                              r += f.Texto(0);
                          });
        return r;
    }
};

} // namespace

TEST_F(Partes, NewBlankDeclarationGetsItsDefaultsAndNoPresenterLookup) {
    Parte(1, {}, {}, "12345678Z", "GARCIA|LOPEZ|MARIA");
    Presentador("12345678Z", "GARCIA|LOPEZ|MARIA");
    ASSERT_TRUE(doc.NuevosDatos("", "", "", "IGNORADO"));
    EXPECT_EQ(P1(0), "000");
    EXPECT_EQ(P1(1), "");
    EXPECT_EQ(P1(2), "");
    EXPECT_EQ(P1(147), "VELDAR a");
    EXPECT_EQ(P1(121), "T");
    EXPECT_EQ(P1(143), "05");
    EXPECT_EQ(P1(144), "MARZO");
    EXPECT_EQ(P1(145), "2024");
    EXPECT_EQ(P1(140), "");
    EXPECT_EQ(Vinculos(), "");
}

TEST_F(Partes, DefaultPresenterWithTheLowestOrderNumberIsBound) {
    Parte(9, {}, {}, "12345678Z", "GARCIA|LOPEZ|MARIA", "999");
    Parte(4, {}, {}, "12345678Z", "GARCIA|LOPEZ|MARIA", "444");
    Parte(2, "OTRA", "Presentador", "12345678Z", "GARCIA|LOPEZ|MARIA", "222"); // bound: skipped
    Presentador("12345678Z", "GARCIA|LOPEZ|MARIA");
    ASSERT_TRUE(doc.NuevosDatos("x", "03", "2024", ""));
    EXPECT_EQ(P1(1), "03");
    EXPECT_EQ(P1(140), "12345678Z");
    EXPECT_EQ(P1(141), "GARCIA LOPEZ MARIA");
    EXPECT_EQ(P1(142), "444");
    EXPECT_EQ(Vinculos(), "12345678Z/444");
}

TEST_F(Partes, MissingOrUnsetPresenterLeavesThePresenterBoxesAlone) {
    doc.SetCasilla(140, 0, "PREVIO");
    doc.SetCasilla(142, 0, "600");
    ASSERT_TRUE(doc.NuevosDatos("x", "", "", "")); // no default presenter set
    EXPECT_EQ(P1(140), "PREVIO");
    Presentador("B12345674", "NO ESTA, S.L.");
    ASSERT_TRUE(doc.NuevosDatos("x", "", "", ""));
    EXPECT_EQ(P1(140), "PREVIO");
    EXPECT_EQ(P1(142), "600");
    EXPECT_EQ(Vinculos(), "");
    EXPECT_TRUE(base.ui.mensajes.empty());
}

TEST_F(Partes, ApostrophesInTheLookupFindExactlyThatParty) {
    Parte(1, {}, {}, "B12345674", "O'BRIEN, S.L.", "111");
    Parte(2, {}, {}, "B12345674", "OTRA, S.L.", "222");
    Presentador("B12345674", "O'BRIEN, S.L.");
    ASSERT_TRUE(doc.NuevosDatos("x", "", "", ""));
    EXPECT_EQ(P1(141), "O'BRIEN, S.L.");
    EXPECT_EQ(P1(142), "111");
    EXPECT_TRUE(base.ui.mensajes.empty());

    // A crafted name does not widen the lookup to other parties.
    doc.VaciarCasillas();
    base.db.Ejecutar("DELETE FROM PAINTERVIN WHERE CDDECLAR IS NOT NULL");
    Presentador("B12345674", "X' OR DENOMBRE = 'OTRA, S.L.");
    ASSERT_TRUE(doc.NuevosDatos("x", "", "", ""));
    EXPECT_EQ(P1(141), "");
    EXPECT_EQ(Vinculos(), "");

    // The declarant code of the refill is quoted the same way.
    doc.SetCodDeclar("X' OR '1' = '1");
    Parte(3, "8630000000007", "Sujeto Pasivo", "A00000000", "AJENA, S.A.");
    doc.InicializarDatosIntervinientes();
    EXPECT_EQ(P1(10), "");
    EXPECT_TRUE(base.ui.mensajes.empty());
}

TEST_F(Partes, RefillEmptiesWhatTheStoreDoesNotHave) {
    Parte(1, "8630000000007", "Sujeto Pasivo", "12345678Z", "GARCIA|LOPEZ|MARIA", "915");
    for (int c : {30, 31, 43, 140, 141, 142})
        doc.SetCasilla(c, 0, "VIEJO");
    doc.InicializarDatosIntervinientes();
    EXPECT_EQ(P1(10), "12345678Z");
    EXPECT_EQ(P1(11), "GARCIA");
    EXPECT_EQ(P1(12), "LOPEZ");
    EXPECT_EQ(P1(13), "MARIA");
    EXPECT_EQ(P1(14), "CL");
    EXPECT_EQ(P1(20), "915");
    EXPECT_EQ(P1(21), "28");
    EXPECT_EQ(P1(22), "079");
    EXPECT_EQ(P1(23), "28013");
    for (int c = 30; c <= 43; ++c)
        EXPECT_EQ(P1(c), "") << c;
    for (int c = 140; c <= 142; ++c)
        EXPECT_EQ(P1(c), "") << c;
}

TEST_F(Partes, AnEntityKeepsItsWholeNameInTheFirstBox) {
    Parte(1, "8630000000007", "Representante", "B12345674", "RAZON|CON|BARRAS, S.L.");
    Parte(2, "8630000000007", "Presentador", "X1234567L", "SMITH||JOHN", "600");
    doc.InicializarDatosIntervinientes();
    EXPECT_EQ(P1(31), "RAZON|CON|BARRAS, S.L.");
    EXPECT_EQ(P1(32), "");
    EXPECT_EQ(P1(33), "");
    EXPECT_EQ(P1(141), "SMITH JOHN");
    EXPECT_EQ(P1(142), "600");
}

TEST_F(Partes, ADatabaseErrorMidwayIsReportedAndKeepsWhatWasFilled) {
    Parte(1, "8630000000007", "Sujeto Pasivo", "B12345674", "PRIMERA, S.L.");
    Parte(2, "8630000000007", "Representante", "B76543214", "SEGUNDA, S.L.");
    Parte(3, "8630000000007", "Presentador", "12345678Z", "GARCIA|LOPEZ|MARIA");
    // The query of the representative is interrupted by the engine as it starts.
    sqlite3_trace_v2(
        base.db.Manejador(), SQLITE_TRACE_STMT,
        [](unsigned, void* db, void* stmt, void*) -> int {
            const char* sql = sqlite3_sql(static_cast<sqlite3_stmt*>(stmt));
            if (sql && std::strstr(sql, "Representante"))
                sqlite3_interrupt(static_cast<sqlite3*>(db));
            return 0;
        },
        base.db.Manejador());
    doc.SetCasilla(140, 0, "VIEJO");
    doc.InicializarDatosIntervinientes();
    EXPECT_EQ(P1(10), "B12345674");
    EXPECT_EQ(P1(30), "");
    EXPECT_EQ(P1(140), "");
    ASSERT_EQ(base.ui.mensajes.size(), 1u);
    EXPECT_NE(base.ui.mensajes[0].texto.Find("base de datos"), -1);
    EXPECT_EQ(base.ui.mensajes[0].tipo & 0xF0u, unsigned(MB_ICONERROR));
}

TEST_F(Partes, ReplicationChangesExactlyTheTwentyFourCopiedBoxes) {
    const std::vector<int> copiadas = {1,  2,  10, 11, 12, 13,  14,  15,  16,  17,  18,  19,
                                       20, 21, 22, 23, 72, 140, 141, 142, 147, 143, 144, 145};
    for (int c = 0; c <= 200; ++c) {
        doc.SetCasilla(c, 0, CString::Formatted("uno-%d", c));
        doc.SetCasilla(c, 1, CString::Formatted("dos-%d", c));
    }
    doc.SetCasilla(13, 0, ""); // an empty box is copied as empty
    ASSERT_TRUE(doc.ReplicarDatos());
    for (int c = 0; c <= 200; ++c) {
        const bool copiada = std::find(copiadas.begin(), copiadas.end(), c) != copiadas.end();
        EXPECT_EQ(doc.GetCasilla(c, 1),
                  copiada ? doc.GetCasilla(c, 0) : CString::Formatted("dos-%d", c))
            << c;
        EXPECT_EQ(doc.GetCasilla(c, 0), c == 13 ? CString() : CString::Formatted("uno-%d", c));
    }
}
