// The window model: the windows of a page view without a screen. A CWnd is a handle on a window
// that its view owns; several handles may name the same window (the host's own and the one a
// form binds with DDX_Control), and every one of them sees the same text, state and rectangle.
// Coordinates are pixels of the 770 x 1125 page image, with the view's top left at (0, 0).
#pragma once

#include "Modelo/base/CObject.h"
#include "Modelo/base/Recursos.h"

class CGuiaView;
struct EstadoVentana;

// ----- geometry -----------------------------------------------------------------------------

struct CPoint {
    int x = 0, y = 0;
    friend bool operator==(const CPoint&, const CPoint&) = default;
};

// Right and bottom are exclusive: Width() is right - left.
struct CRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    CRect() = default;
    CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsRectEmpty() const { return right <= left || bottom <= top; }
    bool PtInRect(CPoint p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    void OffsetRect(int dx, int dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    friend bool operator==(const CRect&, const CRect&) = default;
};

// The page image every view is laid over, in pixels.
inline constexpr int kAnchoPaginaPx = 770;
inline constexpr int kAltoPaginaPx = 1125;

// Dialog units of a template to pixels of its page image: the one conversion the page-image
// generator, the window model and the printer share, so a control sits exactly on the field
// drawn for it. Each edge is rounded on its own, so neighbouring controls never overlap.
MODELO_API int DluAPixelX(const PlantillaDialogo& plantilla, double x);
MODELO_API int DluAPixelY(const PlantillaDialogo& plantilla, double y);
MODELO_API CRect RectanguloEnPixeles(const PlantillaDialogo& plantilla, const ControlPlantilla& c);

// ----- fonts ---------------------------------------------------------------------------------

enum : int { FW_NORMAL = 400, FW_BOLD = 700 };
inline constexpr int LF_FACESIZE = 32;

// A logical font. A negative height is the character height in pixels, as the platform's
// fonts are given.
struct LOGFONT {
    int lfHeight = 0;
    int lfWidth = 0;
    int lfEscapement = 0;
    int lfOrientation = 0;
    int lfWeight = FW_NORMAL;
    bool lfItalic = false;
    bool lfUnderline = false;
    bool lfStrikeOut = false;
    char lfFaceName[LF_FACESIZE] = {};
};
MODELO_API void FijarNombreFuente(LOGFONT& lf, const char* nombre); // cut to fit, always ended

// The smallest character height, in page pixels (6 points on a sheet), a value is shrunk to so
// that it fits its box; a value longer still is wrapped on paper and cut on screen.
inline constexpr int kAltoMinimoLegible = 8;

class MODELO_API CFont : public CObject {
public:
    DECLARE_DYNAMIC(CFont)
    bool CreateFontIndirect(const LOGFONT* lf);
    // Copies the font into lf; 0 for a font never created.
    int GetLogFont(LOGFONT* lf) const;
    bool DeleteObject();
    bool IsCreated() const { return creada_; }

private:
    LOGFONT lf_;
    bool creada_ = false;
};

// ----- windows -------------------------------------------------------------------------------

enum : int { SW_HIDE = 0, SW_SHOW = 5 };

// What changed in a window, for the one observer that mirrors a view on a screen.
enum class CambioVentana {
    Texto,
    Marca,
    Fecha,
    Habilitada,
    Visible,
    Posicion,
    Fuente,
    Foco,
    Imagen,
    Limite,
    Redibujo,
    Mostrar, // the view asks that the control be scrolled into sight
};

class MODELO_API IObservadorVista {
public:
    virtual ~IObservadorVista();
    virtual void VentanaCambiada(int idControl, CambioVentana cambio) = 0;
};

class MODELO_API CWnd : public CCmdTarget {
public:
    DECLARE_DYNAMIC(CWnd)
    CWnd();
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The window this handle names; null until attached.
    EstadoVentana* m_hWnd = nullptr;
    EstadoVentana* GetSafeHwnd() const { return m_hWnd; }
    void Attach(EstadoVentana* ventana) { m_hWnd = ventana; }
    EstadoVentana* Detach();

    int GetDlgCtrlID() const;
    ClaseControl GetClase() const;
    unsigned GetStyle() const;
    CGuiaView* GetParentView() const;

    // A change of the text sends EN_CHANGE to the view when the window is an edit, exactly as
    // typing does; writing the text the window already shows sends nothing.
    void SetWindowText(const CString& texto);
    void GetWindowText(CString& texto) const;
    CString GetWindowText() const;
    int GetWindowTextLength() const;

    // Window rectangles are in page pixels ("screen" and view coordinates coincide).
    void GetWindowRect(CRect* r) const;
    void GetClientRect(CRect* r) const;
    void ScreenToClient(CRect* r) const;
    void ClientToScreen(CRect* r) const;
    void MoveWindow(int x, int y, int ancho, int alto, bool repintar = true);
    void MoveWindow(const CRect& r, bool repintar = true);

    bool ShowWindow(int nCmdShow); // returns whether it was visible before
    bool IsWindowVisible() const;
    bool EnableWindow(bool habilitar = true); // returns whether it was disabled before
    bool IsWindowEnabled() const;

    void Invalidate(bool borrar = true);
    void UpdateWindow();
    bool RedrawWindow();
    int Redibujos() const; // how many times the window was asked to redraw

    // The window keeps a copy of the font: the CFont may go before the window does.
    void SetFont(CFont* fuente, bool redibujar = true);
    CFont* GetFont() const;

    // Moves the focus of the view here (a disabled or hidden window takes none) and returns
    // the window that had it, or null.
    CWnd* SetFocus();
    bool TieneFoco() const;
};
