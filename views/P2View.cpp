#include "P2View.h"

#include "Modelo/GuiaDoc.h"
#include "core/IdsRecursos.h"
#include "core/Plantillas.h"

#include <new>

IMPLEMENT_DYNCREATE(MOD_P2VIEW, CGuiaView)

MOD_P2VIEW::MOD_P2VIEW() : CGuiaView(recurso::PlantillaPagina2) {
    SetIdFondo(recurso::FondoPagina2);
    SetIdDibujoFondo(recurso::DibujoPagina2);
}

MOD_P2VIEW::~MOD_P2VIEW() {
    m_FuenteCodigo.DeleteObject();
}

// In the order the page loads and saves them, after the taxpayer.
std::vector<MOD_P2VIEW::Simple> MOD_P2VIEW::Simples() {
    return {
        {casilla::TotalIngresar, &m_Total, &m_strTotal},
        {casilla::PresentadorNif, &m_PresentadorNif, &m_strPresentadorNif},
        {casilla::PresentadorNombre, &m_PresentadorNombre, &m_strPresentadorNombre},
        {casilla::PresentadorTelefono, &m_PresentadorTelefono, &m_strPresentadorTelefono},
        {casilla::LugarFirma, &m_LugarFirma, &m_strLugarFirma},
        {casilla::FirmaDia, &m_FirmaDia, &m_strFirmaDia},
        {casilla::FirmaMes, &m_FirmaMes, &m_strFirmaMes},
        {casilla::FirmaAnio, &m_FirmaAnio, &m_strFirmaAnio},
    };
}

void MOD_P2VIEW::DoDataExchange(CDataExchange* pDX) {
    CGuiaView::DoDataExchange(pDX);
    DDX_Control(pDX, control::TituloLopd1, m_TituloLopd1);
    DDX_Control(pDX, control::TituloLopd2, m_TituloLopd2);
    DDX_Control(pDX, control::TextoLopd, m_TextoLopd);
    DDX_Control(pDX, control::MesDevengo, m_MesDevengo);
    DDX_Control(pDX, control::AnioDevengo, m_AnioDevengo);
    for (const Simple& s : Simples())
        DDX_Control(pDX, IdDeCasilla(*this, s.casilla), *s.control);
    DDX_Control(pDX, control::CodigoBarras, m_CodigoBarras);
    DDX_Control(pDX, control::TextoCodigoBarras, m_TextoCodigoBarras);
    IntercambiarGrupo(pDX, *this, m_Sujeto);

    DDX_Text(pDX, control::TituloLopd1, m_strTituloLopd1);
    DDX_Text(pDX, control::TituloLopd2, m_strTituloLopd2);
    DDX_Text(pDX, control::TextoLopd, m_strTextoLopd);
    DDX_Text(pDX, control::MesDevengo, m_strMesDevengo);
    DDX_Text(pDX, control::AnioDevengo, m_strAnioDevengo);
    for (const Simple& s : Simples())
        DDX_Text(pDX, IdDeCasilla(*this, s.casilla), *s.valor);
    DDX_Text(pDX, control::CodigoBarras, m_strCodigoBarras);
    DDX_Text(pDX, control::TextoCodigoBarras, m_strTextoCodigoBarras);
}

bool MOD_P2VIEW::InicializarControles() {
    if (!CGuiaView::InicializarControles())
        return false;
    UpdateData(false);
    FuenteCourier(m_TextoCodigoBarras, m_FuenteCodigo);
    UpdateData(false);
    return true;
}

bool MOD_P2VIEW::InicializarControlesImpresora() {
    if (!CGuiaView::InicializarControlesImpresora())
        return false;
    UpdateData(true);
    RegistrarLopdImpresora(*this, m_TituloLopd1, m_TituloLopd2, m_TextoLopd);
    CargarControlImpresora(&m_MesDevengo);
    CargarControlImpresora(&m_AnioDevengo);
    for (int i = 0; i < casilla::grupo::Tamano; ++i)
        CargarControlImpresora(&m_Sujeto.Control(i));
    for (const Simple& s : Simples())
        CargarControlImpresora(s.control);
    CargarControlImpresoraCodBarras(&m_CodigoBarras);
    UpdateData(false);
    return true;
}

void MOD_P2VIEW::ImprimirVista(CDC* dc, double escalaX, double escalaY) {
    ImprimirVistaConCodigo(*this, m_TextoCodigoBarras, dc, escalaX, escalaY);
}

// Page 2 maps no box to help: the person reaches its boxes on page 1.
bool MOD_P2VIEW::InicializarControlesAyuda() {
    if (!CGuiaView::InicializarControlesAyuda())
        return false;
    UpdateData(true);
    return true;
}

bool MOD_P2VIEW::InicializarTooltips() {
    if (!CGuiaView::InicializarTooltips())
        return false;
    UpdateData(false);
    GetToolTip().Activate(true);
    return true;
}

bool MOD_P2VIEW::ModoSoloLectura() {
    return CGuiaView::ModoSoloLectura();
}

bool MOD_P2VIEW::ModoEdicion() {
    return CGuiaView::ModoEdicion();
}

bool MOD_P2VIEW::CargarDatos() {
    if (!CGuiaView::CargarDatos())
        return false;
    CargarControlCasilla(casilla::MesDevengo, m_strMesDevengo);
    CargarControlCasilla(casilla::AnioDevengo, m_strAnioDevengo);
    CargarGrupo(*this, m_Sujeto);
    for (const Simple& s : Simples())
        CargarControlCasilla(s.casilla, *s.valor);
    CargarCodigoBarras(m_CodigoBarras);
    CargarEtiquetaCodigo(*GetDocument(), m_strTextoCodigoBarras);
    UpdateData(false);
    Cargar_Titulos_LOPD_Vistas(control::TituloLopd1, control::TituloLopd2, control::TextoLopd);
    return true;
}

bool MOD_P2VIEW::SalvarDatos() {
    if (!CGuiaView::SalvarDatos())
        return false;
    UpdateData(true);
    SalvarControlCasilla(casilla::MesDevengo, m_strMesDevengo);
    SalvarControlCasilla(casilla::AnioDevengo, m_strAnioDevengo);
    SalvarGrupo(*this, m_Sujeto);
    for (const Simple& s : Simples())
        SalvarControlCasilla(s.casilla, *s.valor);
    return true;
}
