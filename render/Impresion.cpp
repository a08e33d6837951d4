#include "render/Impresion.h"

#include "render/Pagina.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

QColor Color(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

int BanderasQt(UINT formato) {
    int b = (formato & DT_CENTER)  ? Qt::AlignHCenter
            : (formato & DT_RIGHT) ? Qt::AlignRight
                                   : Qt::AlignLeft;
    b |= (formato & DT_VCENTER)  ? Qt::AlignVCenter
         : (formato & DT_BOTTOM) ? Qt::AlignBottom
                                 : Qt::AlignTop;
    if (formato & DT_WORDBREAK)
        b |= Qt::TextWordWrap;
    if (formato & DT_NOCLIP)
        b |= Qt::TextDontClip;
    return b;
}

// The sheets of every PDF the program writes.
void PrepararHojas(QPdfWriter& pdf) {
    pdf.setResolution(kPuntosPorPulgadaPDF);
    pdf.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
}

} // namespace

CDCQt::CDCQt(QPaintDevice& dispositivo, QPagedPaintDevice* paginas)
    : dispositivo_(dispositivo), paginas_(paginas) {
    AsegurarAplicacion();
}

CDCQt::~CDCQt() {
    if (painter_.isActive())
        painter_.end();
}

int CDCQt::GetDeviceCaps(int indice) const {
    switch (indice) {
    case HORZRES:
        return dispositivo_.width();
    case VERTRES:
        return dispositivo_.height();
    case LOGPIXELSX:
        return dispositivo_.logicalDpiX();
    case LOGPIXELSY:
        return dispositivo_.logicalDpiY();
    case PHYSICALWIDTH:
    case PHYSICALHEIGHT:
    case PHYSICALOFFSETX:
    case PHYSICALOFFSETY:
        if (paginas_) {
            const QPageLayout hoja = paginas_->pageLayout();
            const int ppp = dispositivo_.logicalDpiX();
            const QRect todo = hoja.fullRectPixels(ppp), dibujo = hoja.paintRectPixels(ppp);
            return indice == PHYSICALWIDTH     ? todo.width()
                   : indice == PHYSICALHEIGHT  ? todo.height()
                   : indice == PHYSICALOFFSETX ? dibujo.left() - todo.left()
                                               : dibujo.top() - todo.top();
        }
        return 0; // an image is its whole sheet
    }
    return 0;
}

int CDCQt::StartDoc(const CString&) {
    if (!painter_.begin(&dispositivo_)) {
        error_ = "No se pudo empezar a dibujar en el destino de la impresión";
        return 0;
    }
    // The codes must reach the paper as drawn: no lossy compression of any picture.
    painter_.setRenderHint(QPainter::LosslessImageRendering, true);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    hojas_ = 0;
    return 1;
}

int CDCQt::StartPage() {
    if (!painter_.isActive()) {
        error_ = "Se pidió una hoja fuera de un trabajo de impresión";
        return 0;
    }
    if (hojas_ > 0) {
        if (!paginas_) {
            error_ = "Una imagen tiene una sola hoja";
            return 0;
        }
        if (!paginas_->newPage()) {
            error_ = "El destino de la impresión no admite otra hoja";
            return 0;
        }
    }
    ++hojas_;
    painter_.fillRect(QRect(0, 0, dispositivo_.width(), dispositivo_.height()), Qt::white);
    return 1;
}

int CDCQt::EndPage() {
    return painter_.isActive() ? 1 : 0;
}

int CDCQt::EndDoc() {
    if (!painter_.isActive() || !painter_.end()) {
        error_ = "No se pudo terminar la impresión";
        return 0;
    }
    return 1;
}

QFont CDCQt::Fuente(const LOGFONT& lf) const {
    QFont f(FuenteQt(lf), &dispositivo_);
    if (lf.lfWidth != 0) {
        // The platform's width is the average character's; Qt stretches by a percentage of it.
        const int natural = QFontMetrics(f, &dispositivo_).averageCharWidth();
        if (natural > 0)
            f.setStretch(
                std::clamp(int(std::lround(100.0 * std::abs(lf.lfWidth) / natural)), 1, 4000));
    }
    return f;
}

// Ink that only darkens what is under it: over white it is the colour asked for, over black
// text still black. Drawn as black at the matching opacity, which every device (a PDF too)
// blends the same way.
QColor CDCQt::Tinta(COLORREF c) const {
    if (GetROP2() != R2_MASKPEN)
        return Color(c);
    const int claro = std::max({GetRValue(c), GetGValue(c), GetBValue(c)});
    return QColor(0, 0, 0, 255 - claro);
}

void CDCQt::DibujarTexto(int x, int y, const CString& texto, const LOGFONT& lf, UINT alineacion,
                         COLORREF color) {
    const QFont f = Fuente(lf);
    const QString t = TextoQt(texto);
    const QFontMetrics m(f, &dispositivo_);
    const UINT h = alineacion & kTA_HORIZONTAL, v = alineacion & kTA_VERTICAL;
    const int ancho = m.horizontalAdvance(t);
    const int dx = h == TA_CENTER ? -ancho / 2 : h == TA_RIGHT ? -ancho : 0;
    const int dy = v == TA_BASELINE ? 0 : v == TA_BOTTOM ? -m.descent() : m.ascent();
    painter_.save();
    painter_.setFont(f);
    painter_.setPen(Tinta(color));
    painter_.translate(x, y);
    // The platform turns text counter-clockwise by tenths of a degree; y grows downwards here.
    if (lf.lfEscapement != 0)
        painter_.rotate(-lf.lfEscapement / 10.0);
    painter_.drawText(dx, dy, t);
    painter_.restore();
}

int CDCQt::DibujarTextoEnRect(const CRect& r, const CString& texto, const LOGFONT& lf, UINT formato,
                              COLORREF color) {
    QString t = TextoQt(texto);
    if (formato & DT_SINGLELINE)
        t.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    const QRect rect(r.left, r.top, r.Width(), r.Height());
    QRect ocupado;
    painter_.save();
    painter_.setFont(Fuente(lf));
    painter_.setPen(Tinta(color));
    painter_.drawText(rect, BanderasQt(formato), t, &ocupado);
    painter_.restore();
    return ocupado.height();
}

CSize CDCQt::MedirTexto(const CString& texto, const LOGFONT& lf) const {
    // A page measures its values many times in a few fonts: each font's metrics made once.
    auto clave = std::make_tuple(lf.lfHeight, lf.lfWidth, lf.lfWeight, lf.lfItalic,
                                 std::string(lf.lfFaceName));
    auto it = metricas_.find(clave);
    if (it == metricas_.end())
        it = metricas_.emplace(clave, QFontMetricsF(Fuente(lf), &dispositivo_)).first;
    const QFontMetricsF& m = it->second;
    return CSize{int(std::ceil(m.horizontalAdvance(TextoQt(texto)))), int(std::ceil(m.height()))};
}

const QImage& CDCQt::Fondo(const RecursoBitmap& recurso) {
    auto it = fondos_.find(&recurso);
    if (it == fondos_.end())
        it = fondos_
                 .emplace(&recurso, QImage::fromData(recurso.datos, int(recurso.tamano), "BMP")
                                        .convertToFormat(QImage::Format_RGB32))
                 .first;
    return it->second;
}

const QPicture* CDCQt::Dibujo(const RecursoBitmap& recurso) {
    // A recorded drawing starts with its own signature; a bitmap with "BM".
    static constexpr char kFirma[] = "QPIC";
    if (recurso.tamano < 4 || std::memcmp(recurso.datos, kFirma, 4) != 0)
        return nullptr;
    auto it = dibujos_.find(&recurso);
    if (it == dibujos_.end()) {
        QPicture dibujo;
        dibujo.setData(reinterpret_cast<const char*>(recurso.datos), uint(recurso.tamano));
        it = dibujos_.emplace(&recurso, std::move(dibujo)).first;
    }
    return it->second.isNull() ? nullptr : &it->second;
}

void CDCQt::DibujarBitmap(const CRect& d, const CBitmap& bitmap) {
    const QRect destino(d.left, d.top, d.Width(), d.Height());
    if (const stImagenCodigo* c = bitmap.Codigo()) {
        const QImage img = ImagenQt(*c);
        if (!img.isNull())
            painter_.drawImage(destino, img);
    } else if (const RecursoBitmap* r = bitmap.Recurso(); r && Dibujo(*r)) {
        // The drawing is in page pixels; a picture played on a device of another resolution
        // keeps its physical size on its own, which the page's scale already accounts for.
        const QPicture& dibujo = *Dibujo(*r);
        const double propiaX = double(dibujo.logicalDpiX()) / dispositivo_.logicalDpiX();
        const double propiaY = double(dibujo.logicalDpiY()) / dispositivo_.logicalDpiY();
        painter_.save();
        painter_.translate(destino.topLeft());
        painter_.scale(double(destino.width()) / kAnchoPaginaPx * propiaX,
                       double(destino.height()) / kAltoPaginaPx * propiaY);
        painter_.drawPicture(0, 0, dibujo);
        painter_.restore();
    } else if (r) {
        const QImage& img = Fondo(*r);
        if (!img.isNull())
            painter_.drawImage(destino, img);
    }
}

void CDCQt::DibujarRectangulos(const std::vector<CRect>& rects, COLORREF color) {
    QList<QRect> q;
    q.reserve(qsizetype(rects.size()));
    for (const CRect& r : rects)
        q.append(QRect(r.left, r.top, r.Width(), r.Height()));
    painter_.save();
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(Tinta(color));
    // Edges on whole device pixels, neither blurred nor widened.
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.drawRects(q);
    painter_.restore();
}

bool ImprimirPDF(CGuiaDoc& doc, CPrintInfo& info, QByteArray& pdf) {
    AsegurarAplicacion();
    pdf.clear();
    QBuffer buffer(&pdf);
    if (!buffer.open(QIODevice::WriteOnly)) {
        info.m_strError = "No hay memoria para componer el PDF";
        return false;
    }
    bool hecho = false;
    {
        QPdfWriter pdfWriter(&buffer);
        PrepararHojas(pdfWriter);
        pdfWriter.setCreator(QStringLiteral("modelo"));
        pdfWriter.setTitle(TextoQt("Modelo " + doc.GetCodModelo().Left(3) + " - declaración " +
                                   doc.GetCodDeclar()));
        CDCQt dc(pdfWriter, &pdfWriter);
        hecho = doc.Imprimir(&dc, &info);
    }
    buffer.close();
    if (!hecho)
        pdf.clear();
    return hecho;
}

bool ImprimirPDF(CGuiaDoc& doc, std::string& pdf, CString& error) {
    CPrintInfo info;
    QByteArray bytes;
    if (!ImprimirPDF(doc, info, bytes)) {
        error = info.m_strError;
        return false;
    }
    pdf.assign(bytes.constData(), size_t(bytes.size()));
    return true;
}

stEscalaImpresion EscalaPaginaPDF() {
    AsegurarAplicacion();
    QBuffer nada;
    nada.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&nada);
    PrepararHojas(pdf);
    const CDCQt dc(pdf, &pdf);
    return EscalaDePagina(dc);
}
