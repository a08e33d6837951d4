// The device context of printing: what is selected into it, and the scale of a page on its
// sheet. The drawing itself belongs to the device.
#include "Modelo/printing/Impresion.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(CBitmap, CObject)

bool CBitmap::LoadBitmap(UINT id) {
    const RecursoBitmap* r = AfxBuscarBitmap(int(id));
    if (!r)
        return false;
    DeleteObject();
    id_ = id;
    recurso_ = r;
    return true;
}

bool CBitmap::CrearDeCodigo(stImagenCodigo imagen) {
    if (imagen.IsEmpty())
        return false;
    DeleteObject();
    codigo_ = std::move(imagen);
    return true;
}

bool CBitmap::DeleteObject() {
    const bool habia = IsCreated();
    id_ = 0;
    recurso_ = nullptr;
    codigo_ = stImagenCodigo();
    return habia;
}

// ----- the device context -----------------------------------------------------------------------

namespace {
// What a device shows before anyone selects a font: the pages' own face and size.
LOGFONT FuentePropia() {
    LOGFONT lf;
    lf.lfHeight = -11;
    FijarNombreFuente(lf, "MS Sans Serif");
    return lf;
}
} // namespace

CDC::CDC() {
    const LOGFONT lf = FuentePropia();
    propia_.CreateFontIndirect(&lf);
    fuente_ = &propia_;
}

CDC::~CDC() = default;

CFont* CDC::SelectObject(CFont* fuente) {
    CFont* antes = fuente_;
    if (fuente)
        fuente_ = fuente;
    return antes;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    CBitmap* antes = bitmap_;
    bitmap_ = bitmap;
    return antes;
}

UINT CDC::SetTextAlign(UINT alineacion) {
    const UINT antes = alineacion_;
    alineacion_ = alineacion;
    return antes;
}

COLORREF CDC::SetTextColor(COLORREF color) {
    const COLORREF antes = color_;
    color_ = color;
    return antes;
}

CPoint CDC::SetViewportOrg(int x, int y) {
    const CPoint antes = origen_;
    origen_ = CPoint{x, y};
    return antes;
}

int CDC::SetROP2(int modo) {
    const int antes = modo_;
    modo_ = modo == R2_MASKPEN ? R2_MASKPEN : R2_COPYPEN;
    return antes;
}

// A font deleted while still selected draws as the device's own.
LOGFONT CDC::FuenteActual() const {
    LOGFONT lf;
    if (!fuente_ || !fuente_->GetLogFont(&lf))
        lf = FuentePropia();
    return lf;
}

bool CDC::TextOut(int x, int y, const CString& texto) {
    if (texto.IsEmpty())
        return true;
    DibujarTexto(x + origen_.x, y + origen_.y, texto, FuenteActual(), alineacion_, color_);
    return true;
}

int CDC::DrawText(const CString& texto, CRect* rect, UINT formato) {
    if (!rect || texto.IsEmpty())
        return 0;
    CRect r = *rect;
    r.OffsetRect(origen_.x, origen_.y);
    return DibujarTextoEnRect(r, texto, FuenteActual(), formato, color_);
}

CSize CDC::GetTextExtent(const CString& texto) const {
    return MedirTexto(texto, FuenteActual());
}

bool CDC::StretchBlt(int x, int y, int ancho, int alto) {
    if (!bitmap_ || !bitmap_->IsCreated() || ancho <= 0 || alto <= 0)
        return false;
    DibujarBitmap(CRect(x + origen_.x, y + origen_.y, x + origen_.x + ancho, y + origen_.y + alto),
                  *bitmap_);
    return true;
}

bool CDC::FillSolidRects(const std::vector<CRect>& rects, COLORREF color) {
    std::vector<CRect> desplazados;
    desplazados.reserve(rects.size());
    for (CRect r : rects) {
        if (r.Width() <= 0 || r.Height() <= 0)
            continue;
        r.OffsetRect(origen_.x, origen_.y);
        desplazados.push_back(r);
    }
    if (desplazados.empty())
        return false;
    DibujarRectangulos(desplazados, color);
    return true;
}

int CDC::StartDoc(const CString&) {
    return 1;
}

int CDC::StartPage() {
    return 1;
}

int CDC::EndPage() {
    return 1;
}

int CDC::EndDoc() {
    return 1;
}

// ----- the page on its sheet --------------------------------------------------------------------

namespace {
// Where the page may go on one axis of the drawing area: clear of the sheet's margin on both
// sides, or the whole area when the sheet is too small to keep one.
struct Tramo {
    int desde, hasta;
};
Tramo TramoImprimible(int area, int hoja, int desplazamiento, int ppp) {
    if (hoja <= 0)
        hoja = area;
    const int margen = int(std::ceil(kMargenHojaMm / 25.4 * ppp));
    const Tramo t{std::max(0, margen - desplazamiento),
                  std::min(area, hoja - margen - desplazamiento)};
    return t.hasta > t.desde ? t : Tramo{0, area};
}
} // namespace

stEscalaImpresion EscalaDePagina(const CDC& dc) {
    stEscalaImpresion e;
    const int ancho = dc.GetDeviceCaps(HORZRES), alto = dc.GetDeviceCaps(VERTRES);
    const int ppx = dc.GetDeviceCaps(LOGPIXELSX), ppy = dc.GetDeviceCaps(LOGPIXELSY);
    if (ancho <= 0 || alto <= 0 || ppx <= 0 || ppy <= 0)
        return e;
    const Tramo h = TramoImprimible(ancho, dc.GetDeviceCaps(PHYSICALWIDTH),
                                    dc.GetDeviceCaps(PHYSICALOFFSETX), ppx);
    const Tramo v = TramoImprimible(alto, dc.GetDeviceCaps(PHYSICALHEIGHT),
                                    dc.GetDeviceCaps(PHYSICALOFFSETY), ppy);
    // Inches per page pixel: the largest that keeps the whole page inside the margins.
    const double pulgadas = std::min(double(h.hasta - h.desde) / ppx / kAnchoPaginaPx,
                                     double(v.hasta - v.desde) / ppy / kAltoPaginaPx);
    e.x = pulgadas * ppx;
    e.y = pulgadas * ppy;
    e.origen.x = h.desde + (h.hasta - h.desde - Escalar(kAnchoPaginaPx, e.x)) / 2;
    e.origen.y = v.desde + (v.hasta - v.desde - Escalar(kAltoPaginaPx, e.y)) / 2;
    return e;
}
