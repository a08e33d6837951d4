// `modelo print`: the declaration on paper, read back by tools that know nothing of the
// program: poppler's pdftotext finds every filled box on its page, and poppler's pdftoppm at
// 300 dpi with zxing-cpp reads the codes a scanner would read.
#include "Formularios.h"
#include "Modelo/base/CString.h"
#include "cli/Cli.h"
#include "support/Lector.h"

#include <QImage>
#include <QString>
#include <filesystem>

namespace {

// One sheet of the PDF rendered in gray by poppler at `ppp` dots per inch, `recorte` being
// pdftoppm's options for a part of it: what a scanner sees, made by a tool that knows nothing
// of the program.
QImage HojaEnGris(const std::string& pdf, const std::string& base, int hoja, int ppp,
                  const std::string& recorte = "") {
    auto s = apoyo::Ejecutar("pdftoppm -gray -r " + std::to_string(ppp) + " " + recorte +
                             " -singlefile -f " + std::to_string(hoja) + " -l " +
                             std::to_string(hoja) + " '" + pdf + "' '" + base + "'");
    EXPECT_EQ(s.estado, 0) << s.err;
    return QImage(QString::fromStdString(base + ".pgm")).convertToFormat(QImage::Format_Grayscale8);
}

class CliImpresion : public Cli {
protected:
    std::string codigo;
    std::string pdf = tmp / "declaración.pdf";

    void SetUp() override {
        codigo = Nueva("863 --month 3 --year 2024");
        auto s = Modelo("set " + codigo +
                        " P1-10=B12345674 'P1-11=LA CASA DE ÑANDÚ, S.L.' P1-14=CL "
                        "\"$(printf 'P1-15=CAMI\\321O REAL')\" P1-16=7 P1-21=28 P1-22=079 "
                        "P1-23=28013 P1-30=12345678Z P1-31=MUÑOZ P1-32=CÁCERES P1-33=JOSÉ "
                        "P1-50=S P1-52=8630000000009 P1-53=15/04/2024 P1-54=2024 P1-55=000012 "
                        "P1-60=5 P1-64=1.000,00 P1-68=3,00 P1-72=3,00 P1-140=X1234567L "
                        "'P1-141=GESTORIA PEREZ'");
        ASSERT_EQ(s.estado, 0) << s.err;
    }
    std::string Texto(int hoja) {
        auto s = apoyo::Ejecutar("pdftotext -layout -f " + std::to_string(hoja) + " -l " +
                                 std::to_string(hoja) + " '" + pdf + "' -");
        EXPECT_EQ(s.estado, 0) << s.err;
        return s.out;
    }
    int Hojas() {
        auto s = apoyo::Ejecutar("pdftotext '" + pdf + "' - | tr -cd '\\f' | wc -c");
        return std::stoi(s.out);
    }
    // The head of a sheet at 300 dpi, where both codes are, as a scanner sees it.
    QImage Cabecera(int hoja) {
        return HojaEnGris(pdf, tmp / ("hoja" + std::to_string(hoja)), hoja, 300, "-H 1200 -W 2480");
    }
    std::string Leer(const QImage& img, ZXing::BarcodeFormat formato) {
        return apoyo::LeerTextoCodigo(img.constBits(), img.width(), img.height(),
                                      int(img.bytesPerLine()), formato);
    }
    std::string Carga() {
        auto s = Modelo("pdf417 " + codigo);
        EXPECT_EQ(s.estado, 0) << s.err;
        return texto::AUtf8(CString(s.out.substr(0, s.out.size() - 1))).str();
    }
};

} // namespace

TEST_F(CliImpresion, ADraftPrintsEveryCopyWithItsBoxesCodesAndDraftLabel) {
    auto s = Modelo("print " + codigo + " -o '" + pdf + "'");
    ASSERT_EQ(s.estado, 0) << s.err;
    EXPECT_EQ(s.out + s.err, "");
    ASSERT_EQ(Hojas(), 3);

    // Page 1 once for the Administration and once for the taxpayer, then page 2.
    const char* rotulos[] = {"Ejemplar para la Administración", "Ejemplar para el sujeto pasivo",
                             nullptr};
    for (int hoja = 1; hoja <= 3; ++hoja) {
        SCOPED_TRACE(hoja);
        const std::string t = Texto(hoja);
        EXPECT_TRUE(Contiene(t, "BORRADOR - SIN VALIDEZ PARA SU PRESENTACIÓN")) << t;
        EXPECT_FALSE(Contiene(t, codigo)) << "a draft prints no code line";
        if (rotulos[hoja - 1]) {
            EXPECT_TRUE(Contiene(t, rotulos[hoja - 1])) << t;
        }
        for (const char* valor : {"B12345674", "LA CASA DE ÑANDÚ, S.L.", "CAMIÑO REAL", "28013",
                                  "Madrid", "3,00", "X1234567L", "GESTORIA PEREZ", "2024"})
            EXPECT_TRUE(Contiene(t, valor)) << valor << "\n" << t;
        const bool pagina1 = hoja < 3;
        for (const char* valor :
             {"MUÑOZ", "CÁCERES", "JOSÉ", "1.000,00", "8630000000009", "15/04/2024", "000012"})
            EXPECT_EQ(Contiene(t, valor), pagina1) << valor << "\n" << t;

        const QImage cabecera = Cabecera(hoja);
        ASSERT_FALSE(cabecera.isNull());
        EXPECT_EQ(Leer(cabecera, ZXing::BarcodeFormat::Code128), codigo);
        if (pagina1) {
            EXPECT_EQ(Leer(cabecera, ZXing::BarcodeFormat::PDF417), Carga());
        }
    }
    // The draft mark across the body, under the boxes.
    EXPECT_TRUE(Contiene(Texto(1), "O R"));
}

TEST_F(CliImpresion, AFinalDeclarationPrintsItsCodeUnderTheBarCode) {
    ASSERT_EQ(Modelo("finalize " + codigo).estado, 0);
    auto s = Modelo("print " + codigo + " -o '" + pdf + "' --copies 2");
    ASSERT_EQ(s.estado, 0) << s.err;
    ASSERT_EQ(Hojas(), 6);
    for (int hoja : {1, 2, 3, 6}) {
        SCOPED_TRACE(hoja);
        const std::string t = Texto(hoja);
        EXPECT_TRUE(Contiene(t, codigo)) << t;
        EXPECT_FALSE(Contiene(t, "BORRADOR")) << t;
    }
    const QImage cabecera = Cabecera(5);
    EXPECT_EQ(Leer(cabecera, ZXing::BarcodeFormat::PDF417), Carga());
}

TEST_F(CliImpresion, RefusalsLeaveTheFileAsItWas) {
    EXPECT_EQ(Modelo("print 8639999999999 -o '" + pdf + "'").estado, 2);
    EXPECT_FALSE(std::filesystem::exists(pdf));
    auto s = Modelo("print " + codigo);
    EXPECT_EQ(s.estado, 2);
    EXPECT_TRUE(Contiene(s.err, "--printer")) << s.err;
    EXPECT_EQ(Modelo("print " + codigo + " -o '" + pdf + "' --printer X").estado, 2);
    EXPECT_EQ(Modelo("print " + codigo + " -o '" + pdf + "' --copies 0").estado, 2);
    EXPECT_EQ(Modelo("print " + codigo + " -o ''").estado, 2);
    s = Modelo("print " + codigo + " --printer 'NO EXISTE'");
    EXPECT_EQ(s.estado, 2);
    EXPECT_TRUE(Contiene(s.err, "NO EXISTE")) << s.err;
    EXPECT_EQ(Modelo("print " + codigo + " -o '" + (tmp / "no/hay/carpeta.pdf") + "'").estado, 2);
    // A full disk is a failure, never a success.
    s = Modelo("print " + codigo + " -o /dev/full");
    EXPECT_EQ(s.estado, 2);
    EXPECT_FALSE(s.err.empty());

    // An existing file is replaced whole.
    apoyo::Escribir(pdf, "lo que había");
    ASSERT_EQ(Modelo("print " + codigo + " -o '" + pdf + "'").estado, 0);
    EXPECT_EQ(apoyo::Leer(pdf).rfind("%PDF-", 0), 0u);
    EXPECT_EQ(Hojas(), 3);
}

namespace {

// A complete declaration as a tax adviser files it: three parties with full addresses from
// the party store, every row of the table, the complementary block and the signature, names
// with the accented letters Spanish names have.
class CliImpresionCompleta : public Cli {
protected:
    std::string pdf = tmp / "completa.pdf";

    std::string Preparar(const std::string& modelo) {
        const std::string codigo = Nueva(modelo + " --month 11 --year 2024");
        const char* partes[] = {
            "--nif 12345678Z --name 'MUÑOZ DE LA CONCEPCIÓN' --second-surname "
            "'FERNÁNDEZ-CASTAÑEDA' --first-name 'MARÍA DE LOS ÁNGELES' --province 46 "
            "--municipality 250 --street-type AV --street 'DEL MARQUÉS DE SOTELO Y ALCÁNTARA' "
            "--number 124 --staircase IZ --floor 12 --door B --postcode 46021 --phone 963330202",
            "--nif B12345674 --name 'CONSTRUCCIONES Y REFORMAS ÑANDÚ DEL MEDITERRÁNEO, S.L.' "
            "--province 08 --municipality 019 --street-type CL --street "
            "'DE LA MARE DE DÉU DE MONTSERRAT' --number 1234 --staircase A --floor 3 "
            "--door 2 --postcode 08001 --phone 934445566",
            "--nif X1234567L --name 'GESTORÍA ADMINISTRATIVA PÉREZ Y ASOCIADOS ÁLAVA, S.L.P.' "
            "--province 28 --municipality 079 --street-type PZ --street "
            "'DE LA INDEPENDENCIA Y DE LOS MÁRTIRES' --number 77 --staircase DCH --floor 8 "
            "--door C --postcode 28013 --phone 915550101"};
        const char* papeles[] = {"'Sujeto Pasivo'", "Representante", "Presentador"};
        for (int i = 0; i < 3; ++i) {
            auto s = Modelo(std::string("parties add ") + partes[i]);
            EXPECT_EQ(s.estado, 0) << s.err;
            const std::string numero = s.out.substr(0, s.out.find('\n'));
            s = Modelo("parties bind " + codigo + " --role " + papeles[i] + " --party " + numero);
            EXPECT_EQ(s.estado, 0) << s.err;
        }
        auto s = Modelo("set " + codigo + " P1-50=S P1-52=" + modelo +
                        "0000000009 P1-53=15/04/2024 P1-54=2024 P1-55=000012 P1-60=12345 "
                        "P1-61=2345 P1-62=345 P1-63=45 P1-64=9.999.999.999,99 "
                        "P1-65=888.888.888,88 P1-66=77.777.777,77 P1-67=6.666.666,66 "
                        "P1-68=199.999.999,99 P1-69=4.444.444,44 P1-70=388.888,88 "
                        "P1-71=33.333,33 P1-72=204.866.666,64 "
                        "'P1-147=SANTA CRUZ DE TENERIFE a' P1-143=28 P1-145=2024");
        EXPECT_EQ(s.estado, 0) << s.err;
        return codigo;
    }
    QImage Hoja(int hoja, int ppp) {
        return HojaEnGris(pdf, tmp / ("hoja" + std::to_string(hoja) + "_" + std::to_string(ppp)),
                          hoja, ppp);
    }
    std::string Leer(const QImage& img, ZXing::BarcodeFormat formato) {
        return apoyo::LeerCodigo(img.constBits(), img.width(), img.height(),
                                 int(img.bytesPerLine()), formato);
    }
};

} // namespace

TEST_F(CliImpresionCompleta, BothCodesOfTheLargestDeclarationReadBackFromTheWholeSheet) {
    for (const char* modelo : formularios::kCodigos) {
        SCOPED_TRACE(modelo);
        const std::string codigo = Preparar(modelo);
        auto s = Modelo("pdf417 " + codigo);
        ASSERT_EQ(s.estado, 0) << s.err;
        const std::string carga = s.out.substr(0, s.out.size() - 1);
        // The symbol carries ISO-8859-1: the payload's bytes as a reader gets them.
        CString latin1;
        ASSERT_TRUE(texto::ALatin1(CString(carga), latin1));
        EXPECT_GE(latin1.GetLength(), 700) << carga;

        s = Modelo("print " + codigo + " -o '" + pdf + "'");
        ASSERT_EQ(s.estado, 0) << s.err;
        // The form itself is text on the sheet, not a picture of it.
        s = apoyo::Ejecutar("pdftotext -f 1 -l 1 '" + pdf + "' -");
        EXPECT_NE(s.out.find("Liquidación por clase de documento"), std::string::npos) << s.out;
        for (const int ppp : {200, 300}) {
            SCOPED_TRACE(ppp);
            const QImage hoja = Hoja(1, ppp);
            ASSERT_FALSE(hoja.isNull());
            EXPECT_EQ(Leer(hoja, ZXing::BarcodeFormat::PDF417), latin1.str());
            EXPECT_EQ(Leer(hoja, ZXing::BarcodeFormat::Code128), codigo);
        }
    }
}
