// The screen's drawing helpers: fonts of the forms mapped to the machine's, values shrunk to
// their boxes down to a legible minimum, box texts of either encoding, code images, resources
// that are missing, and a PNG whose write fails without harm.
#include "render/Pagina.h"
#include "support/Apoyo.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

LOGFONT Letra(const char* cara, int alto, int peso = FW_NORMAL) {
    LOGFONT lf;
    lf.lfHeight = alto;
    lf.lfWeight = peso;
    FijarNombreFuente(lf, cara);
    return lf;
}

class Pagina : public ::testing::Test {
protected:
    void SetUp() override { AsegurarAplicacion(); }
};

TEST_F(Pagina, TheFormsFontsBecomeTheMachinesFacesAtTheirCharacterHeight) {
    const QFont mono = FuenteQt(Letra("Courier New", -13));
    EXPECT_EQ(QFontInfo(mono).family(), "DejaVu Sans Mono");
    const QFont sans = FuenteQt(Letra("MS Sans Serif", -13, FW_BOLD));
    EXPECT_EQ(QFontInfo(sans).family(), "DejaVu Sans");
    EXPECT_TRUE(sans.bold());
    EXPECT_FALSE(mono.bold());

    struct Caso {
        int alto;
        double escala;
        int px;
    };
    for (const Caso& c : {Caso{-13, 1.0, 13}, Caso{13, 1.0, 13}, Caso{0, 1.0, 11},
                          Caso{-13, 1.5, 20}, Caso{-1, 0.1, 1}})
        EXPECT_EQ(FuenteQt(Letra("Arial", c.alto), c.escala).pixelSize(), c.px)
            << c.alto << " at " << c.escala;
}

TEST_F(Pagina, AValueShrinksToFitItsBoxButNeverBelowTheLegibleMinimum) {
    const QFont base = FuenteQt(Letra("MS Sans Serif", -13));
    EXPECT_EQ(FuenteQueCabe(base, "CORTO", 300, kAltoMinimoLegible).pixelSize(), 13);
    EXPECT_EQ(FuenteQueCabe(base, "", 0, kAltoMinimoLegible).pixelSize(), 13);

    const QString largo = "UN NOMBRE DE EMPRESA BASTANTE LARGO";
    const int natural = QFontMetrics(base).horizontalAdvance(largo);
    const QFont justa = FuenteQueCabe(base, largo, natural * 3 / 4, kAltoMinimoLegible);
    EXPECT_LT(justa.pixelSize(), 13);
    EXPECT_GT(justa.pixelSize(), kAltoMinimoLegible);
    EXPECT_LE(QFontMetrics(justa).horizontalAdvance(largo), natural * 3 / 4);
    // The largest that fits: one pixel more would not.
    QFont mayor = justa;
    mayor.setPixelSize(justa.pixelSize() + 1);
    EXPECT_GT(QFontMetrics(mayor).horizontalAdvance(largo), natural * 3 / 4);

    EXPECT_EQ(FuenteQueCabe(base, largo, 10, kAltoMinimoLegible).pixelSize(), kAltoMinimoLegible);
    // A font already below the minimum is not made larger.
    const QFont diminuta = FuenteQt(Letra("MS Sans Serif", -6));
    EXPECT_EQ(FuenteQueCabe(diminuta, largo, 10, kAltoMinimoLegible).pixelSize(), 6);
}

TEST_F(Pagina, ALabelWrapsAtWordsAndShrinksOnlyWhenItsLinesDoNotFit) {
    const QFont base = FuenteQt(Letra("MS Sans Serif", -13));
    const QString texto = "Los datos se tratarán con la finalidad de gestionar la declaración";
    const int linea = QFontMetrics(base).height();
    // Four lines of room: it wraps and keeps its size.
    EXPECT_EQ(FuenteQueCabeEnvuelta(base, texto, QSize(250, 4 * linea), 8).pixelSize(), 13);
    const QSize caja(250, linea + linea / 2);
    const QFont menor = FuenteQueCabeEnvuelta(base, texto, caja, 8);
    EXPECT_LT(menor.pixelSize(), 13);
    if (menor.pixelSize() > 8) {
        EXPECT_LE(QFontMetrics(menor)
                      .boundingRect(QRect(QPoint(0, 0), caja), Qt::TextWordWrap, texto)
                      .height(),
                  caja.height());
    }
    EXPECT_EQ(FuenteQueCabeEnvuelta(base, texto, QSize(40, 5), 8).pixelSize(), 8);
}

TEST_F(Pagina, BoxTextsOfEitherEncodingReadTheSame) {
    const QString enie = QString::fromUtf8("AÑO ÁREA");
    EXPECT_EQ(TextoQt("A\xD1O \xC1REA"), enie);         // Latin-1
    EXPECT_EQ(TextoQt("A\xC3\x91O \xC3\x81REA"), enie); // UTF-8
    EXPECT_EQ(TextoQt("A\xC3\x91O \xC1REA"), enie);     // both in one text
    EXPECT_EQ(TextoModelo(enie), CString("A\xC3\x91O \xC3\x81REA"));
    EXPECT_EQ(TextoModelo(TextoQt("\xE2\x82\xAC 10")), CString("\xE2\x82\xAC 10"));
    EXPECT_EQ(TextoQt(""), QString());
}

TEST_F(Pagina, ACodeImageIsItsPixelsOrNothing) {
    stImagenCodigo codigo;
    codigo.Ancho = 3;
    codigo.Alto = 2;
    codigo.Pixeles = {0, 255, 0, 255, 0, 128};
    const QImage imagen = ImagenQt(codigo);
    ASSERT_EQ(imagen.size(), QSize(3, 2));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(qGray(imagen.pixel(x, y)), codigo.Pixeles[size_t(y * 3 + x)]) << x << y;

    // Pixels short of the size, or more than it, or no size: nothing is read past its end.
    for (auto [ancho, alto, n] : {std::tuple{3, 3, 6}, {3, 1, 6}, {0, 2, 6}, {-3, -2, 6}}) {
        codigo.Ancho = ancho;
        codigo.Alto = alto;
        codigo.Pixeles.assign(size_t(n), 0);
        EXPECT_TRUE(ImagenQt(codigo).isNull()) << ancho << "x" << alto;
    }
}

TEST_F(Pagina, AResourceNoModuleHasIsANullImage) {
    EXPECT_TRUE(BitmapRecurso(987654).isNull());
}

TEST_F(Pagina, APngIsWrittenWholeOrTheFileThatWasThereStays) {
    apoyo::CarpetaTemporal tmp;
    const std::string ruta = tmp / "codigo.png";
    QImage imagen(7, 5, QImage::Format_Grayscale8);
    imagen.fill(0);
    imagen.setPixel(3, 2, qRgb(255, 255, 255));
    std::string error;
    ASSERT_TRUE(GuardarPNG(imagen, ruta, error)) << error;
    const QImage leida(QString::fromStdString(ruta));
    ASSERT_EQ(leida.size(), imagen.size());
    EXPECT_EQ(qGray(leida.pixel(3, 2)), 255);
    EXPECT_EQ(qGray(leida.pixel(0, 0)), 0);
    const std::string antes = apoyo::Leer(ruta);

    EXPECT_FALSE(GuardarPNG(QImage(), ruta, error)) << "no image is no file";
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(apoyo::Leer(ruta), antes);

    error.clear();
    EXPECT_FALSE(GuardarPNG(imagen, tmp / "no-existe/codigo.png", error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(std::filesystem::exists(tmp / "no-existe"));
}

} // namespace
