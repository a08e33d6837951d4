// The framework's printing: the device context's selection, the page's scale on a sheet, and
// the page composer: sheets per page and copy kind, every registered control at its scaled
// place, the codes at whole device pixels per module, the captions, the draft label, and a job
// that stops rather than print a sheet without its code.
#include "Modelo/printing/Impresion.h"
#include "Modelo/base/Recursos.h"
#include "Modelo/document/GuiaDoc.h"
#include "Modelo/windows/Controles.h"
#include "Modelo/windows/GuiaView.h"
#include "support/DCRegistro.h"
#include "support/Lector.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

namespace {

using apoyo::DCRegistro;

enum : int {
    kLopd = 500,
    kNif = 501,
    kTotal = 502,
    kMarca = 503,
    kFecha = 504,
    kNoRegistrado = 505,
    kPuntos = 506,
    kBarras = 507,
    kOculto = 508,
};

const PlantillaDialogo kPlantilla{
    90101,
    530,
    688,
    "MS Sans Serif",
    8,
    {{kLopd, ClaseControl::StaticTransBold, 40, 71, 463, 41, 0, true, -1},
     {kNif, ClaseControl::EditTrans, 65, 229, 52, 12, 0, true, 10},
     {kTotal, ClaseControl::EditDecNumber, 396, 498, 77, 12, ES_DERECHA, true, 72},
     {kMarca, ClaseControl::CheckBox, 66, 368, 9, 9, 0, true, 50},
     {kFecha, ClaseControl::DateTimeOpt, 338, 369, 55, 11, 0, true, 53},
     {kNoRegistrado, ClaseControl::EditTrans, 134, 229, 115, 12, 0, true, 11},
     {kPuntos, ClaseControl::Picture, 66, 158, 235, 49, 0, true, -1},
     {kBarras, ClaseControl::Picture, 311, 178, 185, 24, 0, true, -1},
     {kOculto, ClaseControl::EditTrans, 253, 229, 119, 12, 0, true, 12}}};

// What the data-protection frame of the test page shows.
CString textoLopd = "Texto de protección de datos";

class VistaPrueba : public CGuiaView {
public:
    VistaPrueba() : CGuiaView(90101) {}
    bool CargarDatos() override {
        if (!CGuiaView::CargarDatos())
            return false;
        for (int id : {kNif, kTotal, kNoRegistrado, kOculto})
            GetDlgItem(id)->SetWindowText(
                GetDocument()->GetCasilla(Plantilla()->Control(id)->casilla, GetPagina()));
        static_cast<CButton*>(GetDlgItem(kMarca))->SetCheck(BST_CHECKED);
        static_cast<CDateTimeCtrl*>(GetDlgItem(kFecha))
            ->SetTime(COleDateTime(2024, 4, 15, 0, 0, 0));
        GetDlgItem(kLopd)->SetWindowText(textoLopd);
        GetDlgItem(kOculto)->ShowWindow(SW_HIDE);
        CargarCodigoPuntos(kPuntos, 0);
        CargarCodigoBarras(kBarras);
        return true;
    }
    bool InicializarControlesImpresora() override {
        if (!CGuiaView::InicializarControlesImpresora())
            return false;
        for (int id : {kLopd, kNif, kTotal, kMarca, kFecha, kOculto})
            CargarControlImpresora(GetDlgItem(id));
        SetIdTextoLOPD(kLopd);
        CargarControlImpresoraCodPuntos(GetDlgItem(kPuntos));
        CargarControlImpresoraCodBarras(GetDlgItem(kBarras));
        return true;
    }
};

class DocPrueba : public CGuiaDoc {
public:
    CGuiaView* CrearVistaTipo(CString tipo) override {
        return tipo == "1" || tipo == "2" ? new VistaPrueba : nullptr;
    }
    using CGuiaDoc::GenerarCodigoPDF417;
    CString GenerarCodigoPDF417(int pagina) override {
        return CGuiaDoc::GenerarCodigoPDF417(pagina) + carga;
    }
    CString carga; // what the payload carries after its prefix
};

class Composicion : public ::testing::Test {
protected:
    CModuloRecursos modulo{"prueba", {}, {{90101, &kPlantilla}}, {}};
    DocPrueba doc;

    void SetUp() override {
        AfxAnadirModuloRecursos(&modulo);
        doc.SetCodModelo("863A1");
        doc.SetCodDeclar("8630000000009");
        stPagina p1(0, "1", 0, true);
        p1.TipoEjemplar(EjemplarAdministracion);
        p1.TipoEjemplar(EjemplarSujetoPasivo);
        doc.CrearPagina(0, p1);
        doc.CrearPagina(1, stPagina(1, "2", 0, false));
        doc.SetCasilla(10, 0, "12345678Z");
        doc.SetCasilla(10, 1, "12345678Z");
        doc.SetCasilla(11, 0, "NO SE IMPRIME");
        doc.SetCasilla(12, 0, "OCULTO");
        doc.SetCasilla(72, 0, "1.234,50");
    }
    void TearDown() override {
        AfxQuitarModuloRecursos(&modulo);
        textoLopd = "Texto de protección de datos";
    }

    CRect EnHoja(const DCRegistro& dc, CRect r) {
        const stEscalaImpresion e = EscalaDePagina(dc);
        r = CRect(Escalar(r.left, e.x), Escalar(r.top, e.y), Escalar(r.right, e.x),
                  Escalar(r.bottom, e.y));
        r.OffsetRect(e.origen.x, e.origen.y);
        return r;
    }
    CRect DePlantilla(int id) { return RectanguloEnPixeles(kPlantilla, *kPlantilla.Control(id)); }
};

} // namespace

// ----- the device context -------------------------------------------------------------------

TEST(ContextoDispositivo, SelectionHandsBackWhatWasThere) {
    DCRegistro dc;
    CFont* propia = dc.SelectObject(static_cast<CFont*>(nullptr)); // null selects nothing
    ASSERT_NE(propia, nullptr);
    LOGFONT lf;
    lf.lfHeight = -40;
    CFont f;
    f.CreateFontIndirect(&lf);
    EXPECT_EQ(dc.SelectObject(&f), propia);
    EXPECT_EQ(dc.SetTextAlign(TA_CENTER | TA_BASELINE), UINT(TA_LEFT | TA_TOP));
    EXPECT_EQ(dc.GetTextAlign(), UINT(TA_CENTER | TA_BASELINE));

    dc.SetViewportOrg(10, 20);
    dc.TextOut(5, 5, "A");
    ASSERT_EQ(dc.textos.size(), 1u);
    EXPECT_EQ(dc.textos[0].rect.left, 15);
    EXPECT_EQ(dc.textos[0].rect.top, 25);
    EXPECT_EQ(dc.textos[0].fuente.lfHeight, -40);
    // A font deleted while selected draws as the device's own, never as garbage.
    f.DeleteObject();
    dc.TextOut(0, 0, "B");
    EXPECT_NE(dc.textos[1].fuente.lfHeight, -40);
    dc.TextOut(0, 0, "");
    EXPECT_EQ(dc.textos.size(), 2u);

    EXPECT_FALSE(dc.StretchBlt(0, 0, 10, 10)); // nothing selected
    CBitmap b;
    EXPECT_FALSE(b.LoadBitmap(123456));
    EXPECT_FALSE(b.CrearDeCodigo(stImagenCodigo()));
    dc.SelectObject(&b);
    EXPECT_FALSE(dc.StretchBlt(0, 0, 10, 10)); // an empty bitmap
}

// The page's rectangle on the sheet, in sheet pixels.
CRect EnLaHoja(const DCRegistro& dc) {
    const stEscalaImpresion e = EscalaDePagina(dc);
    CRect r(e.origen.x, e.origen.y, e.origen.x + Escalar(kAnchoPaginaPx, e.x),
            e.origen.y + Escalar(kAltoPaginaPx, e.y));
    r.OffsetRect(dc.desplazamiento.x, dc.desplazamiento.y);
    return r;
}

TEST(ContextoDispositivo, ThePageFitsInsideTheSheetsMarginsAtOneSizeOnBothAxes) {
    // A4 at 300 dpi is 2480 x 3507, and 5 mm are 59.06 pixels: the page's height fills the
    // sheet between its margins, centred across.
    DCRegistro a4;
    const stEscalaImpresion e = EscalaDePagina(a4);
    EXPECT_DOUBLE_EQ(e.x, e.y);
    EXPECT_NEAR(e.y, (3507.0 - 2 * 60) / 1125.0, 1e-9);
    EXPECT_EQ(EnLaHoja(a4), CRect((2480 - Escalar(770, e.x)) / 2, 60,
                                  (2480 - Escalar(770, e.x)) / 2 + Escalar(770, e.x), 3507 - 60));
    EXPECT_GE(EnLaHoja(a4).left, 60);

    // A printer that reaches to 3 mm of the edges: its drawing area starts 35 pixels in, and
    // the page still keeps 5 mm from the paper's edges, not from the area's.
    DCRegistro impresora;
    impresora.hojaAncho = 2480;
    impresora.hojaAlto = 3507;
    impresora.desplazamiento = CPoint{35, 35};
    impresora.ancho = 2480 - 70;
    impresora.alto = 3507 - 70;
    EXPECT_EQ(EnLaHoja(impresora), EnLaHoja(a4));
    // One whose own margins are wider than ours fills what it can print.
    impresora.desplazamiento = CPoint{35, 150};
    impresora.ancho = 2480 - 70;
    impresora.alto = 3507 - 300;
    EXPECT_EQ(EscalaDePagina(impresora).origen.y, 0);
    EXPECT_EQ(EnLaHoja(impresora).bottom, 3507 - 150);

    // A sheet on its side: the width is what limits now, still inside the margins.
    DCRegistro ancha;
    ancha.ancho = 3507;
    ancha.alto = 2480;
    const stEscalaImpresion t = EscalaDePagina(ancha);
    EXPECT_NEAR(t.y, (2480.0 - 120) / 1125.0, 1e-9);
    EXPECT_GT(t.origen.x, 60);

    // A sheet too small for margins gets the page over all of it rather than none.
    DCRegistro sello(300);
    sello.ancho = 100;
    sello.alto = 110;
    EXPECT_NEAR(EscalaDePagina(sello).y, 110.0 / 1125.0, 1e-9);

    DCRegistro nada;
    nada.ancho = 0;
    EXPECT_EQ(EscalaDePagina(nada).x, 1.0);
}

TEST(ContextoDispositivo, ScaledValuesTruncateTowardZero) {
    EXPECT_EQ(Escalar(-13, 1.5), -19); // -19.5 + 0.5
    EXPECT_EQ(Escalar(-13, 1.2), -15); // -15.6 + 0.5
    EXPECT_EQ(Escalar(5, 0.5), 3);
    EXPECT_EQ(Escalar(7, 1.5), 11);
    // A whole product stays whole: a page printed at its own size keeps its font sizes.
    EXPECT_EQ(Escalar(-13, 1.0), -13);
    EXPECT_EQ(Escalar(-13, 2.0), -26);
    EXPECT_EQ(Escalar(100, 1.0), 100);
}

TEST(ContextoDispositivo, FilledRectanglesFollowTheOriginAndSkipEmptyOnes) {
    DCRegistro dc;
    dc.SetViewportOrg(100, 200);
    EXPECT_TRUE(
        dc.FillSolidRects({CRect(0, 0, 3, 9), CRect(5, 5, 5, 9), CRect(7, 0, 9, 4)}, RGB(0, 0, 0)));
    ASSERT_EQ(dc.rellenos.size(), 2u);
    EXPECT_EQ(dc.rellenos[0].rect, CRect(100, 200, 103, 209));
    EXPECT_EQ(dc.rellenos[1].rect, CRect(107, 200, 109, 204));
    EXPECT_FALSE(dc.FillSolidRects({}, RGB(0, 0, 0)));
    EXPECT_EQ(dc.SetROP2(R2_MASKPEN), R2_COPYPEN);
    EXPECT_EQ(dc.SetROP2(12345), R2_MASKPEN); // an unknown mode draws as ink over the sheet
    EXPECT_EQ(dc.GetROP2(), R2_COPYPEN);
}

// ----- the composer ---------------------------------------------------------------------------

TEST_F(Composicion, EveryPagePrintsOncePerCopyKindWithItsCaption) {
    for (int copias : {1, 2}) {
        SCOPED_TRACE(copias);
        DCRegistro dc;
        CPrintInfo info;
        info.m_nCopias = copias;
        ASSERT_TRUE(doc.Imprimir(&dc, &info)) << info.m_strError.c_str();
        EXPECT_EQ(dc.hojas, 3 * copias);
        EXPECT_EQ(info.m_nNumHojas, UINT(3 * copias));
        for (int copia = 0; copia < copias; ++copia) {
            const int h = 3 * copia;
            EXPECT_EQ(dc.Buscar(NombreEjemplar(EjemplarAdministracion).str(), h + 1).size(), 1u);
            EXPECT_EQ(dc.Buscar(NombreEjemplar(EjemplarSujetoPasivo).str(), h + 2).size(), 1u);
            // Page 2 has no copy kinds: it prints once, without a caption.
            EXPECT_TRUE(dc.Buscar(NombreEjemplar(EjemplarAdministracion).str(), h + 3).empty());
            EXPECT_TRUE(dc.Buscar(NombreEjemplar(EjemplarSujetoPasivo).str(), h + 3).empty());
            EXPECT_EQ(dc.Buscar("12345678Z", h + 3).size(), 1u);
        }
    }
}

TEST_F(Composicion, RegisteredControlsPrintTheirValuesAtTheirScaledPlace) {
    DCRegistro dc;
    CPrintInfo info;
    ASSERT_TRUE(doc.Imprimir(&dc, &info)) << info.m_strError.c_str();
    const auto nif = dc.Buscar("12345678Z", 1);
    ASSERT_EQ(nif.size(), 1u);
    // Its line spans the box inside the margins, centred on the box's height.
    CRect r = DePlantilla(kNif);
    r.left += 2;
    r.right -= 2;
    const CRect caja = EnHoja(dc, r);
    EXPECT_EQ(nif[0].rect.left, caja.left);
    EXPECT_EQ(nif[0].rect.right, caja.right);
    EXPECT_NEAR(nif[0].rect.top + nif[0].rect.bottom, caja.top + caja.bottom, 2);
    EXPECT_EQ(nif[0].alineacion & (DT_CENTER | DT_RIGHT), UINT(DT_LEFT));
    // The font is the control's, scaled to the device.
    EXPECT_EQ(nif[0].fuente.lfHeight, Escalar(-11, EscalaDePagina(dc).y));

    const auto total = dc.Buscar("1.234,50", 1);
    ASSERT_EQ(total.size(), 1u);
    EXPECT_EQ(total[0].alineacion & DT_RIGHT, UINT(DT_RIGHT));
    ASSERT_EQ(dc.Buscar("X", 1).size(), 1u); // the ticked check box
    const CRect marca = dc.Buscar("X", 1)[0].rect, cuadro = EnHoja(dc, DePlantilla(kMarca));
    EXPECT_EQ(marca.left, cuadro.left);
    EXPECT_EQ(marca.right, cuadro.right);
    EXPECT_GE(marca.top, cuadro.top);
    EXPECT_LE(marca.bottom, cuadro.bottom);
    EXPECT_EQ(dc.Buscar("15/04/2024", 1).size(), 1u);
    const auto lopd = dc.Buscar("Texto de protección de datos", 1);
    ASSERT_EQ(lopd.size(), 1u);
    EXPECT_LE(lopd[0].rect.top - EnHoja(dc, DePlantilla(kLopd)).top, 3); // from the frame's top
    // Neither an unregistered control nor a hidden one prints.
    EXPECT_TRUE(dc.Buscar("NO SE IMPRIME").empty());
    EXPECT_TRUE(dc.Buscar("OCULTO").empty());
}

namespace {

// The lines a value was drawn on: every text of the sheet whose line lies in `caja`.
std::vector<DCRegistro::Texto> LineasEn(const DCRegistro& dc, const CRect& caja, int hoja) {
    std::vector<DCRegistro::Texto> v;
    for (const DCRegistro::Texto& t : dc.textos)
        if (t.enRect && t.hoja == hoja && t.rect.top >= caja.top - 1 &&
            t.rect.bottom <= caja.bottom + 1 && t.rect.left >= caja.left - 3 &&
            t.rect.right <= caja.right + 3)
            v.push_back(t);
    return v;
}

std::string SinBlancos(std::string s) {
    std::erase(s, ' ');
    return s;
}

} // namespace

TEST_F(Composicion, AValueTooLongForItsBoxShrinksThenWrapsAndIsNeverCut) {
    // The NIF box is 52 x 12 dialog units. The recorder counts 0.6 of the font's height a
    // character: at 300 dpi the box takes 9 characters at the control's size.
    struct Caso {
        const char* valor;
        size_t lineas;
        bool menor; // drawn smaller than the control's font
    };
    const Caso casos[] = {
        {"12345678Z", 1, false},
        {"ABCDEFGHIJKL", 1, true},             // smaller, still legible: one line
        {"SANTA CRUZ DE TENERIFE a", 2, true}, // too small on one line: wrapped at words
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789ABCD", 2, true}, // one word: wrapped inside it
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.valor);
        doc.SetCasilla(10, 0, caso.valor);
        DCRegistro dc;
        CPrintInfo info;
        ASSERT_TRUE(doc.Imprimir(&dc, &info)) << info.m_strError.c_str();
        const stEscalaImpresion e = EscalaDePagina(dc);
        const CRect caja = EnHoja(dc, DePlantilla(kNif));
        const auto lineas = LineasEn(dc, caja, 1);
        ASSERT_EQ(lineas.size(), caso.lineas);
        std::string junto;
        for (size_t i = 0; i < lineas.size(); ++i) {
            const DCRegistro::Texto& l = lineas[i];
            junto += l.texto;
            // Inside the box, and as wide as the device measures it, no wider than its line.
            EXPECT_GE(l.rect.left, caja.left);
            EXPECT_LE(l.rect.right, caja.right);
            EXPECT_GE(l.rect.top, caja.top);
            EXPECT_LE(l.rect.bottom, caja.bottom);
            CFont f;
            f.CreateFontIndirect(&l.fuente);
            dc.SelectObject(&f);
            EXPECT_LE(dc.GetTextExtent(CString(l.texto)).cx, l.rect.Width());
            if (i > 0) {
                EXPECT_EQ(l.rect.top, lineas[i - 1].rect.bottom); // stacked, never overlapping
            }
            EXPECT_EQ(l.fuente.lfHeight, lineas[0].fuente.lfHeight);
        }
        EXPECT_EQ(SinBlancos(junto), SinBlancos(caso.valor));
        if (caso.lineas == 1) {
            EXPECT_EQ(junto, caso.valor);
        }
        // The block is centred on the box's height.
        EXPECT_NEAR(lineas.front().rect.top - caja.top, caja.bottom - lineas.back().rect.bottom, 3);
        const int original = -Escalar(-11, e.y);
        EXPECT_EQ(-lineas[0].fuente.lfHeight < original, caso.menor);
        if (caso.lineas == 1 && caso.menor) {
            EXPECT_GE(-lineas[0].fuente.lfHeight, Escalar(kAltoMinimoLegible, e.y));
        }
    }
}

TEST_F(Composicion, AProgramLabelWrapsInsideItsFrame) {
    // Longer than one line of the frame: every line inside it, from its top, none lost.
    std::string largo;
    for (int i = 0; i < 12; ++i)
        largo += "Los datos personales se tratan para gestionar el impuesto. ";
    largo.pop_back();
    textoLopd = CString(largo);
    DCRegistro dc;
    CPrintInfo info;
    ASSERT_TRUE(doc.Imprimir(&dc, &info)) << info.m_strError.c_str();
    const CRect marco = EnHoja(dc, DePlantilla(kLopd));
    const auto lineas = LineasEn(dc, marco, 1);
    ASSERT_GT(lineas.size(), 2u);
    std::string junto;
    for (const auto& l : lineas) {
        EXPECT_GE(l.rect.top, marco.top);
        EXPECT_LE(l.rect.bottom, marco.bottom);
        junto += l.texto;
    }
    EXPECT_EQ(SinBlancos(junto), SinBlancos(largo));
}

// What the bars filled inside a field of a sheet, as a grayscale picture of the field.
stImagenCodigo Rasterizar(const DCRegistro& dc, int hoja, const CRect& campo) {
    stImagenCodigo img;
    img.Ancho = campo.Width();
    img.Alto = campo.Height();
    img.Pixeles.assign(size_t(img.Ancho) * size_t(img.Alto), 255);
    for (const DCRegistro::Relleno& r : dc.rellenos) {
        const bool cruza = r.rect.right > campo.left && r.rect.left < campo.right &&
                           r.rect.bottom > campo.top && r.rect.top < campo.bottom;
        if (r.hoja != hoja || !cruza)
            continue;
        EXPECT_TRUE(r.rect.left >= campo.left && r.rect.right <= campo.right &&
                    r.rect.top >= campo.top && r.rect.bottom <= campo.bottom)
            << "a bar outside its field";
        for (int y = std::max(r.rect.top, campo.top); y < std::min(r.rect.bottom, campo.bottom);
             ++y)
            for (int x = std::max(r.rect.left, campo.left); x < std::min(r.rect.right, campo.right);
                 ++x)
                img.Pixeles[size_t(y - campo.top) * size_t(img.Ancho) + size_t(x - campo.left)] = 0;
    }
    return img;
}

std::string Leer(const stImagenCodigo& img, ZXing::BarcodeFormat formato) {
    return apoyo::LeerCodigo(img.Pixeles.data(), img.Ancho, img.Alto, img.Ancho, formato);
}

// The device pixels every bar's width and height are multiples of.
CPoint PasoDeLasBarras(const DCRegistro& dc, int hoja, const CRect& campo) {
    CPoint paso;
    for (const DCRegistro::Relleno& r : dc.rellenos)
        if (r.hoja == hoja && campo.PtInRect(CPoint{r.rect.left, r.rect.top})) {
            paso.x = std::gcd(paso.x, r.rect.Width());
            paso.y = std::gcd(paso.y, r.rect.Height());
        }
    return paso;
}

TEST_F(Composicion, TheCodesPrintAsBarsOfWholePixelsThatFillTheirFieldsAndReadBack) {
    // A long payload, as a complete declaration makes, with Latin-1 letters.
    std::string largo;
    for (int i = 0; largo.size() < 700; ++i)
        largo += std::string("\xD1"
                             "AND\xDA \xC1LVAREZ ") +
                 std::to_string(i) + "|";
    doc.carga = CString(largo);
    for (const int ppp : {300, 1200}) {
        SCOPED_TRACE(ppp);
        DCRegistro dc(ppp);
        CPrintInfo info;
        ASSERT_TRUE(doc.Imprimir(&dc, &info)) << info.m_strError.c_str();
        for (const DCRegistro::Imagen& i : dc.imagenes)
            EXPECT_TRUE(i.codigo.IsEmpty()) << "a code is bars, not a picture";

        const CRect puntos = EnHoja(dc, DePlantilla(kPuntos));
        const CRect barras = EnHoja(dc, DePlantilla(kBarras));
        for (int hoja = 1; hoja <= 3; ++hoja) {
            const stImagenCodigo codigo = Rasterizar(dc, hoja, barras);
            EXPECT_EQ(Leer(codigo, ZXing::BarcodeFormat::Code128), "8630000000009") << hoja;
        }
        const stImagenCodigo pdf417 = Rasterizar(dc, 1, puntos);
        EXPECT_EQ(Leer(pdf417, ZXing::BarcodeFormat::PDF417), doc.GenerarCodigoPDF417(0).str());

        // Square modules of whole pixels, as large as the field allows.
        const CPoint paso = PasoDeLasBarras(dc, 1, puntos);
        EXPECT_EQ(paso.y % paso.x, 0);
        const int m = paso.x;
        stImagenCodigo pantalla;
        CString error;
        ASSERT_TRUE(GenerarImagenPDF417(doc.GenerarCodigoPDF417(0), pantalla, error,
                                        double(puntos.Width()) / puntos.Height()));
        const int mx = pantalla.Ancho / kPixelesModulo, my = pantalla.Alto / kPixelesModulo;
        EXPECT_LE(mx * m, puntos.Width());
        EXPECT_LE(my * m, puntos.Height());
        EXPECT_TRUE((m + 1) * mx > puntos.Width() || (m + 1) * my > puntos.Height());
        if (ppp == 1200) {
            // 0.19 mm at least, with rows three modules high.
            EXPECT_GE(m * 25.4 / ppp, 0.19) << m;
        }
    }
}

TEST_F(Composicion, OnlyADraftCarriesTheDraftLabel) {
    for (const char* estado : {estado::Borrador, estado::Definitiva}) {
        SCOPED_TRACE(estado);
        doc.SetEstado(estado);
        DCRegistro dc;
        CPrintInfo info;
        ASSERT_TRUE(doc.Imprimir(&dc, &info));
        for (int hoja = 1; hoja <= 3; ++hoja) {
            const auto marca = dc.Buscar("BORRADOR", hoja);
            ASSERT_EQ(marca.size(), estado == estado::Borrador ? 1u : 0u);
            // The mark only darkens what it crosses; the values are ink over it.
            if (!marca.empty()) {
                EXPECT_EQ(marca[0].modo, R2_MASKPEN);
            }
            EXPECT_EQ(dc.Buscar("12345678Z", hoja)[0].modo, R2_COPYPEN);
        }
    }
}

TEST_F(Composicion, APagePrintsItsDrawingWhereTheFormShipsOneAndItsImageOtherwise) {
    static const unsigned char kImagen[] = "BM imagen", kDibujo[] = "QPIC dibujo";
    CModuloRecursos fondos{"fondos",
                           {},
                           {},
                           {{90201, RecursoBitmap{kImagen, sizeof kImagen}},
                            {90202, RecursoBitmap{kDibujo, sizeof kDibujo}}}};
    AfxAnadirModuloRecursos(&fondos);
    std::vector<UINT> impresos;
    for (const UINT dibujo : {90202u, 0u, 90999u}) {
        CString error;
        std::unique_ptr<CGuiaView> vista = AbrirVistaPagina(doc, 0, error);
        ASSERT_TRUE(vista) << error.c_str();
        vista->SetIdFondo(90201);
        vista->SetIdDibujoFondo(dibujo);
        ASSERT_TRUE(vista->InicializarControlesImpresora());
        DCRegistro dc;
        vista->ImprimirVista(&dc, 1.0, 1.0);
        ASSERT_FALSE(dc.imagenes.empty());
        impresos.push_back(dc.imagenes[0].idRecurso);
        EXPECT_EQ(dc.imagenes[0].destino, CRect(0, 0, kAnchoPaginaPx, kAltoPaginaPx));
    }
    AfxQuitarModuloRecursos(&fondos);
    // A drawing the chain lacks falls back to the image, never to a sheet without its form.
    EXPECT_EQ(impresos, (std::vector<UINT>{90202u, 90201u, 90201u}));
}

TEST_F(Composicion, TheDraftWarningAndTheCopyCaptionStayInsideThePrintableArea) {
    doc.SetEstado(estado::Borrador);
    DCRegistro dc;
    CPrintInfo info;
    ASSERT_TRUE(doc.Imprimir(&dc, &info));
    // 5 mm of an A4 sheet at 300 dpi, on every side.
    const CRect imprimible(60, 60, 2480 - 60, 3507 - 60);
    for (const std::string& texto : {std::string("BORRADOR - SIN VALIDEZ PARA SU PRESENTACIÓN"),
                                     NombreEjemplar(EjemplarAdministracion).str()}) {
        const auto t = dc.Buscar(texto, 1);
        ASSERT_EQ(t.size(), 1u) << texto;
        EXPECT_GE(t[0].rect.top, imprimible.top) << texto;
        EXPECT_LE(t[0].rect.bottom, imprimible.bottom) << texto;
        EXPECT_GE(t[0].rect.left, imprimible.left) << texto;
        EXPECT_LE(t[0].rect.right, imprimible.right) << texto;
    }
}

TEST_F(Composicion, ASheetWithoutItsCodeStopsTheJob) {
    doc.SetCodDeclar(""); // no bar code can be drawn
    DCRegistro dc;
    CPrintInfo info;
    EXPECT_FALSE(doc.Imprimir(&dc, &info));
    EXPECT_FALSE(info.m_bContinuePrinting);
    EXPECT_NE(info.m_strError.Find("código de barras"), -1) << info.m_strError.c_str();
    EXPECT_EQ(info.m_nNumHojas, 0u);

    doc.SetCodDeclar("8630000000009");
    info = CPrintInfo();
    info.m_nCopias = 0;
    EXPECT_FALSE(doc.Imprimir(&dc, &info));
    EXPECT_FALSE(info.m_strError.IsEmpty());
    EXPECT_FALSE(doc.Imprimir(nullptr, &info));
}
