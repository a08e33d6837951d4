#include "render/Pagina.h"

#include "Modelo/base/Recursos.h"
#include "Modelo/store/FicheroAtomico.h"
#include "Modelo/windows/Controles.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QStringDecoder>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Qt's note that a headless process has no runtime folder is no news to the person.
void FiltrarAvisos(QtMsgType tipo, const QMessageLogContext&, const QString& mensaje) {
    if (tipo != QtDebugMsg && !mensaje.startsWith(QLatin1String("QStandardPaths:")))
        std::fprintf(stderr, "%s\n", mensaje.toLocal8Bit().constData());
}

const QColor kTexto(20, 20, 20);
const QColor kTextoInhabilitado(120, 120, 120);
const QColor kVeloInhabilitado(0, 0, 0, 22);
const QColor kMarco(90, 90, 90);

QFont Fuente(CWnd& w) {
    LOGFONT lf;
    CFont* f = w.GetFont();
    if (!f || !f->GetLogFont(&lf))
        lf.lfHeight = -11;
    return FuenteQt(lf);
}

int Alineacion(unsigned estilos) {
    const int h = (estilos & ES_CENTRADO)  ? Qt::AlignHCenter
                  : (estilos & ES_DERECHA) ? Qt::AlignRight
                                           : Qt::AlignLeft;
    return h | Qt::AlignVCenter;
}

QRect Rect(const CWnd& w) {
    CRect r;
    w.GetWindowRect(&r);
    return QRect(r.left, r.top, r.Width(), r.Height());
}

// A value shrinks to fit its box, and only a value still too long at the smallest legible size
// is cut, with an ellipsis; a label wraps, and shrinks when its lines do not fit.
void DibujarTexto(QPainter& p, CWnd& w, const QRect& r, const CString& texto, int banderas) {
    const QRect interior = r.adjusted(2, 0, -2, 0);
    QString t = TextoQt(texto);
    QFont f = Fuente(w);
    if (banderas & Qt::TextWordWrap) {
        f = FuenteQueCabeEnvuelta(f, t, interior.size(), kAltoMinimoLegible);
    } else {
        f = FuenteQueCabe(f, t, interior.width(), kAltoMinimoLegible);
        t = QFontMetrics(f).elidedText(t, Qt::ElideRight, interior.width());
    }
    p.setFont(f);
    p.setPen(w.IsWindowEnabled() ? kTexto : kTextoInhabilitado);
    p.save();
    p.setClipRect(r);
    p.drawText(interior, banderas, t);
    p.restore();
}

void DibujarCasilla(QPainter& p, CButton& b, const QRect& r) {
    const int lado = std::min(r.width(), r.height());
    const QRect caja(r.left(), r.top() + (r.height() - lado) / 2, lado, lado);
    p.setPen(b.IsWindowEnabled() ? kMarco : kTextoInhabilitado);
    p.drawRect(caja.adjusted(0, 0, -1, -1));
    if (b.GetCheck() == BST_CHECKED) {
        p.setPen(QPen(b.IsWindowEnabled() ? kTexto : kTextoInhabilitado, 2));
        p.drawLine(caja.topLeft() + QPoint(3, 3), caja.bottomRight() - QPoint(3, 3));
        p.drawLine(caja.topRight() + QPoint(-3, 3), caja.bottomLeft() + QPoint(3, -3));
    }
}

// The date, then the button that opens the calendar.
void DibujarSelector(QPainter& p, CDateTimeCtrl& d, const QRect& r) {
    const int boton = std::min(r.width(), 16);
    const QRect zona(r.right() - boton + 1, r.top(), boton, r.height());
    DibujarTexto(p, d, QRect(r.left(), r.top(), r.width() - boton, r.height()), d.TextoFecha(),
                 Qt::AlignLeft | Qt::AlignVCenter);
    p.fillRect(zona, QColor(225, 225, 225));
    p.setPen(kMarco);
    p.drawRect(zona.adjusted(0, 0, -1, -1));
    const QPoint c = zona.center();
    p.setBrush(d.IsWindowEnabled() ? kTexto : kTextoInhabilitado);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygon({c + QPoint(-3, -1), c + QPoint(3, -1), c + QPoint(0, 2)}));
    p.setBrush(Qt::NoBrush);
}

void DibujarImagenCodigo(QPainter& p, const stImagenCodigo& img, const QRect& r) {
    const QImage a = ImagenQt(img).scaled(r.size(), Qt::KeepAspectRatio, Qt::FastTransformation);
    p.drawImage(r.left() + (r.width() - a.width()) / 2, r.top() + (r.height() - a.height()) / 2, a);
}

void DibujarControl(QPainter& p, CWnd& w) {
    const QRect r = Rect(w);
    switch (w.GetClase()) {
    case ClaseControl::EditTrans:
    case ClaseControl::EditNumber:
    case ClaseControl::EditDecNumber:
        if (!w.IsWindowEnabled())
            p.fillRect(r, kVeloInhabilitado);
        DibujarTexto(p, w, r, w.GetWindowText(), Alineacion(w.GetStyle()));
        break;
    case ClaseControl::StaticTransBold:
        DibujarTexto(p, w, r, w.GetWindowText(), Alineacion(w.GetStyle()) | Qt::TextWordWrap);
        break;
    case ClaseControl::CheckBox:
        DibujarCasilla(p, static_cast<CButton&>(w), r);
        break;
    case ClaseControl::DateTimeOpt:
    case ClaseControl::DateTimeFixFormat:
        if (!w.IsWindowEnabled())
            p.fillRect(r, kVeloInhabilitado);
        DibujarSelector(p, static_cast<CDateTimeCtrl&>(w), r);
        break;
    case ClaseControl::ScrollBitmapButton: {
        auto& b = static_cast<CScrollBitmapButton&>(w);
        const QImage img = BitmapRecurso(b.GetIdBitmap(
            w.IsWindowEnabled() ? CScrollBitmapButton::Normal : CScrollBitmapButton::Inhabilitada));
        if (!img.isNull())
            p.drawImage(r, img);
        break;
    }
    case ClaseControl::Picture:
        if (const stImagenCodigo* img = static_cast<CStatic&>(w).GetImagen())
            DibujarImagenCodigo(p, *img, r);
        break;
    }
}

} // namespace

QImage BitmapRecurso(UINT id) {
    const RecursoBitmap* b = AfxBuscarBitmap(int(id));
    if (!b)
        return QImage();
    return QImage::fromData(b->datos, int(b->tamano), "BMP");
}

QImage ImagenQt(const stImagenCodigo& img) {
    // Rows are copied by the stated size: pixels that do not fill it would be read past their end.
    if (img.Ancho <= 0 || img.Alto <= 0 ||
        img.Pixeles.size() != size_t(img.Ancho) * size_t(img.Alto))
        return QImage();
    QImage q(img.Ancho, img.Alto, QImage::Format_Grayscale8);
    for (int y = 0; y < img.Alto; ++y)
        std::memcpy(q.scanLine(y), img.Pixeles.data() + size_t(y) * size_t(img.Ancho),
                    size_t(img.Ancho));
    return q;
}

QFont FuenteQt(const LOGFONT& lf, double escala) {
    const bool fija = std::strstr(lf.lfFaceName, "Courier") != nullptr;
    QFont q(fija ? QStringLiteral("DejaVu Sans Mono") : QStringLiteral("DejaVu Sans"));
    // A negative height is the character's, a positive one the cell's: Qt takes the first.
    const int alto = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    q.setPixelSize(std::max(1, int((alto == 0 ? 11 : alto) * escala + 0.5)));
    q.setBold(lf.lfWeight >= FW_BOLD);
    q.setItalic(lf.lfItalic);
    q.setUnderline(lf.lfUnderline);
    q.setStrikeOut(lf.lfStrikeOut);
    return q;
}

QFont FuenteQueCabe(QFont fuente, const QString& texto, int ancho, int minimo) {
    int px = fuente.pixelSize();
    while (px > minimo && QFontMetrics(fuente).horizontalAdvance(texto) > ancho)
        fuente.setPixelSize(--px);
    return fuente;
}

QFont FuenteQueCabeEnvuelta(QFont fuente, const QString& texto, QSize caja, int minimo) {
    int px = fuente.pixelSize();
    const QRect r(QPoint(0, 0), caja);
    while (px > minimo &&
           QFontMetrics(fuente).boundingRect(r, Qt::TextWordWrap, texto).height() > caja.height())
        fuente.setPixelSize(--px);
    return fuente;
}

QString TextoQt(const CString& t) {
    const CString utf8 = texto::AUtf8(t);
    return QString::fromUtf8(utf8.c_str(), utf8.GetLength());
}

CString TextoModelo(const QString& t) {
    const QByteArray b = t.toUtf8();
    return CString(b.constData(), int(b.size()));
}

// Text needs Qt's font database, which lives in an application object. A program that has
// none gets one that draws without a display.
void AsegurarAplicacion() {
    if (QCoreApplication::instance())
        return;
    qInstallMessageHandler(FiltrarAvisos);
    static int argc = 3;
    static char nombre[] = "modelo", opcion[] = "-platform", plataforma[] = "offscreen";
    static char* argv[] = {nombre, opcion, plataforma, nullptr};
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

QImage FondoDeVista(const CGuiaView& vista) {
    return BitmapRecurso(vista.GetIdFondo());
}

QImage DibujarVista(const CGuiaView& vista) {
    AsegurarAplicacion();
    const QImage fondo = FondoDeVista(vista);
    if (fondo.isNull())
        return QImage();
    QImage imagen = fondo.convertToFormat(QImage::Format_RGB32);
    QPainter p(&imagen);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    for (CWnd* w : vista.Controles())
        if (w->IsWindowVisible())
            DibujarControl(p, *w);
    return imagen;
}

bool GuardarPNG(const QImage& imagen, const std::string& ruta, std::string& error) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !imagen.save(&buffer, "PNG")) {
        error = "no se pudo codificar la imagen";
        return false;
    }
    try {
        EscribirFicheroAtomico(CString(ruta),
                               std::string_view(bytes.constData(), size_t(bytes.size())));
    } catch (const CExcepcionFichero& e) {
        error = e.what();
        return false;
    }
    return true;
}
