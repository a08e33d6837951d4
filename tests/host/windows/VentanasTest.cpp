// The window model driven as a person drives it: focus, typing, clicks and dates, and what the
// view's message map hears of them.
#include "Modelo/document/GuiaDoc.h"
#include "Modelo/windows/GuiaView.h"
#include "Modelo/windows/Persona.h"
#include "support/BaseTemporal.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

enum Id { Texto = 1, Numero, Importe, Marca, FechaOpt, FechaFija, Boton, Imagen, Apagado };

const PlantillaDialogo& Plantilla() {
    using K = ClaseControl;
    static const PlantillaDialogo p{
        90100,
        530,
        688,
        "MS Sans Serif",
        8,
        {{Texto, K::EditTrans, 10, 10, 100, 12, ES_MAYUSCULAS, true, 1},
         {Numero, K::EditNumber, 120, 10, 30, 12, 0, true, 2},
         {Importe, K::EditDecNumber, 160, 10, 80, 12, ES_DERECHA, true, 3},
         {Marca, K::CheckBox, 250, 10, 9, 9, 0, true, 4},
         {FechaOpt, K::DateTimeOpt, 270, 10, 55, 11, 0, true, 5},
         {FechaFija, K::DateTimeFixFormat, 330, 10, 14, 11, 0, true, 6},
         {Boton, K::ScrollBitmapButton, 350, 10, 12, 11, 0, true, -1},
         {Imagen, K::Picture, 10, 40, 100, 40, 0, true, -1},
         {Apagado, K::EditTrans, 120, 40, 100, 12, 0, false, 9}}};
    return p;
}

// Records every notification the view's map receives; the number value takes at most four
// characters at exchange.
class VistaPrueba : public CGuiaView {
    DECLARE_MESSAGE_MAP()
public:
    VistaPrueba() : CGuiaView(90100) {}
    std::vector<std::pair<int, UINT>> oidas;
    CString texto, numero;
    CEditNumber numeroCtrl;
    // What control Numero held when Texto's change was heard.
    std::vector<CString> numeroAlCambiarTexto;
    bool realimentar = false;

    void Oir(NMHDR* nm, LRESULT*) {
        oidas.emplace_back(int(nm->idFrom), nm->code);
        if (nm->code == EN_CHANGE && nm->idFrom == Texto) {
            UpdateData(true);
            numeroAlCambiarTexto.push_back(numero);
            if (realimentar) // a rule that changes what it reacts to
                GetDlgItem(Texto)->SetWindowText(texto + "A");
        }
    }
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, Numero, numeroCtrl);
        DDX_Text(pDX, Texto, texto);
        DDX_Text(pDX, Numero, numero);
        DDV_MaxChars(pDX, numero, 4);
    }
    std::vector<std::pair<int, UINT>> Tomar() { return std::exchange(oidas, {}); }
};

#define OIR(code)                                                                                  \
    {UINT(code),                                                                                   \
     1,                                                                                            \
     99,                                                                                           \
     AfxSig_vNMHDRpl,                                                                              \
     {.notify = static_cast<AFX_PMSG_NOTIFY>(                                                      \
          static_cast<void (VistaPrueba::*)(NMHDR*, LRESULT*)>(&VistaPrueba::Oir))}},

// clang-format off
BEGIN_MESSAGE_MAP(VistaPrueba, CGuiaView)
OIR(EN_CHANGE) OIR(EN_SETFOCUS) OIR(EN_KILLFOCUS) OIR(BN_CLICKED) OIR(BN_SETFOCUS)
OIR(BN_KILLFOCUS) OIR(NM_SETFOCUS) OIR(NM_KILLFOCUS) OIR(DTN_DROPDOWN) OIR(DTN_CLOSEUP)
OIR(DTN_DATETIMECHANGE)
END_MESSAGE_MAP()
    // clang-format on

    class Ventanas : public ::testing::Test {
protected:
    BaseTemporal base;
    CModuloRecursos modulo{"prueba", {}, {{90100, &Plantilla()}}, {}};
    CGuiaDoc doc;
    VistaPrueba vista;
    CPersona persona{vista};

    void SetUp() override {
        AfxAnadirModuloRecursos(&modulo);
        vista.SetDocument(&doc);
        ASSERT_TRUE(vista.Crear());
        vista.Tomar();
    }
    void TearDown() override { AfxQuitarModuloRecursos(&modulo); }
    CWnd& W(int id) { return *vista.GetDlgItem(id); }
};

} // namespace

TEST_F(Ventanas, ControlsSitOnThePixelsOfTheirDialogUnits) {
    CRect r;
    W(Texto).GetWindowRect(&r);
    EXPECT_EQ(r, CRect(15, 16, 160, 36)); // 10,10,100,12 on a 530 x 688 template
    // Neighbours that touch in dialog units touch in pixels, never overlap.
    const ControlPlantilla a{1, ClaseControl::EditTrans, 65, 0, 35, 12, 0, true, -1};
    const ControlPlantilla b{2, ClaseControl::EditTrans, 100, 0, 10, 12, 0, true, -1};
    EXPECT_EQ(RectanguloEnPixeles(Plantilla(), a).right, RectanguloEnPixeles(Plantilla(), b).left);
    const ControlPlantilla todo{3, ClaseControl::Picture, 0, 0, 530, 688, 0, true, -1};
    EXPECT_EQ(RectanguloEnPixeles(Plantilla(), todo), CRect(0, 0, 770, 1125));
}

TEST_F(Ventanas, FocusMovesWithKillBeforeSetAndSkipsWhatCannotTakeIt) {
    EXPECT_TRUE(persona.Enfocar(Texto));
    EXPECT_TRUE(persona.Enfocar(FechaOpt));
    EXPECT_TRUE(persona.Enfocar(Marca));
    using P = std::pair<int, UINT>;
    EXPECT_EQ(vista.Tomar(), (std::vector<P>{{Texto, EN_SETFOCUS},
                                             {Texto, EN_KILLFOCUS},
                                             {FechaOpt, NM_SETFOCUS},
                                             {FechaOpt, NM_KILLFOCUS},
                                             {Marca, BN_SETFOCUS}}));
    EXPECT_FALSE(persona.Enfocar(Apagado));
    EXPECT_FALSE(persona.Enfocar(Imagen));
    EXPECT_EQ(vista.GetFocus(), &W(Marca));
    W(Texto).ShowWindow(SW_HIDE);
    // Tab goes round the template's order past statics, hidden and disabled controls.
    persona.Enfocar(Boton);
    EXPECT_TRUE(persona.Tabular());
    EXPECT_EQ(vista.GetFocus(), &W(Numero));
    persona.Salir();
    EXPECT_EQ(vista.GetFocus(), nullptr);
}

TEST_F(Ventanas, OnlyARealChangeOfTextIsNotified) {
    W(Texto).SetWindowText("ABC");
    W(Texto).SetWindowText("ABC");
    W(Imagen).SetWindowText("no es una edición");
    EXPECT_EQ(vista.Tomar(), (std::vector<std::pair<int, UINT>>{{Texto, EN_CHANGE}}));
    // Typing over the selected text: one change per character, the first replacing it all.
    persona.Escribir(Texto, "xy");
    int cambios = 0;
    for (auto [id, code] : vista.Tomar())
        cambios += code == EN_CHANGE;
    EXPECT_EQ(cambios, 2);
    EXPECT_EQ(W(Texto).GetWindowText(), "XY"); // the edit's upper-case style
}

TEST_F(Ventanas, AChangeMadeWhileShowingValuesIsHeardOnceEveryValueIsShown) {
    vista.texto = "NUEVO";
    vista.numero = "42";
    ASSERT_TRUE(vista.UpdateData(false));
    ASSERT_EQ(vista.numeroAlCambiarTexto.size(), 1u);
    EXPECT_EQ(vista.numeroAlCambiarTexto[0], "42");
    EXPECT_EQ(vista.texto, "NUEVO");
}

TEST_F(Ventanas, ARuleThatFeedsItselfIsCutInsteadOfExhaustingTheStack) {
    vista.realimentar = true;
    W(Texto).SetWindowText("B");
    EXPECT_GT(vista.NotificacionesCortadas(), 0);
    EXPECT_LT(W(Texto).GetWindowTextLength(), 40);
}

TEST_F(Ventanas, TypingFollowsTheKindOfEachEdit) {
    EXPECT_FALSE(persona.Teclear(Numero, "1a2"));
    EXPECT_EQ(W(Numero).GetWindowText(), "12");
    // Amounts: grouping dots, one comma, two decimals, fourteen integer digits.
    EXPECT_FALSE(persona.Teclear(Importe, "1.234,567"));
    EXPECT_EQ(W(Importe).GetWindowText(), "1.234,56");
    auto& importe = static_cast<CEditDecNumber&>(W(Importe));
    importe.SetDigitos(3, 0);
    EXPECT_FALSE(persona.Escribir(Importe, "1234,5"));
    EXPECT_EQ(W(Importe).GetWindowText(), "123");
    // Upper case reaches accented letters, in UTF-8 and in Latin-1 alike.
    persona.Escribir(Texto, "peña \xe1");
    EXPECT_EQ(W(Texto).GetWindowText(), "PEÑA \xc1");
    EXPECT_EQ(persona.Rechazados(), 5);
}

TEST_F(Ventanas, MaxCharsLimitsTypingAndRefusesALongerValueAtExchange) {
    ASSERT_TRUE(vista.UpdateData(false)); // showing the value sets the limit
    EXPECT_EQ(vista.numeroCtrl.GetLimitText(), 4);
    EXPECT_FALSE(persona.Escribir(Numero, "12345"));
    EXPECT_EQ(W(Numero).GetWindowText(), "1234");
    W(Numero).SetWindowText("123456");    // code is not held back by the limit...
    EXPECT_FALSE(vista.UpdateData(true)); // ...but the exchange refuses it, and says why
    ASSERT_EQ(base.ui.mensajes.size(), 1u);
    EXPECT_NE(base.ui.mensajes[0].texto.Find("4 caracteres"), -1);
}

TEST_F(Ventanas, BindingAHandleOfAnotherKindFailsTheExchange) {
    class Mal : public VistaPrueba {
    public:
        CButton boton;
        void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, Texto, boton); }
    } mal;
    mal.SetDocument(&doc);
    EXPECT_FALSE(mal.Crear());
    EXPECT_EQ(mal.boton.GetSafeHwnd(), nullptr);
}

TEST_F(Ventanas, ClicksAndDatesSendWhatAScreenSends) {
    auto& marca = static_cast<CButton&>(W(Marca));
    marca.SetCheck(BST_CHECKED); // code: no notification
    EXPECT_TRUE(vista.Tomar().empty());
    persona.Pulsar(Marca);
    EXPECT_EQ(marca.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(vista.Tomar().back(), std::make_pair(int(Marca), UINT(BN_CLICKED)));

    persona.Salir();
    vista.Tomar();
    EXPECT_TRUE(persona.ElegirFecha(FechaOpt, COleDateTime(2024, 3, 5, 0, 0, 0)));
    using P = std::pair<int, UINT>;
    EXPECT_EQ(vista.Tomar(), (std::vector<P>{{FechaOpt, NM_SETFOCUS},
                                             {FechaOpt, DTN_DROPDOWN},
                                             {FechaOpt, DTN_DATETIMECHANGE},
                                             {FechaOpt, DTN_CLOSEUP}}));
    auto& opt = static_cast<CDateTimeOptCtrl&>(W(FechaOpt));
    EXPECT_EQ(opt.TextoFecha(), "05/03/2024");
    opt.OcultarFecha();
    COleDateTime f;
    EXPECT_EQ(opt.GetTime(f), GDT_NONE);
    // A fixed-format picker always shows a date.
    auto& fija = static_cast<CDateTimeFixFormatCtrl&>(W(FechaFija));
    EXPECT_TRUE(fija.TieneFecha());
    EXPECT_FALSE(fija.SetTime(COleDateTime()));
    EXPECT_TRUE(fija.TieneFecha());
}

TEST_F(Ventanas, BoxesGoToControlsAndBackThroughTheirKinds) {
    doc.SetCasilla(4, 0, "S");
    doc.SetCasilla(5, 0, "05/03/2024");
    int marca = 0;
    COleDateTime fecha;
    ASSERT_TRUE(vista.CargarControlCasilla(4, marca));
    EXPECT_EQ(marca, BST_CHECKED);
    auto& opt = static_cast<CDateTimeCtrl&>(W(FechaOpt));
    ASSERT_TRUE(vista.CargarControlCasilla(5, opt, fecha));
    EXPECT_EQ(opt.TextoFecha(), "05/03/2024");
    ASSERT_TRUE(vista.SalvarControlCasilla(4, BST_UNCHECKED));
    EXPECT_EQ(doc.GetCasilla(4, 0), "");
    static_cast<CDateTimeOptCtrl&>(opt).OcultarFecha();
    ASSERT_TRUE(vista.SalvarControlCasilla(5, opt, fecha));
    EXPECT_EQ(doc.GetCasilla(5, 0), "");

    // Through a code table the control shows the text and the box keeps the code; a code the
    // table lacks survives a load and a save unchanged.
    CStringArray codigos, textos;
    codigos.Add("28");
    textos.Add("Madrid");
    CString valor;
    for (const char* codigo : {"28", "99"}) {
        doc.SetCasilla(1, 0, codigo);
        ASSERT_TRUE(vista.CargarControlCasilla(1, valor, codigos, textos));
        EXPECT_EQ(valor, CString(codigo) == "28" ? "Madrid" : "99");
        doc.SetCasilla(1, 0, "");
        ASSERT_TRUE(vista.SalvarControlCasilla(1, valor, codigos, textos));
        EXPECT_EQ(doc.GetCasilla(1, 0), codigo);
    }
}

TEST_F(Ventanas, ReadOnlyKeepsEveryBoxControlDisabledAndWritesNothing) {
    ASSERT_TRUE(vista.ModoSoloLectura());
    for (int id : {Texto, Numero, Importe, Marca, FechaOpt, FechaFija})
        EXPECT_FALSE(W(id).IsWindowEnabled()) << id;
    EXPECT_TRUE(W(Boton).IsWindowEnabled());
    EXPECT_FALSE(vista.HabilitarControl(Texto));
    EXPECT_FALSE(vista.SalvarControlCasilla(1, CString("X")));
    EXPECT_EQ(doc.GetCasilla(1, 0), "");
    EXPECT_FALSE(vista.SalvarDatos());
    ASSERT_TRUE(vista.ModoEdicion());
    EXPECT_TRUE(W(Texto).IsWindowEnabled());
    EXPECT_FALSE(W(Apagado).IsWindowEnabled()); // the template's state comes back
}

TEST_F(Ventanas, PositioningFocusesTheBoxControlOnlyWhenItIsShown) {
    EXPECT_TRUE(vista.PosicionarEnCasilla(2));
    EXPECT_EQ(vista.GetFocus(), &W(Numero));
    W(Importe).ShowWindow(SW_HIDE);
    EXPECT_FALSE(vista.PosicionarEnCasilla(3));
    EXPECT_FALSE(vista.PosicionarEnCasilla(77));
    // A box mapped for validation to another control is brought to that one.
    vista.MapearControlValidacion(77, Texto);
    EXPECT_TRUE(vista.PosicionarEnCasilla(77));
    EXPECT_EQ(vista.GetFocus(), &W(Texto));
}

TEST_F(Ventanas, TheObserverHearsEveryChangeOfAWindow) {
    struct Observador : IObservadorVista {
        std::vector<std::pair<int, CambioVentana>> cambios;
        void VentanaCambiada(int id, CambioVentana c) override { cambios.emplace_back(id, c); }
    } obs;
    vista.SetObservador(&obs);
    W(Texto).SetWindowText("A");
    W(Texto).EnableWindow(false);
    W(Texto).ShowWindow(SW_HIDE);
    W(Texto).MoveWindow(0, 0, 10, 10, false);
    using C = CambioVentana;
    EXPECT_EQ(
        obs.cambios,
        (std::vector<std::pair<int, C>>{
            {Texto, C::Texto}, {Texto, C::Habilitada}, {Texto, C::Visible}, {Texto, C::Posicion}}));
    vista.SetObservador(nullptr);
}
