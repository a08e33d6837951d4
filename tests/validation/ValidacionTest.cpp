// The validation of a declaration on a real database, for the form the test is compiled for.
#include "Formulario.h"
#include "Modelo/document/CodigosHost.h"
#include "support/DocumentoDePrueba.h"

namespace {

class Validacion : public DocumentoDePrueba {
protected:
    // A declaration that passes every rule.
    void Correcta() {
        Poner({{1, "03"},
               {2, "2024"},
               {10, "B12345674"},
               {11, "EMPRESA, S.L."},
               {140, "12345678Z"},
               {141, "GARCIA LOPEZ MARIA"},
               {60, "2"},
               {64, "1.500,00"},
               {68, "15,00"},
               {72, "15,00"},
               {143, "10"},
               {144, "ABRIL"},
               {145, "2024"}});
    }
    CString Codigo(int serie) { return doc.GetCodModelo() + CString::Formatted("%05d", serie); }
    CListaErrores Validar() {
        CListaErrores e;
        EXPECT_TRUE(doc.Validar(e));
        return e;
    }
    // The findings with the form's codes, as "serial@box".
    std::vector<std::string> Propios(const CListaErrores& errores) {
        std::vector<std::string> out;
        for (const stError& e : errores)
            if (e.Codigo.Left(5) == doc.GetCodModelo())
                out.push_back(e.Codigo.Mid(5).str() + "@" + std::to_string(e.Casilla));
        return out;
    }
};

} // namespace

TEST_F(Validacion, ACorrectDeclarationHasNoFindings) {
    Correcta();
    const CListaErrores e = Validar();
    for (const stError& x : e)
        ADD_FAILURE() << x.Codigo << " " << x.Descripcion;
}

TEST_F(Validacion, ABlankPageGivesOnlyTheThreeMandatoryFindings) {
    const CListaErrores e = Validar();
    EXPECT_EQ(Propios(e), (V{"00001@10", "00002@140", "00008@60"}));
    // Every finding comes with the catalogue's texts.
    for (const stError& x : e) {
        EXPECT_FALSE(x.Descripcion.IsEmpty()) << x.Codigo;
        EXPECT_EQ(x.Descripcion.Find("sin descripción"), -1) << x.Codigo;
        EXPECT_EQ(x.Pagina, 0);
    }
}

TEST_F(Validacion, ACountedRowWithoutAmountsGivesTwoFindingsNotFour) {
    Correcta();
    Poner({{61, "0"}}); // a count of "0" is a count
    EXPECT_EQ(Propios(Validar()), (V{"00017@65", "00021@69"}));
}

TEST_F(Validacion, OnlyTheExactTextZeroWithCentsIsZero) {
    Correcta();
    Poner({{62, "1"}, {66, "0"}, {70, "0,0"}, {63, "1"}, {67, "0,00"}, {71, "0,00"}});
    EXPECT_EQ(Propios(Validar()), (V{"00027@67", "00031@71"}));
}

TEST_F(Validacion, EarlierDeclarationChain) {
    Correcta();
    Poner({{50, "S"}});
    EXPECT_EQ(Propios(Validar()), (V{"00010@54", "00015@52"}));
    Poner({{54, "2023"}});
    EXPECT_EQ(Propios(Validar()), (V{"00010@55", "00015@52"}));
    Poner({{55, "000123"}, {52, CString(formulario::kCodigo) + "0000000009"}});
    EXPECT_TRUE(Propios(Validar()).empty());
    // Both boxes ticked behave as one.
    Poner({{51, "S"}, {55, ""}});
    EXPECT_EQ(Propios(Validar()), (V{"00010@55"}));
}

TEST_F(Validacion, YearOfTheEarlierDeclaration) {
    Correcta();
    Poner({{54, "1999"}});
    EXPECT_TRUE(Propios(Validar()).empty());
    Poner({{54, "2025"}});
    EXPECT_EQ(Propios(Validar()), (V{"00014@54"}));
    Poner({{54, "20x4"}});
    EXPECT_EQ(Propios(Validar()), (V{"00009@54"})); // 014 is not tried after 009
    // With no accrual year, form 871 does not compare; form 863 finds any year greater.
    Poner({{54, "2023"}, {2, ""}});
    const V e = Propios(Validar());
    const bool hay014 = std::find(e.begin(), e.end(), "00014@54") != e.end();
    EXPECT_EQ(hay014, !formulario::kAnioAnteriorRequiereDevengo);
}

TEST_F(Validacion, ReceiptNumbersOfTheFormAndItsSiblingAreAccepted) {
    Correcta();
    for (const CString& n : {CString(formulario::kCodigo) + "0000000001",
                             CString(formulario::kOtroFormularioJustificante) + "1234567890"}) {
        Poner({{52, n}});
        EXPECT_TRUE(Propios(Validar()).empty()) << n;
    }
    for (const char* n : {"8660000000001x", "123", "6000000000001", "8630000000000"}) {
        Poner({{52, n}});
        EXPECT_EQ(Propios(Validar()), (V{"00013@52"})) << n;
    }
}

TEST_F(Validacion, PresentationDateAgainstTheAccrualMonth) {
    Correcta();
    Poner({{143, "20"}, {144, "FEBRERO"}, {145, "2024"}}); // signature later than all below
    Poner({{1, "3"}, {2, "2023"}});
    Poner({{53, "28/02/2023"}});
    EXPECT_EQ(Propios(Validar()), (V{"00012@53"}));
    Poner({{53, "01/03/2023"}});
    EXPECT_TRUE(Propios(Validar()).empty());
    Poner({{53, "15/01/2024"}});
    EXPECT_TRUE(Propios(Validar()).empty());
    Poner({{53, "31/12/2022"}, {1, "01"}});
    EXPECT_EQ(Propios(Validar()), (V{"00012@53"}));
}

TEST_F(Validacion, PresentationAfterSignatureIsAlways011) {
    Correcta();
    Poner({{53, "11/04/2024"}}); // one day after the signature of 10 April
    EXPECT_EQ(Propios(Validar()), (V{"00011@53"}));
    Poner({{53, "no es fecha"}});
    const V e = Propios(Validar());
    EXPECT_NE(std::find(e.begin(), e.end(), "00011@53"), e.end());
}

TEST_F(Validacion, SignatureTodayPassesAndTomorrowDoesNot) {
    Correcta();
    Poner({{143, "15"}, {144, "JUNIO"}, {145, "2024"}});
    EXPECT_TRUE(Propios(Validar()).empty());
    Poner({{143, "16"}});
    EXPECT_EQ(Propios(Validar()), (V{"00004@146"}));
}

TEST_F(Validacion, HostChecksOfPeriodAndSignatureOrder) {
    Correcta();
    Poner({{1, "07"}}); // July 2024 is after June 2024
    CListaErrores e = Validar();
    ASSERT_FALSE(e.IsEmpty());
    EXPECT_EQ(e[0].Codigo, codigo_host::DevengoFuturo);
    EXPECT_EQ(e[0].Casilla, 2);
    Poner({{1, "05"}}); // signed in April, before the accrual month of May
    e = Validar();
    ASSERT_EQ(e.GetSize(), 1);
    EXPECT_EQ(e[0].Codigo, codigo_host::FechaAnterior);
    EXPECT_EQ(e[0].Casilla, 146);
}

TEST_F(Validacion, PartiesMustHaveValidNumbersAndNames) {
    Correcta();
    Poner({{10, "B12345670"}, {30, "12345678Z"}, {141, ""}});
    CListaErrores e = Validar();
    std::vector<std::string> codigos;
    for (const stError& x : e)
        codigos.push_back(x.Codigo.str() + "@" + std::to_string(x.Casilla));
    EXPECT_EQ(codigos,
              (std::vector<std::string>{std::string(codigo_host::NifSujeto) + "@10",
                                        std::string(codigo_host::NombreRepresentante) + "@30",
                                        std::string(codigo_host::NombrePresentador) + "@140"}));
}
