// The tariff queries on a real database, for the form the test is compiled for.
#include "Formulario.h"
#include "Modelo/base/Funciones.h"
#include "core/ModDoc.h"
#include "support/BaseTemporal.h"
#include "tariff/EscalaCuotas.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

class Tarifa : public ::testing::Test {
protected:
    BaseTemporal base;
    MOD_DOC doc;
    CString modelo = doc.GetCodModelo();

    void SetUp() override { base.db.Ejecutar("DELETE FROM PATARIFA"); }

    void Tramo(const char* tarifa, double ini, double fin, double pct, double fijo, int orden,
               const char* desde = "2000-01-01", const char* hasta = "2030-12-31",
               CString mod = "") {
        base.db.Ejecutar(
            "INSERT INTO PATARIFA VALUES (?, 'ESCALA', ?, ?, ?, ?, ?, ?, ?, ?)",
            {mod.IsEmpty() ? modelo : mod, tarifa, desde, hasta, ini, fin, pct, fijo, orden});
    }

    // Every amount a cent either side of each bound of every quota bracket, and the bounds, as
    // the in-memory scale and the store answer them; both must agree to the last bit.
    void MismasCuotasQueElAlmacen(const CString& fecha, bool enMemoria,
                                  std::vector<double> importes = {}) {
        CStringArray desde, hasta, pct;
        doc.EjecutaSQL("SELECT RANGOINI, RANGOFIN, 0 FROM PATARIFA WHERE CDTARIFA = 'CUO'", desde,
                       hasta, pct);
        for (int i = 0; i < desde.GetSize(); ++i)
            for (const CString& limite : {desde[i], hasta[i]})
                for (int centimos : {-1, 0, 1})
                    importes.push_back(NumeroC(limite.view()) + centimos * 0.01);
        for (double i : {0.0, 0.01, 9999999999999.99})
            importes.push_back(i);
        const CEscalaCuotas escala(doc, fecha);
        EXPECT_EQ(escala.EnMemoria(), enMemoria);
        for (double importe : importes)
            EXPECT_EQ(escala.Cuota(importe), doc.GetCuota(importe, fecha))
                << "importe " << importe << " el " << fecha.c_str();
    }
};

} // namespace

TEST_F(Tarifa, QuotaIsTheFixedAmountPlusThePercentOfTheExcess) {
    Tramo("CUO", 0, 1000, 0, 2.4, 1);
    Tramo("CUO", 1000.01, 30000, 1, 10, 2);
    EXPECT_DOUBLE_EQ(doc.GetCuota(1500.00, "01/03/2023"), 15.00);
    // The lower bound itself counts as one cent of excess.
    EXPECT_DOUBLE_EQ(doc.GetCuota(1000.01, "01/03/2023"), 10.00);
    // A percentage of 0 gives exactly the fixed amount, wherever the amount lies.
    EXPECT_DOUBLE_EQ(doc.GetCuota(0.01, "01/03/2023"), 2.40);
    EXPECT_DOUBLE_EQ(doc.GetCuota(999.99, "01/03/2023"), 2.40);
}

TEST_F(Tarifa, RoundsHalfAwayFromZeroToCents) {
    Tramo("CUO", 100, 200, 50, 10, 1);
    // 10 + 0.01 * 50 * 0.01 = 10.005
    EXPECT_DOUBLE_EQ(doc.GetCuota(100.00, "15/06/2020"), 10.01);
}

TEST_F(Tarifa, NothingInForceGivesZeroAndNoBrackets) {
    Tramo("CUO", 0, 1000, 0, 2.4, 1, "2020-01-01", "2020-12-31");
    Tramo("TRA", 0, 3000, 0, 0, 1, "2020-01-01", "2020-12-31");
    EXPECT_EQ(doc.GetCuota(10, "31/12/2020"), 2.4); // the last day is inside
    EXPECT_EQ(doc.GetCuota(10, "01/01/2021"), 0);
    EXPECT_EQ(doc.GetCuota(5000, "31/12/2020"), 0); // above every bracket
    CStringArray limites;
    EXPECT_TRUE(doc.GetInformacionTramos("01/01/2021", limites));
    EXPECT_TRUE(limites.IsEmpty());
}

TEST_F(Tarifa, BracketsComeInOrderOfTheirNumber) {
    Tramo("TRA", 30000.01, 1e12, 0, 0, 3);
    Tramo("TRA", 0, 3000, 0, 0, 1);
    Tramo("TRA", 3000.01, 30000, 0, 0, 2);
    CStringArray limites;
    limites.Add("antes");
    doc.GetInformacionTramos("01/03/2023", limites);
    ASSERT_EQ(limites.GetSize(), 4); // appended after what the list held
    EXPECT_EQ(NumeroC(limites[1].view()), 0);
    EXPECT_EQ(NumeroC(limites[2].view()), 3000.01);
    EXPECT_EQ(NumeroC(limites[3].view()), 30000.01);
}

TEST_F(Tarifa, TwoDigitYearsOfTheQueryAreNotReadAsLastCentury) {
    Tramo("CUO", 0, 1000, 0, 7, 1, "2031-01-01", "2040-12-31");
    Tramo("CUO", 0, 1000, 0, 1, 1, "1931-01-01", "1940-12-31");
    EXPECT_EQ(doc.GetCuota(10, "01/03/2035"), 7);
}

TEST_F(Tarifa, EachFormReadsOnlyItsOwnRows) {
    Tramo("CUO", 0, 1000, 0, 5, 1, "2000-01-01", "2030-12-31", "999A1");
    EXPECT_EQ(doc.GetCuota(10, "01/03/2023"), 0);
}

TEST_F(Tarifa, ConceptFilterIsTheGreatestNotAboveTheYear) {
    base.db.Ejecutar("DELETE FROM PACONCOD");
    base.db.EjecutarScript("INSERT INTO PACONCOD VALUES ('TRA', '2000', 'A', 'viejo', 1);"
                           "INSERT INTO PACONCOD VALUES ('TRA', '2024', 'B', 'nuevo', 1);"
                           "INSERT INTO PACONCOD VALUES ('OTRO', '2023', 'C', 'otro', 1);");
    CStringArray textos, codigos;
    doc.InicializarDatosTramos("2023", textos, codigos);
    // Texts first, codes second: the reverse of the host's own order.
    ASSERT_EQ(codigos.GetSize(), 1);
    EXPECT_EQ(codigos[0], "A");
    EXPECT_EQ(textos[0], "viejo");
    doc.InicializarDatosTramos("2024", textos, codigos);
    EXPECT_EQ(codigos.GetSize(), 1);
    EXPECT_EQ(codigos[0], "B");
    doc.InicializarDatosTramos("1999", textos, codigos);
    EXPECT_TRUE(codigos.IsEmpty());
    // A year that is not one cannot change what the query selects.
    doc.InicializarDatosTramos("2023' OR CDCONCEP = 'OTRO", textos, codigos);
    EXPECT_TRUE(codigos.IsEmpty() || codigos[0] != "C");
}

TEST_F(Tarifa, ScaleReadOnceAnswersAsTheStoreOnEveryBracketEdge) {
    // The sample scale as the database loads it from SQL text...
    base.db.EjecutarScript(
        "INSERT INTO PATARIFA SELECT '" + modelo +
        "', 'ESCALA', 'CUO', '2000-01-01', '2030-12-31', ini, fin, pct, fijo, orden FROM "
        "(SELECT 1 AS orden, 0.00 AS ini, 24.04 AS fin, 0 AS pct, 0.18 AS fijo "
        "UNION ALL SELECT 2, 24.05, 48.08, 0, 0.30 UNION ALL SELECT 3, 48.09, 90.15, 0, 0.60 "
        "UNION ALL SELECT 4, 90.16, 180.30, 0, 1.20 UNION ALL SELECT 5, 180.31, 1000.00, 0, 2.40 "
        "UNION ALL SELECT 6, 1000.01, 30000.00, 1, 10.00 "
        "UNION ALL SELECT 7, 30000.01, 999999999999.99, 0.5, 300.00) AS escala");
    MismasCuotasQueElAlmacen("01/03/2024", true, {1500.00, 29999.99, 123456.78});
    // ... and bounds written as a program computes them, with a gap between two brackets, a
    // bracket that ends below its start, and another scale on later days.
    base.db.Ejecutar("DELETE FROM PATARIFA");
    const char* desde = "2000-01-01";
    const char* hasta = "2024-12-31";
    Tramo("CUO", 0, 0.1 + 0.2, 0, 1, 1, desde, hasta);
    Tramo("CUO", 0.31, 3000.0, 1.5, 2, 2, desde, hasta);
    Tramo("CUO", 3500.005, 1e12, 0.25, 3, 3, desde, hasta);
    Tramo("CUO", 5000, 4000, 0, 99, 4, desde, hasta);
    Tramo("CUO", 0, 1e12, 7, 7, 1, "2025-01-01", "2030-12-31");
    MismasCuotasQueElAlmacen("31/12/2024", true, {0.30, 3500.00, 3500.01, 4500.00});
    MismasCuotasQueElAlmacen("01/01/2025", true);
    // No scale on the day: nothing applies.
    MismasCuotasQueElAlmacen("01/01/1990", true, {10.00});
}

TEST_F(Tarifa, ScaleTheStoreMightAnswerOtherwiseIsAskedOfTheStore) {
    // Brackets sharing an amount: which row answers is the store's to say.
    Tramo("CUO", 0, 1000, 0, 1, 1);
    Tramo("CUO", 1000, 2000, 0, 2, 2);
    MismasCuotasQueElAlmacen("01/03/2023", false, {999.99, 1000.00, 1000.01});
    // A bound stored as text compares with an amount by type (a server's number column holds
    // numbers only).
    base.db.Ejecutar("DELETE FROM PATARIFA");
    Tramo("CUO", 0, 1000, 0, 1, 1);
    if (!apoyo::EnServidor()) {
        base.db.Ejecutar("INSERT INTO PATARIFA VALUES (?, 'ESCALA', 'CUO', '2000-01-01', "
                         "'2030-12-31', 1000.01, 'sin tope', 0, 5, 2)",
                         {modelo});
        MismasCuotasQueElAlmacen("01/03/2023", false, {500.00, 5000.00});
    }
    // An amount of a fraction of a cent is asked as the store is asked it, rounded.
    base.db.Ejecutar("DELETE FROM PATARIFA WHERE NUMORDEN = 2");
    const CEscalaCuotas escala(doc, "01/03/2023");
    ASSERT_TRUE(escala.EnMemoria());
    for (double importe : {1000.004, 1000.005, 999.995, -0.001})
        EXPECT_EQ(escala.Cuota(importe), doc.GetCuota(importe, "01/03/2023")) << importe;
}
