// Printing of both page views: what each registers for the host, in its order, and the
// declaration code each prints under the bar code, scaled to the device.
#include "Modelo/Impresion.h"
#include "Formulario.h"
#include "Modelo/GuiaView.h"
#include "core/Casillas.h"
#include "core/ModDoc.h"
#include "core/Plantillas.h"
#include "support/BaseTemporal.h"
#include "support/DCRegistro.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

class Impresion : public ::testing::Test {
protected:
    BaseTemporal base;
    MOD_DOC doc;
    std::unique_ptr<CGuiaView> vista;

    void SetUp() override {
        Reloj::Fijar([] { return COleDateTime(2024, 6, 10, 9, 0, 0); });
        doc.SetCodDeclar(CString(formulario::kCodigo) + "0000000007");
        doc.CrearEstructPaginas();
        ASSERT_TRUE(doc.CargarTablasAuxiliares());
        doc.SetCasilla(casilla::SujetoPasivo, pagina::P1, "12345678Z");
    }
    CGuiaView& Abrir(int pagina) {
        vista.reset();
        CString error;
        vista = AbrirVistaPagina(doc, pagina, error);
        EXPECT_TRUE(vista) << error.c_str();
        EXPECT_TRUE(vista->InicializarControlesImpresora());
        return *vista;
    }
    int Id(int casilla) { return vista->Plantilla()->ControlDeCasilla(casilla)->id; }
    std::vector<int> Ids(std::initializer_list<int> casillas) {
        std::vector<int> v;
        for (int c : casillas)
            v.push_back(Id(c));
        return v;
    }
    void Final() {
        doc.SetEstado(estado::Definitiva);
        doc.SetPermiteCambios(false);
    }
    // The code line: what the view printed with TextOut.
    std::vector<apoyo::DCRegistro::Texto> LineasCodigo(const apoyo::DCRegistro& dc) {
        std::vector<apoyo::DCRegistro::Texto> v;
        for (const auto& t : dc.textos)
            if (!t.enRect && t.texto == doc.GetCodDeclar().str())
                v.push_back(t);
        return v;
    }
};

} // namespace

TEST_F(Impresion, Page1RegistersItsControlsInTheFormsOrder) {
    Abrir(pagina::P1);
    std::vector<int> esperado = {control::TituloLopd1, control::TituloLopd2, control::TextoLopd};
    for (const auto& tramo :
         {Ids({1, 2}), Ids({10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23}),
          Ids({30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43}),
          Ids({50, 51, 52, 53, 54, 55}), Ids({62, 63, 61, 60}),
          Ids({66, 67, 65, 64, 70, 71, 69, 68}), Ids({72, 140, 141, 142}),
          Ids({147, 143, 144, 145})})
        esperado.insert(esperado.end(), tramo.begin(), tramo.end());
    EXPECT_EQ(vista->ControlesImpresora(), esperado);
    EXPECT_EQ(vista->GetIdTextoLOPD(), control::TextoLopd);
    EXPECT_EQ(vista->ControlImpresoraCodPuntos(), control::CodigoPuntos);
    EXPECT_EQ(vista->ControlImpresoraCodBarras(), control::CodigoBarras);
    // The picker of the signature date, the buttons and the code label print otherwise.
    for (int id : {Id(casilla::FirmaFecha), control::TextoCodigoBarras, control::IntervSujeto,
                   control::AyudaSujeto})
        EXPECT_EQ(std::count(esperado.begin(), esperado.end(), id), 0) << id;

    // Registering again does not register twice.
    ASSERT_TRUE(vista->InicializarControlesImpresora());
    EXPECT_EQ(vista->ControlesImpresora(), esperado);
}

TEST_F(Impresion, Page2RegistersItsControlsAndNoTwoDimensionalCode) {
    Abrir(pagina::P2);
    std::vector<int> esperado = {control::TituloLopd1, control::TituloLopd2, control::TextoLopd};
    for (const auto& tramo : {Ids({1, 2, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23}),
                              Ids({72, 140, 141, 142, 147, 143, 144, 145})})
        esperado.insert(esperado.end(), tramo.begin(), tramo.end());
    EXPECT_EQ(vista->ControlesImpresora(), esperado);
    EXPECT_EQ(vista->GetIdTextoLOPD(), control::TextoLopd);
    EXPECT_EQ(vista->ControlImpresoraCodPuntos(), 0);
    EXPECT_EQ(vista->ControlImpresoraCodBarras(), control::CodigoBarras);
}

TEST_F(Impresion, ADraftPrintsNoCodeLineOnEitherPage) {
    for (int pagina : {pagina::P1, pagina::P2}) {
        SCOPED_TRACE(pagina);
        Abrir(pagina);
        apoyo::DCRegistro dc;
        vista->ImprimirVista(&dc, 1.0, 1.0);
        EXPECT_TRUE(LineasCodigo(dc).empty());
        EXPECT_FALSE(dc.textos.empty()); // the page itself printed
        EXPECT_EQ(dc.GetTextAlign(), UINT(TA_LEFT | TA_TOP));
    }
}

TEST_F(Impresion, AtScaleOneTheCodeLineSitsOnTheLabel) {
    Final();
    for (int pagina : {pagina::P1, pagina::P2}) {
        SCOPED_TRACE(pagina);
        Abrir(pagina);
        CWnd* etiqueta = vista->GetDlgItem(control::TextoCodigoBarras);
        CRect r;
        etiqueta->GetWindowRect(&r);
        LOGFONT pantalla;
        etiqueta->GetFont()->GetLogFont(&pantalla);

        apoyo::DCRegistro dc;
        CFont* antes = dc.GetCurrentFont();
        vista->ImprimirVista(&dc, 1.0, 1.0);
        const auto lineas = LineasCodigo(dc);
        ASSERT_EQ(lineas.size(), 1u);
        EXPECT_EQ(lineas[0].rect.left, r.left + r.Width() / 2);
        EXPECT_EQ(lineas[0].rect.top, r.top);
        EXPECT_EQ(lineas[0].alineacion, UINT(TA_CENTER | TA_TOP));
        EXPECT_EQ(lineas[0].fuente.lfHeight, pantalla.lfHeight);
        EXPECT_EQ(lineas[0].fuente.lfWidth, pantalla.lfWidth);
        EXPECT_EQ(lineas[0].fuente.lfWeight, pantalla.lfWeight);
        EXPECT_STREQ(lineas[0].fuente.lfFaceName, "Courier New");
        // The device is left as it was found, but for the alignment, which is left and top.
        EXPECT_EQ(dc.GetCurrentFont(), antes);
        EXPECT_EQ(dc.GetTextAlign(), UINT(TA_LEFT | TA_TOP));
    }
}

TEST_F(Impresion, TheLabelFontIsScaledWithTruncationTowardZero) {
    Final();
    Abrir(pagina::P1);
    CWnd* etiqueta = vista->GetDlgItem(control::TextoCodigoBarras);
    LOGFONT lf;
    etiqueta->GetFont()->GetLogFont(&lf);
    lf.lfHeight = -13;
    lf.lfWidth = 7;
    CFont fuente;
    fuente.CreateFontIndirect(&lf);
    etiqueta->SetFont(&fuente);
    CRect r;
    etiqueta->GetWindowRect(&r);

    struct Caso {
        double x, y;
        int alto, ancho;
    };
    for (Caso c : {Caso{1.5, 1.5, -19, 11}, Caso{1.2, 1.2, -15, 8}, Caso{2.0, 3.0, -39, 14}}) {
        SCOPED_TRACE(c.y);
        apoyo::DCRegistro dc;
        dc.SetTextAlign(TA_RIGHT | TA_BASELINE); // whatever the host left
        vista->ImprimirVista(&dc, c.x, c.y);
        const auto lineas = LineasCodigo(dc);
        ASSERT_EQ(lineas.size(), 1u);
        EXPECT_EQ(lineas[0].fuente.lfHeight, c.alto);
        EXPECT_EQ(lineas[0].fuente.lfWidth, c.ancho);
        const int izquierda = int(r.left * c.x + 0.5), derecha = int(r.right * c.x + 0.5);
        EXPECT_EQ(lineas[0].rect.left, izquierda + (derecha - izquierda) / 2);
        EXPECT_EQ(lineas[0].rect.top, int(r.top * c.y + 0.5));
        EXPECT_EQ(dc.GetTextAlign(), UINT(TA_LEFT | TA_TOP));
    }
}
