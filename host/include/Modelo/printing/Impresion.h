// The drawing contract of printing: a device context that draws text and pictures in device
// pixels, the bitmaps it draws, and what a print job tells the pages it prints. No toolkit
// here: each face of the host (a PDF file, a printer, an image) supplies its own device, and
// the pages are composed once, by the framework, for all of them.
#pragma once

#include "Modelo/codes/Codigos.h"
#include "Modelo/windows/Ventanas.h"

#include <cmath>
#include <cstdint>
#include <vector>

using COLORREF = std::uint32_t;
constexpr COLORREF RGB(int r, int g, int b) {
    return COLORREF(r & 0xFF) | (COLORREF(g & 0xFF) << 8) | (COLORREF(b & 0xFF) << 16);
}
constexpr int GetRValue(COLORREF c) {
    return int(c & 0xFF);
}
constexpr int GetGValue(COLORREF c) {
    return int((c >> 8) & 0xFF);
}
constexpr int GetBValue(COLORREF c) {
    return int((c >> 16) & 0xFF);
}

// Where TextOut puts its point: one horizontal and one vertical choice, combined.
enum : UINT {
    TA_LEFT = 0,
    TA_RIGHT = 2,
    TA_CENTER = 6,
    TA_TOP = 0,
    TA_BOTTOM = 8,
    TA_BASELINE = 24,
};
inline constexpr UINT kTA_HORIZONTAL = TA_CENTER;
inline constexpr UINT kTA_VERTICAL = TA_BASELINE;

// How DrawText lays a text in its rectangle.
enum : UINT {
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_NOCLIP = 0x100,
};

// The size of a line of text: its advance and the height of a line, in device pixels.
struct CSize {
    int cx = 0, cy = 0;
};

// What GetDeviceCaps answers: the drawing area in device pixels (the whole sheet of a PDF, the
// printable part of a printer's sheet), the device's dots per inch on each axis, and the whole
// sheet with the drawing area's place on it (0 from a device that draws on the whole sheet).
enum : int {
    HORZRES = 8,
    VERTRES = 10,
    LOGPIXELSX = 88,
    LOGPIXELSY = 90,
    PHYSICALWIDTH = 110,
    PHYSICALHEIGHT = 111,
    PHYSICALOFFSETX = 112,
    PHYSICALOFFSETY = 113,
};

// How what is drawn meets what is already on the sheet: it covers it, or it only darkens it
// (ink on ink), so a light mark drawn over printed text never hides a stroke of it.
enum : int {
    R2_MASKPEN = 9,
    R2_COPYPEN = 13,
};

// A picture a device draws: a bitmap of the resource chain (a page image, or a page's recorded
// drawing, which a device plays over the rectangle as the page it was recorded on), or a
// rendered code.
class MODELO_API CBitmap : public CObject {
public:
    DECLARE_DYNAMIC(CBitmap)
    // False when the chain has no bitmap of that id.
    bool LoadBitmap(UINT id);
    bool CrearDeCodigo(stImagenCodigo imagen);
    bool DeleteObject();

    UINT GetId() const { return id_; }                        // 0 unless loaded from the chain
    const RecursoBitmap* Recurso() const { return recurso_; } // the BMP bytes, or null
    const stImagenCodigo* Codigo() const { return codigo_.IsEmpty() ? nullptr : &codigo_; }
    bool IsCreated() const { return recurso_ != nullptr || !codigo_.IsEmpty(); }

private:
    UINT id_ = 0;
    const RecursoBitmap* recurso_ = nullptr;
    stImagenCodigo codigo_;
};

// A device context. Objects are selected into it as on the platform: SelectObject hands back
// what was selected before, so the caller can put it back. Coordinates are device pixels,
// offset by the viewport origin. A derived device draws; this class keeps the selection.
class MODELO_API CDC {
public:
    CDC();
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // The device's own font is selected at first, so the first SelectObject never returns
    // null.
    CFont* SelectObject(CFont* fuente);
    CBitmap* SelectObject(CBitmap* bitmap);
    CFont* GetCurrentFont() const { return fuente_; }
    CBitmap* GetCurrentBitmap() const { return bitmap_; }

    UINT SetTextAlign(UINT alineacion); // returns the previous alignment
    UINT GetTextAlign() const { return alineacion_; }
    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const { return color_; }
    CPoint SetViewportOrg(int x, int y); // returns the previous origin
    CPoint GetViewportOrg() const { return origen_; }
    int SetROP2(int modo); // returns the previous mode
    int GetROP2() const { return modo_; }

    // One line at a point, placed by the text alignment, in the selected font.
    bool TextOut(int x, int y, const CString& texto);
    // A text laid in a rectangle by the DT_ flags; returns the height of the text, 0 when
    // nothing was drawn.
    int DrawText(const CString& texto, CRect* rect, UINT formato);
    // The size one line of the text takes in the selected font, as the device draws it.
    CSize GetTextExtent(const CString& texto) const;
    // The selected bitmap stretched over the rectangle. False without a bitmap.
    bool StretchBlt(int x, int y, int ancho, int alto);
    // Rectangles filled in one colour, without an outline: the bars of a code, drawn as shapes
    // so they stay sharp at whatever resolution the sheet is later rendered or printed.
    bool FillSolidRects(const std::vector<CRect>& rects, COLORREF color);

    virtual int GetDeviceCaps(int indice) const = 0;

    // A print job: a document of pages. A page is drawn between StartPage and EndPage.
    virtual int StartDoc(const CString& nombre);
    virtual int StartPage();
    virtual int EndPage();
    virtual int EndDoc();
    // Why the device failed, when one of the above returned a value <= 0.
    virtual CString GetError() const { return CString(); }

protected:
    // What a device draws, with the origin already applied. The font is never null.
    // Text and rectangles follow GetROP2().
    virtual void DibujarTexto(int x, int y, const CString& texto, const LOGFONT& fuente,
                              UINT alineacion, COLORREF color) = 0;
    virtual int DibujarTextoEnRect(const CRect& rect, const CString& texto, const LOGFONT& fuente,
                                   UINT formato, COLORREF color) = 0;
    virtual void DibujarBitmap(const CRect& destino, const CBitmap& bitmap) = 0;
    virtual CSize MedirTexto(const CString& texto, const LOGFONT& fuente) const = 0;
    virtual void DibujarRectangulos(const std::vector<CRect>& rects, COLORREF color) = 0;

private:
    LOGFONT FuenteActual() const;
    CFont propia_;
    CFont* fuente_ = nullptr;
    CBitmap* bitmap_ = nullptr;
    UINT alineacion_ = TA_LEFT | TA_TOP;
    COLORREF color_ = RGB(0, 0, 0);
    CPoint origen_;
    int modo_ = R2_COPYPEN;
};

// What a print job tells the document, and what it learns back.
struct MODELO_API CPrintInfo {
    int m_nCopias = 1;    // how many times the whole declaration is printed
    UINT m_nCurPage = 0;  // the sheet being printed, from 1
    UINT m_nNumHojas = 0; // sheets printed, once done
    bool m_bContinuePrinting = true;
    CString m_strError; // why printing stopped, one Spanish line
};

// How a page image of kAnchoPaginaPx x kAltoPaginaPx sits on a device's sheet: device pixels
// per page pixel on each axis, and the device point where the page's top left goes.
struct MODELO_API stEscalaImpresion {
    double x = 1.0, y = 1.0;
    CPoint origen;
};
// The page at the largest size that fits the device's drawing area less a margin of
// kMargenHojaMm on every side of the sheet, the same physical size on both axes (each axis
// counts its own dots per inch), centred there. On A4 the height fills the sheet between its
// margins: a page pixel is 1/99.6 inch, a little under the 96 to the inch its fonts were laid
// out for. A printer whose own margins are wider gets it smaller.
inline constexpr double kMargenHojaMm = 5.0;
MODELO_API stEscalaImpresion EscalaDePagina(const CDC& dc);

// A value scaled to the device: (integer)(value * scale + 0.5), the conversion truncating
// toward zero as the platform's integer conversion does (-13 at 1.5 gives -19). A product that
// is already whole is kept as it is: the formula alone would turn a font height of -13 at
// scale 1 into -12, and a page printed at its own size must keep its sizes.
inline int Escalar(double valor, double escala) {
    const double v = valor * escala;
    return v == std::floor(v) ? int(v) : int(v + 0.5);
}
