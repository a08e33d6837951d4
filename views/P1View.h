// The on-screen form of page 1: every box of the declaration over the page image, with the
// rules that keep it consistent while a person types.
#pragma once

#include "Formulario.h"
#include "Modelo/windows/OperacionesFormulario.h"
#include "VistaCasillas.h"

class MODELO_PLUGIN_API MOD_P1VIEW : public VistaCasillas {
    DECLARE_DYNCREATE(MOD_P1VIEW)
    DECLARE_MESSAGE_MAP()

public:
    MOD_P1VIEW();

    // ----- operations the host drives ---------------------------------------------------------
    bool ModoEdicion() override;
    bool PosicionarEnCasilla(int casilla) override;

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
    void SalirDeNumDoc(int fila);
    // Saves the page and checks the accrual period; a refused period is explained and the
    // year and month it had are put back.
    void ComprobarPeriodo(const CString& anioAnterior, const CString& mesAnterior);
    // The signature date spelt out in day, month in words and year.
    void EscribirFechaFirma(const COleDateTime& fecha);
    bool restaurandoPeriodo_ = false;
};
