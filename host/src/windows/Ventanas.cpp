#include "Modelo/windows/Ventanas.h"

#include "Modelo/windows/GuiaView.h"
#include "windows/EstadoVentana.h"

#include <cmath>
#include <cstring>

// ----- geometry -------------------------------------------------------------------------------

int DluAPixelX(const PlantillaDialogo& plantilla, double x) {
    return plantilla.cx > 0 ? int(std::lround(x * kAnchoPaginaPx / plantilla.cx)) : 0;
}

int DluAPixelY(const PlantillaDialogo& plantilla, double y) {
    return plantilla.cy > 0 ? int(std::lround(y * kAltoPaginaPx / plantilla.cy)) : 0;
}

CRect RectanguloEnPixeles(const PlantillaDialogo& plantilla, const ControlPlantilla& c) {
    return CRect(DluAPixelX(plantilla, c.x), DluAPixelY(plantilla, c.y),
                 DluAPixelX(plantilla, c.x + c.cx), DluAPixelY(plantilla, c.y + c.cy));
}

// ----- fonts ----------------------------------------------------------------------------------

void FijarNombreFuente(LOGFONT& lf, const char* nombre) {
    std::memset(lf.lfFaceName, 0, sizeof lf.lfFaceName);
    if (nombre)
        std::strncpy(lf.lfFaceName, nombre, LF_FACESIZE - 1);
}

IMPLEMENT_DYNAMIC(CFont, CObject)

bool CFont::CreateFontIndirect(const LOGFONT* lf) {
    if (!lf)
        return false;
    lf_ = *lf;
    lf_.lfFaceName[LF_FACESIZE - 1] = '\0';
    creada_ = true;
    return true;
}

int CFont::GetLogFont(LOGFONT* lf) const {
    if (!lf || !creada_)
        return 0;
    *lf = lf_;
    return int(sizeof(LOGFONT));
}

bool CFont::DeleteObject() {
    const bool habia = creada_;
    creada_ = false;
    lf_ = LOGFONT();
    return habia;
}

// ----- windows --------------------------------------------------------------------------------

IObservadorVista::~IObservadorVista() = default;

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

void AvisarCambio(EstadoVentana* v, CambioVentana cambio) {
    if (v && v->vista)
        v->vista->Notificar(v->id, cambio);
}

CWnd::CWnd() = default;
CWnd::~CWnd() = default;

EstadoVentana* CWnd::Detach() {
    EstadoVentana* v = m_hWnd;
    m_hWnd = nullptr;
    return v;
}

int CWnd::GetDlgCtrlID() const {
    return m_hWnd ? m_hWnd->id : 0;
}

ClaseControl CWnd::GetClase() const {
    return m_hWnd ? m_hWnd->clase : ClaseControl::Picture;
}

unsigned CWnd::GetStyle() const {
    return m_hWnd ? m_hWnd->estilos : 0;
}

CGuiaView* CWnd::GetParentView() const {
    return m_hWnd ? m_hWnd->vista : nullptr;
}

void CWnd::SetWindowText(const CString& texto) {
    if (!m_hWnd || m_hWnd->texto == texto)
        return;
    m_hWnd->texto = texto;
    EstadoVentana* v = m_hWnd;
    AvisarCambio(v, CambioVentana::Texto);
    if (EsEdicion(v->clase) && v->vista)
        v->vista->TextoCambiado(v->id);
}

void CWnd::GetWindowText(CString& texto) const {
    texto = GetWindowText();
}

CString CWnd::GetWindowText() const {
    return m_hWnd ? m_hWnd->texto : CString();
}

int CWnd::GetWindowTextLength() const {
    return m_hWnd ? m_hWnd->texto.GetLength() : 0;
}

void CWnd::GetWindowRect(CRect* r) const {
    if (r)
        *r = m_hWnd ? m_hWnd->rect : CRect(0, 0, kAnchoPaginaPx, kAltoPaginaPx);
}

void CWnd::GetClientRect(CRect* r) const {
    CRect w;
    GetWindowRect(&w);
    if (r)
        *r = CRect(0, 0, w.Width(), w.Height());
}

// The view's top left corner is the origin of the page, on screen and in the view alike.
void CWnd::ScreenToClient(CRect*) const {}
void CWnd::ClientToScreen(CRect*) const {}

void CWnd::MoveWindow(int x, int y, int ancho, int alto, bool repintar) {
    MoveWindow(CRect(x, y, x + ancho, y + alto), repintar);
}

void CWnd::MoveWindow(const CRect& r, bool repintar) {
    if (!m_hWnd)
        return;
    if (!(m_hWnd->rect == r)) {
        m_hWnd->rect = r;
        AvisarCambio(m_hWnd, CambioVentana::Posicion);
    }
    if (repintar)
        RedrawWindow();
}

bool CWnd::ShowWindow(int nCmdShow) {
    if (!m_hWnd)
        return false;
    const bool antes = m_hWnd->visible;
    const bool ahora = nCmdShow != SW_HIDE;
    if (antes != ahora) {
        m_hWnd->visible = ahora;
        AvisarCambio(m_hWnd, CambioVentana::Visible);
    }
    return antes;
}

bool CWnd::IsWindowVisible() const {
    return m_hWnd && m_hWnd->visible;
}

bool CWnd::EnableWindow(bool habilitar) {
    if (!m_hWnd)
        return false;
    const bool antes = m_hWnd->habilitada;
    if (antes != habilitar) {
        m_hWnd->habilitada = habilitar;
        AvisarCambio(m_hWnd, CambioVentana::Habilitada);
    }
    return !antes;
}

bool CWnd::IsWindowEnabled() const {
    return m_hWnd && m_hWnd->habilitada;
}

void CWnd::Invalidate(bool) {
    RedrawWindow();
}

void CWnd::UpdateWindow() {
    RedrawWindow();
}

bool CWnd::RedrawWindow() {
    if (!m_hWnd)
        return false;
    ++m_hWnd->redibujos;
    AvisarCambio(m_hWnd, CambioVentana::Redibujo);
    return true;
}

int CWnd::Redibujos() const {
    return m_hWnd ? m_hWnd->redibujos : 0;
}

void CWnd::SetFont(CFont* fuente, bool redibujar) {
    LOGFONT lf;
    if (!m_hWnd || !fuente || !fuente->GetLogFont(&lf))
        return;
    m_hWnd->fuente = lf;
    AvisarCambio(m_hWnd, CambioVentana::Fuente);
    if (redibujar)
        RedrawWindow();
}

CFont* CWnd::GetFont() const {
    if (!m_hWnd)
        return nullptr;
    m_hWnd->fuenteObjeto.CreateFontIndirect(&m_hWnd->fuente);
    return &m_hWnd->fuenteObjeto;
}

CWnd* CWnd::SetFocus() {
    CGuiaView* vista = GetParentView();
    if (!vista || !AdmiteFoco(*m_hWnd))
        return nullptr;
    EstadoVentana* antes = vista->VentanaConFoco();
    CWnd* anterior = antes ? vista->GetDlgItem(antes->id) : nullptr;
    vista->FijarFoco(m_hWnd);
    return anterior;
}

bool CWnd::TieneFoco() const {
    CGuiaView* vista = GetParentView();
    return vista && vista->VentanaConFoco() == m_hWnd;
}
