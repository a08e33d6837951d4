// Printing of both page views: what each registers for the host, in its order, and the
// declaration code each prints under the bar code, scaled to the device.
#include "Modelo/printing/Impresion.h"
#include "Formulario.h"
#include "Modelo/windows/GuiaView.h"
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

namespace {

// A complete declaration with the longest values a person writes: a 97-character company name,
// nine-digit phones, fourteen-digit amounts, the longest province, the signature place as it is
// written. `entidad` puts the company on the taxpayer, a person on the representative, or the
// other way round, so both name layouts print on both pages.
void LlenarLarga(MOD_DOC& doc, bool entidad) {
    const char* const empresa = "CONSTRUCCIONES, REFORMAS Y PROMOCIONES INMOBILIARIAS DEL "
                                "ARCHIPIÉLAGO CANARIO Y DE LA MACARONESIA, S.L.";
    const int sujeto = entidad ? casilla::SujetoPasivo : casilla::Representante;
    const int persona = entidad ? casilla::Representante : casilla::SujetoPasivo;
    using namespace casilla::grupo;
    const std::pair<int, const char*> valores[] = {
        {1, "09"},
        {2, "2024"},
        {sujeto + Nif, "B12345674"},
        {sujeto + Apellido1, empresa},
        {persona + Nif, "12345678Z"},
        {persona + Apellido1, "FERNÁNDEZ-CASTELLANOS"},
        {persona + Apellido2, "RODRÍGUEZ DE LA FUENTE"},
        {persona + Nombre, "MARÍA DEL PILAR ALEJANDRA"},
        {casilla::SujetoPasivo + TipoVia, "AV"},
        {casilla::SujetoPasivo + NombreVia,
         "AVENIDA DE LOS REYES CATÓLICOS Y DE LA CONSTITUCIÓN ESPAÑOLA DE 1978"},
        {casilla::SujetoPasivo + Numero, "1234"},
        {casilla::SujetoPasivo + Escalera, "IZQ"},
        {casilla::SujetoPasivo + Piso, "12"},
        {casilla::SujetoPasivo + Puerta, "DCHA"},
        {casilla::SujetoPasivo + Telefono, "922123456"},
        {casilla::SujetoPasivo + Provincia, "38"},
        {casilla::SujetoPasivo + Municipio, "038"},
        {casilla::SujetoPasivo + CodigoPostal, "38001"},
        {casilla::Representante + TipoVia, "CL"},
        {casilla::Representante + NombreVia, "CALLE DEL DOCTOR JOSÉ MARÍA HERNÁNDEZ-RUBIO Y CASAS"},
        {casilla::Representante + Numero, "S/N"},
        {casilla::Representante + Telefono, "928987654"},
        {casilla::Representante + Provincia, "35"},
        {casilla::Representante + Municipio, "016"},
        {casilla::Representante + CodigoPostal, "35001"},
        {casilla::Complementaria, "S"},
        {casilla::JustificanteAnterior, "8630000000009"},
        {casilla::FechaPresentacionAnterior, "15/04/2024"},
        {casilla::AnioAnterior, "2024"},
        {casilla::NumeroPresentacionAnterior, "000012"},
        {casilla::PresentadorNif, "X1234567L"},
        {casilla::PresentadorNombre, empresa},
        {casilla::PresentadorTelefono, "600123456"},
        {casilla::LugarFirma, "SANTA CRUZ DE TENERIFE a"},
        {casilla::FirmaDia, "30"},
        {casilla::FirmaMes, "SEPTIEMBRE"},
        {casilla::FirmaAnio, "2024"},
        {casilla::FirmaFecha, "30/09/2024"},
        {casilla::TotalIngresar, "399.999.999.999.999,96"},
    };
    for (auto [c, v] : valores)
        doc.SetCasilla(c, pagina::P1, v);
    for (int i = 0; i < casilla::FilasLiquidacion; ++i) {
        doc.SetCasilla(casilla::NumeroDocumentos + i, pagina::P1, "999999999");
        doc.SetCasilla(casilla::Base + i, pagina::P1, "99.999.999.999.999,99");
        doc.SetCasilla(casilla::Cuota + i, pagina::P1, "99.999.999.999.999,99");
    }
    doc.ReplicarDatos();
}

std::string SinBlancos(std::string s) {
    std::erase(s, ' ');
    return s;
}

// Where a line of text stands on its sheet, as the device measured it.
CRect Extension(apoyo::DCRegistro& dc, const apoyo::DCRegistro::Texto& t) {
    CFont f;
    f.CreateFontIndirect(&t.fuente);
    CFont* antes = dc.SelectObject(&f);
    const CSize m = dc.GetTextExtent(CString(t.texto));
    dc.SelectObject(antes);
    const UINT h = t.alineacion & (DT_CENTER | DT_RIGHT);
    const int izquierda = h == DT_RIGHT    ? t.rect.right - m.cx
                          : h == DT_CENTER ? t.rect.left + (t.rect.Width() - m.cx) / 2
                                           : t.rect.left;
    const int arriba = t.rect.top + (t.rect.Height() - m.cy) / 2;
    return CRect(izquierda, arriba, izquierda + m.cx, arriba + m.cy);
}

bool Solapan(const CRect& a, const CRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

} // namespace

// Every value of a long declaration on its sheet: drawn whole, each line inside the box of its
// control, and no two texts over each other; in both name layouts, on page 1 and page 2.
TEST_F(Impresion, NoValueOfALongDeclarationLeavesItsBoxOrCoversAnother) {
    for (bool entidad : {true, false}) {
        SCOPED_TRACE(entidad ? "empresa sujeto pasivo" : "persona sujeto pasivo");
        doc.VaciarCasillas();
        LlenarLarga(doc, entidad);
        for (int pagina : {pagina::P1, pagina::P2}) {
            SCOPED_TRACE(pagina);
            Abrir(pagina);
            apoyo::DCRegistro dc;
            dc.StartPage();
            const stEscalaImpresion e = EscalaDePagina(dc);
            vista->ImprimirVista(&dc, e.x, e.y);
            std::vector<apoyo::DCRegistro::Texto> textos;
            for (const auto& t : dc.textos)
                if (t.enRect && t.texto != "BORRADOR - SIN VALIDEZ PARA SU PRESENTACIÓN")
                    textos.push_back(t);

            // The texts come in the order the controls were registered, a value's lines
            // together.
            size_t i = 0;
            int valores = 0;
            for (int id : vista->ControlesImpresora()) {
                CWnd* w = vista->GetDlgItem(id);
                if (!w->IsWindowVisible())
                    continue;
                const ClaseControl clase = w->GetClase();
                const std::string valor =
                    clase == ClaseControl::CheckBox
                        ? (static_cast<CButton*>(w)->GetCheck() == BST_CHECKED ? "X" : "")
                    : clase == ClaseControl::DateTimeOpt
                        ? static_cast<CDateTimeCtrl*>(w)->TextoFecha().str()
                        : w->GetWindowText().str();
                if (valor.empty())
                    continue;
                SCOPED_TRACE(valor);
                CRect r;
                w->GetWindowRect(&r);
                const CRect caja(Escalar(r.left, e.x), Escalar(r.top, e.y), Escalar(r.right, e.x),
                                 Escalar(r.bottom, e.y));
                std::string junto;
                while (i < textos.size() && SinBlancos(junto).size() < SinBlancos(valor).size()) {
                    const CRect x = Extension(dc, textos[i]);
                    EXPECT_GE(x.left, caja.left) << textos[i].texto;
                    EXPECT_LE(x.right, caja.right) << textos[i].texto;
                    EXPECT_GE(x.top, caja.top) << textos[i].texto;
                    EXPECT_LE(x.bottom, caja.bottom) << textos[i].texto;
                    junto += textos[i++].texto;
                }
                EXPECT_EQ(SinBlancos(junto), SinBlancos(valor));
                ++valores;
            }
            EXPECT_GT(valores, pagina == pagina::P1 ? 50 : 20);
            for (size_t a = 0; a < textos.size(); ++a)
                for (size_t b = a + 1; b < textos.size(); ++b)
                    EXPECT_FALSE(Solapan(Extension(dc, textos[a]), Extension(dc, textos[b])))
                        << textos[a].texto << " / " << textos[b].texto;
        }
    }
}

// The paper carries the boxes as stored, as the code of the page does: not a total the page
// would compute again, nor rows its rules would empty.
TEST_F(Impresion, ThePaperPrintsTheStoredBoxesAsTheyAre) {
    doc.SetCasilla(casilla::NumeroDocumentos, pagina::P1, "2");
    doc.SetCasilla(casilla::Cuota, pagina::P1, "86,00");
    doc.SetCasilla(casilla::Cuota + 1, pagina::P1, "100,00"); // a row without its count
    doc.SetCasilla(casilla::TotalIngresar, pagina::P1, "100,00");
    doc.ReplicarDatos();
    apoyo::DCRegistro dc;
    CPrintInfo info;
    ASSERT_TRUE(doc.Imprimir(&dc, &info)) << info.m_strError.c_str();
    ASSERT_GE(dc.hojas, 2);
    for (int hoja = 1; hoja <= dc.hojas; ++hoja) {
        SCOPED_TRACE(hoja);
        EXPECT_TRUE(dc.Buscar("186,00", hoja).empty());
        const bool pagina1 = hoja < dc.hojas; // page 2 is the last sheet
        EXPECT_EQ(dc.Buscar("100,00", hoja).size(), pagina1 ? 2u : 1u);
    }
    // And the stored boxes are left as they were.
    EXPECT_EQ(doc.GetCasilla(casilla::TotalIngresar, pagina::P1), "100,00");
}
