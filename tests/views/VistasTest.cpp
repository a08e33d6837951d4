// Both page views of the form under test, opened as the host opens them and driven as a person
// drives them: the name layout, the code label, read-only and edit modes, every box loaded and
// saved back, the typing limits, positioning on a box, and the rules of page 1.
#include "Formulario.h"
#include "Modelo/windows/GuiaView.h"
#include "Modelo/windows/Persona.h"
#include "Modelo/windows/ServiciosGrabados.h"
#include "core/Casillas.h"
#include "core/ModDoc.h"
#include "core/Plantillas.h"
#include "core/TablaCasillas.h"
#include "support/BaseTemporal.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

class Vistas : public ::testing::Test {
protected:
    BaseTemporal base;
    MOD_DOC doc;
    std::unique_ptr<CGuiaView> vista;

    void SetUp() override {
        Reloj::Fijar([] { return COleDateTime(2024, 6, 10, 9, 0, 0); });
        doc.SetCodDeclar(CString(formulario::kCodigo) + "0000000001");
        doc.CrearEstructPaginas();
        ASSERT_TRUE(doc.CargarTablasAuxiliares());
    }
    void P1(int c, const CString& v) { doc.SetCasilla(c, pagina::P1, v); }
    CString Caja(int c, int pagina = pagina::P1) { return doc.GetCasilla(c, pagina); }

    CGuiaView& Abrir(int pagina = pagina::P1) {
        vista.reset();
        CString error;
        vista = AbrirVistaPagina(doc, pagina, error);
        EXPECT_TRUE(vista) << error.c_str();
        return *vista;
    }
    CWnd& DeCasilla(int c) {
        const ControlPlantilla* t = vista->Plantilla()->ControlDeCasilla(c);
        EXPECT_NE(t, nullptr) << c;
        return *vista->GetDlgItem(t->id);
    }
    CString Texto(int c) { return DeCasilla(c).GetWindowText(); }
    CRect Rect(int c) {
        CRect r;
        DeCasilla(c).GetWindowRect(&r);
        return r;
    }
    // The printed box of a box of the page: where the page image drew it.
    CRect Impresa(int c) {
        const PlantillaDialogo& p = *vista->Plantilla();
        return RectanguloEnPixeles(p, *p.ControlDeCasilla(c));
    }
};

// Every page-1 box with a control, with a value the page's rules leave as it is.
void LlenarPagina1(MOD_DOC& doc) {
    const std::pair<int, const char*> valores[] = {
        {1, "03"},          {2, "2024"},        {10, "12345678Z"},
        {11, "GARCÍA"},     {12, "LÓPEZ"},      {13, "ANA"},
        {14, "CL"},         {15, "MAYOR"},      {16, "1"},
        {17, "A"},          {18, "2"},          {19, "B"},
        {20, "910000000"},  {21, "28"},         {22, "079"},
        {23, "28013"},      {30, "B12345674"},  {31, "EJEMPLO S.L."},
        {34, "AV"},         {35, "DIAGONAL"},   {36, "10"},
        {40, "930000000"},  {41, "08"},         {42, "019"},
        {43, "08001"},      {50, "S"},          {52, "8630000000009"},
        {53, "15/02/2024"}, {54, "2024"},       {55, "000012"},
        {60, "3"},          {64, "1.500,00"},   {68, "15,00"},
        {62, "1"},          {66, "200,00"},     {70, "2,00"},
        {72, "17,00"},      {140, "X1234567L"}, {141, "GESTORÍA PÉREZ"},
        {142, "600000000"}, {147, "VELDAR a"},  {143, "05"},
        {144, "JUNIO"},     {145, "2024"},      {146, "05/06/2024"},
    };
    for (auto [c, v] : valores)
        doc.SetCasilla(c, pagina::P1, v);
}

} // namespace

// ----- layout, label and modes
// --------------------------------------------------------------------

TEST_F(Vistas, TheNameFieldCoversItsPrintedBoxesInBothLayouts) {
    using namespace casilla::grupo;
    struct Caso {
        const char* nif;
        bool persona;
    };
    auto comprobar = [&](int grupo, bool persona) {
        const CRect a1 = Rect(grupo + Apellido1);
        const CRect propia = Impresa(grupo + Apellido1);
        // A person's first surname on its own box, level with its row; an entity's name over
        // the span of the three boxes, ending where the last one ends.
        EXPECT_EQ(a1.left, propia.left);
        EXPECT_EQ(a1.top, propia.top);
        EXPECT_EQ(a1.bottom, propia.bottom);
        EXPECT_EQ(a1.top, Rect(grupo + Nif).top);
        EXPECT_EQ(a1.bottom, Rect(grupo + Nif).bottom);
        EXPECT_EQ(a1.right, persona ? propia.right : Impresa(grupo + Nombre).right);
        if (persona) {
            EXPECT_LE(a1.right, Rect(grupo + Apellido2).left);
        }
        EXPECT_EQ(DeCasilla(grupo + Apellido2).IsWindowVisible(), persona);
        EXPECT_EQ(DeCasilla(grupo + Nombre).IsWindowVisible(), persona);
    };
    for (Caso caso : {Caso{"", true}, Caso{"12345678Z", true}, Caso{"X1234567L", true},
                      Caso{"B12345674", false}}) {
        for (int grupo : {casilla::SujetoPasivo, casilla::Representante}) {
            SCOPED_TRACE(std::string(caso.nif) + " en " + std::to_string(grupo));
            doc.VaciarCasillas();
            P1(grupo, caso.nif);
            Abrir();
            comprobar(grupo, caso.persona);
        }
    }
    // Page 2 lays out the taxpayer the same way from its own copy and its own template.
    for (Caso caso : {Caso{"12345678Z", true}, Caso{"B12345674", false}}) {
        SCOPED_TRACE(caso.nif);
        doc.SetCasilla(casilla::SujetoPasivo, pagina::P2, caso.nif);
        Abrir(pagina::P2);
        comprobar(casilla::SujetoPasivo, caso.persona);
    }
}

TEST_F(Vistas, OnlyAFinalDeclarationShowsItsCodeAndItIsReadOnly) {
    for (int pagina : {pagina::P1, pagina::P2}) {
        doc.SetEstado(estado::Borrador);
        doc.SetPermiteCambios(true);
        Abrir(pagina);
        EXPECT_EQ(vista->GetDlgItem(control::TextoCodigoBarras)->GetWindowText(), "");

        doc.SetEstado(estado::Definitiva);
        doc.SetPermiteCambios(false);
        Abrir(pagina);
        EXPECT_EQ(vista->GetDlgItem(control::TextoCodigoBarras)->GetWindowText(),
                  doc.GetCodDeclar());
        LOGFONT lf;
        vista->GetDlgItem(control::TextoCodigoBarras)->GetFont()->GetLogFont(&lf);
        EXPECT_STREQ(lf.lfFaceName, "Courier New");
        for (const ControlPlantilla& c : vista->Plantilla()->controles) {
            if (c.casilla >= 0) {
                EXPECT_FALSE(vista->GetDlgItem(c.id)->IsWindowEnabled()) << c.casilla;
            }
        }
    }
    CPersona persona(Abrir());
    EXPECT_FALSE(persona.Teclear(control::NumDoc, "5"));
    EXPECT_FALSE(vista->SalvarDatos());
}

TEST_F(Vistas, EditModeUnlocksWhatTheRulesAllow) {
    Abrir();
    for (int c : {1, 2, 60, 61, 62, 63, 50, 51, 146})
        EXPECT_TRUE(DeCasilla(c).IsWindowEnabled()) << c;
    // No count, no kind of declaration: the amounts and the earlier declaration stay locked.
    for (int c : {64, 68, 72, 52, 53, 54, 55, 10, 140})
        EXPECT_FALSE(DeCasilla(c).IsWindowEnabled()) << c;
    vista->ModoSoloLectura();
    vista->ModoEdicion();
    EXPECT_TRUE(DeCasilla(1).IsWindowEnabled());
    EXPECT_TRUE(DeCasilla(2).IsWindowEnabled());
}

// ----- values
// -------------------------------------------------------------------------------------

TEST_F(Vistas, EveryBoxOfPage1SurvivesALoadAndASave) {
    for (const char* fecha : {"15/02/2024", ""}) {
        SCOPED_TRACE(fecha);
        doc.VaciarCasillas();
        LlenarPagina1(doc);
        P1(casilla::FechaPresentacionAnterior, fecha);
        const auto antes = doc.Casillas();
        Abrir();
        EXPECT_EQ(Texto(21), "Madrid"); // the control shows the name...
        EXPECT_EQ(Texto(42), "Barcelona");
        ASSERT_TRUE(vista->SalvarDatos());
        EXPECT_EQ(doc.Casillas(), antes); // ...and the box keeps the code
    }
}

TEST_F(Vistas, Page2ShowsWhatReplicationCopiedAndSavesItBack) {
    LlenarPagina1(doc);
    ASSERT_TRUE(doc.ReplicarDatos());
    const auto antes = doc.Casillas();
    Abrir(pagina::P2);
    for (int c : casilla::kReplicadas) {
        if (c == casilla::SujetoPasivo + casilla::grupo::Provincia)
            EXPECT_EQ(Texto(c), "Madrid");
        else if (c == casilla::SujetoPasivo + casilla::grupo::Municipio)
            EXPECT_EQ(Texto(c), "Madrid");
        else
            EXPECT_EQ(Texto(c), Caja(c, pagina::P2)) << c;
        EXPECT_FALSE(DeCasilla(c).IsWindowEnabled()) << c;
    }
    ASSERT_TRUE(vista->SalvarDatos());
    EXPECT_EQ(doc.Casillas(), antes);
}

TEST_F(Vistas, TheLengthLimitsHoldWhileTyping) {
    P1(casilla::Complementaria, "S"); // unlocks the earlier declaration
    CPersona persona(Abrir());
    struct Caso {
        int casilla;
        const char* tecleado;
        const char* queda;
    };
    for (Caso caso : {Caso{2, "20245", "2024"}, Caso{52, "86300000000091", "8630000000009"},
                      Caso{54, "20231", "2023"}, Caso{55, "1234567", "123456"}}) {
        const int id = vista->Plantilla()->ControlDeCasilla(caso.casilla)->id;
        EXPECT_FALSE(persona.Escribir(id, caso.tecleado)) << caso.casilla;
        EXPECT_EQ(Texto(caso.casilla), caso.queda);
    }
    // A value longer than the limit set by code is refused when the view reads it.
    DeCasilla(2).SetWindowText("20245");
    EXPECT_FALSE(vista->UpdateData(true));
}

// ----- positioning
// --------------------------------------------------------------------------------

TEST_F(Vistas, PartyBoxesOpenTheDialogAndBox50TheImport) {
    Abrir();
    for (int c : {10, 30, 140}) {
        base.ui.dialogosIntervinientes.clear();
        EXPECT_TRUE(vista->PosicionarEnCasilla(c));
        ASSERT_EQ(base.ui.dialogosIntervinientes.size(), 1u) << c;
        EXPECT_EQ(base.ui.dialogosIntervinientes[0],
                  "1|" + doc.GetCodModelo() + "|" + doc.GetCodDeclar());
    }
    EXPECT_TRUE(vista->PosicionarEnCasilla(50));
    EXPECT_EQ(base.ui.ficherosPedidos.size(), formulario::kImportacionDesdePagina1 ? 1u : 0u);
    EXPECT_TRUE(vista->PosicionarEnCasilla(60));
    EXPECT_EQ(vista->GetFocus(), &DeCasilla(60));
    P1(casilla::SujetoPasivo, "B12345674");
    Abrir();
    EXPECT_FALSE(vista->PosicionarEnCasilla(13)); // hidden for an entity
}

// ----- rules
// --------------------------------------------------------------------------------------

TEST_F(Vistas, ComplementaryAndSubstitutiveExcludeEachOther) {
    CPersona persona(Abrir());
    auto marcada = [&](int c) { return static_cast<CButton&>(DeCasilla(c)).GetCheck(); };
    persona.Pulsar(control::ChkSustitutiva);
    persona.Pulsar(control::ChkComplementaria);
    EXPECT_EQ(marcada(50), BST_CHECKED);
    EXPECT_EQ(marcada(51), BST_UNCHECKED);
    for (int c : {52, 53, 54, 55})
        EXPECT_TRUE(DeCasilla(c).IsWindowEnabled()) << c;
    persona.Escribir(control::IdJustificante, "8630000000009");
    persona.Pulsar(control::ChkComplementaria);
    EXPECT_EQ(marcada(50), BST_UNCHECKED);
    EXPECT_EQ(Texto(52), "");
    for (int c : {52, 53, 54, 55})
        EXPECT_FALSE(DeCasilla(c).IsWindowEnabled()) << c;
    EXPECT_FALSE(static_cast<CDateTimeCtrl&>(DeCasilla(53)).TieneFecha());
}

TEST_F(Vistas, CountsUnlockTheirAmountsAndTheTotalFollowsTheQuotas) {
    CPersona persona(Abrir());
    persona.Escribir(control::NumDoc + 0, "0");
    persona.Tabular();
    EXPECT_EQ(Texto(60), "");
    EXPECT_FALSE(DeCasilla(64).IsWindowEnabled());
    persona.Escribir(control::NumDoc + 0, "00");
    persona.Tabular();
    EXPECT_EQ(Texto(60), "00");
    EXPECT_TRUE(DeCasilla(68).IsWindowEnabled());
    persona.Escribir(control::NumDoc + 1, "2");
    persona.Escribir(control::Cuota + 0, "1.234,50");
    persona.Escribir(control::Cuota + 1, "10,00");
    persona.Tabular();
    EXPECT_EQ(Texto(72), "1.244,50");
    persona.Escribir(control::Cuota + 0, "");
    persona.Escribir(control::Cuota + 1, "");
    persona.Tabular();
    EXPECT_EQ(Texto(72), "");
}

// What the box showed before the person typed is what a refused amount gives way to, never a
// half-typed text; the total is summed from what the boxes keep.
TEST_F(Vistas, ARefusedAmountGivesBackWhatTheBoxShowedAndTheTotalNeverCountsIt) {
    P1(casilla::NumeroDocumentos, "1");
    P1(casilla::Cuota, "10,00");
    CPersona persona(Abrir());
    persona.Escribir(control::Cuota, "12.34");
    EXPECT_EQ(Texto(casilla::Cuota), "12.34"); // still typing: nothing is judged yet
    persona.Teclear(control::Cuota, ",5");
    persona.Tabular();
    ASSERT_EQ(base.ui.mensajes.size(), 1u);
    EXPECT_EQ(base.ui.mensajes[0].texto, "- El importe no es válido.\n");
    EXPECT_EQ(Texto(casilla::Cuota), "10,00");
    EXPECT_EQ(Texto(casilla::TotalIngresar), "10,00");
    persona.Escribir(control::Cuota, "7,5");
    persona.Tabular();
    EXPECT_EQ(Texto(casilla::Cuota), "7,50");
    EXPECT_EQ(Texto(casilla::TotalIngresar), "7,50");
    EXPECT_EQ(base.ui.mensajes.size(), 1u);
    // A malformed quota a script stored adds nothing to the total the page writes.
    ASSERT_TRUE(vista->SalvarDatos());
    P1(casilla::Cuota + 1, "12.34");
    P1(casilla::NumeroDocumentos + 1, "1");
    Abrir();
    EXPECT_EQ(Texto(casilla::TotalIngresar), "7,50");
}

TEST_F(Vistas, TheTotalIsExactToTheCentAndItsOwnValidationTakesIt) {
    // Fourteen-digit quotas: a double sum would end in ,94; a quota as the field admits it,
    // without dots or with one decimal, adds as the amount it is.
    struct Caso {
        std::vector<const char*> cuotas;
        const char* total;
    };
    const Caso casos[] = {
        {{"99.999.999.999.999,99", "99.999.999.999.999,99", "99.999.999.999.999,99",
          "99.999.999.999.999,99"},
         "399.999.999.999.999,96"},
        {{"0,01", "0,02", "0,04", "0,03"}, "0,10"},
        {{"1500", "0,5", "12.345.678.901.234,07", ""}, "12.345.678.902.734,57"},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.total);
        doc.VaciarCasillas();
        CPersona persona(Abrir());
        for (int i = 0; i < casilla::FilasLiquidacion; ++i) {
            persona.Escribir(control::NumDoc + i, "1");
            persona.Escribir(control::Cuota + i, caso.cuotas[size_t(i)]);
        }
        persona.Tabular();
        EXPECT_EQ(Texto(casilla::TotalIngresar), caso.total);
        ASSERT_TRUE(vista->SalvarDatos());
        CListaErrores e;
        doc.ValidarFormatoCasillas(e);
        for (const stError& x : e)
            EXPECT_NE(x.Casilla, casilla::TotalIngresar) << x.Codigo;
    }
}

TEST_F(Vistas, TheMonthIsNormalisedOnLeavingAndCannotBeEmptiedByTyping) {
    CPersona persona(Abrir());
    persona.Escribir(control::MesDevengo, "1");
    EXPECT_EQ(Texto(1), "1"); // half typed: it may yet become 10, 11 or 12
    persona.Tabular();
    EXPECT_EQ(Texto(1), "01");
    persona.Borrar(control::MesDevengo);
    persona.Tabular();
    EXPECT_EQ(Texto(1), "01");
    // With the year still empty the period is never checked.
    EXPECT_TRUE(base.ui.mensajes.empty());
}

TEST_F(Vistas, ARefusedPeriodIsExplainedOnceAndPutBack) {
    P1(casilla::MesDevengo, "03");
    P1(casilla::AnioDevengo, "2024");
    CPersona persona(Abrir());
    persona.Escribir(control::AnioDevengo, "2030"); // after the current month
    persona.Tabular();
    ASSERT_EQ(base.ui.mensajes.size(), 1u);
    EXPECT_EQ(base.ui.mensajes[0].texto.Left(2), "- ");
    EXPECT_EQ(Texto(2), "2024");
    EXPECT_EQ(Texto(1), "03");
    EXPECT_EQ(Caja(casilla::AnioDevengo), "2024");
}

// On a screen a message takes the focus from the page while it is open and gives it back as
// it closes: the box the person was in is not left by that, so a refusal is told once.
class ServiciosDePantalla : public CServiciosGrabados {
public:
    CGuiaView* vista = nullptr;
    int MessageBox(const CString& texto, const CString& titulo, UINT tipo) override {
        CWnd* foco = vista->GetFocus();
        vista->QuitarFoco();
        const int r = CServiciosGrabados::MessageBox(texto, titulo, tipo);
        if (foco)
            foco->SetFocus();
        return r;
    }
};

TEST_F(Vistas, AMessageThatTakesTheFocusTellsARefusalOnce) {
    P1(casilla::MesDevengo, "03");
    P1(casilla::AnioDevengo, "2023");
    P1(casilla::NumeroDocumentos, "1");
    ServiciosDePantalla pantalla;
    AfxFijarServicios(&pantalla);
    CPersona persona(Abrir());
    pantalla.vista = vista.get();
    persona.Escribir(control::MesDevengo, "13");
    persona.Tabular();
    EXPECT_EQ(pantalla.mensajes.size(), 1u);
    EXPECT_EQ(Texto(casilla::MesDevengo), "03");
    persona.Escribir(control::Cuota, "1.2");
    persona.Tabular();
    EXPECT_EQ(pantalla.mensajes.size(), 2u);
    EXPECT_EQ(Texto(casilla::Cuota), "");
    AfxFijarServicios(&base.ui);
}

TEST_F(Vistas, TheSignatureDateIsSpeltOutAndAFutureOneRefused) {
    CPersona persona(Abrir());
    persona.ElegirFecha(control::SelectorFechaFirma, COleDateTime(2024, 3, 5, 0, 0, 0));
    persona.Tabular();
    EXPECT_EQ(Texto(143), "05");
    EXPECT_EQ(Texto(144), "MARZO");
    EXPECT_EQ(Texto(145), "2024");
    base.ui.mensajes.clear();
    persona.ElegirFecha(control::SelectorFechaFirma, COleDateTime(2025, 1, 5, 0, 0, 0));
    persona.Tabular();
    ASSERT_EQ(base.ui.mensajes.size(), 1u);
    EXPECT_EQ(Texto(145), "2024");
    EXPECT_EQ(static_cast<CDateTimeCtrl&>(DeCasilla(146)).TextoFecha(), "05/03/2024");
}

TEST_F(Vistas, ThePresentationNumberIsPaddedOnLeaving) {
    P1(casilla::Sustitutiva, "S");
    CPersona persona(Abrir());
    persona.Escribir(control::NumeroPresentacion, "12");
    persona.Tabular();
    EXPECT_EQ(Texto(55), "000012");
}

TEST_F(Vistas, NoClickSequenceLeavesBothKindsTicked) {
    CPersona persona(Abrir());
    auto marcada = [&](int c) {
        return static_cast<CButton&>(DeCasilla(c)).GetCheck() == BST_CHECKED;
    };
    unsigned semilla = 7;
    for (int i = 0; i < 60; ++i) {
        semilla = semilla * 1103515245u + 12345u;
        persona.Pulsar((semilla >> 16) % 2 ? control::ChkComplementaria : control::ChkSustitutiva);
        ASSERT_FALSE(marcada(50) && marcada(51)) << "seed 7, click " << i;
        EXPECT_EQ(DeCasilla(52).IsWindowEnabled(), marcada(50) || marcada(51)) << i;
    }
}

TEST_F(Vistas, APutBackPeriodRefusedAgainShowsNoSecondMessage) {
    P1(casilla::MesDevengo, "03");
    P1(casilla::AnioDevengo, "1999"); // before the first tariff: refused as well
    Abrir();
    base.ui.mensajes.clear();         // showing a stored period checks it too
    DeCasilla(1).SetWindowText("04"); // one change, as a month picked from the list
    EXPECT_EQ(base.ui.mensajes.size(), 1u);
    EXPECT_EQ(Texto(1), "03");
    EXPECT_EQ(Texto(2), "1999");
    EXPECT_EQ(vista->NotificacionesCortadas(), 0);
}

TEST_F(Vistas, ThePartiesDialogIsRefusedWhenTheStoredDeclarationChangedElsewhere) {
    CString marca = "2024-06-10 09:00:00";
    doc.SetAlmacen({[](CGuiaDoc&) { return true; }, {}, {}, [&](const CString&) { return marca; }});
    doc.SetMarcaAlmacen(marca);
    P1(casilla::SujetoPasivo, "B12345674");
    Abrir();
    CPersona persona(*vista);
    base.ui.respuestaIntervinientes = IDCANCEL;
    persona.Pulsar(control::IntervSujeto);
    EXPECT_EQ(base.ui.dialogosIntervinientes.size(), 1u);
    marca = "2024-06-10 09:05:00"; // another program saved it meanwhile
    base.ui.respuestaIntervinientes = IDOK;
    persona.Pulsar(control::IntervSujeto);
    EXPECT_EQ(base.ui.dialogosIntervinientes.size(), 1u);
    ASSERT_EQ(base.ui.mensajes.size(), 1u);
    EXPECT_NE(base.ui.mensajes[0].texto.Find("otra ventana"), -1);
    EXPECT_EQ(doc.GetCasilla(casilla::SujetoPasivo, pagina::P1), "B12345674");
}

TEST_F(Vistas, HelpButtonsOpenTheHelpOfTheirBlock) {
    CPersona persona(Abrir());
    for (int id : {control::AyudaSujeto, control::AyudaRepresentante, control::AyudaPresentador,
                   control::AyudaTipoDeclaracion, control::AyudaAutoliquidacion})
        persona.Pulsar(id);
    const CString m = doc.GetCodModelo() + "/1/";
    EXPECT_EQ(base.ui.ayudas,
              (std::vector<CString>{m + "SujPasivo", m + "Representante", m + "Presentador",
                                    m + "Tipo_Liquidacion", m + "Autoliquidacion"}));
    for (const char* clave :
         {"SujPasivo", "Representante", "Presentador", "Tipo_Liquidacion", "Autoliquidacion"})
        EXPECT_FALSE(TextoAyudaBloque(doc.GetCodModelo(), "1", clave).IsEmpty()) << clave;
}

TEST_F(Vistas, ACancelledFileDialogChangesNothingButTheSave) {
    if (!formulario::kImportacionDesdePagina1)
        GTEST_SKIP() << "this form has no import";
    P1(casilla::NumeroDocumentos, "2");
    P1(casilla::Cuota, "3,00");
    Abrir();
    DeCasilla(casilla::Base).SetWindowText("100,00"); // typed, not yet saved
    EXPECT_TRUE(vista->PosicionarEnCasilla(casilla::ImportacionFichero));
    EXPECT_EQ(base.ui.ficherosPedidos[0],
              "Ficheros Txt (*.txt)|*.txt|||Selección del fichero que contiene los datos");
    EXPECT_EQ(Caja(casilla::Base), "100,00");
    EXPECT_EQ(Caja(casilla::Cuota), "3,00");
    EXPECT_EQ(Caja(casilla::NumeroDocumentos), "2");
}

TEST_F(Vistas, LeavingTheMonthOnForm871RecomputesSavesAndReloads) {
    P1(casilla::NumeroDocumentos, "2");
    P1(casilla::Cuota, "3,00");
    P1(casilla::TotalIngresar, "9,99");
    CPersona persona(Abrir());
    persona.Escribir(control::MesDevengo, "5");
    persona.Tabular();
    EXPECT_EQ(Texto(1), "05");
    // Form 871 saves the page on leaving the month; form 863 waits for the next save.
    EXPECT_EQ(Caja(casilla::MesDevengo), formulario::kSalidaMesRecalcula ? "05" : "");
    EXPECT_EQ(Caja(casilla::TotalIngresar), formulario::kSalidaMesRecalcula ? "3,00" : "9,99");
}
