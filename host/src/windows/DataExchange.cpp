#include "Modelo/windows/DataExchange.h"

#include "Modelo/base/Recursos.h"
#include "Modelo/services/Servicios.h"
#include "Modelo/windows/GuiaView.h"
#include "windows/EstadoVentana.h"

CDataExchange::CDataExchange(CGuiaView* vista, bool guardar)
    : m_bSaveAndValidate(guardar), m_pDlgWnd(vista) {}

CWnd* CDataExchange::PrepareCtrl(int id) {
    CWnd* w = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(id) : nullptr;
    if (!w)
        Fail();
    m_idLastControl = id;
    m_bEditLastControl = false;
    return w;
}

CWnd* CDataExchange::PrepareEditCtrl(int id) {
    CWnd* w = PrepareCtrl(id);
    m_bEditLastControl = EsEdicion(w->GetClase());
    return w;
}

void CDataExchange::Fail() {
    throw CUserException{};
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (control.GetSafeHwnd())
        return;
    CWnd* ventana = pDX->PrepareCtrl(id);
    if (!ClaseDeControl(ventana->GetClase())->IsDerivedFrom(control.GetRuntimeClass()))
        pDX->Fail();
    control.Attach(ventana->GetSafeHwnd());
}

void DDX_Text(CDataExchange* pDX, int id, CString& valor) {
    CWnd* w = pDX->PrepareEditCtrl(id);
    if (pDX->m_bSaveAndValidate)
        w->GetWindowText(valor);
    else
        w->SetWindowText(valor);
}

void DDX_Check(CDataExchange* pDX, int id, int& valor) {
    auto* b = static_cast<CButton*>(pDX->PrepareCtrl(id));
    if (!b->IsKindOf(RUNTIME_CLASS(CButton)))
        pDX->Fail();
    if (pDX->m_bSaveAndValidate)
        valor = b->GetCheck();
    else
        b->SetCheck(valor);
}

void DDX_DateTimeCtrl(CDataExchange* pDX, int id, COleDateTime& valor) {
    auto* d = static_cast<CDateTimeCtrl*>(pDX->PrepareCtrl(id));
    if (!d->IsKindOf(RUNTIME_CLASS(CDateTimeCtrl)))
        pDX->Fail();
    if (pDX->m_bSaveAndValidate)
        d->GetTime(valor);
    else
        d->SetTime(valor);
}

void DDV_MaxChars(CDataExchange* pDX, const CString& valor, int maximo) {
    CWnd* w = pDX->m_pDlgWnd ? pDX->m_pDlgWnd->GetDlgItem(pDX->m_idLastControl) : nullptr;
    if (!pDX->m_bSaveAndValidate) {
        if (w && pDX->m_bEditLastControl)
            static_cast<CEdit*>(w)->LimitText(maximo);
        return;
    }
    if (Caracteres(valor) <= maximo)
        return;
    CString texto = AfxCadena(cadena_host::MaximoCaracteres);
    texto.Replace("%1", CString::Formatted("%d", maximo));
    AfxMessageBox(texto, MB_OK | MB_ICONWARNING);
    pDX->Fail();
}
