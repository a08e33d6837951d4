// The printing device on Qt, drawn on images and PDF writers: where text and shapes land for
// each alignment, ink that only darkens, codes and recorded pages stretched over their
// rectangles, what it says about its sheet, and a job that is refused out of order.
#include "render/Impresion.h"
#include "render/Pagina.h"
#include "support/Tinta.h"

#include "Modelo/base/Recursos.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <gtest/gtest.h>

namespace {

using apoyo::Hoja;
using apoyo::Tinta;

LOGFONT Letra(int alto, int peso = FW_NORMAL, int giro = 0) {
    LOGFONT lf;
    lf.lfHeight = alto;
    lf.lfWeight = peso;
    lf.lfEscapement = giro;
    FijarNombreFuente(lf, "Arial");
    return lf;
}

// A device over an image with one sheet started; the image is read once the job ends.
class Lienzo {
public:
    explicit Lienzo(QImage& imagen, const LOGFONT& lf = Letra(-20)) : dc_(imagen, nullptr) {
        fuente_.CreateFontIndirect(&lf);
        dc_.SelectObject(&fuente_);
        EXPECT_EQ(dc_.StartDoc("prueba"), 1);
        EXPECT_EQ(dc_.StartPage(), 1);
    }
    CDCQt* operator->() { return &dc_; }
    void Terminar() {
        EXPECT_EQ(dc_.EndPage(), 1);
        EXPECT_EQ(dc_.EndDoc(), 1) << dc_.GetError().c_str();
    }

private:
    CDCQt dc_;
    CFont fuente_;
};

QRect TintaDeTexto(UINT alineacion, int x, int y, const LOGFONT& lf = Letra(-20)) {
    QImage hoja = Hoja(400, 300);
    Lienzo dc(hoja, lf);
    dc->SetTextAlign(alineacion);
    dc->TextOut(x, y, "HOLA");
    dc.Terminar();
    return Tinta(hoja);
}

TEST(DispositivoQt, AnImageIsOneWhiteSheetAndAJobOutOfOrderIsRefused) {
    QImage hoja = Hoja(120, 80);
    CDCQt dc(hoja, nullptr);
    EXPECT_EQ(dc.StartPage(), 0);
    EXPECT_FALSE(dc.GetError().IsEmpty());
    EXPECT_EQ(dc.EndDoc(), 0);

    ASSERT_EQ(dc.StartDoc("prueba"), 1);
    ASSERT_EQ(dc.StartPage(), 1);
    EXPECT_EQ(dc.EndPage(), 1);
    EXPECT_EQ(dc.StartPage(), 0) << "an image has room for one sheet only";
    EXPECT_FALSE(dc.GetError().IsEmpty());
    EXPECT_EQ(dc.EndDoc(), 1);
    EXPECT_EQ(dc.EndDoc(), 0);
    EXPECT_TRUE(Tinta(hoja, 255).isEmpty()) << "the sheet starts white, whatever was there";
}

TEST(DispositivoQt, TellsItsDrawingAreaResolutionsAndPlaceOnTheSheet) {
    AsegurarAplicacion();
    QImage hoja = Hoja(300, 200, 96, 192);
    const CDCQt imagen(hoja, nullptr);
    EXPECT_EQ(imagen.GetDeviceCaps(HORZRES), 300);
    EXPECT_EQ(imagen.GetDeviceCaps(VERTRES), 200);
    EXPECT_EQ(imagen.GetDeviceCaps(LOGPIXELSX), 96);
    EXPECT_EQ(imagen.GetDeviceCaps(LOGPIXELSY), 192);
    for (int caso : {PHYSICALWIDTH, PHYSICALHEIGHT, PHYSICALOFFSETX, PHYSICALOFFSETY})
        EXPECT_EQ(imagen.GetDeviceCaps(caso), 0) << caso;
    // Each axis counts its own dots, so the page keeps one physical size on both.
    const stEscalaImpresion e = EscalaDePagina(imagen);
    EXPECT_DOUBLE_EQ(e.y / e.x, 2.0);

    // A sheet with margins of its own: the drawing area is the sheet less them.
    QBuffer nada;
    nada.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&nada);
    pdf.setResolution(600);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                  QMarginsF(10, 20, 10, 20), QPageLayout::Millimeter));
    const CDCQt hojas(pdf, &pdf);
    // Qt keeps a page's sizes in whole points: within a point of the millimetres.
    const double punto = 600.0 / 72, mm = 600 / 25.4;
    EXPECT_NEAR(hojas.GetDeviceCaps(PHYSICALWIDTH), 210 * mm, punto);
    EXPECT_NEAR(hojas.GetDeviceCaps(PHYSICALHEIGHT), 297 * mm, punto);
    EXPECT_NEAR(hojas.GetDeviceCaps(PHYSICALOFFSETX), 10 * mm, punto);
    EXPECT_NEAR(hojas.GetDeviceCaps(PHYSICALOFFSETY), 20 * mm, punto);
    EXPECT_EQ(hojas.GetDeviceCaps(HORZRES),
              hojas.GetDeviceCaps(PHYSICALWIDTH) - 2 * hojas.GetDeviceCaps(PHYSICALOFFSETX));
    EXPECT_EQ(hojas.GetDeviceCaps(VERTRES),
              hojas.GetDeviceCaps(PHYSICALHEIGHT) - 2 * hojas.GetDeviceCaps(PHYSICALOFFSETY));
}

TEST(DispositivoQt, TextSitsWhereItsAlignmentPutsIt) {
    const int x = 200, y = 150;
    const QRect izquierda = TintaDeTexto(TA_LEFT | TA_TOP, x, y);
    ASSERT_FALSE(izquierda.isEmpty());
    EXPECT_GE(izquierda.left(), x - 1);
    EXPECT_LT(izquierda.left(), x + 5);
    EXPECT_GE(izquierda.top(), y);
    EXPECT_LT(izquierda.top(), y + 8);

    const QRect derecha = TintaDeTexto(TA_RIGHT | TA_BASELINE, x, y);
    EXPECT_LE(derecha.right(), x);
    EXPECT_GT(derecha.right(), x - 5);
    // Capitals stand on the baseline.
    EXPECT_LE(derecha.bottom(), y);
    EXPECT_GE(derecha.bottom(), y - 2);

    const QRect centro = TintaDeTexto(TA_CENTER | TA_BOTTOM, x, y);
    EXPECT_LE(std::abs(centro.center().x() - x), 2);
    EXPECT_LT(centro.bottom(), y - 1) << "the line's descent lies between the capitals and y";
    EXPECT_EQ(centro.width(), izquierda.width());
}

TEST(DispositivoQt, TurnedTextRunsUpTheSheetFromItsPoint) {
    const QRect tinta = TintaDeTexto(TA_LEFT | TA_BASELINE, 100, 250, Letra(-20, FW_NORMAL, 900));
    ASSERT_FALSE(tinta.isEmpty());
    EXPECT_GT(tinta.height(), 2 * tinta.width());
    EXPECT_LE(tinta.bottom(), 251);
    EXPECT_LT(tinta.top(), 220);
    EXPECT_LE(tinta.right(), 101) << "the capitals stand on the baseline, left of the point";
}

TEST(DispositivoQt, TheMeasureOfATextIsWhatItTakesOnTheSheetInItsOwnFont) {
    QImage hoja = Hoja(400, 300);
    Lienzo dc(hoja);
    const CSize grande = dc->GetTextExtent("HOLA");
    CFont pequena, negrita;
    const LOGFONT lp = Letra(-10), ln = Letra(-20, FW_BOLD);
    pequena.CreateFontIndirect(&lp);
    negrita.CreateFontIndirect(&ln);
    CFont* antes = dc->SelectObject(&pequena);
    const CSize chica = dc->GetTextExtent("HOLA");
    dc->SelectObject(&negrita);
    const CSize gruesa = dc->GetTextExtent("HOLA");
    dc->SelectObject(antes);
    EXPECT_EQ(dc->GetTextExtent("HOLA").cx, grande.cx) << "the same font measures the same";
    EXPECT_LT(chica.cx, grande.cx);
    EXPECT_LT(chica.cy, grande.cy);
    EXPECT_GT(gruesa.cx, grande.cx);
    EXPECT_EQ(dc->GetTextExtent("").cx, 0);

    dc->TextOut(10, 10, "HOLA");
    dc.Terminar();
    const QRect tinta = Tinta(hoja);
    EXPECT_LE(tinta.width(), grande.cx);
    EXPECT_GE(tinta.width(), grande.cx - 4);
    EXPECT_LE(tinta.height(), grande.cy);
}

TEST(DispositivoQt, TextInARectangleWrapsOrStaysOnOneLineAndSaysItsHeight) {
    QImage hoja = Hoja(400, 300);
    Lienzo dc(hoja, Letra(-12));
    CRect estrecho(10, 10, 90, 290);
    const int envuelto =
        dc->DrawText("UNA LINEA QUE NO CABE EN LA CAJA ESTRECHA", &estrecho, DT_WORDBREAK);
    CRect ancho(100, 10, 390, 290);
    const int una = dc->DrawText("PRIMERA\nSEGUNDA", &ancho, DT_SINGLELINE);
    CRect otro(100, 100, 390, 290);
    const int dos = dc->DrawText("PRIMERA\nSEGUNDA", &otro, DT_LEFT);
    EXPECT_EQ(dc->DrawText("", &ancho, DT_LEFT), 0);
    dc.Terminar();

    EXPECT_GE(envuelto, 3 * una) << "a word-wrapped text takes several lines";
    EXPECT_GE(dos, 2 * una - 1);
    EXPECT_LT(una, dos);
    // Everything stays inside its rectangle.
    EXPECT_TRUE(QRect(10, 10, 80, 280).contains(Tinta(hoja.copy(0, 0, 95, 300))));
    const QRect linea = Tinta(hoja.copy(100, 0, 300, 60));
    EXPECT_LE(linea.height(), una);
}

TEST(DispositivoQt, RectanglesAreFilledOnWholePixelsInTheirOwnColour) {
    QImage hoja = Hoja(100, 60);
    Lienzo dc(hoja);
    dc->FillSolidRects({CRect(10, 5, 20, 25), CRect(40, 5, 43, 25)}, RGB(0, 0, 0));
    dc->FillSolidRects({CRect(60, 5, 90, 50)}, RGB(200, 30, 10));
    dc.Terminar();
    // Nothing softened around a bar: any pixel with the least ink is inside one.
    EXPECT_EQ(Tinta(hoja.copy(0, 0, 50, 60), 255), QRect(10, 5, 33, 20));
    EXPECT_EQ(hoja.pixelColor(10, 5), QColor(0, 0, 0));
    EXPECT_EQ(hoja.pixelColor(19, 24), QColor(0, 0, 0));
    EXPECT_EQ(hoja.pixelColor(20, 24), QColor(255, 255, 255));
    EXPECT_EQ(hoja.pixelColor(30, 10), QColor(255, 255, 255));
    EXPECT_EQ(hoja.pixelColor(75, 30), QColor(200, 30, 10)) << "red is the colour's low byte";
}

TEST(DispositivoQt, InkOnInkOnlyDarkensWhatItCrosses) {
    for (bool tinta : {true, false}) {
        QImage hoja = Hoja(100, 40);
        Lienzo dc(hoja);
        dc->FillSolidRects({CRect(0, 0, 50, 40)}, RGB(0, 0, 0));
        if (tinta)
            dc->SetROP2(R2_MASKPEN);
        dc->FillSolidRects({CRect(0, 0, 100, 40)}, RGB(160, 160, 160));
        dc.Terminar();
        SCOPED_TRACE(tinta ? "ink" : "cover");
        EXPECT_EQ(qGray(hoja.pixel(25, 20)), tinta ? 0 : 160);
        EXPECT_NEAR(qGray(hoja.pixel(75, 20)), 160, 2);
    }
}

TEST(DispositivoQt, ACodeStretchedOverItsFieldKeepsEveryModuleSharp) {
    stImagenCodigo codigo;
    codigo.Ancho = 4;
    codigo.Alto = 1;
    codigo.Pixeles = {0, 255, 0, 255};
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CrearDeCodigo(codigo));

    QImage hoja = Hoja(120, 40);
    Lienzo dc(hoja);
    dc->SelectObject(&bitmap);
    ASSERT_TRUE(dc->StretchBlt(10, 5, 100, 30));
    dc.Terminar();
    for (int x = 10; x < 110; ++x)
        EXPECT_EQ(qGray(hoja.pixel(x, 20)), ((x - 10) / 25) % 2 == 0 ? 0 : 255) << x;
    EXPECT_EQ(Tinta(hoja, 255), QRect(10, 5, 75, 30));
}

TEST(DispositivoQt, ACodeWhosePixelsDoNotFillItsSizeIsNotDrawn) {
    stImagenCodigo codigo;
    codigo.Ancho = 40;
    codigo.Alto = 40;
    codigo.Pixeles = {0, 0, 0};
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CrearDeCodigo(codigo));
    QImage hoja = Hoja(60, 60);
    Lienzo dc(hoja);
    dc->SelectObject(&bitmap);
    dc->StretchBlt(0, 0, 60, 60);
    dc.Terminar();
    EXPECT_TRUE(Tinta(hoja, 255).isEmpty());
}

// A page recorded as a drawing, as the page generator records one: its left half black.
class PaginaGrabada : public ::testing::Test {
protected:
    static constexpr int kId = 987001;
    void SetUp() override {
        AsegurarAplicacion();
        QPicture dibujo;
        {
            QPainter p(&dibujo);
            p.fillRect(QRect(0, 0, kAnchoPaginaPx / 2, kAltoPaginaPx), Qt::black);
        }
        datos_ = QByteArray(dibujo.data(), qsizetype(dibujo.size()));
        modulo_.nombre = "prueba";
        modulo_.bitmaps[kId] = {reinterpret_cast<const unsigned char*>(datos_.constData()),
                                size_t(datos_.size())};
        AfxAnadirModuloRecursos(&modulo_);
    }
    void TearDown() override { AfxQuitarModuloRecursos(&modulo_); }

    QByteArray datos_;
    CModuloRecursos modulo_;
};

TEST_F(PaginaGrabada, IsPlayedOverItsRectangleAtAnyResolution) {
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadBitmap(kId));
    for (int dpi : {96, 300}) {
        SCOPED_TRACE(dpi);
        QImage hoja = Hoja(200, 300, dpi, dpi);
        Lienzo dc(hoja);
        dc->SelectObject(&bitmap);
        ASSERT_TRUE(dc->StretchBlt(20, 10, 154, 225));
        dc.Terminar();
        const QRect tinta = Tinta(hoja);
        EXPECT_NEAR(tinta.left(), 20, 1);
        EXPECT_NEAR(tinta.top(), 10, 1);
        EXPECT_NEAR(tinta.width(), 77, 1);
        EXPECT_NEAR(tinta.height(), 225, 1);
    }
}

} // namespace
