#include "Modelo/windows/Controles.h"

#include "Modelo/windows/GuiaView.h"
#include "windows/EstadoVentana.h"

#include <cstdint>
#include <cstdlib>

// ----- kinds ----------------------------------------------------------------------------------

bool EsEdicion(ClaseControl c) {
    return c == ClaseControl::EditTrans || c == ClaseControl::EditNumber ||
           c == ClaseControl::EditDecNumber;
}

bool EsSelectorFecha(ClaseControl c) {
    return c == ClaseControl::DateTimeOpt || c == ClaseControl::DateTimeFixFormat;
}

bool EsBoton(ClaseControl c) {
    return c == ClaseControl::CheckBox || c == ClaseControl::ScrollBitmapButton;
}

bool AdmiteFoco(const EstadoVentana& v) {
    return v.visible && v.habilitada &&
           (EsEdicion(v.clase) || EsSelectorFecha(v.clase) || EsBoton(v.clase));
}

namespace {

bool TodoDigitos(std::string_view s) {
    for (char c : s)
        if (!texto::EsDigito(c))
            return false;
    return true;
}

// Digits and grouping dots, a comma, then at most `decimales` digits; the integer part holds
// at most `enteros` digits.
bool NumeroDecimalAdmitido(const CString& t, int enteros, int decimales) {
    const std::string_view s = t.view();
    const size_t coma = s.find(',');
    const std::string_view entera = s.substr(0, coma);
    int digitos = 0;
    for (char c : entera) {
        if (c == '.')
            continue;
        if (!texto::EsDigito(c))
            return false;
        ++digitos;
    }
    if (digitos > enteros)
        return false;
    if (coma == std::string_view::npos)
        return true;
    const std::string_view fraccion = s.substr(coma + 1);
    return decimales > 0 && int(fraccion.size()) <= decimales && TodoDigitos(fraccion);
}

} // namespace

size_t LargoCaracter(std::string_view s, size_t i) {
    size_t largo = 1;
    texto::LeerCaracter(s, i, largo);
    return largo;
}

int Caracteres(const CString& t) {
    int n = 0;
    const std::string_view s = t.view();
    for (size_t i = 0; i < s.size(); i += LargoCaracter(s, i))
        ++n;
    return n;
}

bool TextoAdmitido(const EstadoVentana& v, const CString& t) {
    if (v.limite > 0 && Caracteres(t) > v.limite)
        return false;
    // A box is one line: a line break or a tab pasted into it would forge lines and columns
    // wherever the box is shown, printed or exported.
    if (texto::TieneControl(t.view()))
        return false;
    switch (v.clase) {
    case ClaseControl::EditNumber:
        return TodoDigitos(t.view());
    case ClaseControl::EditDecNumber:
        return NumeroDecimalAdmitido(t, v.enteros, v.decimales);
    default:
        return true;
    }
}

CString EnMayusculas(const CString& t) {
    std::string s = t.str();
    for (size_t i = 0; i < s.size(); ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b >= 'a' && b <= 'z') {
            s[i] = char(b - 32);
        } else if (b == 0xC3 && i + 1 < s.size()) {
            // UTF-8 of à..þ (but not ÷) is C3 A0..BE; the capital is 0x20 below.
            const auto n = static_cast<unsigned char>(s[i + 1]);
            if (n >= 0xA0 && n <= 0xBE && n != 0xB7)
                s[i + 1] = char(n - 0x20);
            ++i;
        } else if (b >= 0xE0 && b <= 0xFE && b != 0xF7 &&
                   (i + 1 >= s.size() || (static_cast<unsigned char>(s[i + 1]) & 0xC0) != 0x80)) {
            s[i] = char(b - 0x20); // a Latin-1 letter on its own
        } else if (b >= 0xC0) {
            // Another UTF-8 sequence: kept whole.
            while (i + 1 < s.size() && (static_cast<unsigned char>(s[i + 1]) & 0xC0) == 0x80)
                ++i;
        }
    }
    return CString(std::move(s));
}

const CRuntimeClass* ClaseDeControl(ClaseControl clase) {
    switch (clase) {
    case ClaseControl::EditTrans:
        return RUNTIME_CLASS(CEditTrans);
    case ClaseControl::EditNumber:
        return RUNTIME_CLASS(CEditNumber);
    case ClaseControl::EditDecNumber:
        return RUNTIME_CLASS(CEditDecNumber);
    case ClaseControl::DateTimeOpt:
        return RUNTIME_CLASS(CDateTimeOptCtrl);
    case ClaseControl::DateTimeFixFormat:
        return RUNTIME_CLASS(CDateTimeFixFormatCtrl);
    case ClaseControl::StaticTransBold:
        return RUNTIME_CLASS(CStaticTransBold);
    case ClaseControl::ScrollBitmapButton:
        return RUNTIME_CLASS(CScrollBitmapButton);
    case ClaseControl::CheckBox:
        return RUNTIME_CLASS(CButton);
    case ClaseControl::Picture:
        return RUNTIME_CLASS(CStatic);
    }
    return RUNTIME_CLASS(CWnd);
}

// ----- statics --------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CStaticTransBold, CStatic)

void CStatic::SetImagen(stImagenCodigo imagen) {
    if (!m_hWnd)
        return;
    m_hWnd->imagen = std::move(imagen);
    AvisarCambio(m_hWnd, CambioVentana::Imagen);
}

const stImagenCodigo* CStatic::GetImagen() const {
    return m_hWnd && !m_hWnd->imagen.IsEmpty() ? &m_hWnd->imagen : nullptr;
}

// ----- buttons --------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CScrollBitmapButton, CButton)

int CButton::GetCheck() const {
    return m_hWnd ? m_hWnd->marca : BST_UNCHECKED;
}

void CButton::SetCheck(int marca) {
    const int m = marca == BST_UNCHECKED ? BST_UNCHECKED : BST_CHECKED;
    if (!m_hWnd || m_hWnd->marca == m)
        return;
    m_hWnd->marca = m;
    AvisarCambio(m_hWnd, CambioVentana::Marca);
}

namespace {
// Width and height of a BMP resource, from its header; false for anything else.
bool TamanoBitmap(UINT id, int& ancho, int& alto) {
    const RecursoBitmap* b = AfxBuscarBitmap(int(id));
    if (!b || b->tamano < 26 || b->datos[0] != 'B' || b->datos[1] != 'M')
        return false;
    auto le32 = [b](size_t o) {
        return std::int32_t(std::uint32_t(b->datos[o]) | std::uint32_t(b->datos[o + 1]) << 8 |
                            std::uint32_t(b->datos[o + 2]) << 16 |
                            std::uint32_t(b->datos[o + 3]) << 24);
    };
    ancho = le32(18);
    alto = std::abs(le32(22));
    return ancho > 0 && alto > 0;
}
} // namespace

bool CScrollBitmapButton::LoadBitmaps(UINT normal, UINT pulsada, UINT enfocada, UINT inhabilitada) {
    if (!m_hWnd)
        return false;
    const UINT ids[4] = {normal, pulsada, enfocada, inhabilitada};
    for (UINT id : ids)
        if (!AfxBuscarBitmap(int(id)))
            return false;
    for (int i = 0; i < 4; ++i)
        m_hWnd->bitmaps[i] = ids[i];
    AvisarCambio(m_hWnd, CambioVentana::Imagen);
    return true;
}

UINT CScrollBitmapButton::GetIdBitmap(Imagen cual) const {
    return m_hWnd ? m_hWnd->bitmaps[cual] : 0;
}

bool CScrollBitmapButton::SizeToContent() {
    int ancho = 0, alto = 0;
    if (!m_hWnd || !TamanoBitmap(m_hWnd->bitmaps[Normal], ancho, alto))
        return false;
    MoveWindow(m_hWnd->rect.left, m_hWnd->rect.top, ancho, alto);
    return true;
}

// ----- edits ----------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CEditTrans, CEdit)
IMPLEMENT_DYNAMIC(CEditNumber, CEdit)
IMPLEMENT_DYNAMIC(CEditDecNumber, CEdit)

void CEdit::LimitText(int maximo) {
    if (!m_hWnd)
        return;
    const int m = maximo > 0 ? maximo : 0;
    if (m_hWnd->limite != m) {
        m_hWnd->limite = m;
        AvisarCambio(m_hWnd, CambioVentana::Limite);
    }
}

int CEdit::GetLimitText() const {
    return m_hWnd ? m_hWnd->limite : 0;
}

CString CEdit::Tecleado(const CString& teclas) const {
    return m_hWnd && (m_hWnd->estilos & ES_MAYUSCULAS) ? EnMayusculas(teclas) : teclas;
}

bool CEdit::Admite(const CString& texto) const {
    return m_hWnd && TextoAdmitido(*m_hWnd, texto);
}

void CEditDecNumber::SetDigitos(int enteros, int decimales) {
    if (!m_hWnd)
        return;
    m_hWnd->enteros = enteros > 0 ? enteros : 1;
    m_hWnd->decimales = decimales > 0 ? decimales : 0;
    AvisarCambio(m_hWnd, CambioVentana::Limite);
}

int CEditDecNumber::GetDigitosEnteros() const {
    return m_hWnd ? m_hWnd->enteros : 0;
}

int CEditDecNumber::GetDigitosDecimales() const {
    return m_hWnd ? m_hWnd->decimales : 0;
}

// ----- date pickers ---------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CDateTimeCtrl, CWnd)
IMPLEMENT_DYNAMIC(CDateTimeOptCtrl, CDateTimeCtrl)
IMPLEMENT_DYNAMIC(CDateTimeFixFormatCtrl, CDateTimeCtrl)

bool CDateTimeCtrl::SetTime(const COleDateTime& fecha) {
    if (!m_hWnd)
        return false;
    COleDateTime nueva;
    if (fecha.GetStatus() == COleDateTime::valid)
        nueva.SetDate(fecha.GetYear(), fecha.GetMonth(), fecha.GetDay());
    else if (m_hWnd->clase != ClaseControl::DateTimeOpt)
        return false;
    if (!(m_hWnd->fecha == nueva) || m_hWnd->fecha.GetStatus() != nueva.GetStatus()) {
        m_hWnd->fecha = nueva;
        AvisarCambio(m_hWnd, CambioVentana::Fecha);
    }
    return true;
}

int CDateTimeCtrl::GetTime(COleDateTime& fecha) const {
    if (!TieneFecha()) {
        fecha = COleDateTime();
        return GDT_NONE;
    }
    fecha = m_hWnd->fecha;
    return GDT_VALID;
}

bool CDateTimeCtrl::TieneFecha() const {
    return m_hWnd && m_hWnd->fecha.GetStatus() == COleDateTime::valid;
}

CString CDateTimeCtrl::TextoFecha() const {
    return TieneFecha() ? m_hWnd->fecha.Format("%d/%m/%Y") : CString();
}

void CDateTimeOptCtrl::OcultarFecha() {
    SetTime(COleDateTime());
}

// ----- tooltips -------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CToolTipCtrl, CObject)

bool CToolTipCtrl::AddTool(CWnd* control, const CString& texto) {
    if (!control || !control->GetSafeHwnd())
        return false;
    const int id = control->GetDlgCtrlID();
    for (Tip& t : tips_)
        if (t.id == id) {
            t.texto = texto;
            return true;
        }
    tips_.push_back({id, texto});
    return true;
}

void CToolTipCtrl::Activate(bool activar) {
    activo_ = activar;
}

CString CToolTipCtrl::GetText(int idControl) const {
    for (const Tip& t : tips_)
        if (t.id == idControl)
            return t.texto;
    return CString();
}

void CToolTipCtrl::Vaciar() {
    tips_.clear();
    activo_ = false;
}
