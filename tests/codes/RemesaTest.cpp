// The form's revision of the remittance records, on a real database, for the form the test is
// compiled for.
#include "Formulario.h"
#include "codes/DeclaracionConTablas.h"
#include "core/Casillas.h"
#include "core/ModDoc.h"
#include "support/BaseTemporal.h"

#include <gtest/gtest.h>
#include <map>

namespace {

class Remesa : public DeclaracionConTablas {
protected:
    // The records the host prepares, revised by the form, by key.
    std::map<CString, CString> Revisados() {
        CListaRegRemesa r;
        EXPECT_TRUE(doc.PrepararRegRemesa("", "", "", r));
        EXPECT_TRUE(doc.RevisarRegRemesa("", "", "", r));
        std::map<CString, CString> valores;
        for (const stRegRemesa& x : r)
            valores[x.Clave] = x.Valor;
        return valores;
    }
};

} // namespace

TEST_F(Remesa, ARowWithNoDocumentsBlanksItsCountAndAmountOnly) {
    P1(60, "3");
    P1(64, "100,00");
    P1(61, "0");
    P1(65, "0,00");
    P1(69, "0,00");
    P1(72, "0,00");
    auto v = Revisados();
    EXPECT_EQ(v["60"], "3");
    EXPECT_EQ(v["64"], "100,00");
    EXPECT_EQ(v["61"], "");
    EXPECT_EQ(v["65"], "");
    EXPECT_EQ(v["69"], "0,00");
    EXPECT_EQ(v["72"], "0,00");
    EXPECT_EQ(v.count("61"), 1u) << "a blanked record stays in the list";
}

TEST_F(Remesa, OnlyTheExactZeroTextsAreBlanked) {
    P1(60, "00");
    P1(61, " 0");
    P1(62, "0");
    P1(64, "0");
    P1(65, "0,000");
    P1(66, "0,00");
    P1(67, "0.00");
    auto v = Revisados();
    EXPECT_EQ(v["60"], "00");
    EXPECT_EQ(v["61"], " 0");
    EXPECT_EQ(v["62"], "");
    EXPECT_EQ(v["64"], "0");
    EXPECT_EQ(v["65"], "0,000");
    EXPECT_EQ(v["66"], "");
    EXPECT_EQ(v["67"], "0.00");
}

TEST_F(Remesa, TheBoxDecidesAndTheRecordKeepsEverythingElse) {
    P1(61, "0");
    P1(62, "4");
    P1(63, "0");
    P1(67, "0,00");
    CListaRegRemesa r;
    r.Add(stRegRemesa("61", "P", "7", "antes", true, 5, 9, "F"));
    r.Add(stRegRemesa("62", "P", "0", "antes", true, 5, 9, "F"));
    r.Add(stRegRemesa("0063X", "P", "1", "antes", true, 5, 9, "F"));
    r.Add(stRegRemesa("67", "P", "1,00", "antes", true, 5, 9, "F"));
    r.Add(stRegRemesa("680", "P", "0,00", "antes", true, 5, 9, "F"));
    ASSERT_TRUE(doc.RevisarRegRemesa("x", "y", "z", r));
    ASSERT_EQ(r.GetSize(), 5);
    const char* valores[] = {"", "0", "", "", "0,00"};
    const char* claves[] = {"61", "62", "0063X", "67", "680"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(r[i].Clave, claves[i]);
        EXPECT_EQ(r[i].Valor, valores[i]) << claves[i];
        EXPECT_EQ(r[i].Pagina, "P");
        EXPECT_EQ(r[i].DescripcionValor, "antes");
        EXPECT_TRUE(r[i].Modificado);
        EXPECT_EQ(r[i].Posicion, 5);
        EXPECT_EQ(r[i].Longitud, 9);
        EXPECT_EQ(r[i].Formato, "F");
    }
}

TEST_F(Remesa, KeysReadingAsZeroAreDescribedThroughTheTableOfBoxZero) {
    CListaRegRemesa r;
    for (const char* clave : {"0", "00", "ABC", "", "-60", "0X"})
        r.Add(stRegRemesa(clave, "1", "000", "antes"));
    r.Add(stRegRemesa("0", "1", "999", "antes")); // not in the table
    r.Add(stRegRemesa("60", "1", "000", "antes"));
    ASSERT_TRUE(doc.RevisarRegRemesa("", "", "", r));
    ASSERT_EQ(r.GetSize(), 8);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(r[i].DescripcionValor, "Autoliquidación ordinaria") << r[i].Clave.c_str();
        EXPECT_EQ(r[i].Valor, "000");
    }
    EXPECT_EQ(r[6].DescripcionValor, "");
    EXPECT_EQ(r[7].DescripcionValor, "antes");
    EXPECT_EQ(r[7].Valor, "000");

    CListaRegRemesa vacia;
    EXPECT_TRUE(doc.RevisarRegRemesa("", "", "", vacia));
    EXPECT_TRUE(vacia.IsEmpty());
}

TEST_F(Remesa, ASelfAssessmentWithFindingsIsNotGenerated) {
    CListaErrores errores;
    CString texto = "viejo";
    CStringArray lineas;
    lineas.Add("viejo");
    EXPECT_FALSE(doc.GenerarAutoliquidacion(errores, texto, lineas));
    EXPECT_FALSE(errores.IsEmpty()); // an empty declaration lacks its mandatory data
    EXPECT_EQ(texto, "");
    EXPECT_TRUE(lineas.IsEmpty());
}
