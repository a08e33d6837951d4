#include "P1View.h"

#include "core/IdsRecursos.h"

#include <new>

IMPLEMENT_DYNCREATE(MOD_P1VIEW, CGuiaView)

// The liquidation table's controls are one run of ids, counts then bases then quotas, so one
// entry of the map serves every box of the table and the rule of their kinds is bound once.
static_assert(control::Base == control::NumDoc + casilla::FilasLiquidacion &&
              control::Cuota == control::Base + casilla::FilasLiquidacion);
#define ON_TABLA_LIQUIDACION(code, memberFxn)                                                      \
    {UINT(code),                                                                                   \
     UINT(control::NumDoc),                                                                        \
     UINT(control::Cuota + casilla::FilasLiquidacion - 1),                                         \
     AfxSig_vNMHDRpl,                                                                              \
     {.notify = static_cast<AFX_PMSG_NOTIFY>(                                                      \
          static_cast<void (ThisClass::*)(NMHDR*, LRESULT*)>(&ThisClass::memberFxn))}},

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
ON_TABLA_LIQUIDACION(EN_SETFOCUS, OnSetfocusLiquidacion)
ON_TABLA_LIQUIDACION(EN_KILLFOCUS, OnKillfocusLiquidacion)
ON_EN_CHANGE(control::NumDoc + 0, OnChangeNumDocRecibos)
ON_EN_CHANGE(control::NumDoc + 1, OnChangeNumDocPagares)
ON_EN_CHANGE(control::NumDoc + 2, OnChangeNumDocCheques)
ON_EN_CHANGE(control::NumDoc + 3, OnChangeNumDocOtros)
ON_EN_CHANGE(control::MesDevengo, OnChangeMesDevengo)
ON_EN_KILLFOCUS(control::MesDevengo, OnKillfocusMesDevengo)
ON_EN_SETFOCUS(control::MesDevengo, OnSetfocusMesDevengo)
ON_EN_SETFOCUS(control::AnioDevengo, OnSetfocusAnioDevengo)
ON_EN_KILLFOCUS(control::AnioDevengo, OnKillfocusAnioDevengo)
END_MESSAGE_MAP()

MOD_P1VIEW::MOD_P1VIEW()
    : VistaCasillas(pagina::P1, recurso::PlantillaPagina1, recurso::FondoPagina1,
                    recurso::DibujoPagina1) {}

bool MOD_P1VIEW::ModoEdicion() {
    if (!CGuiaView::ModoEdicion())
        return false;
    if (formulario::kEdicionHabilitaDevengo) {
        HabilitarControl(control::MesDevengo);
        HabilitarControl(control::AnioDevengo);
    }
    for (int i = 0; i < casilla::FilasLiquidacion; ++i)
        HabilitarControl(control::NumDoc + i);
    RevisarNumeroDocumentos();
    HabilitarControl(control::ChkComplementaria);
    HabilitarControl(control::ChkSustitutiva);
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
