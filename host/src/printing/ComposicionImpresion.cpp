// The page composer: a declaration printed as the paper form it is. The document prints every
// page of its page table once per copy kind; a page prints its image, the draft label of a
// draft, each control its form registered with the value it shows, the two codes rendered for
// the device and the copy's caption; the form's view then adds what is its own.
#include "Modelo/document/GuiaDoc.h"
#include "Modelo/printing/Impresion.h"
#include "Modelo/windows/Controles.h"
#include "Modelo/windows/GuiaView.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

namespace {

constexpr COLORREF kTinta = RGB(0, 0, 0);
// Light enough that the values printed over it stay readable, dark enough that no one misses
// it; drawn as ink under ink, so the form's own lines and labels show through it unchanged.
constexpr COLORREF kMarcaAgua = RGB(215, 215, 215);
constexpr COLORREF kRotuloBorrador = RGB(190, 0, 0);

// Text keeps this far from the sides of its field, in page pixels, as on screen, and clear of
// the one-pixel border the page image draws round every box.
constexpr int kMargenTexto = 2;
constexpr int kBordeCaja = 1;

// The draft label: a line in the margin above the page's heading, and a large slanted word
// across the body of the page, away from the two codes. Page pixels.
constexpr const char* kBandaBorrador = "BORRADOR - SIN VALIDEZ PARA SU PRESENTACIÓN";
constexpr const char* kMarcaBorrador = "BORRADOR";
const CRect kRectBandaBorrador{0, 0, kAnchoPaginaPx, 12};
constexpr int kAltoBandaBorrador = -10;
constexpr CPoint kCentroMarcaBorrador{kAnchoPaginaPx / 2, 740};
constexpr int kAltoMarcaBorrador = -100;
constexpr int kInclinacionMarca = 300; // tenths of a degree, counter-clockwise

// The copy's caption, in the page's foot line between the form's name and the page number.
const CRect kRectRotuloEjemplar{200, 1094, kAnchoPaginaPx - 200, 1112};
constexpr int kAltoRotulo = -13;

constexpr const char* kCaraTexto = "Arial";

CRect Escalado(const CRect& r, double sx, double sy) {
    return CRect(Escalar(r.left, sx), Escalar(r.top, sy), Escalar(r.right, sx),
                 Escalar(r.bottom, sy));
}

LOGFONT FuenteEscalada(LOGFONT lf, double sx, double sy) {
    lf.lfHeight = Escalar(lf.lfHeight, sy);
    lf.lfWidth = Escalar(lf.lfWidth, sx);
    return lf;
}

LOGFONT FuenteDeRotulo(int alto, double sy, int peso) {
    LOGFONT lf;
    lf.lfHeight = Escalar(alto, sy);
    lf.lfWeight = peso;
    FijarNombreFuente(lf, kCaraTexto);
    return lf;
}

// A font selected for the life of the object, the previous one put back afterwards.
class FuenteSeleccionada {
public:
    FuenteSeleccionada(CDC& dc, const LOGFONT& lf) : dc_(dc) {
        fuente_.CreateFontIndirect(&lf);
        anterior_ = dc_.SelectObject(&fuente_);
    }
    ~FuenteSeleccionada() {
        dc_.SelectObject(anterior_);
        fuente_.DeleteObject();
    }
    FuenteSeleccionada(const FuenteSeleccionada&) = delete;
    FuenteSeleccionada& operator=(const FuenteSeleccionada&) = delete;

private:
    CDC& dc_;
    CFont fuente_;
    CFont* anterior_ = nullptr;
};

void DibujarBitmap(CDC& dc, CBitmap& bitmap, const CRect& r) {
    CBitmap* anterior = dc.SelectObject(&bitmap);
    dc.StretchBlt(r.left, r.top, r.Width(), r.Height());
    dc.SelectObject(anterior);
}

// What a control prints: its text; a mark for a ticked check box; the date a picker shows.
CString ValorImpreso(CWnd& w) {
    switch (w.GetClase()) {
    case ClaseControl::CheckBox:
        return static_cast<CButton&>(w).GetCheck() == BST_CHECKED ? "X" : "";
    case ClaseControl::DateTimeOpt:
    case ClaseControl::DateTimeFixFormat:
        return static_cast<CDateTimeCtrl&>(w).TextoFecha();
    default:
        return w.GetWindowText();
    }
}

UINT AlineacionDeEstilo(unsigned estilos) {
    return (estilos & ES_CENTRADO) ? DT_CENTER : (estilos & ES_DERECHA) ? DT_RIGHT : DT_LEFT;
}

// A text laid out in its box: the lines it is drawn on, in one font.
struct Disposicion {
    std::vector<CString> lineas;
    LOGFONT fuente;
    int altoLinea = 0;
};

// The font at a character height of `alto` device pixels; a stretched font keeps its shape.
LOGFONT ConAlto(const LOGFONT& base, int alto) {
    LOGFONT lf = base;
    const int original = std::abs(base.lfHeight);
    lf.lfHeight = -alto;
    if (base.lfWidth != 0 && original > 0)
        lf.lfWidth = std::max(1, base.lfWidth * alto / original);
    return lf;
}

CSize Medida(CDC& dc, const CString& texto, const LOGFONT& lf) {
    FuenteSeleccionada fuente(dc, lf);
    return dc.GetTextExtent(texto);
}

// The longest start of `texto` from byte `desde` that fits `ancho`, cut between characters; at
// least one character, so a box narrower than a letter still moves on.
size_t CorteDePalabra(CDC& dc, std::string_view texto, size_t desde, size_t hasta,
                      const LOGFONT& lf, int ancho) {
    size_t largo = 0, fin = desde, mejor = 0;
    for (size_t i = desde; i < hasta; i += largo) {
        texto::LeerCaracter(texto, i, largo);
        fin = i + largo;
        if (mejor != 0 && Medida(dc, CString(texto.substr(desde, fin - desde)), lf).cx > ancho)
            break;
        mejor = fin;
    }
    return mejor;
}

// The text broken into lines no wider than `ancho` between words; with `cortar`, inside a word
// where the word alone is wider than the box. Without it such a word stands on a line of its
// own, wider than the box.
std::vector<CString> Partir(CDC& dc, const CString& texto, const LOGFONT& lf, int ancho,
                            bool cortar) {
    std::vector<CString> lineas;
    const std::string_view s = texto.view();
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && texto::EsBlanco(s[i]))
            ++i;
        if (i == s.size())
            break;
        // Whole words while they fit.
        size_t fin = i, ultimo = i;
        while (fin < s.size()) {
            size_t siguiente = fin;
            while (siguiente < s.size() && texto::EsBlanco(s[siguiente]))
                ++siguiente;
            while (siguiente < s.size() && !texto::EsBlanco(s[siguiente]))
                ++siguiente;
            if (Medida(dc, CString(s.substr(i, siguiente - i)), lf).cx > ancho)
                break;
            ultimo = fin = siguiente;
        }
        if (ultimo == i) {
            size_t finPalabra = i;
            while (finPalabra < s.size() && !texto::EsBlanco(s[finPalabra]))
                ++finPalabra;
            ultimo = cortar ? CorteDePalabra(dc, s, i, finPalabra, lf, ancho) : finPalabra;
        }
        lineas.emplace_back(s.substr(i, ultimo - i));
        i = ultimo;
    }
    return lineas;
}

// The largest height from 1 to `maximo` for which `cabe` holds, or 0 when none does; `cabe`
// is taken to hold for every height below one where it holds.
template <class Cabe> int MayorAlto(int maximo, Cabe cabe) {
    if (cabe(maximo))
        return maximo; // what nearly every box holds
    int bajo = 0, alto = maximo - 1;
    while (bajo < alto) {
        const int medio = (bajo + alto + 1) / 2;
        if (cabe(medio))
            bajo = medio;
        else
            alto = medio - 1;
    }
    return bajo;
}

// Whether the lines of the text fit the box at character height `h`.
bool CabeEnvuelto(CDC& dc, const CString& texto, const LOGFONT& base, int h, int ancho, int alto,
                  bool cortar) {
    const LOGFONT lf = ConAlto(base, h);
    const std::vector<CString> lineas = Partir(dc, texto, lf, ancho, cortar);
    for (const CString& l : lineas)
        if (Medida(dc, l, lf).cx > ancho)
            return false;
    return int(lineas.size()) * Medida(dc, texto, lf).cy <= alto;
}

// How a text fits its box. A value stands on one line at its own size when it can, smaller when
// it must; below the legible minimum it is wrapped between words instead, when that gives it a
// larger letter, and only far below it inside a word. A label wraps first and shrinks only when
// its lines do not fit. Nothing is left out: the paper must carry the whole value.
Disposicion Disponer(CDC& dc, const CString& texto, const LOGFONT& base, int ancho, int alto,
                     int minimo, bool rotulo) {
    const int original = std::max(1, std::abs(base.lfHeight));
    auto enUna = [&](int h) {
        const CSize m = Medida(dc, texto, ConAlto(base, h));
        return m.cx <= ancho && m.cy <= alto;
    };
    auto envuelto = [&](bool cortar) {
        return [&, cortar](int h) { return CabeEnvuelto(dc, texto, base, h, ancho, alto, cortar); };
    };
    int h = 0;
    bool partir = false, cortar = false;
    if (rotulo) {
        h = MayorAlto(original, envuelto(false));
        partir = true;
    } else {
        h = MayorAlto(original, enUna);
        if (h < std::min(original, minimo)) {
            const int entero = MayorAlto(original, envuelto(false));
            if (entero > h) {
                h = entero;
                partir = true;
            }
        }
    }
    if (h < std::min(original, minimo) / 2) {
        const int cortado = MayorAlto(original, envuelto(true));
        if (cortado > h) {
            h = cortado;
            partir = cortar = true;
        }
    }
    Disposicion d;
    d.fuente = ConAlto(base, std::max(1, h));
    d.altoLinea = Medida(dc, texto, d.fuente).cy;
    if (partir)
        d.lineas = Partir(dc, texto, d.fuente, ancho, cortar);
    else
        d.lineas.push_back(texto);
    return d;
}

// The lines drawn one under the other in the box, as a block centred on it or from its top.
void DibujarDisposicion(CDC& dc, const Disposicion& d, const CRect& caja, UINT horizontal,
                        bool arriba) {
    FuenteSeleccionada fuente(dc, d.fuente);
    const int total = int(d.lineas.size()) * d.altoLinea;
    int y = arriba ? caja.top : caja.top + (caja.Height() - total) / 2;
    for (const CString& linea : d.lineas) {
        CRect r(caja.left, y, caja.right, y + d.altoLinea);
        dc.DrawText(linea, &r, horizontal | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
        y += d.altoLinea;
    }
}

// Device pixels per module: the most whole pixels that keep the code inside its field, at
// least one, so every module of a row is as wide as the next. A two-dimensional code keeps its
// modules square; a bar code stretches its bars to the field's height.
struct Modulo {
    int x, y;
};
Modulo ModuloEnDispositivo(const stImagenCodigo& img, const CRect& campo, bool bidimensional) {
    const int modulosX = std::max(1, img.Ancho / kPixelesModulo);
    const int modulosY = std::max(1, img.Alto / kPixelesModulo);
    Modulo m{std::max(1, campo.Width() / modulosX), std::max(1, campo.Height() / modulosY)};
    if (bidimensional)
        m.x = m.y = std::min(m.x, m.y);
    return m;
}

// The black modules of a code as rectangles of `m` device pixels per module from `origen`: a
// run of black modules in a row is one rectangle, and rows alike one under the other (the
// rows of a PDF417 row, every row of a bar code) share it.
std::vector<CRect> Barras(const stImagenCodigo& img, Modulo m, CPoint origen) {
    const int modulosX = img.Ancho / kPixelesModulo, modulosY = img.Alto / kPixelesModulo;
    auto igual = [&](int a, int b) {
        for (int x = 0; x < modulosX; ++x)
            if (img.Negro(x * kPixelesModulo, a * kPixelesModulo) !=
                img.Negro(x * kPixelesModulo, b * kPixelesModulo))
                return false;
        return true;
    };
    std::vector<CRect> barras;
    for (int y0 = 0, y1; y0 < modulosY; y0 = y1) {
        for (y1 = y0 + 1; y1 < modulosY && igual(y0, y1); ++y1) {
        }
        for (int x0 = 0, x1; x0 < modulosX; x0 = x1) {
            x1 = x0 + 1;
            if (!img.Negro(x0 * kPixelesModulo, y0 * kPixelesModulo))
                continue;
            while (x1 < modulosX && img.Negro(x1 * kPixelesModulo, y0 * kPixelesModulo))
                ++x1;
            barras.emplace_back(origen.x + x0 * m.x, origen.y + y0 * m.y, origen.x + x1 * m.x,
                                origen.y + y1 * m.y);
        }
    }
    return barras;
}

} // namespace

// ----- the view's part ------------------------------------------------------------------------

bool CGuiaView::InicializarControlesImpresora() {
    impresion_.clear();
    idCodPuntos_ = idCodBarras_ = idTextoLopd_ = 0;
    return Creada();
}

void CGuiaView::CargarControlImpresora(CWnd* control) {
    if (control && control->GetSafeHwnd() && control->GetParentView() == this)
        impresion_.push_back(control->GetDlgCtrlID());
}

void CGuiaView::CargarControlImpresoraCodPuntos(CWnd* control) {
    if (control && control->GetSafeHwnd() && control->GetParentView() == this)
        idCodPuntos_ = control->GetDlgCtrlID();
}

void CGuiaView::CargarControlImpresoraCodBarras(CWnd* control) {
    if (control && control->GetSafeHwnd() && control->GetParentView() == this)
        idCodBarras_ = control->GetDlgCtrlID();
}

void CGuiaView::ImprimirVista(CDC* dc, double sx, double sy) {
    errorImpresion_.Empty();
    if (!dc || !doc_)
        return;
    CBitmap fondo;
    if ((idDibujoFondo_ != 0 && fondo.LoadBitmap(idDibujoFondo_)) || fondo.LoadBitmap(idFondo_))
        DibujarBitmap(*dc, fondo,
                      CRect(0, 0, Escalar(kAnchoPaginaPx, sx), Escalar(kAltoPaginaPx, sy)));
    if (doc_->GetEstado() == estado::Borrador)
        ImprimirRotuloBorrador(dc, sx, sy);

    const UINT alineacion = dc->SetTextAlign(TA_LEFT | TA_TOP);
    const COLORREF color = dc->SetTextColor(kTinta);
    for (int id : impresion_) {
        CWnd* w = Control(id);
        if (!w || !w->IsWindowVisible())
            continue;
        const CString valor = ValorImpreso(*w);
        if (valor.IsEmpty())
            continue;
        CRect r;
        w->GetWindowRect(&r);
        ScreenToClient(&r);
        LOGFONT lf;
        CFont* f = w->GetFont();
        if (!f || !f->GetLogFont(&lf))
            continue;
        const bool marca = w->GetClase() == ClaseControl::CheckBox;
        if (marca) {
            // The mark as large as its square holds it.
            lf.lfHeight = -r.Height();
            lf.lfWeight = FW_BOLD;
        } else {
            // Inside the box's border, the text kept off its sides.
            r.left += kMargenTexto;
            r.right -= kMargenTexto;
            r.top += kBordeCaja;
            r.bottom -= kBordeCaja;
        }
        const CRect caja = Escalado(r, sx, sy);
        const bool rotulo = w->GetClase() == ClaseControl::StaticTransBold;
        const Disposicion d = Disponer(*dc, valor, FuenteEscalada(lf, sx, sy), caja.Width(),
                                       caja.Height(), Escalar(kAltoMinimoLegible, sy), rotulo);
        DibujarDisposicion(*dc, d, caja, marca ? DT_CENTER : AlineacionDeEstilo(w->GetStyle()),
                           id == idTextoLopd_);
    }
    dc->SetTextColor(color);
    dc->SetTextAlign(alineacion);

    struct Codigo {
        int id;
        bool bidimensional;
        const char* nombre;
    };
    for (const Codigo c :
         {Codigo{idCodPuntos_, true, "PDF417"}, Codigo{idCodBarras_, false, "de barras"}}) {
        if (c.id == 0)
            continue;
        auto* estatico = dynamic_cast<CStatic*>(Control(c.id));
        const stImagenCodigo* img = estatico ? estatico->GetImagen() : nullptr;
        if (!img) {
            errorImpresion_ = CString::Formatted(
                "La página %d no tiene su código %s: los datos de la declaración no caben en "
                "él o falta el código de la declaración",
                pagina_ + 1, c.nombre);
            continue;
        }
        CRect r;
        estatico->GetWindowRect(&r);
        ScreenToClient(&r);
        const CRect campo = Escalado(r, sx, sy);
        const Modulo m = ModuloEnDispositivo(*img, campo, c.bidimensional);
        const int ancho = img->Ancho / kPixelesModulo * m.x;
        const int alto = img->Alto / kPixelesModulo * m.y;
        const CPoint origen{campo.left + (campo.Width() - ancho) / 2,
                            campo.top + (campo.Height() - alto) / 2};
        // The quiet zones are the field's own white, left bare.
        dc->FillSolidRects(Barras(*img, m, origen), kTinta);
    }

    ImprimirRotuloEjemplar(dc, ejemplar_, sx, sy);
}

void CGuiaView::ImprimirRotuloEjemplar(CDC* dc, int ejemplar, double sx, double sy) {
    const CString rotulo = NombreEjemplar(ejemplar);
    if (!dc || rotulo.IsEmpty())
        return;
    FuenteSeleccionada fuente(*dc, FuenteDeRotulo(kAltoRotulo, sy, FW_BOLD));
    const COLORREF color = dc->SetTextColor(kTinta);
    CRect r = Escalado(kRectRotuloEjemplar, sx, sy);
    dc->DrawText(rotulo, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    dc->SetTextColor(color);
}

void CGuiaView::ImprimirRotuloBorrador(CDC* dc, double sx, double sy) {
    if (!dc)
        return;
    const COLORREF color = dc->SetTextColor(kMarcaAgua);
    const UINT alineacion = dc->SetTextAlign(TA_CENTER | TA_BASELINE);
    const int modo = dc->SetROP2(R2_MASKPEN);
    {
        LOGFONT lf = FuenteDeRotulo(kAltoMarcaBorrador, sy, FW_BOLD);
        lf.lfEscapement = lf.lfOrientation = kInclinacionMarca;
        FuenteSeleccionada fuente(*dc, lf);
        dc->TextOut(Escalar(kCentroMarcaBorrador.x, sx), Escalar(kCentroMarcaBorrador.y, sy),
                    kMarcaBorrador);
    }
    dc->SetROP2(modo);
    dc->SetTextAlign(alineacion);
    dc->SetTextColor(kRotuloBorrador);
    {
        FuenteSeleccionada fuente(*dc, FuenteDeRotulo(kAltoBandaBorrador, sy, FW_BOLD));
        CRect r = Escalado(kRectBandaBorrador, sx, sy);
        dc->DrawText(kBandaBorrador, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    }
    dc->SetTextColor(color);
}

// ----- the document's part ----------------------------------------------------------------------

bool CGuiaDoc::Imprimir(CDC* dc, CPrintInfo* info) {
    CPrintInfo propia;
    if (!info)
        info = &propia;
    info->m_nCurPage = info->m_nNumHojas = 0;
    auto fallar = [&](const CString& motivo) {
        info->m_strError = motivo;
        info->m_bContinuePrinting = false;
        return false;
    };
    if (!dc)
        return fallar("No hay dónde imprimir");
    if (info->m_nCopias < 1)
        return fallar(
            CString::Formatted("El número de copias debe ser al menos 1, no %d", info->m_nCopias));

    // Every view opened before the first sheet: a page that cannot be printed stops the job
    // before anything went out. Read-only, so the paper shows the stored boxes, not what the
    // page's rules would make of them.
    struct Hoja {
        CGuiaView* vista;
        int ejemplar;
    };
    std::vector<std::unique_ptr<CGuiaView>> vistas;
    std::vector<Hoja> hojas;
    for (const auto& [indice, pagina] : paginas_) {
        CString error;
        std::unique_ptr<CGuiaView> vista = AbrirVistaPagina(*this, indice, error, true);
        if (!vista)
            return fallar(error);
        if (!vista->InicializarControlesImpresora())
            return fallar(CString::Formatted(
                "La vista de la página %d no pudo preparar sus controles para imprimir",
                indice + 1));
        if (pagina.Ejemplar.GetSize() == 0)
            hojas.push_back({vista.get(), 0});
        for (int i = 0; i < pagina.Ejemplar.GetSize(); ++i)
            hojas.push_back({vista.get(), pagina.Ejemplar[i]});
        vistas.push_back(std::move(vista));
    }
    if (hojas.empty())
        return fallar("La declaración no tiene páginas que imprimir");

    const stEscalaImpresion escala = EscalaDePagina(*dc);
    if (dc->StartDoc(GetCodModelo() + " " + GetCodDeclar()) <= 0)
        return fallar(dc->GetError());
    for (int copia = 0; copia < info->m_nCopias; ++copia) {
        for (const Hoja& h : hojas) {
            ++info->m_nCurPage;
            if (dc->StartPage() <= 0)
                return fallar(dc->GetError());
            const CPoint origen = dc->SetViewportOrg(escala.origen.x, escala.origen.y);
            h.vista->SetEjemplarImpresion(h.ejemplar);
            h.vista->ImprimirVista(dc, escala.x, escala.y);
            dc->SetViewportOrg(origen.x, origen.y);
            if (!h.vista->GetErrorImpresion().IsEmpty())
                return fallar(h.vista->GetErrorImpresion());
            if (dc->EndPage() <= 0)
                return fallar(dc->GetError());
            ++info->m_nNumHojas;
        }
    }
    if (dc->EndDoc() <= 0)
        return fallar(dc->GetError());
    return true;
}
