// The PDF417 payload of page 1, field by field, on a real database, for the form the test is
// compiled for.
#include "Formulario.h"
#include "Modelo/codes/Codigos.h"
#include "codes/DeclaracionConTablas.h"
#include "core/Casillas.h"
#include "core/ModDoc.h"
#include "support/BaseTemporal.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const std::string F = CGuiaDoc::kSeparadorCampo;

// The fields of a run of the payload that holds only value fields.
std::vector<std::string> Campos(const std::string& tramo) {
    std::vector<std::string> campos;
    size_t i = 0;
    for (size_t j; (j = tramo.find(F, i)) != std::string::npos; i = j + F.size())
        campos.push_back(tramo.substr(i, j - i));
    EXPECT_EQ(i, tramo.size()) << "every field ends with its separator";
    return campos;
}

class Pdf417 : public DeclaracionConTablas {
protected:
    std::string Codigo(int pagina = pagina::P1) { return doc.GenerarCodigoPDF417(pagina).str(); }
    std::string Prefijo() { return doc.GenerarCodigoPDF417().str(); }

    // The value fields between the prefix and the table: start mark, box 0 and its text, the
    // period, the party groups and the earlier declaration.
    std::vector<std::string> Cabecera() {
        const std::string c = Codigo();
        const size_t tabla = c.find(CGuiaDoc::kAperturaTabla);
        return Campos(c.substr(Prefijo().size(), tabla - Prefijo().size()));
    }
    // What follows the table: the total, the presenter group and the signature.
    std::vector<std::string> Cola() {
        const std::string c = Codigo();
        const size_t tabla = c.rfind(CGuiaDoc::kCierreTabla) + 1;
        EXPECT_EQ(c.substr(c.size() - 1), CGuiaDoc::kFinCodigo);
        return Campos(c.substr(tabla, c.size() - tabla - 1));
    }
    void Sujeto() {
        P1(10, "B12345674");
        P1(11, "DISTRIBUCIONES EJEMPLO, S.L.");
        P1(14, "CL");
        P1(15, "MAYOR");
        P1(16, "12");
        P1(18, "3");
        P1(19, "B");
        P1(20, "915550101");
        P1(21, "28");
        P1(22, "079");
        P1(23, "28013");
    }
};

} // namespace

TEST_F(Pdf417, AnyPageButPageOneIsThePrefixAlone) {
    Sujeto();
    doc.SetCasilla(10, pagina::P2, "B12345674");
    doc.SetCasilla(72, pagina::P2, "3,00");
    EXPECT_EQ(Codigo(pagina::P2), Prefijo());
    EXPECT_EQ(Codigo(7), Prefijo());
    EXPECT_EQ(Codigo(-1), Prefijo());
    EXPECT_EQ(Prefijo(),
              "<" + std::string(formulario::kCodigo) + "A1:" + formulario::kCodigo + "0000000001>");
}

TEST_F(Pdf417, APageEmptyButBoxZeroIsTheBareLayout) {
    const std::string esperado =
        Prefijo() + "0" + F + "000" + F + "Autoliquidación ordinaria" + F + F + F + // period
        F + F + F + F + F + F + F +                                                 // 50..55
        CGuiaDoc::kAperturaTabla + CGuiaDoc::kSeparadorFila + CGuiaDoc::kSeparadorFila +
        CGuiaDoc::kSeparadorFila + CGuiaDoc::kCierreTabla + F + // table, then box 72
        F + F + F + F + CGuiaDoc::kFinCodigo;                   // signature
    EXPECT_EQ(Codigo(), esperado);
    EXPECT_EQ(Codigo(), Prefijo() + "0|000|Autoliquidación ordinaria||||||||||[][][][]|||||~");
}

TEST_F(Pdf417, ATaxpayerBringsTheRepresentativesEmptyGroupAlong) {
    Sujeto();
    P1(1, "03");
    P1(2, "2024");
    P1(121, "T");
    const std::vector<std::string> c = Cabecera();
    ASSERT_EQ(c.size(), 5u + 34u + 7u);
    const std::vector<std::string> sujeto(c.begin() + 5, c.begin() + 22);
    EXPECT_EQ(sujeto,
              (std::vector<std::string>{"B12345674", "DISTRIBUCIONES EJEMPLO, S.L.", "", "", "CL",
                                        "Calle", "MAYOR", "12", "", "3", "B", "915550101", "28",
                                        "Madrid", "079", "Madrid", "28013"}));
    for (size_t i = 22; i < 39; ++i)
        EXPECT_EQ(c[i], "") << "representative field " << i - 21;
    EXPECT_EQ(c[3], "03");
    EXPECT_EQ(c[4], "2024");
    EXPECT_EQ(c[44], "T") << "box 121 between boxes 54 and 55";
}

TEST_F(Pdf417, WithoutTheTaxpayersNifNeitherPartyIsCarried) {
    Sujeto();
    P1(10, "");
    P1(30, "12345678Z");
    P1(31, "GARCIA");
    EXPECT_EQ(Cabecera().size(), 5u + 7u);
}

TEST_F(Pdf417, EmptyRowsKeepOnlyTheirSeparators) {
    P1(60, "5");
    P1(64, "1.000,00");
    P1(68, "3,00");
    P1(65, "9.999,00"); // a row without its number of documents is not carried
    const std::string tabla = std::string(CGuiaDoc::kAperturaTabla) + "5" + F + "1.000,00" + F +
                              "3,00" + CGuiaDoc::kSeparadorFila + CGuiaDoc::kSeparadorFila +
                              CGuiaDoc::kSeparadorFila + CGuiaDoc::kCierreTabla;
    EXPECT_NE(Codigo().find(tabla), std::string::npos) << Codigo();

    P1(63, "0");
    P1(71, "0,00");
    EXPECT_NE(Codigo().find(std::string("3,00") + CGuiaDoc::kSeparadorFila +
                            CGuiaDoc::kSeparadorFila + CGuiaDoc::kSeparadorFila + "0" + F + F +
                            "0,00" + CGuiaDoc::kCierreTabla),
              std::string::npos)
        << Codigo();
}

TEST_F(Pdf417, AnEntityPresenterHasItsBoxNameAndTwoEmptyFields) {
    P1(72, "3,00");
    P1(140, "B12345674");
    P1(141, "DISTRIBUCIONES EJEMPLO, S.L.");
    P1(147, "VELDAR a");
    EXPECT_EQ(Cola(),
              (std::vector<std::string>{"3,00",      "B12345674", "DISTRIBUCIONES EJEMPLO, S.L.",
                                        "",          "",          "CL",
                                        "Calle",     "MAYOR",     "12",
                                        "",          "3",         "B",
                                        "915550101", "28",        "Madrid",
                                        "079",       "Madrid",    "28013",
                                        "VELDAR a",  "",          "",
                                        ""}));
}

TEST_F(Pdf417, ANaturalPersonPresenterHasTheStoredNameInThreeParts) {
    P1(140, "12345678Z");
    P1(141, "GARCIA LOPEZ MARIA");
    const std::vector<std::string> c = Cola();
    ASSERT_EQ(c.size(), 1u + 17u + 4u);
    EXPECT_EQ(std::vector<std::string>(c.begin() + 1, c.begin() + 18),
              (std::vector<std::string>{"12345678Z", "GARCIA", "LOPEZ", "MARIA", "AV", "Avenida",
                                        "DEL PUERTO", "7", "", "1", "A", "963330202", "46",
                                        "Valencia/València", "250", "València", "46021"}));
    // The municipality table is left with the last group's province.
    EXPECT_EQ(TraducirCodigo("250", doc.CodMunicipios, doc.TxtMunicipios), "València");
}

TEST_F(Pdf417, APresenterTheStoreLacksHasEmptyFieldsNotAStaleRecord) {
    P1(140, "12345678Z");
    P1(141, "GARCIA LOPEZ MARIA");
    ASSERT_NE(Codigo().find("DEL PUERTO"), std::string::npos);
    for (const char* nombre : {"GARCIA LOPEZ MARTA", ""}) {
        P1(141, nombre);
        const std::vector<std::string> c = Cola();
        ASSERT_EQ(c.size(), 1u + 17u + 4u) << nombre;
        EXPECT_EQ(c[1], "12345678Z");
        for (size_t i = 2; i < 18; ++i)
            EXPECT_EQ(c[i], "") << nombre << ", presenter field " << i;
    }
    P1(140, "00000000T");
    P1(141, "GARCIA LOPEZ MARIA");
    EXPECT_EQ(Codigo().find("963330202"), std::string::npos);
}

TEST_F(Pdf417, AMunicipalityIsReadOnlyAgainstItsOwnProvince) {
    Sujeto();
    P1(41, "99"); // unknown province, same municipality code as the taxpayer's
    P1(42, "079");
    const std::vector<std::string> c = Cabecera();
    ASSERT_EQ(c.size(), 46u);
    EXPECT_EQ(c[5 + 15], "Madrid");
    EXPECT_EQ(c[22 + 13], "");
    EXPECT_EQ(c[22 + 14], "079");
    EXPECT_EQ(c[22 + 15], "");
}

TEST_F(Pdf417, ADelimiterInAValueCannotShiftTheFields) {
    Sujeto();
    P1(140, "B12345674");
    P1(141, "DISTRIBUCIONES EJEMPLO, S.L.");
    P1(60, "12");
    P1(64, "100,00");
    P1(68, "3,00");
    P1(15, "MAYOR");
    const std::string limpio = Codigo();

    P1(60, "1][2");
    P1(64, "100,00|");
    P1(68, "3,00]");
    P1(15, "MA|YOR\n");
    P1(147, "~<>\t");
    EXPECT_EQ(Codigo(), limpio);
}

TEST_F(Pdf417, AValueIsCarriedAsStoredNeitherTrimmedNorPadded) {
    Sujeto();
    P1(11, "  MU\xD1OZ Y CÍA  ");
    P1(16, "007");
    const std::vector<std::string> c = Cabecera();
    EXPECT_EQ(c[6], "  MU\xD1OZ Y CÍA  ");
    EXPECT_EQ(c[12], "007");
}
