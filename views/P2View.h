// The on-screen form of page 2, the payment copy: what replication copied from page 1, the bar
// code and the declaration code. Nothing on it can be edited.
#pragma once

#include "Comun.h"
#include "Formulario.h"
#include "Modelo/GuiaView.h"

class MODELO_PLUGIN_API MOD_P2VIEW : public CGuiaView {
    DECLARE_DYNCREATE(MOD_P2VIEW)

public:
    MOD_P2VIEW();
    ~MOD_P2VIEW() override;

    CStaticTransBold m_TituloLopd1, m_TituloLopd2, m_TextoLopd;
    GrupoInterviniente m_Sujeto{casilla::SujetoPasivo};
    CEditTrans m_PresentadorNif, m_PresentadorNombre;
    CEditNumber m_PresentadorTelefono;
    CEditNumber m_MesDevengo, m_AnioDevengo;
    CEditDecNumber m_Total;
    CEditTrans m_LugarFirma;
    CEditNumber m_FirmaDia;
    CEditTrans m_FirmaMes;
    CEditNumber m_FirmaAnio;
    CStatic m_CodigoBarras;
    CStaticTransBold m_TextoCodigoBarras;

    CString m_strTituloLopd1, m_strTituloLopd2, m_strTextoLopd;
    CString m_strPresentadorNif, m_strPresentadorNombre, m_strPresentadorTelefono;
    CString m_strMesDevengo, m_strAnioDevengo, m_strTotal;
    CString m_strLugarFirma, m_strFirmaDia, m_strFirmaMes, m_strFirmaAnio;
    CString m_strCodigoBarras, m_strTextoCodigoBarras;

    CFont m_FuenteCodigo;

    void DoDataExchange(CDataExchange* pDX) override;
    bool ModoSoloLectura() override;
    bool ModoEdicion() override;
    bool InicializarTooltips() override;
    bool SalvarDatos() override;
    bool CargarDatos() override;
    bool InicializarControles() override;
    bool InicializarControlesImpresora() override;
    bool InicializarControlesAyuda() override;
    void ImprimirVista(CDC* dc, double escalaX, double escalaY) override;

private:
    // The boxes shown by single edits (the taxpayer group aside), with their values.
    struct Simple {
        int casilla;
        CWnd* control;
        CString* valor;
    };
    std::vector<Simple> Simples();
};
