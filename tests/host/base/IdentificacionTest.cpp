#include "Modelo/base/Funciones.h"
#include "Modelo/document/GuiaDoc.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {
bool Valido(const char* nif, bool soloFisicas = false) {
    return DocumentoIdentificacionValido(CString(nif, int(std::strlen(nif))), soloFisicas);
}
} // namespace

TEST(Identificacion, DniAndNieCheckLetters) {
    EXPECT_TRUE(Valido("12345678Z"));
    EXPECT_FALSE(Valido("12345678A"));
    EXPECT_TRUE(Valido("00000000T"));
    EXPECT_TRUE(Valido("X1234567L"));
    EXPECT_FALSE(Valido("X1234567A"));
    EXPECT_TRUE(Valido("Y1234567X"));
    EXPECT_TRUE(Valido("Z1234567R"));
    EXPECT_FALSE(Valido("12345678z")); // upper case, as the boxes hold them
}

TEST(Identificacion, KLMNumbers) {
    EXPECT_TRUE(Valido("K1234567L"));
    EXPECT_TRUE(Valido("L1234567L"));
    EXPECT_TRUE(Valido("M1234567L"));
    EXPECT_FALSE(Valido("M1234567Z"));
}

TEST(Identificacion, CifControlDigitOrLetterAsTheEntityRequires) {
    EXPECT_TRUE(Valido("B12345674"));  // B: digit
    EXPECT_FALSE(Valido("B1234567D")); // B never takes the letter
    EXPECT_FALSE(Valido("B12345670"));
    EXPECT_TRUE(Valido("P1234567D")); // P: letter
    EXPECT_FALSE(Valido("P12345674"));
    EXPECT_TRUE(Valido("G12345674")); // G: either
    EXPECT_TRUE(Valido("G1234567D"));
    EXPECT_TRUE(Valido("A58818501"));
    EXPECT_FALSE(Valido("I12345674")); // not an entity letter
    EXPECT_FALSE(Valido("B12345674", true));
}

TEST(Identificacion, ShapeAndStrayBytes) {
    for (const char* nif : {"", "12345678", "123456789Z", " 12345678Z", "12345678Z ", "1234567-Z",
                            "\xD1"
                            "1234567L",
                            "B1234567\xC3"})
        EXPECT_FALSE(Valido(nif)) << nif;
    EXPECT_FALSE(DocumentoIdentificacionValido(CString("\0"
                                                       "1234567D",
                                                       9),
                                               false));
}

TEST(ChequeosHost, DatesReceiptsAndNumbers) {
    EXPECT_TRUE(CGuiaDoc::ValidarFechaString("29", "2", "2024"));
    EXPECT_FALSE(CGuiaDoc::ValidarFechaString("29", "02", "2023"));
    EXPECT_FALSE(CGuiaDoc::ValidarFechaString("01", "01", "24"));
    EXPECT_FALSE(CGuiaDoc::ValidarFechaString("01", "01", ""));
    EXPECT_TRUE(CGuiaDoc::ValidarNumJustificante("863", "8630000000001"));
    EXPECT_FALSE(CGuiaDoc::ValidarNumJustificante("863", "8660000000001"));
    EXPECT_FALSE(CGuiaDoc::ValidarNumJustificante("863", "863000000001"));
    EXPECT_FALSE(CGuiaDoc::ValidarNumJustificante("863", "8630000000000"));
    EXPECT_TRUE(CGuiaDoc::EsNumero("000000001234567"));
    EXPECT_FALSE(CGuiaDoc::EsNumero(""));
    EXPECT_FALSE(CGuiaDoc::EsNumero(" 1"));
    EXPECT_FALSE(CGuiaDoc::EsNumero("1,5"));
}
