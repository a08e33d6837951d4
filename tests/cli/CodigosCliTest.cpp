// The printed codes and the remittance records through the program, end to end: what a reader
// of the written image gets back is exactly what `modelo pdf417` prints, in Latin-1.
#include "Modelo/base/CString.h"
#include "cli/Cli.h"
#include "support/Lector.h"

#include <QImage>
#include <QString>
#include <filesystem>
#include <nlohmann/json.hpp>

namespace {

class CliCodigos : public CliDeclaracion {
protected:
    void SetUp() override {
        Declaracion("P1-10=B12345674 'P1-11=LA CASA DE ÑANDÚ, S.L.' P1-14=CL "
                    "\"$(printf 'P1-15=CAMI\\321O REAL')\" P1-21=28 P1-22=079 "
                    "P1-60=5 P1-64=1.000,00 P1-68=3,00 P1-61=0 P1-65=0,00 P1-69=0,00 "
                    "P1-72=3,00 P1-140=12345678Z 'P1-141=GARCIA LOPEZ MARIA'");
    }
    // The payload as the program prints it, without the line end.
    std::string Carga() {
        auto s = Modelo("pdf417 " + codigo);
        EXPECT_EQ(s.estado, 0) << s.err;
        EXPECT_EQ(s.out.back(), '\n');
        return s.out.substr(0, s.out.size() - 1);
    }
    std::string LeerPNG(const std::string& ruta, ZXing::BarcodeFormat formato, bool texto = false) {
        const QImage png(QString::fromStdString(ruta));
        EXPECT_FALSE(png.isNull()) << ruta;
        const QImage gris = png.convertToFormat(QImage::Format_Grayscale8);
        return texto ? apoyo::LeerTextoCodigo(gris.constBits(), gris.width(), gris.height(),
                                              int(gris.bytesPerLine()), formato)
                     : apoyo::LeerCodigo(gris.constBits(), gris.width(), gris.height(),
                                         int(gris.bytesPerLine()), formato);
    }
    // What the symbol carries for a payload: its characters in ISO-8859-1.
    static std::string Latin1(const std::string& carga) {
        CString l;
        EXPECT_TRUE(texto::ALatin1(CString(carga), l));
        return l.str();
    }
};

} // namespace

TEST_F(CliCodigos, Pdf417PrintsThePayloadAsItIsAndExplainsIt) {
    const std::string carga = Carga();
    const std::string prefijo = "<863A1:" + codigo + ">";
    EXPECT_EQ(carga.rfind(prefijo + "0|000|Autoliquidación ordinaria|03|2024|B12345674|", 0), 0u)
        << carga;
    // A server keeps the Latin-1 byte of the box as UTF-8; the symbol carries Latin-1 either way.
    EXPECT_NE(carga.find(apoyo::EnServidor() ? "|CAMIÑO REAL|" : "|CAMI\xD1O REAL|"),
              std::string::npos);
    EXPECT_NE(carga.find("[5|1.000,00|3,00][0|0,00|0,00][][]3,00|"), std::string::npos);
    EXPECT_EQ(carga.back(), '~');

    EXPECT_EQ(Modelo("pdf417 " + codigo + " --page 1").out, prefijo + "\n");

    auto s = Modelo("pdf417 " + codigo + " --json");
    ASSERT_EQ(s.estado, 0) << s.err;
    const auto j = nlohmann::json::parse(s.out);
    EXPECT_EQ(j["prefix"], prefijo);
    EXPECT_EQ(j["delimiters"], nlohmann::json({{"field", "|"},
                                               {"table_open", "["},
                                               {"row", "]["},
                                               {"table_close", "]"},
                                               {"end", "~"}}));
    // The text is the same but for the byte that is not UTF-8, which JSON cannot carry.
    EXPECT_NE(j["payload"].get<std::string>().find("|LA CASA DE ÑANDÚ, S.L.|"), std::string::npos);
}

TEST_F(CliCodigos, TheWrittenImageReadsBackToExactlyThePayload) {
    const std::string png = tmp / "código.png";
    auto s = Modelo("barcode " + codigo + " -o '" + png + "'");
    ASSERT_EQ(s.estado, 0) << s.err;
    // The payload mixes UTF-8 (Ñ, Ú typed) and a Latin-1 byte (\321): a reader shows both as
    // the letters they are.
    EXPECT_EQ(LeerPNG(png, ZXing::BarcodeFormat::PDF417), Latin1(Carga()));
    EXPECT_EQ(LeerPNG(png, ZXing::BarcodeFormat::PDF417, true),
              texto::AUtf8(CString(Carga())).str());

    const std::string barras = tmp / "barras.png";
    s = Modelo("barcode " + codigo + " --kind code128 -o '" + barras + "'");
    ASSERT_EQ(s.estado, 0) << s.err;
    EXPECT_EQ(LeerPNG(barras, ZXing::BarcodeFormat::Code128), codigo);

    // Writing again over the file replaces it whole.
    ASSERT_EQ(Modelo("set " + codigo + " 'P1-141=OTRO'").estado, 0);
    ASSERT_EQ(Modelo("barcode " + codigo + " -o '" + png + "'").estado, 0);
    EXPECT_EQ(LeerPNG(png, ZXing::BarcodeFormat::PDF417), Latin1(Carga()));
}

TEST_F(CliCodigos, RemesaPrintsTheRecordsAsTheFormRevisedThem) {
    auto s = Modelo("remesa " + codigo);
    ASSERT_EQ(s.estado, 0) << s.err;
    EXPECT_EQ(s.out.rfind("0\t000\tAutoliquidación ordinaria\n", 0), 0u) << s.out;
    for (const char* linea : {"\n60\t5\t\n", "\n61\t\t\n", "\n64\t1.000,00\t\n", "\n65\t\t\n",
                              "\n69\t0,00\t\n", "\n72\t3,00\t\n"})
        EXPECT_NE(s.out.find(linea), std::string::npos) << linea;
    EXPECT_EQ(s.out.find("P2"), std::string::npos);
}

TEST_F(CliCodigos, AMunicipalityListLoadedFromAFileIsCarried) {
    const std::string sql = tmp / "municipios.sql";
    apoyo::Escribir(sql, "INSERT OR REPLACE INTO MUNICIPIOS (PROVINCIA, CODIGO, NOMBRE) VALUES\n"
                         "    ('33', '044', 'Oviedo'), ('33', '024', 'Gijón');\n");
    ASSERT_EQ(Modelo("db load '" + sql + "'").estado, 0);
    ASSERT_EQ(Modelo("set " + codigo + " P1-21=33 P1-22=024").estado, 0);
    EXPECT_NE(Carga().find("|33|Asturias|024|Gijón|"), std::string::npos) << Carga();
}

TEST_F(CliCodigos, RefusalsSayWhyAndWriteNothing) {
    const std::string png = tmp / "no.png";
    for (const std::string& args : std::vector<std::string>{
             "pdf417 8639999999999", "pdf417 " + codigo + " --page 2",
             "pdf417 " + codigo + " --page -1", "pdf417 " + codigo + " --page x",
             "barcode 8639999999999 -o '" + png + "'", "barcode " + codigo,
             "barcode " + codigo + " --kind qr -o '" + png + "'",
             "barcode " + codigo + " -o '" + (tmp / "falta/no.png") + "'", "remesa 8639999999999",
             "remesa"}) {
        auto s = Modelo(args);
        EXPECT_EQ(s.estado, 2) << args;
        EXPECT_FALSE(s.err.empty()) << args;
        EXPECT_TRUE(s.out.empty()) << args;
    }
    EXPECT_FALSE(std::filesystem::exists(png));
}
