// The tariff queries on a real database, for the form the test is compiled for.
#include "Formulario.h"
#include "Modelo/base/Funciones.h"
#include "core/ModDoc.h"
#include "support/BaseTemporal.h"

#include <gtest/gtest.h>

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
