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
    // Entering and leaving any box of the liquidation table: what a person leaves in an
    // amount or a count is held to the box's kind before the box's own rule runs.
    void OnSetfocusLiquidacion(NMHDR* nm, LRESULT* resultado);
    void OnKillfocusLiquidacion(NMHDR* nm, LRESULT* resultado);
    void OnSetfocusMesDevengo();
    void OnChangeMesDevengo();
    void OnKillfocusMesDevengo();
    void OnSetfocusAnioDevengo();
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
    // Shows a message of the page's rules.
    void Explicar(const CString& texto, UINT tipo);
    // The person enters a box: what it shows is what a refused value gives way to.
    void Entrar(int casilla);
    // What the box showed before the person started typing in it; for a box changed without
    // the person in it (a month picked from the list, a rule), its value before the change.
    CString Anterior(int casilla);
    // Writes an amount as currency text; a count or an amount its kind does not take is
    // explained and the box gets back what it showed before. False when refused.
    bool AjustarAlFormato(int casilla);
    // The month or the year, `casilla`, was left or completed: the month is normalised, and
    // the period checked once both are filled. A refused value is explained and the box
    // gets back what it showed before.
    void ComprobarPeriodo(int casilla);
    // After an import the quotas are the file's, computed with the tariff of its period.
    void AvisarCuotasDelFichero();
    // The signature date spelt out in day, month in words and year.
    void EscribirFechaFirma(const COleDateTime& fecha);

    int casillaEnVisita_ = -1; // the box the person is in, by the notifications
    CString alEntrar_;         // what that box showed when the person entered it
    // The period as it stood when the person entered the month or the year, and the last one
    // checked since: a period is checked, and a change after an import told, once.
    CString mesAlEntrar_, anioAlEntrar_, periodoComprobado_;
    bool escribiendoPeriodo_ = false; // the period rule itself is writing the month
    bool explicando_ = false;         // a message of the rules is open
};
