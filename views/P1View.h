// The on-screen form of page 1: every box of the declaration over the page image, with the
// rules that keep it consistent while a person types.
#pragma once

#include "Comun.h"
#include "Formulario.h"
#include "Modelo/GuiaView.h"
#include "Modelo/OperacionesFormulario.h"

#include <utility>
#include <vector>

class MODELO_PLUGIN_API MOD_P1VIEW : public CGuiaView {
    DECLARE_DYNCREATE(MOD_P1VIEW)
    DECLARE_MESSAGE_MAP()

public:
    MOD_P1VIEW();
    ~MOD_P1VIEW() override;

    // ----- controls, in the order of the page's catalogue ------------------------------------
    CStaticTransBold m_TituloLopd1, m_TituloLopd2, m_TextoLopd;
    // Liquidation table: counts, quotas and bases, each indexed by document row (receipts,
    // promissory notes, cheques, others).
    CEditDecNumber m_NumDoc[casilla::FilasLiquidacion];
    CEditDecNumber m_Cuota[casilla::FilasLiquidacion];
    CEditDecNumber m_Base[casilla::FilasLiquidacion];
    GrupoInterviniente m_Sujeto{casilla::SujetoPasivo};
    GrupoInterviniente m_Representante{casilla::Representante};
    CEditTrans m_PresentadorNif, m_PresentadorNombre;
    CEditNumber m_PresentadorTelefono;
    CEditNumber m_MesDevengo, m_AnioDevengo;
    CEditTrans m_Justificante;
    CDateTimeOptCtrl m_FechaPresentacion;
    CEditNumber m_AnioAnterior, m_NumeroPresentacion;
    CEditDecNumber m_Total;
    CEditTrans m_LugarFirma;
    CEditNumber m_FirmaDia;
    CEditTrans m_FirmaMes;
    CEditNumber m_FirmaAnio;
    CDateTimeFixFormatCtrl m_FechaFirma;
    CButton m_ChkSustitutiva, m_ChkComplementaria;
    CStatic m_CodigoBarras;
    CStaticTransBold m_TextoCodigoBarras;
    CStatic m_CodigoPuntos;
    CScrollBitmapButton m_BtnIntervPresentador, m_BtnIntervRepresentante, m_BtnIntervSujeto;
    CScrollBitmapButton m_BtnAyudaSujeto, m_BtnAyudaRepresentante, m_BtnAyudaPresentador,
        m_BtnAyudaTipo, m_BtnAyudaLiquidacion;

    // ----- values -----------------------------------------------------------------------------
    CString m_strTituloLopd1, m_strTituloLopd2, m_strTextoLopd;
    CString m_strNumDoc[casilla::FilasLiquidacion];
    CString m_strCuota[casilla::FilasLiquidacion];
    CString m_strBase[casilla::FilasLiquidacion];
    CString m_strPresentadorNif, m_strPresentadorNombre, m_strPresentadorTelefono;
    CString m_strMesDevengo, m_strAnioDevengo;
    CString m_strJustificante, m_strAnioAnterior, m_strNumeroPresentacion;
    CString m_strTotal, m_strLugarFirma, m_strFirmaDia, m_strFirmaMes, m_strFirmaAnio;
    CString m_strCodigoBarras, m_strTextoCodigoBarras, m_strCodigoPuntos;
    int m_nSustitutiva = BST_UNCHECKED;
    int m_nComplementaria = BST_UNCHECKED;
    COleDateTime m_FechaPresentacionValor;
    COleDateTime m_FechaFirmaValor;

    // The code label's Courier New.
    CFont m_FuenteCodigo;

    // ----- operations the host drives ---------------------------------------------------------
    void DoDataExchange(CDataExchange* pDX) override;
    bool ModoSoloLectura() override;
    bool ModoEdicion() override;
    bool InicializarTooltips() override;
    bool SalvarDatos() override;
    bool CargarDatos() override;
    bool InicializarControles() override;
    bool InicializarControlesImpresora() override;
    bool InicializarControlesAyuda() override;
    bool InicializarControlesValidacion() override;
    bool PosicionarEnCasilla(int casilla) override;
    void ImprimirVista(CDC* dc, double escalaX, double escalaY) override;

    // ----- the page's rules, bound by the message map -----------------------------------------
    void OnBtnIntervinientes();
    void OnBtnAyudaSuj();
    void OnBtnAyudaRep();
    void OnBtnAyudaPresentador();
    void OnBtnAyudaLiqTipo();
    void OnBtnAyudaLiqFichero();
    void OnChkCompClicked();
    void OnChkSustClicked();
    void RevisarEstadoCasillas();
    void OnKillfocusNumDocRecibos();
    void OnKillfocusNumDocPagares();
    void OnKillfocusNumDocCheques();
    void OnKillfocusNumDocOtros();
    void OnChangeNumDocRecibos();
    void OnChangeNumDocPagares();
    void OnChangeNumDocCheques();
    void OnChangeNumDocOtros();
    void RevisarNumeroDocumentos();
    void OnKillfocusCuota();
    void CalcularTotalIngresar();
    void OnSetfocusMesDevengo();
    void OnChangeMesDevengo();
    void OnKillfocusMesDevengo();
    void OnKillfocusAnioDevengo();
    void OnKillfocusLiqNumPres();
    void OnDropdownLiqFechaPres(NMHDR* nm, LRESULT* resultado);
    void OnCloseupLiqFechaPres(NMHDR* nm, LRESULT* resultado);
    void OnKillfocusLiqFechaPres(NMHDR* nm, LRESULT* resultado);
    void OnKillfocusFechaFirma(NMHDR* nm, LRESULT* resultado);
    void OnCloseupFechaFirma(NMHDR* nm, LRESULT* resultado);
    ResultadoImportacion OnBtnImportFichero();

private:
    // The control of a box of the page.
    CWnd* ControlDeCasilla(int casilla);
    std::vector<std::pair<int, CString*>> TextosLiquidacionYFirma();
    void SalirDeNumDoc(int fila);
    // Saves the page and checks the accrual period; a refused period is explained and the
    // year and month it had are put back.
    void ComprobarPeriodo(const CString& anioAnterior, const CString& mesAnterior);
    // The signature date spelt out in day, month in words and year.
    void EscribirFechaFirma(const COleDateTime& fecha);
    bool restaurandoPeriodo_ = false;
};
