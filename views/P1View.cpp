#include "P1View.h"

#include "Modelo/GuiaDoc.h"
#include "Modelo/Servicios.h"
#include "core/IdsRecursos.h"
#include "core/Imagenes.h"
#include "core/Plantillas.h"

#include <new>

IMPLEMENT_DYNCREATE(MOD_P1VIEW, CGuiaView)

BEGIN_MESSAGE_MAP(MOD_P1VIEW, CGuiaView)
ON_BN_CLICKED(control::IntervSujeto, OnBtnIntervinientes)
ON_BN_CLICKED(control::IntervRepresentante, OnBtnIntervinientes)
ON_BN_CLICKED(control::IntervPresentador, OnBtnIntervinientes)
ON_NOTIFY(NM_KILLFOCUS, control::SelectorFechaFirma, OnKillfocusFechaFirma)
ON_NOTIFY(DTN_CLOSEUP, control::SelectorFechaFirma, OnCloseupFechaFirma)
ON_NOTIFY(NM_KILLFOCUS, control::SelectorFechaPresentacion, OnKillfocusLiqFechaPres)
ON_NOTIFY(DTN_CLOSEUP, control::SelectorFechaPresentacion, OnCloseupLiqFechaPres)
ON_NOTIFY(DTN_DROPDOWN, control::SelectorFechaPresentacion, OnDropdownLiqFechaPres)
ON_EN_KILLFOCUS(control::NumeroPresentacion, OnKillfocusLiqNumPres)
ON_BN_CLICKED(control::AyudaSujeto, OnBtnAyudaSuj)
ON_BN_CLICKED(control::AyudaRepresentante, OnBtnAyudaRep)
ON_BN_CLICKED(control::AyudaPresentador, OnBtnAyudaPresentador)
ON_BN_CLICKED(control::AyudaTipoDeclaracion, OnBtnAyudaLiqTipo)
ON_BN_CLICKED(control::AyudaAutoliquidacion, OnBtnAyudaLiqFichero)
ON_BN_CLICKED(control::ChkComplementaria, OnChkCompClicked)
ON_BN_CLICKED(control::ChkSustitutiva, OnChkSustClicked)
ON_EN_KILLFOCUS(control::NumDoc + 0, OnKillfocusNumDocRecibos)
ON_EN_KILLFOCUS(control::NumDoc + 1, OnKillfocusNumDocPagares)
ON_EN_KILLFOCUS(control::NumDoc + 2, OnKillfocusNumDocCheques)
ON_EN_KILLFOCUS(control::NumDoc + 3, OnKillfocusNumDocOtros)
ON_EN_CHANGE(control::NumDoc + 0, OnChangeNumDocRecibos)
ON_EN_CHANGE(control::NumDoc + 1, OnChangeNumDocPagares)
ON_EN_CHANGE(control::NumDoc + 2, OnChangeNumDocCheques)
ON_EN_CHANGE(control::NumDoc + 3, OnChangeNumDocOtros)
ON_EN_CHANGE(control::MesDevengo, OnChangeMesDevengo)
ON_EN_KILLFOCUS(control::MesDevengo, OnKillfocusMesDevengo)
ON_EN_SETFOCUS(control::MesDevengo, OnSetfocusMesDevengo)
ON_EN_KILLFOCUS(control::AnioDevengo, OnKillfocusAnioDevengo)
ON_EN_KILLFOCUS(control::Cuota + 0, OnKillfocusCuota)
ON_EN_KILLFOCUS(control::Cuota + 1, OnKillfocusCuota)
ON_EN_KILLFOCUS(control::Cuota + 2, OnKillfocusCuota)
ON_EN_KILLFOCUS(control::Cuota + 3, OnKillfocusCuota)
END_MESSAGE_MAP()

namespace {

// Boxes whose controls take a maximum length at exchange.
struct Longitud {
    int casilla;
    int maximo;
};
constexpr Longitud kLongitudes[] = {
    {casilla::AnioDevengo, formato::LongitudAnio},
    {casilla::JustificanteAnterior, formato::LongitudJustificante},
    {casilla::AnioAnterior, formato::LongitudAnio},
    {casilla::NumeroPresentacionAnterior, formato::LongitudNumeroPresentacion},
};

// The order in which the help and the validation of the host reach the page's boxes.
// clang-format off
constexpr int kCasillasMapeadas[] = {
    casilla::MesDevengo, casilla::AnioDevengo,
    10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23,
    30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43,
    casilla::Complementaria, casilla::Sustitutiva, casilla::JustificanteAnterior,
    casilla::FechaPresentacionAnterior, casilla::AnioAnterior,
    casilla::NumeroPresentacionAnterior, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 70, 71,
    casilla::TotalIngresar, casilla::PresentadorNif, casilla::PresentadorNombre,
    casilla::PresentadorTelefono, casilla::LugarFirma, casilla::FirmaDia, casilla::FirmaMes,
    casilla::FirmaAnio, casilla::FirmaFecha,
};
// clang-format on

// The order in which the page's boxes are registered for printing, after the data-protection
// block and before the two codes.
// clang-format off
constexpr int kCasillasImpresas[] = {
    casilla::MesDevengo, casilla::AnioDevengo,
    10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23,
    30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43,
    casilla::Complementaria, casilla::Sustitutiva, casilla::JustificanteAnterior,
    casilla::FechaPresentacionAnterior, casilla::AnioAnterior,
    casilla::NumeroPresentacionAnterior, 62, 63, 61, 60, 66, 67, 65, 64, 70, 71, 69, 68,
    casilla::TotalIngresar, casilla::PresentadorNif, casilla::PresentadorNombre,
    casilla::PresentadorTelefono, casilla::LugarFirma, casilla::FirmaDia, casilla::FirmaMes,
    casilla::FirmaAnio,
};
// clang-format on

// Boxes that carry a tip of their own, from the host's help texts.
constexpr int kCasillasConTip[] = {
    casilla::JustificanteAnterior,
    casilla::Complementaria,
    casilla::Sustitutiva,
    casilla::FechaPresentacionAnterior,
    casilla::AnioAnterior,
    casilla::NumeroPresentacionAnterior,
    60,
    61,
    62,
    63,
    64,
    65,
    66,
    67,
    68,
    69,
    70,
    71,
    casilla::MesDevengo,
    casilla::AnioDevengo,
    casilla::FirmaFecha,
};

// Boxes whose controls are disabled in read-only mode.
constexpr int kCasillasEditables[] = {
    casilla::AnioDevengo,
    casilla::MesDevengo,
    casilla::JustificanteAnterior,
    casilla::FechaPresentacionAnterior,
    casilla::AnioAnterior,
    casilla::NumeroPresentacionAnterior,
    casilla::FirmaFecha,
    casilla::Complementaria,
    casilla::Sustitutiva,
    60,
    61,
    62,
    63,
    64,
    65,
    66,
    67,
    68,
    69,
    70,
    71,
};

} // namespace

MOD_P1VIEW::MOD_P1VIEW() : CGuiaView(recurso::PlantillaPagina1) {
    SetIdFondo(recurso::FondoPagina1);
    SetIdDibujoFondo(recurso::DibujoPagina1);
    m_FechaPresentacionValor = COleDateTime::GetCurrentTime();
    m_FechaFirmaValor = COleDateTime::GetCurrentTime();
}

MOD_P1VIEW::~MOD_P1VIEW() {
    m_FuenteCodigo.DeleteObject();
}

CWnd* MOD_P1VIEW::ControlDeCasilla(int c) {
    using namespace casilla;
    if (c >= SujetoPasivo && c < SujetoPasivo + grupo::Tamano)
        return &m_Sujeto.Control(c - SujetoPasivo);
    if (c >= Representante && c < Representante + grupo::Tamano)
        return &m_Representante.Control(c - Representante);
    if (c >= NumeroDocumentos && c < NumeroDocumentos + FilasLiquidacion)
        return &m_NumDoc[c - NumeroDocumentos];
    if (c >= Base && c < Base + FilasLiquidacion)
        return &m_Base[c - Base];
    if (c >= Cuota && c < Cuota + FilasLiquidacion)
        return &m_Cuota[c - Cuota];
    switch (c) {
    case MesDevengo:
        return &m_MesDevengo;
    case AnioDevengo:
        return &m_AnioDevengo;
    case Complementaria:
        return &m_ChkComplementaria;
    case Sustitutiva:
        return &m_ChkSustitutiva;
    case JustificanteAnterior:
        return &m_Justificante;
    case FechaPresentacionAnterior:
        return &m_FechaPresentacion;
    case AnioAnterior:
        return &m_AnioAnterior;
    case NumeroPresentacionAnterior:
        return &m_NumeroPresentacion;
    case TotalIngresar:
        return &m_Total;
    case PresentadorNif:
        return &m_PresentadorNif;
    case PresentadorNombre:
        return &m_PresentadorNombre;
    case PresentadorTelefono:
        return &m_PresentadorTelefono;
    case LugarFirma:
        return &m_LugarFirma;
    case FirmaDia:
        return &m_FirmaDia;
    case FirmaMes:
        return &m_FirmaMes;
    case FirmaAnio:
        return &m_FirmaAnio;
    case FirmaFecha:
        return &m_FechaFirma;
    }
    return nullptr;
}

void MOD_P1VIEW::DoDataExchange(CDataExchange* pDX) {
    CGuiaView::DoDataExchange(pDX);
    // Controls.
    DDX_Control(pDX, control::TituloLopd1, m_TituloLopd1);
    DDX_Control(pDX, control::TituloLopd2, m_TituloLopd2);
    DDX_Control(pDX, control::TextoLopd, m_TextoLopd);
    for (int c : kCasillasMapeadas)
        DDX_Control(pDX, IdDeCasilla(*this, c), *ControlDeCasilla(c));
    DDX_Control(pDX, control::CodigoBarras, m_CodigoBarras);
    DDX_Control(pDX, control::TextoCodigoBarras, m_TextoCodigoBarras);
    DDX_Control(pDX, control::CodigoPuntos, m_CodigoPuntos);
    DDX_Control(pDX, control::IntervPresentador, m_BtnIntervPresentador);
    DDX_Control(pDX, control::IntervRepresentante, m_BtnIntervRepresentante);
    DDX_Control(pDX, control::IntervSujeto, m_BtnIntervSujeto);
    DDX_Control(pDX, control::AyudaSujeto, m_BtnAyudaSujeto);
    DDX_Control(pDX, control::AyudaRepresentante, m_BtnAyudaRepresentante);
    DDX_Control(pDX, control::AyudaPresentador, m_BtnAyudaPresentador);
    DDX_Control(pDX, control::AyudaTipoDeclaracion, m_BtnAyudaTipo);
    DDX_Control(pDX, control::AyudaAutoliquidacion, m_BtnAyudaLiquidacion);

    // Values.
    DDX_Text(pDX, control::TituloLopd1, m_strTituloLopd1);
    DDX_Text(pDX, control::TituloLopd2, m_strTituloLopd2);
    DDX_Text(pDX, control::TextoLopd, m_strTextoLopd);
    auto texto = [&](int c, CString& valor) {
        DDX_Text(pDX, IdDeCasilla(*this, c), valor);
        for (const Longitud& l : kLongitudes)
            if (l.casilla == c)
                DDV_MaxChars(pDX, valor, l.maximo);
    };
    for (int i = 0; i < casilla::FilasLiquidacion; ++i) {
        texto(casilla::NumeroDocumentos + i, m_strNumDoc[i]);
        texto(casilla::Base + i, m_strBase[i]);
        texto(casilla::Cuota + i, m_strCuota[i]);
    }
    for (GrupoInterviniente* g : {&m_Sujeto, &m_Representante})
        for (int i = 0; i < casilla::grupo::Tamano; ++i)
            texto(g->Casilla(i), g->valor[i]);
    texto(casilla::PresentadorNif, m_strPresentadorNif);
    texto(casilla::PresentadorNombre, m_strPresentadorNombre);
    texto(casilla::PresentadorTelefono, m_strPresentadorTelefono);
    texto(casilla::MesDevengo, m_strMesDevengo);
    texto(casilla::AnioDevengo, m_strAnioDevengo);
    texto(casilla::JustificanteAnterior, m_strJustificante);
    texto(casilla::AnioAnterior, m_strAnioAnterior);
    texto(casilla::NumeroPresentacionAnterior, m_strNumeroPresentacion);
    texto(casilla::TotalIngresar, m_strTotal);
    texto(casilla::LugarFirma, m_strLugarFirma);
    texto(casilla::FirmaDia, m_strFirmaDia);
    texto(casilla::FirmaMes, m_strFirmaMes);
    texto(casilla::FirmaAnio, m_strFirmaAnio);
    DDX_Text(pDX, control::CodigoBarras, m_strCodigoBarras);
    DDX_Text(pDX, control::TextoCodigoBarras, m_strTextoCodigoBarras);
    DDX_Text(pDX, control::CodigoPuntos, m_strCodigoPuntos);
    DDX_Check(pDX, IdDeCasilla(*this, casilla::Complementaria), m_nComplementaria);
    DDX_Check(pDX, IdDeCasilla(*this, casilla::Sustitutiva), m_nSustitutiva);
    DDX_DateTimeCtrl(pDX, IdDeCasilla(*this, casilla::FechaPresentacionAnterior),
                     m_FechaPresentacionValor);
    DDX_DateTimeCtrl(pDX, IdDeCasilla(*this, casilla::FirmaFecha), m_FechaFirmaValor);
}

bool MOD_P1VIEW::InicializarControles() {
    if (!CGuiaView::InicializarControles())
        return false;
    UpdateData(false);
    for (CScrollBitmapButton* b :
         {&m_BtnIntervPresentador, &m_BtnIntervRepresentante, &m_BtnIntervSujeto}) {
        b->LoadBitmaps(boton::IntervinientesNormal, boton::IntervinientesPulsado,
                       boton::IntervinientesFoco, boton::IntervinientesDeshabilitado);
        b->SizeToContent();
    }
    for (CScrollBitmapButton* b :
         {&m_BtnAyudaSujeto, &m_BtnAyudaRepresentante, &m_BtnAyudaPresentador, &m_BtnAyudaTipo,
          &m_BtnAyudaLiquidacion}) {
        b->LoadBitmaps(boton::AyudaNormal, boton::AyudaPulsado, boton::AyudaFoco,
                       boton::AyudaDeshabilitado);
        b->SizeToContent();
    }
    for (int i = 0; i < casilla::FilasLiquidacion; ++i) {
        m_NumDoc[i].SetDigitos(formato::DigitosCuenta, 0);
        m_Base[i].SetDigitos(formato::DigitosImporte, formato::DecimalesImporte);
        m_Cuota[i].SetDigitos(formato::DigitosImporte, formato::DecimalesImporte);
    }
    FuenteCourier(m_TextoCodigoBarras, m_FuenteCodigo);
    UpdateData(false);
    return true;
}

bool MOD_P1VIEW::InicializarControlesImpresora() {
    if (!CGuiaView::InicializarControlesImpresora())
        return false;
    UpdateData(true);
    RegistrarLopdImpresora(*this, m_TituloLopd1, m_TituloLopd2, m_TextoLopd);
    for (int c : kCasillasImpresas)
        CargarControlImpresora(ControlDeCasilla(c));
    CargarControlImpresoraCodPuntos(&m_CodigoPuntos);
    CargarControlImpresoraCodBarras(&m_CodigoBarras);
    UpdateData(false);
    return true;
}

void MOD_P1VIEW::ImprimirVista(CDC* dc, double escalaX, double escalaY) {
    ImprimirVistaConCodigo(*this, m_TextoCodigoBarras, dc, escalaX, escalaY);
}

bool MOD_P1VIEW::InicializarControlesAyuda() {
    if (!CGuiaView::InicializarControlesAyuda())
        return false;
    UpdateData(true);
    for (int c : kCasillasMapeadas)
        MapearControlAyuda(c, IdDeCasilla(*this, c));
    return true;
}

bool MOD_P1VIEW::InicializarControlesValidacion() {
    if (!CGuiaView::InicializarControlesValidacion())
        return false;
    UpdateData(true);
    for (int c : kCasillasMapeadas)
        MapearControlValidacion(c, IdDeCasilla(*this, c));
    return true;
}

bool MOD_P1VIEW::InicializarTooltips() {
    const CString tipIntervinientes = AfxCadena(cadena_host::TooltipIntervinientes);
    const CString tipAyuda = AfxCadena(cadena_host::TooltipAyuda);
    if (!CGuiaView::InicializarTooltips())
        return false;
    UpdateData(false);
    CToolTipCtrl& tips = GetToolTip();
    for (CWnd* b : {&m_BtnAyudaSujeto, &m_BtnAyudaRepresentante, &m_BtnAyudaPresentador,
                    &m_BtnAyudaTipo, &m_BtnAyudaLiquidacion})
        tips.AddTool(b, tipAyuda);
    for (CWnd* b : {&m_BtnIntervSujeto, &m_BtnIntervRepresentante, &m_BtnIntervPresentador})
        tips.AddTool(b, tipIntervinientes);
    for (int c : kCasillasConTip)
        tips.AddTool(ControlDeCasilla(c), GetDocument()->GetAyuda(c));
    tips.Activate(true);
    return true;
}

// The text boxes from the liquidation table to the signature, in the order the page loads and
// saves them.
std::vector<std::pair<int, CString*>> MOD_P1VIEW::TextosLiquidacionYFirma() {
    std::vector<std::pair<int, CString*>> v;
    for (int i = 0; i < casilla::FilasLiquidacion; ++i)
        v.emplace_back(casilla::NumeroDocumentos + i, &m_strNumDoc[i]);
    for (int i = 0; i < casilla::FilasLiquidacion; ++i)
        v.emplace_back(casilla::Base + i, &m_strBase[i]);
    for (int i = 0; i < casilla::FilasLiquidacion; ++i)
        v.emplace_back(casilla::Cuota + i, &m_strCuota[i]);
    v.insert(v.end(), {{casilla::TotalIngresar, &m_strTotal},
                       {casilla::PresentadorNif, &m_strPresentadorNif},
                       {casilla::PresentadorNombre, &m_strPresentadorNombre},
                       {casilla::PresentadorTelefono, &m_strPresentadorTelefono},
                       {casilla::LugarFirma, &m_strLugarFirma},
                       {casilla::FirmaDia, &m_strFirmaDia},
                       {casilla::FirmaMes, &m_strFirmaMes},
                       {casilla::FirmaAnio, &m_strFirmaAnio}});
    return v;
}

bool MOD_P1VIEW::CargarDatos() {
    if (!CGuiaView::CargarDatos())
        return false;
    CGuiaDoc& doc = *GetDocument();
    CargarControlCasilla(casilla::MesDevengo, m_strMesDevengo);
    CargarControlCasilla(casilla::AnioDevengo, m_strAnioDevengo);
    CargarGrupo(*this, m_Sujeto);
    CargarGrupo(*this, m_Representante);
    CargarControlCasilla(casilla::Complementaria, m_nComplementaria);
    CargarControlCasilla(casilla::Sustitutiva, m_nSustitutiva);
    CargarControlCasilla(casilla::JustificanteAnterior, m_strJustificante);
    CargarControlCasilla(casilla::FechaPresentacionAnterior, m_FechaPresentacion,
                         m_FechaPresentacionValor);
    CargarControlCasilla(casilla::AnioAnterior, m_strAnioAnterior);
    CargarControlCasilla(casilla::NumeroPresentacionAnterior, m_strNumeroPresentacion);
    for (const auto& [c, valor] : TextosLiquidacionYFirma())
        CargarControlCasilla(c, *valor);
    CargarControlCasilla(casilla::FirmaFecha, m_FechaFirmaValor);
    CargarCodigoPuntos(m_CodigoPuntos, doc.GetPaginaPrincipal());
    CargarCodigoBarras(m_CodigoBarras);
    CargarEtiquetaCodigo(doc, m_strTextoCodigoBarras);
    UpdateData(false);
    Cargar_Titulos_LOPD_Vistas(control::TituloLopd1, control::TituloLopd2, control::TextoLopd);
    return true;
}

bool MOD_P1VIEW::SalvarDatos() {
    if (!CGuiaView::SalvarDatos())
        return false;
    UpdateData(true);
    SalvarControlCasilla(casilla::MesDevengo, m_strMesDevengo);
    SalvarControlCasilla(casilla::AnioDevengo, m_strAnioDevengo);
    SalvarGrupo(*this, m_Sujeto);
    SalvarGrupo(*this, m_Representante);
    SalvarControlCasilla(casilla::Complementaria, m_nComplementaria);
    SalvarControlCasilla(casilla::Sustitutiva, m_nSustitutiva);
    SalvarControlCasilla(casilla::JustificanteAnterior, m_strJustificante);
    SalvarControlCasilla(casilla::FechaPresentacionAnterior, m_FechaPresentacion,
                         m_FechaPresentacionValor);
    SalvarControlCasilla(casilla::AnioAnterior, m_strAnioAnterior);
    SalvarControlCasilla(casilla::NumeroPresentacionAnterior, m_strNumeroPresentacion);
    for (const auto& [c, valor] : TextosLiquidacionYFirma())
        SalvarControlCasilla(c, *valor);
    SalvarControlCasilla(casilla::FirmaFecha, m_FechaFirmaValor);
    return true;
}

bool MOD_P1VIEW::ModoSoloLectura() {
    if (!CGuiaView::ModoSoloLectura())
        return false;
    for (int c : kCasillasEditables)
        InhabilitarControl(IdDeCasilla(*this, c));
    return true;
}

bool MOD_P1VIEW::ModoEdicion() {
    if (!CGuiaView::ModoEdicion())
        return false;
    if (formulario::kEdicionHabilitaDevengo) {
        HabilitarControl(IdDeCasilla(*this, casilla::MesDevengo));
        HabilitarControl(IdDeCasilla(*this, casilla::AnioDevengo));
    }
    for (int i = 0; i < casilla::FilasLiquidacion; ++i)
        HabilitarControl(IdDeCasilla(*this, casilla::NumeroDocumentos + i));
    RevisarNumeroDocumentos();
    HabilitarControl(IdDeCasilla(*this, casilla::Complementaria));
    HabilitarControl(IdDeCasilla(*this, casilla::Sustitutiva));
    RevisarEstadoCasillas();
    return true;
}

bool MOD_P1VIEW::PosicionarEnCasilla(int c) {
    switch (c) {
    case casilla::SujetoPasivo:
    case casilla::Representante:
    case casilla::PresentadorNif:
        OnBtnIntervinientes();
        return true;
    case casilla::ImportacionFichero:
        if (formulario::kImportacionDesdePagina1)
            OnBtnImportFichero();
        return true;
    }
    return CGuiaView::PosicionarEnCasilla(c);
}
