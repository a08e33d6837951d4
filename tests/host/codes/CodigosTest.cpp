// The host's side of the printed codes: code tables, the payload's filter and prefix, the
// rendered images read back by an independent decoder, the party lookup, the remittance
// records and the self-assessment.
#include "Modelo/codes/Codigos.h"
#include "Modelo/base/Recursos.h"
#include "Modelo/document/GuiaDoc.h"
#include "Modelo/parties/Intervinientes.h"
#include "Modelo/windows/GuiaView.h"
#include "support/BaseTemporal.h"
#include "support/Lector.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

namespace {

std::string Leer(const stImagenCodigo& imagen, ZXing::BarcodeFormat formato) {
    return apoyo::LeerCodigo(imagen.Pixeles.data(), imagen.Ancho, imagen.Alto, imagen.Ancho,
                             formato);
}

CStringArray Lista(std::initializer_list<const char*> textos) {
    CStringArray a;
    for (const char* t : textos)
        a.Add(t);
    return a;
}

class Tablas : public ::testing::Test {
protected:
    BaseTemporal base;
    CGuiaDoc doc;
    void SetUp() override {
        doc.SetCodModelo("863A1");
        ASSERT_TRUE(doc.CargarTablasAuxiliares());
    }
};

} // namespace

TEST(TraducirCodigo, OnlyAnExactCodeHasAText) {
    const CStringArray codigos = Lista({"08", "28", ""}), textos = Lista({"Barcelona", "Madrid"});
    EXPECT_EQ(TraducirCodigo("28", codigos, textos), "Madrid");
    EXPECT_EQ(TraducirCodigo("8", codigos, textos), "");
    EXPECT_EQ(TraducirCodigo("28 ", codigos, textos), "");
    EXPECT_EQ(TraducirCodigo("99", codigos, textos), "");
    // A code whose text is missing from a shorter list reads as untranslated, not out of range.
    EXPECT_EQ(TraducirCodigo("", codigos, textos), "");
}

TEST_F(Tablas, TheSeededTablesAreLoadedForTheModel) {
    ASSERT_EQ(doc.CodProvincias.GetSize(), 52);
    EXPECT_EQ(doc.CodProvincias[0], "01");
    EXPECT_EQ(doc.CodProvincias[51], "52");
    EXPECT_EQ(TraducirCodigo("46", doc.CodProvincias, doc.TxtProvincias), "Valencia/València");
    EXPECT_EQ(TraducirCodigo("CL", doc.CodTiposVia, doc.TxtTiposVia), "Calle");
    EXPECT_EQ(TraducirCodigo("000", doc.CodCasilla0, doc.TxtCasilla0), "Autoliquidación ordinaria");
    EXPECT_TRUE(doc.CodMunicipios.IsEmpty()); // one province at a time, on demand

    CGuiaDoc otro;
    otro.SetCodModelo("999A1");
    ASSERT_TRUE(otro.CargarTablasAuxiliares());
    EXPECT_TRUE(otro.CodCasilla0.IsEmpty());
    EXPECT_EQ(otro.CodProvincias.GetSize(), 52);
}

TEST_F(Tablas, MunicipalitiesOfAProvinceByCodeOrByName) {
    EXPECT_TRUE(doc.IniMunicipios("28", false));
    EXPECT_EQ(TraducirCodigo("079", doc.CodMunicipios, doc.TxtMunicipios), "Madrid");
    EXPECT_TRUE(doc.IniMunicipios("Valencia/València", false));
    EXPECT_EQ(TraducirCodigo("250", doc.CodMunicipios, doc.TxtMunicipios), "València");
    EXPECT_EQ(TraducirCodigo("079", doc.CodMunicipios, doc.TxtMunicipios), "");

    // An unknown or empty province never leaves the previous province's municipalities.
    for (const char* provincia : {"99", "", "madrid"}) {
        ASSERT_TRUE(doc.IniMunicipios("28", false));
        EXPECT_FALSE(doc.IniMunicipios(provincia, false)) << provincia;
        EXPECT_TRUE(doc.CodMunicipios.IsEmpty()) << provincia;
    }

    EXPECT_TRUE(doc.IniMunicipios("", true));
    EXPECT_EQ(TraducirCodigo("28079", doc.CodMunicipios, doc.TxtMunicipios), "Madrid");
    EXPECT_EQ(TraducirCodigo("46250", doc.CodMunicipios, doc.TxtMunicipios), "València");
}

TEST(FiltroCodigo, RemovesDelimitersAndControlsAndNothingElse) {
    EXPECT_EQ(CGuiaDoc::EliminarCaracteresEspeciales("  A|B[C]D<E>F~G\tH\nI\rJ\x01K\x7FL  "),
              "  ABCDEFGHIJKL  ");
    // Accented letters pass as they are, in Latin-1 or in UTF-8.
    EXPECT_EQ(CGuiaDoc::EliminarCaracteresEspeciales("MU\xD1OZ ÑANDÚ"), "MU\xD1OZ ÑANDÚ");
    EXPECT_EQ(CGuiaDoc::EliminarCaracteresEspeciales("C/ Mayor, 3-2º (esc. dcha.) & Cía."),
              "C/ Mayor, 3-2º (esc. dcha.) & Cía.");
    // No delimiter survives in a value, whatever it is made of.
    for (const char* d : {CGuiaDoc::kSeparadorCampo, CGuiaDoc::kAperturaTabla,
                          CGuiaDoc::kSeparadorFila, CGuiaDoc::kCierreTabla, CGuiaDoc::kFinCodigo})
        EXPECT_EQ(CGuiaDoc::EliminarCaracteresEspeciales(CString("x") + d + "y"), "xy") << d;
}

TEST(FiltroCodigo, PrefixAndDelimitersAreTheDocumentedOnes) {
    CGuiaDoc doc;
    doc.SetCodModelo("863A1");
    doc.SetCodDeclar("8630000000001");
    EXPECT_EQ(doc.GenerarCodigoPDF417(), "<863A1:8630000000001>");
    EXPECT_EQ(doc.GenerarCodigoPDF417(0), doc.GenerarCodigoPDF417());
    EXPECT_EQ(CString(CGuiaDoc::kSeparadorCampo) + CGuiaDoc::kAperturaTabla +
                  CGuiaDoc::kSeparadorFila + CGuiaDoc::kCierreTabla + CGuiaDoc::kFinCodigo,
              "|[][]~");
}

std::string Texto(const stImagenCodigo& imagen, ZXing::BarcodeFormat formato) {
    return apoyo::LeerTextoCodigo(imagen.Pixeles.data(), imagen.Ancho, imagen.Alto, imagen.Ancho,
                                  formato);
}

// A reader shows the accented letters as they are, whether the box came as UTF-8 or as
// Latin-1; the symbol carries ISO-8859-1, its default character set.
TEST(ImagenCodigo, PDF417CarriesLatin1WhateverTheBoxEncoding) {
    std::string latin1;
    for (int b = 1; b < 256; ++b)
        latin1 += char(b);
    const std::string utf8 = texto::AUtf8(CString(latin1)).str();
    const std::string mezcla = "MUÑOZ|CÁCERES|JOSÉ MU\xD1OZ";
    for (const std::string& datos : {latin1, utf8, mezcla}) {
        stImagenCodigo imagen;
        CString error;
        ASSERT_TRUE(GenerarImagenPDF417(CString(datos), imagen, error)) << error.c_str();
        EXPECT_EQ(size_t(imagen.Ancho) * size_t(imagen.Alto), imagen.Pixeles.size());
        CString esperado;
        ASSERT_TRUE(texto::ALatin1(CString(datos), esperado));
        EXPECT_EQ(Leer(imagen, ZXing::BarcodeFormat::PDF417), esperado.str());
        EXPECT_EQ(Texto(imagen, ZXing::BarcodeFormat::PDF417), texto::AUtf8(CString(datos)).str());
    }
    // Nothing Latin-1 cannot hold is dropped: such a text goes whole as UTF-8 behind its ECI.
    stImagenCodigo imagen;
    CString error;
    ASSERT_TRUE(GenerarImagenPDF417("TOTAL 3,00 € ÑANDÚ", imagen, error)) << error.c_str();
    EXPECT_EQ(Texto(imagen, ZXing::BarcodeFormat::PDF417), "TOTAL 3,00 € ÑANDÚ");
}

// The module's side in field heights of a code drawn as large as fits a field of that shape.
double Lado(const stImagenCodigo& img, double proporcion) {
    return std::min(proporcion * kPixelesModulo / img.Ancho, double(kPixelesModulo) / img.Alto);
}

TEST(ImagenCodigo, PDF417TakesTheShapeOfItsField) {
    std::string datos;
    for (int i = 0; datos.size() < 720; ++i)
        datos += "MU\xD1OZ C\xC1"
                 "CERES, CALLE MAYOR " +
                 std::to_string(i) + "|";
    const double ancho = 341.0 / 80.0; // the shape of the printed field
    stImagenCodigo doce, apaisado, cuadrado;
    CString error;
    ASSERT_TRUE(GenerarImagenPDF417(CString(datos), doce, error)) << error.c_str();
    ASSERT_TRUE(GenerarImagenPDF417(CString(datos), apaisado, error, ancho)) << error.c_str();
    ASSERT_TRUE(GenerarImagenPDF417(CString(datos), cuadrado, error, 1.0)) << error.c_str();
    for (const stImagenCodigo* img : {&doce, &apaisado, &cuadrado}) {
        EXPECT_EQ(Leer(*img, ZXing::BarcodeFormat::PDF417), datos);
        // Rows three modules high between quiet zones of two.
        EXPECT_EQ((img->Alto / kPixelesModulo - 4) % 3, 0);
    }
    // Twelve columns would draw the long payload tall and leave most of a wide field empty.
    EXPECT_GT(Lado(apaisado, ancho), 1.3 * Lado(doce, ancho));
    EXPECT_GE(Lado(apaisado, ancho), Lado(cuadrado, ancho));
    EXPECT_GE(Lado(cuadrado, 1.0), Lado(apaisado, 1.0));
    EXPECT_LT(cuadrado.Ancho, apaisado.Ancho);

    // Whatever the field, a text with a character Latin-1 lacks keeps its ECI, and one too long
    // for any symbol is still refused with the reason.
    ASSERT_TRUE(GenerarImagenPDF417("TOTAL 3,00 € ÑANDÚ", cuadrado, error, ancho));
    EXPECT_EQ(Texto(cuadrado, ZXing::BarcodeFormat::PDF417), "TOTAL 3,00 € ÑANDÚ");
    EXPECT_FALSE(GenerarImagenPDF417(CString(std::string(4000, '\xE9')), cuadrado, error, ancho));
    EXPECT_NE(error.Find("no caben"), -1) << error.c_str();
}

TEST(Texto, EachCharacterIsUtf8WhereItCanBeAndLatin1Otherwise) {
    EXPECT_EQ(texto::AUtf8("MU\xD1OZ y MUÑOZ"), "MUÑOZ y MUÑOZ");
    // A broken or overlong sequence is Latin-1 bytes, never half a character.
    EXPECT_EQ(texto::AUtf8("\xC3"), "Ã");
    EXPECT_EQ(texto::AUtf8("\xC3("), "Ã(");
    EXPECT_EQ(texto::AUtf8("\xC0\xAF"), "À¯");
    EXPECT_EQ(texto::AUtf8("\xED\xA0\x80"), "í\xC2\xA0\xC2\x80"); // a surrogate
    CString l;
    EXPECT_TRUE(texto::ALatin1("Ñ\xD1"
                               "a",
                               l));
    EXPECT_EQ(l, "\xD1\xD1"
                 "a");
    EXPECT_FALSE(texto::ALatin1("3 €", l));
    EXPECT_TRUE(l.IsEmpty());
    size_t largo = 0;
    EXPECT_EQ(texto::LeerCaracter("€", 0, largo), U'€');
    EXPECT_EQ(largo, 3u);
}

TEST(ImagenCodigo, Code128CarriesTheDeclarationCode) {
    stImagenCodigo imagen;
    CString error;
    ASSERT_TRUE(GenerarImagenCode128("8710000000042", imagen, error)) << error.c_str();
    EXPECT_EQ(Leer(imagen, ZXing::BarcodeFormat::Code128), "8710000000042");
    // Quiet zones: the edges are white, so the printed code can be placed as it is.
    for (int y = 0; y < imagen.Alto; ++y) {
        EXPECT_FALSE(imagen.Negro(0, y));
        EXPECT_FALSE(imagen.Negro(imagen.Ancho - 1, y));
    }
}

TEST(ImagenCodigo, NothingOrTooMuchIsRefusedWithAReason) {
    stImagenCodigo imagen;
    CString error;
    EXPECT_FALSE(GenerarImagenPDF417("", imagen, error));
    EXPECT_FALSE(error.IsEmpty());
    ASSERT_TRUE(GenerarImagenPDF417("x", imagen, error));
    EXPECT_FALSE(GenerarImagenPDF417(CString(std::string(4000, '\xE9')), imagen, error));
    EXPECT_TRUE(imagen.IsEmpty());
    EXPECT_NE(error.Find("no caben"), -1) << error.c_str();
    EXPECT_FALSE(GenerarImagenCode128("", imagen, error));
}

TEST(VistaCodigos, PictureControlsHoldTheRenderedCodes) {
    BaseTemporal base;
    CGuiaDoc doc;
    doc.SetCodModelo("863A1");
    doc.SetCodDeclar("8630000000009");
    const PlantillaDialogo plantilla{
        90001,
        530,
        688,
        "MS Sans Serif",
        8,
        {{26102, ClaseControl::Picture, 66, 158, 235, 49, 0, true, -1},
         {26149, ClaseControl::Picture, 311, 178, 185, 24, 0, true, -1}}};
    CModuloRecursos modulo{"prueba", {}, {{90001, &plantilla}}, {}};
    AfxAnadirModuloRecursos(&modulo);
    CGuiaView vista(90001);
    ASSERT_TRUE(vista.Crear());
    EXPECT_FALSE(vista.CargarCodigoPuntos(26102, 0)); // no document yet
    EXPECT_EQ(vista.ImagenControl(26102), nullptr);

    vista.SetDocument(&doc);
    ASSERT_TRUE(vista.CargarCodigoPuntos(26102, 0));
    ASSERT_TRUE(vista.CargarCodigoBarras(26149));
    EXPECT_EQ(Leer(*vista.ImagenControl(26102), ZXing::BarcodeFormat::PDF417),
              "<863A1:8630000000009>");
    EXPECT_EQ(Leer(*vista.ImagenControl(26149), ZXing::BarcodeFormat::Code128), "8630000000009");

    // A document without a code shows no stale bar code.
    doc.SetCodDeclar("");
    EXPECT_FALSE(vista.CargarCodigoBarras(26149));
    EXPECT_EQ(vista.ImagenControl(26149), nullptr);
    AfxQuitarModuloRecursos(&modulo);
}

namespace {

class Localizador : public ::testing::Test {
protected:
    BaseTemporal base;
    void SetUp() override { base.db.Ejecutar("DELETE FROM PAINTERVIN"); }
    void Parte(int orden, ValorSql declar, const char* nif, const char* nombre, const char* tel) {
        base.db.Ejecutar("INSERT INTO PAINTERVIN (NUMORDEN, CDDECLAR, CDROL, DENIF, DENOMBRE, "
                         "TELEFONO) VALUES (?, ?, CASE WHEN CAST(? AS TEXT) IS NULL THEN NULL ELSE "
                         "'Presentador' END, ?, ?, ?)",
                         {orden, declar, declar, nif, nombre, tel});
    }
};

} // namespace

TEST_F(Localizador, TheDeclarationsOwnPartyComesFirstThenTheLowestFreeOne) {
    Parte(7, {}, "12345678Z", "GARCIA|LOPEZ|MARIA", "libre-7");
    Parte(3, {}, "12345678Z", "GARCIA|LOPEZ|MARIA", "libre-3");
    Parte(9, "8630000000001", "12345678Z", "GARCIA|LOPEZ|MARIA", "propia");
    Parte(2, "8630000000002", "12345678Z", "GARCIA|LOPEZ|MARIA", "ajena");

    CMtoIntervDlg propia("863A1", "8630000000001", COleDateTime::GetCurrentTime());
    EXPECT_EQ(propia.LocalizarIntervinienteDecl("12345678Z", "GARCIA LOPEZ MARIA"), "9");
    EXPECT_EQ(propia.Actual().Telefono, "propia");

    CMtoIntervDlg otra("863A1", "8630000000003", COleDateTime::GetCurrentTime());
    EXPECT_EQ(otra.LocalizarIntervinienteDecl("12345678Z", "GARCIA|LOPEZ|MARIA"), "3");
    EXPECT_EQ(otra.Actual().Telefono, "libre-3");
}

TEST_F(Localizador, NoMatchLeavesAnEmptyRecordNeverTheLastOne) {
    Parte(1, {}, "B12345674", "EJEMPLO, S.L.", "915550101");
    CMtoIntervDlg dlg("863A1", "8630000000001", COleDateTime::GetCurrentTime());
    ASSERT_EQ(dlg.LocalizarIntervinienteDecl("B12345674", "EJEMPLO, S.L."), "1");
    EXPECT_EQ(dlg.LocalizarIntervinienteDecl("B12345674", "OTRO NOMBRE, S.L."), "");
    EXPECT_EQ(dlg.Actual().Nif, "");
    EXPECT_EQ(dlg.Actual().Telefono, "");

    // A database error is told to the user and still leaves no party behind.
    ASSERT_EQ(dlg.LocalizarIntervinienteDecl("B12345674", "EJEMPLO, S.L."), "1");
    base.db.Ejecutar("DROP TABLE PAINTERVIN");
    EXPECT_EQ(dlg.LocalizarIntervinienteDecl("B12345674", "EJEMPLO, S.L."), "");
    EXPECT_EQ(dlg.Actual().Telefono, "");
    ASSERT_EQ(base.ui.mensajes.size(), 1u);
    EXPECT_NE(base.ui.mensajes[0].texto.Find("base de datos"), -1);
}

namespace {

// A form whose validation finds what it is told to, and whose revision marks every record.
class DocPrueba : public CGuiaDoc {
public:
    int hallazgos = 0;
    DocPrueba() {
        SetCodModelo("863A1");
        SetCodDeclar("8630000000005");
        CrearPagina(0, stPagina(0, "1", 0, true));
        CrearPagina(1, stPagina(1, "2", 0, false));
    }
    bool Validar(CListaErrores& errores) override {
        for (int i = 0; i < hallazgos; ++i)
            errores.Add(stError(10, 0, "863A100001", "", ""));
        return hallazgos == 0;
    }
    bool RevisarRegRemesa(CString, CString, CString, CListaRegRemesa& registros) override {
        for (stRegRemesa& r : registros)
            r.DescripcionValor = "revisado";
        return true;
    }
};

} // namespace

TEST(Remesa, RecordsOfThePrincipalPageWithBoxZeroFirst) {
    DocPrueba doc;
    doc.SetCasilla(60, 0, "5");
    doc.SetCasilla(10, 0, "B12345674");
    doc.SetCasilla(72, 1, "3,00"); // page 2 is not filed
    CListaRegRemesa r;
    ASSERT_TRUE(doc.PrepararRegRemesa("", "", "", r));
    ASSERT_EQ(r.GetSize(), 3);
    EXPECT_EQ(r[0].Clave, "0"); // box 0 is there even when empty
    EXPECT_EQ(r[0].Valor, "");
    EXPECT_EQ(r[1].Clave, "10");
    EXPECT_EQ(r[2].Clave, "60");
    EXPECT_EQ(r[2].Pagina, "1");
    EXPECT_EQ(r[2].Valor, "5");
    EXPECT_EQ(r[2].Posicion, -1);

    ASSERT_TRUE(doc.PrepararRegRemesa("8630000000005", "2", "", r));
    ASSERT_EQ(r.GetSize(), 2);
    EXPECT_EQ(r[1].Clave, "72");

    // Another declaration's code or a page the form lacks gives no records at all.
    EXPECT_FALSE(doc.PrepararRegRemesa("8630000000006", "", "", r));
    EXPECT_TRUE(r.IsEmpty());
    ASSERT_TRUE(doc.PrepararRegRemesa("", "", "", r));
    EXPECT_FALSE(doc.PrepararRegRemesa("", "3", "", r));
    EXPECT_TRUE(r.IsEmpty());
}

TEST(Remesa, SelfAssessmentIsThePayloadAndTheRevisedRecords) {
    BaseTemporal base;
    DocPrueba doc;
    doc.SetCasilla(0, 0, "000");
    doc.SetCasilla(72, 0, "3,00");
    CListaErrores errores;
    errores.Add(stError(1, 0, "ANTERIOR", "ya estaba", "")); // the caller's, not a finding
    CString texto = "viejo";
    CStringArray lineas;
    ASSERT_TRUE(doc.GenerarAutoliquidacion(errores, texto, lineas));
    EXPECT_EQ(errores.GetSize(), 1);
    EXPECT_EQ(texto, doc.GenerarCodigoPDF417(0));
    ASSERT_EQ(lineas.GetSize(), 2);
    EXPECT_EQ(lineas[0], "0\t000\trevisado");
    EXPECT_EQ(lineas[1], "72\t3,00\trevisado");

    doc.hallazgos = 2;
    EXPECT_FALSE(doc.GenerarAutoliquidacion(errores, texto, lineas));
    EXPECT_EQ(errores.GetSize(), 3);
    EXPECT_EQ(texto, "");
    EXPECT_TRUE(lineas.IsEmpty());
}
