// The host's printing drawn with Qt: a device context over QPainter, for a PDF file, a printer
// or an image. The pages themselves are composed by the framework (CGuiaDoc::Imprimir); this
// only draws what it is told, in device pixels.
#pragma once

#include "Modelo/document/GuiaDoc.h"
#include "Modelo/printing/Impresion.h"

#include <QByteArray>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <map>
#include <string>
#include <tuple>

class QPagedPaintDevice;

class CDCQt : public CDC {
public:
    // `paginas` is the same device when it has pages (a PDF writer, a printer); null for an
    // image, which holds one sheet.
    CDCQt(QPaintDevice& dispositivo, QPagedPaintDevice* paginas);
    ~CDCQt() override;

    int GetDeviceCaps(int indice) const override;
    int StartDoc(const CString& nombre) override;
    int StartPage() override;
    int EndPage() override;
    int EndDoc() override;
    CString GetError() const override { return error_; }

protected:
    void DibujarTexto(int x, int y, const CString& texto, const LOGFONT& fuente, UINT alineacion,
                      COLORREF color) override;
    int DibujarTextoEnRect(const CRect& rect, const CString& texto, const LOGFONT& fuente,
                           UINT formato, COLORREF color) override;
    void DibujarBitmap(const CRect& destino, const CBitmap& bitmap) override;
    CSize MedirTexto(const CString& texto, const LOGFONT& fuente) const override;
    void DibujarRectangulos(const std::vector<CRect>& rects, COLORREF color) override;

private:
    QColor Tinta(COLORREF color) const;
    QFont Fuente(const LOGFONT& lf) const;
    const QImage& Fondo(const RecursoBitmap& recurso);
    const QPicture* Dibujo(const RecursoBitmap& recurso); // null when it is not a drawing

    QPaintDevice& dispositivo_;
    QPagedPaintDevice* paginas_;
    QPainter painter_;
    int hojas_ = 0;
    // Each page image decoded once: a PDF then carries it once, however many sheets show it.
    std::map<const RecursoBitmap*, QImage> fondos_;
    mutable std::map<std::tuple<int, int, int, bool, std::string>, QFontMetricsF> metricas_;
    std::map<const RecursoBitmap*, QPicture> dibujos_;
    CString error_;
};

// Device units per inch of the PDF. Text and codes are shapes in it, not pixels: what this
// sets is the grain of their coordinates. A module of a code is a whole number of units,
// so a fine grain lets a code fill its field at almost any size (at 300 only 0.17 or 0.25 mm
// would be possible, and the larger one seldom fits).
inline constexpr int kPuntosPorPulgadaPDF = 1200;

// The declaration printed as a PDF file's bytes: A4 sheets, real text in embedded fonts, the
// codes as filled rectangles. False, with the reason in info.m_strError, when
// the document could not print.
bool ImprimirPDF(CGuiaDoc& doc, CPrintInfo& info, QByteArray& pdf);
// The same, once, as bytes with the reason of a failure: the shape a run of many declarations
// (app/Lote.h) takes its printing in.
bool ImprimirPDF(CGuiaDoc& doc, std::string& pdf, CString& error);

// Where a page stands on a sheet of the PDF that ImprimirPDF writes, in the file's device
// pixels (kPuntosPorPulgadaPDF to the inch): for whoever reads the file back and wants to know
// where each box of the page went.
stEscalaImpresion EscalaPaginaPDF();
