// A device context that draws nothing and remembers everything it was asked to draw, so tests
// can see what a page printed, where, and in which font.
#pragma once

#include "Modelo/printing/Impresion.h"

#include <string>
#include <string_view>
#include <vector>

namespace apoyo {

class DCRegistro : public CDC {
public:
    struct Texto {
        int hoja;
        std::string texto;
        CRect rect; // TextOut: the point in left/top
        LOGFONT fuente;
        UINT alineacion; // TextOut: the text alignment; DrawText: the DT_ format
        COLORREF color;
        bool enRect;
        int modo; // GetROP2() when it was drawn
    };
    struct Imagen {
        int hoja;
        CRect destino;
        UINT idRecurso; // 0 for a code
        stImagenCodigo codigo;
    };
    struct Relleno {
        int hoja;
        CRect rect;
        COLORREF color;
    };

    // An A4 sheet at this resolution.
    explicit DCRegistro(int ppp = 300) : ppp_(ppp) {}

    int GetDeviceCaps(int indice) const override {
        switch (indice) {
        case HORZRES:
            return ancho >= 0 ? ancho : ppp_ * 210 * 100 / 2540;
        case VERTRES:
            return alto >= 0 ? alto : ppp_ * 297 * 100 / 2540;
        case LOGPIXELSX:
        case LOGPIXELSY:
            return ppp_;
        case PHYSICALWIDTH:
            return hojaAncho;
        case PHYSICALHEIGHT:
            return hojaAlto;
        case PHYSICALOFFSETX:
            return desplazamiento.x;
        case PHYSICALOFFSETY:
            return desplazamiento.y;
        }
        return 0;
    }
    int StartPage() override {
        ++hojas;
        return 1;
    }

    std::vector<Texto> textos;
    std::vector<Imagen> imagenes;
    std::vector<Relleno> rellenos;
    int hojas = 0;
    int ancho = -1, alto = -1;
    // A printer's sheet, of which the drawing area is a part; 0 for a device that draws on
    // the whole sheet.
    int hojaAncho = 0, hojaAlto = 0;
    CPoint desplazamiento;

    // The texts of a sheet (from 1) equal to `t`.
    std::vector<Texto> Buscar(const std::string& t, int hoja = 0) const {
        std::vector<Texto> v;
        for (const Texto& x : textos)
            if (x.texto == t && (hoja == 0 || x.hoja == hoja))
                v.push_back(x);
        return v;
    }

protected:
    void DibujarTexto(int x, int y, const CString& texto, const LOGFONT& lf, UINT alineacion,
                      COLORREF color) override {
        textos.push_back(
            {hojas, texto.str(), CRect(x, y, x, y), lf, alineacion, color, false, GetROP2()});
    }
    int DibujarTextoEnRect(const CRect& r, const CString& texto, const LOGFONT& lf, UINT formato,
                           COLORREF color) override {
        textos.push_back({hojas, texto.str(), r, lf, formato, color, true, GetROP2()});
        return r.Height();
    }
    void DibujarBitmap(const CRect& destino, const CBitmap& b) override {
        imagenes.push_back(
            {hojas, destino, b.GetId(), b.Codigo() ? *b.Codigo() : stImagenCodigo()});
    }
    void DibujarRectangulos(const std::vector<CRect>& rects, COLORREF color) override {
        for (const CRect& r : rects)
            rellenos.push_back({hojas, r, color});
    }

    // A plain metric a test can reckon by hand: every character as wide as 0.6 of the font's
    // height, a line 1.2 of it.
    CSize MedirTexto(const CString& texto, const LOGFONT& lf) const override {
        const int alto = lf.lfHeight == 0 ? 11 : lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
        int caracteres = 0;
        const std::string_view s = texto.view();
        for (size_t i = 0, largo = 0; i < s.size(); i += largo) {
            texto::LeerCaracter(s, i, largo);
            ++caracteres;
        }
        return CSize{(caracteres * alto * 6 + 9) / 10, (alto * 12 + 9) / 10};
    }

private:
    int ppp_;
};

} // namespace apoyo
