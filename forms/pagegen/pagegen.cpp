// Draws the bitmaps of one form at build time: the two page backgrounds, laid out from the page
// templates so that every printed box sits exactly under its control, and the button images.
//
//   pagegen OUTDIR [--png]
//
// writes OUTDIR/<offset>.bmp for every bitmap, named by its offset from the form's id base, and
// OUTDIR/<offset>.pic for the recorded drawing of each page, printed instead of its bitmap; with
// --png it also writes PNG copies to look at. The output depends only on the templates and on the
// DejaVu fonts, so two runs give the same bytes.
#include "Formulario.h"
#include "Modelo/windows/Ventanas.h"
#include "core/Casillas.h"
#include "core/IdsRecursos.h"
#include "core/Imagenes.h"
#include "core/Plantillas.h"

#include <QtCore/QFile>
#include <QtCore/QString>
#include <QtCore/QTemporaryDir>
#include <QtGui/QFont>
#include <QtGui/QFontDatabase>
#include <QtGui/QFontMetricsF>
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtGui/QPicture>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------------
// BMP files. Qt writes neither 4-bit BMP nor a fixed palette, and the host wants exact depths.

struct Bmp {
    int ancho = 0, alto = 0, bits = 0;
    std::vector<QRgb> paleta;     // 8 and 4 bits
    std::vector<uint8_t> indices; // 8 and 4 bits, one per pixel, top row first
    std::vector<QRgb> pixeles;    // 24 bits, top row first
};

void Poner16(std::vector<uint8_t>& b, unsigned v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void Poner32(std::vector<uint8_t>& b, uint32_t v) {
    Poner16(b, v & 0xffff);
    Poner16(b, v >> 16);
}

std::vector<uint8_t> CodificarBmp(const Bmp& bmp) {
    const size_t bytesFila = ((size_t(bmp.ancho) * bmp.bits + 31) / 32) * 4;
    const size_t colores = bmp.bits <= 8 ? bmp.paleta.size() : 0;
    const uint32_t inicioPixeles = uint32_t(14 + 40 + 4 * colores);
    const uint32_t tamanoPixeles = uint32_t(bytesFila * bmp.alto);

    std::vector<uint8_t> b;
    b.reserve(inicioPixeles + tamanoPixeles);
    b.push_back('B');
    b.push_back('M');
    Poner32(b, inicioPixeles + tamanoPixeles);
    Poner32(b, 0);
    Poner32(b, inicioPixeles);
    Poner32(b, 40);
    Poner32(b, uint32_t(bmp.ancho));
    Poner32(b, uint32_t(bmp.alto)); // positive: bottom row first, as every reader expects
    Poner16(b, 1);
    Poner16(b, unsigned(bmp.bits));
    Poner32(b, 0); // uncompressed
    Poner32(b, tamanoPixeles);
    Poner32(b, 3780); // 96 pixels per inch
    Poner32(b, 3780);
    Poner32(b, uint32_t(colores));
    Poner32(b, 0);
    for (size_t i = 0; i < colores; ++i) {
        b.push_back(uint8_t(qBlue(bmp.paleta[i])));
        b.push_back(uint8_t(qGreen(bmp.paleta[i])));
        b.push_back(uint8_t(qRed(bmp.paleta[i])));
        b.push_back(0);
    }
    for (int y = bmp.alto - 1; y >= 0; --y) {
        std::vector<uint8_t> fila(bytesFila, 0);
        for (int x = 0; x < bmp.ancho; ++x) {
            const size_t p = size_t(y) * bmp.ancho + x;
            switch (bmp.bits) {
            case 24:
                fila[3 * x] = uint8_t(qBlue(bmp.pixeles[p]));
                fila[3 * x + 1] = uint8_t(qGreen(bmp.pixeles[p]));
                fila[3 * x + 2] = uint8_t(qRed(bmp.pixeles[p]));
                break;
            case 8:
                fila[x] = bmp.indices[p];
                break;
            case 4:
                fila[x / 2] |= uint8_t((bmp.indices[p] & 0x0f) << (x % 2 ? 0 : 4));
                break;
            }
        }
        b.insert(b.end(), fila.begin(), fila.end());
    }
    return b;
}

bool Escribir(const std::string& ruta, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(ruta.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// ---------------------------------------------------------------------------------------------
// Page backgrounds.

constexpr int kAnchoPx = kAnchoPaginaPx;
constexpr int kAltoPx = kAltoPaginaPx;

// The form is printed in one ink on a pale tint of it; every colour of the page lies on a ramp
// between two of these, which is what the 256-colour palette is made of.
const QColor kBlanco(255, 255, 255);
const QColor kTinta(24, 58, 110);
const QColor kFondo(229, 236, 246);
const QColor kBanda(190, 206, 229);

QVector<QRgb> PaletaPaginas() {
    QVector<QRgb> paleta;
    auto rampa = [&paleta](QColor a, QColor b, int pasos) {
        for (int i = 0; i < pasos; ++i) {
            const double t = double(i) / (pasos - 1);
            const QRgb c = qRgb(int(std::lround(a.red() + t * (b.red() - a.red()))),
                                int(std::lround(a.green() + t * (b.green() - a.green()))),
                                int(std::lround(a.blue() + t * (b.blue() - a.blue()))));
            if (!paleta.contains(c))
                paleta.push_back(c);
        }
    };
    rampa(kBlanco, kTinta, 80);
    rampa(kFondo, kTinta, 64);
    rampa(kBanda, kTinta, 48);
    rampa(kBlanco, kFondo, 12);
    rampa(kBlanco, QColor(0, 0, 0), 40);
    while (paleta.size() < 256)
        paleta.push_back(qRgb(0, 0, 0));
    paleta.resize(256);
    return paleta;
}

enum class Lado { Arriba, Izquierda, Derecha, Centrada };

struct Etiqueta {
    int casilla;
    const char* texto;
    Lado lado = Lado::Arriba;
};

// A page drawn once, as a recording of its drawing: played on an image it is the bitmap the
// window shows; played on paper, lines and text stay sharp at the printer's resolution.
struct PaginaDibujada {
    QImage imagen;
    QByteArray dibujo; // the recording, in page pixels
};

class Pagina {
public:
    explicit Pagina(const PlantillaDialogo& plantilla) : plantilla_(plantilla) {
        p_.begin(&dibujo_);
        p_.setRenderHint(QPainter::TextAntialiasing, true);
        p_.setRenderHint(QPainter::Antialiasing, false);
    }

    PaginaDibujada Terminar() {
        p_.end();
        PaginaDibujada pagina{QImage(kAnchoPx, kAltoPx, QImage::Format_RGB32),
                              QByteArray(dibujo_.data(), qsizetype(dibujo_.size()))};
        pagina.imagen.fill(kBlanco);
        QPainter imagen(&pagina.imagen);
        dibujo_.play(&imagen);
        return pagina;
    }

    const PlantillaDialogo& Plantilla() const { return plantilla_; }

    int X(double du) const { return DluAPixelX(plantilla_, du); }
    int Y(double du) const { return DluAPixelY(plantilla_, du); }
    // The pixels a rectangle in dialog units covers, edges rounded the way the host places
    // its controls.
    QRect R(double x, double y, double cx, double cy) const {
        return QRect(QPoint(X(x), Y(y)), QPoint(X(x + cx) - 1, Y(y + cy) - 1));
    }
    QRect R(const ControlPlantilla& c) const { return R(c.x, c.y, c.cx, c.cy); }

    void Relleno(const QRect& r, const QColor& color) { p_.fillRect(r, color); }

    void Marco(const QRect& r, const QColor& color = kTinta, int grosor = 1) {
        for (int i = 0; i < grosor; ++i) {
            const QRect a = r.adjusted(i, i, -i, -i);
            p_.fillRect(QRect(a.left(), a.top(), a.width(), 1), color);
            p_.fillRect(QRect(a.left(), a.bottom(), a.width(), 1), color);
            p_.fillRect(QRect(a.left(), a.top(), 1, a.height()), color);
            p_.fillRect(QRect(a.right(), a.top(), 1, a.height()), color);
        }
    }

    void LineaH(double x0, double x1, double y, const QColor& color = kTinta) {
        p_.fillRect(QRect(X(x0), Y(y), X(x1) - X(x0), 1), color);
    }

    // A white box for the user's data, with the ink border the printed form has.
    void Campo(const QRect& r) {
        Relleno(r, kBlanco);
        Marco(r);
    }

    static QFont Fuente(double px, bool negrita) {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(int(std::lround(px)));
        f.setBold(negrita);
        f.setHintingPreference(QFont::PreferFullHinting);
        f.setStyleStrategy(QFont::PreferAntialias);
        return f;
    }

    // Text in a box of pixels. Labels of the printed form are condensed (drawn at 88 % width)
    // and shrink until they fit the box they name, down to a legible minimum.
    void Texto(const QRect& caja, int alineacion, const QString& texto, double px,
               bool negrita = false, const QColor& color = kTinta, bool estrecha = true,
               double minimo = 6.5) {
        const double escala = estrecha ? 0.88 : 1.0;
        QFont f = Fuente(px, negrita);
        while (px > minimo && QFontMetricsF(f).horizontalAdvance(texto) * escala > caja.width()) {
            px -= 0.5;
            f = Fuente(px, negrita);
        }
        Dibujar(caja, f, color, escala, alineacion | Qt::TextDontClip, texto);
    }

    // Narrowed text, as printed forms set their labels: drawn in the box scaled horizontally.
    void Dibujar(const QRect& caja, const QFont& f, const QColor& color, double escala,
                 int banderas, const QString& texto) {
        p_.save();
        p_.setFont(f);
        p_.setPen(color);
        p_.translate(caja.left(), caja.top());
        p_.scale(escala, 1.0);
        p_.drawText(QRectF(0, 0, caja.width() / escala, caja.height()), banderas, texto);
        p_.restore();
    }

    // Text on several lines, wrapped at word boundaries within the box, smaller if it does not
    // fit in it.
    void Parrafo(const QRect& caja, int alineacion, const QString& texto, double px,
                 bool negrita = false, const QColor& color = kTinta) {
        const double escala = 0.88;
        const QRectF interior(0, 0, caja.width() / escala, caja.height());
        QFont f = Fuente(px, negrita);
        while (
            px > 7 &&
            QFontMetricsF(f).boundingRect(interior, Qt::TextWordWrap | alineacion, texto).height() >
                caja.height()) {
            px -= 0.5;
            f = Fuente(px, negrita);
        }
        Dibujar(caja, f, color, escala, alineacion | Qt::TextWordWrap, texto);
    }

    // Text turned a quarter to the left, read from bottom to top, centred in the box.
    void TextoVertical(const QRect& caja, const QString& texto, double px, bool negrita,
                       const QColor& color) {
        const double escala = 0.88;
        QFont f = Fuente(px, negrita);
        while (px > 7 && QFontMetricsF(f).horizontalAdvance(texto) * escala > caja.height() - 6) {
            px -= 0.5;
            f = Fuente(px, negrita);
        }
        p_.save();
        p_.setFont(f);
        p_.setPen(color);
        p_.translate(caja.left(), caja.bottom() + 1);
        p_.rotate(-90);
        p_.scale(escala, 1.0);
        p_.drawText(QRectF(0, 0, caja.height() / escala, caja.width()), Qt::AlignCenter, texto);
        p_.restore();
    }

private:
    const PlantillaDialogo& plantilla_;
    QPicture dibujo_;
    QPainter p_;
};

// Horizontal extent of every frame of the page, in dialog units.
constexpr double kIzq = 38;
constexpr double kDer = 505;
constexpr double kPestana = 22; // width of the coloured tab that names a section

// A framed section on the pale tint; the tab on its left carries the section's name.
void Seccion(Pagina& pg, double y0, double y1, const QString& nombre) {
    const QRect r = pg.R(kIzq, y0, kDer - kIzq, y1 - y0);
    pg.Relleno(r, kFondo);
    const QRect pestana = pg.R(kIzq, y0, kPestana, y1 - y0);
    pg.Relleno(pestana, kTinta);
    if (!nombre.isEmpty())
        pg.TextoVertical(pestana, nombre, 10.5, true, kBlanco);
    pg.Marco(r);
}

// A heading band across the top of a section part.
void Cabecera(Pagina& pg, double x0, double x1, double y, double alto, const QString& texto) {
    const QRect r = pg.R(x0, y, x1 - x0, alto);
    pg.Relleno(r, kBanda);
    pg.Marco(r);
    pg.Texto(r.adjusted(6, 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft, texto, 11, true);
}

// The white box of every control that shows a box. A party's three name boxes are printed as
// one field: an entity's name runs across all three.
void Campos(Pagina& pg) {
    const PlantillaDialogo& p = pg.Plantilla();
    for (int grupo : {casilla::SujetoPasivo, casilla::Representante}) {
        const ControlPlantilla* a1 = p.ControlDeCasilla(grupo + casilla::grupo::Apellido1);
        const ControlPlantilla* n = p.ControlDeCasilla(grupo + casilla::grupo::Nombre);
        if (a1 && n)
            pg.Campo(pg.R(a1->x, a1->y, n->x + n->cx - a1->x, a1->cy));
    }
    for (const ControlPlantilla& c : p.controles) {
        if (c.casilla < 0)
            continue;
        const int item = c.casilla - casilla::SujetoPasivo;
        const int itemRep = c.casilla - casilla::Representante;
        const bool nombre =
            item == casilla::grupo::Apellido1 || item == casilla::grupo::Apellido2 ||
            item == casilla::grupo::Nombre || itemRep == casilla::grupo::Apellido1 ||
            itemRep == casilla::grupo::Apellido2 || itemRep == casilla::grupo::Nombre;
        if (!nombre)
            pg.Campo(pg.R(c));
    }
}

void Etiquetas(Pagina& pg, const std::vector<Etiqueta>& etiquetas) {
    for (const Etiqueta& e : etiquetas) {
        const ControlPlantilla* c = pg.Plantilla().ControlDeCasilla(e.casilla);
        if (!c)
            continue;
        const QRect r = pg.R(*c);
        const QString texto = QString::fromUtf8(e.texto);
        switch (e.lado) {
        case Lado::Arriba:
            pg.Texto(QRect(r.left() + 1, r.top() - 11, r.width() + 2, 10),
                     Qt::AlignLeft | Qt::AlignBottom, texto, 8.5);
            break;
        case Lado::Centrada:
            pg.Texto(QRect(r.left(), r.top() - 12, r.width(), 11),
                     Qt::AlignHCenter | Qt::AlignBottom, texto, 9, true);
            break;
        case Lado::Izquierda:
            pg.Texto(QRect(r.left() - 150, r.top(), 144, r.height()),
                     Qt::AlignRight | Qt::AlignVCenter, texto, 10, true);
            break;
        case Lado::Derecha:
            pg.Texto(QRect(r.right() + 5, r.top() - 2, 120, r.height() + 4),
                     Qt::AlignLeft | Qt::AlignVCenter, texto, 9.5);
            break;
        }
    }
}

std::vector<Etiqueta> EtiquetasGrupo(int grupo, const char* nombre) {
    using namespace casilla::grupo;
    return {
        {grupo + Nif, "NIF"},
        {grupo + Apellido1, nombre},
        {grupo + TipoVia, "Tipo de vía"},
        {grupo + NombreVia, "Nombre de la vía pública"},
        {grupo + Numero, "Número"},
        {grupo + Escalera, "Esc."},
        {grupo + Piso, "Piso"},
        {grupo + Puerta, "Puerta"},
        {grupo + Telefono, "Teléfono"},
        {grupo + Provincia, "Provincia"},
        {grupo + Municipio, "Municipio"},
        {grupo + CodigoPostal, "Código postal"},
    };
}

const char* const kApellidosNombre = "Apellidos y nombre o razón social";

QString Codigo() {
    return QString::fromUtf8(formulario::kCodigo);
}

// Heading of both pages: the emblem, the space of the data-protection titles that the host
// writes over it, the form's title and its number.
void Encabezado(Pagina& pg, const QString& linea) {
    const QRect emblema = pg.R(kIzq, 8, 30, 36);
    pg.Relleno(emblema, kTinta);
    pg.Texto(emblema.adjusted(0, 6, 0, -emblema.height() / 2), Qt::AlignCenter, "ITP", 15, true,
             kBlanco, false);
    pg.Texto(emblema.adjusted(0, emblema.height() / 2, 0, -6), Qt::AlignCenter, "AJD", 15, true,
             kBlanco, false);

    const QRect titulo = pg.R(236, 8, 183, 38);
    pg.Parrafo(titulo.adjusted(2, 2, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromUtf8(formulario::kTitulo), 11.5, true);

    const QRect modelo = pg.R(424, 8, kDer - 424, 38);
    pg.Marco(modelo, kTinta, 2);
    const QRect banda(modelo.left(), modelo.top(), modelo.width(), pg.Y(10));
    pg.Relleno(banda, kTinta);
    pg.Texto(banda, Qt::AlignCenter, "Modelo", 12, true, kBlanco, false);
    pg.Texto(modelo.adjusted(0, banda.height(), 0, 0), Qt::AlignCenter, Codigo(), 36, true, kTinta,
             false);

    pg.LineaH(kIzq, kDer, 50);
    pg.Texto(pg.R(kIzq, 51, kDer - kIzq, 13), Qt::AlignLeft | Qt::AlignVCenter,
             "Impuesto sobre Transmisiones Patrimoniales y Actos Jurídicos Documentados", 10);
    pg.Texto(pg.R(kIzq, 51, kDer - kIzq, 13), Qt::AlignRight | Qt::AlignVCenter, linea, 10, true);
    pg.LineaH(kIzq, kDer, 64);

    // The host writes the data-protection notice inside this frame.
    pg.Marco(pg.R(kIzq, 68, kDer - kIzq, 47));
}

// Accrual period, and the frames of the two codes of the declaration.
void Devengo(Pagina& pg) {
    const double x0 = 305;
    pg.Relleno(pg.R(x0, 118, kDer - x0, 58), kFondo);
    Cabecera(pg, x0, kDer, 118, 11, "Devengo");
    pg.Marco(pg.R(x0, 118, kDer - x0, 58));
    pg.Texto(pg.R(x0 + 6, 131, kDer - x0 - 12, 10), Qt::AlignLeft | Qt::AlignVCenter,
             "Año y mes en que se devengó el impuesto", 8.5);
    Etiquetas(pg, {{casilla::AnioDevengo, "Año"}, {casilla::MesDevengo, "Mes"}});

    // Bar code and the declaration code under it, printed by the host.
    pg.Marco(pg.R(x0, 176, kDer - x0, 38));
    if (const ControlPlantilla* c = pg.Plantilla().Control(control::CodigoBarras)) {
        const QRect r = pg.R(*c).adjusted(-3, -2, 3, 2);
        pg.Relleno(r, kBlanco);
    }
    if (const ControlPlantilla* c = pg.Plantilla().Control(control::TextoCodigoBarras))
        pg.Relleno(pg.R(*c), kBlanco);
}

// Corner marks around the space a code is printed in, so it reads as reserved space.
void EspacioReservado(Pagina& pg, const QRect& r) {
    const int l = 12;
    for (const QPoint& esquina : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()}) {
        const int dx = esquina.x() == r.left() ? 1 : -1;
        const int dy = esquina.y() == r.top() ? 1 : -1;
        for (int i = 0; i < 2; ++i) {
            pg.Relleno(
                QRect(std::min(esquina.x(), esquina.x() + dx * l), esquina.y() + dy * i, l + 1, 1),
                kTinta);
            pg.Relleno(
                QRect(esquina.x() + dx * i, std::min(esquina.y(), esquina.y() + dy * l), 1, l + 1),
                kTinta);
        }
    }
}

void SeccionSujeto(Pagina& pg) {
    Seccion(pg, 215, 283, "Sujeto pasivo");
    Etiquetas(pg, EtiquetasGrupo(casilla::SujetoPasivo, formulario::kSujetoSoloRazonSocial
                                                            ? "Razón social"
                                                            : kApellidosNombre));
}

void SeccionPresentadorYFirma(Pagina& pg) {
    Seccion(pg, 548, 591, "Presentador");
    Etiquetas(pg, {{casilla::PresentadorNif, "NIF"},
                   {casilla::PresentadorNombre, kApellidosNombre},
                   {casilla::PresentadorTelefono, "Teléfono"}});

    Seccion(pg, 591, 662, "Firma");
    const PlantillaDialogo& p = pg.Plantilla();
    const ControlPlantilla* lugar = p.ControlDeCasilla(casilla::LugarFirma);
    const ControlPlantilla* dia = p.ControlDeCasilla(casilla::FirmaDia);
    const ControlPlantilla* mes = p.ControlDeCasilla(casilla::FirmaMes);
    const ControlPlantilla* anio = p.ControlDeCasilla(casilla::FirmaAnio);
    if (lugar && dia && mes && anio) {
        const int y = lugar->y;
        pg.Texto(pg.R(70, y, lugar->x - 76, 12), Qt::AlignRight | Qt::AlignVCenter, "Fecha:", 10,
                 true);
        // "<place> a <day> de <month> de <year>": the place box already ends in " a".
        pg.Texto(pg.R(dia->x + dia->cx, y, mes->x - dia->x - dia->cx, 12), Qt::AlignCenter, "de",
                 10);
        pg.Texto(pg.R(mes->x + mes->cx, y, anio->x - mes->x - mes->cx, 12), Qt::AlignCenter, "de",
                 10);
        const QRect firma = pg.R(lugar->x, y + 18, kDer - 10 - lugar->x, 38);
        pg.Campo(firma);
        pg.Texto(firma.adjusted(5, 2, -5, 0), Qt::AlignLeft | Qt::AlignTop,
                 "Firma del sujeto pasivo o de su representante", 8.5);
        pg.Parrafo(pg.R(70, y + 20, lugar->x - 80, 34), Qt::AlignLeft | Qt::AlignTop,
                   "Declaro que son ciertos los datos consignados en esta autoliquidación.", 9);
    }
    Etiquetas(pg, {{casilla::LugarFirma, "Lugar"},
                   {casilla::FirmaDia, "Día"},
                   {casilla::FirmaMes, "Mes"},
                   {casilla::FirmaAnio, "Año"}});
}

void Pie(Pagina& pg, int numero) {
    pg.LineaH(kIzq, kDer, 668);
    pg.Texto(pg.R(kIzq, 670, 200, 12), Qt::AlignLeft | Qt::AlignVCenter, "Modelo " + Codigo(), 10,
             true);
    pg.Texto(pg.R(kDer - 200, 670, 200, 12), Qt::AlignRight | Qt::AlignVCenter,
             QStringLiteral("Página %1 de 2").arg(numero), 10);
}

PaginaDibujada DibujarPagina1() {
    Pagina pg(PlantillaPagina1());
    const PlantillaDialogo& p = pg.Plantilla();
    Encabezado(pg, "Autoliquidación");

    // Identification of the declaration: the two-dimensional code and the accrual period.
    pg.Texto(pg.R(66, 120, 235, 18), Qt::AlignLeft | Qt::AlignVCenter, "Autoliquidación", 20, true,
             kTinta, false);
    pg.Texto(pg.R(66, 137, 235, 10), Qt::AlignLeft | Qt::AlignVCenter,
             "Actos jurídicos documentados · Documentos mercantiles", 9);
    if (const ControlPlantilla* c = p.Control(control::CodigoPuntos)) {
        pg.Texto(pg.R(c->x + 3, c->y - 11, c->cx, 7), Qt::AlignLeft | Qt::AlignBottom,
                 "Espacio reservado para el código de la declaración", 9.5);
        EspacioReservado(pg, pg.R(*c).adjusted(-3, -3, 3, 3));
    }
    Devengo(pg);

    SeccionSujeto(pg);
    Seccion(pg, 283, 349, "Representante");
    Etiquetas(pg, EtiquetasGrupo(casilla::Representante, kApellidosNombre));

    Seccion(pg, 349, 391, "");
    pg.Texto(pg.R(66, 349, 185, 11), Qt::AlignLeft | Qt::AlignVCenter,
             "Declaración complementaria o sustitutiva", 10.5, true);
    Etiquetas(pg, {{casilla::Complementaria, "Complementaria", Lado::Derecha},
                   {casilla::Sustitutiva, "Sustitutiva", Lado::Derecha},
                   {casilla::JustificanteAnterior, "Nº de justificante"},
                   {casilla::FechaPresentacionAnterior, "Fecha de presentación"},
                   {casilla::AnioAnterior, "Año"},
                   {casilla::NumeroPresentacionAnterior, "Nº de presentación"}});

    // Liquidation table.
    Seccion(pg, 391, 516, "Autoliquidación");
    pg.Texto(pg.R(66, 395, 300, 12), Qt::AlignLeft | Qt::AlignVCenter,
             "Liquidación por clase de documento", 10.5, true);
    pg.Texto(pg.R(300, 395, 173, 12), Qt::AlignRight | Qt::AlignVCenter, "Importes en euros", 8.5);
    const ControlPlantilla* primeraCuenta = p.ControlDeCasilla(casilla::NumeroDocumentos);
    if (primeraCuenta)
        pg.Texto(pg.R(88, primeraCuenta->y - 12, 76, 11), Qt::AlignLeft | Qt::AlignBottom,
                 "Clase de documento", 9, true);
    Etiquetas(pg, {{casilla::NumeroDocumentos, "Nº de documentos", Lado::Centrada},
                   {casilla::Base, "Base imponible", Lado::Centrada},
                   {casilla::Cuota, "Cuota", Lado::Centrada},
                   {casilla::TotalIngresar, "Total a ingresar", Lado::Izquierda}});
    const char* const clases[casilla::FilasLiquidacion] = {"Recibos", "Pagarés", "Cheques",
                                                           "Otros documentos"};
    for (int i = 0; i < casilla::FilasLiquidacion; ++i) {
        const ControlPlantilla* c = p.ControlDeCasilla(casilla::NumeroDocumentos + i);
        if (!c)
            continue;
        pg.Texto(pg.R(88, c->y, c->x - 92, c->cy), Qt::AlignLeft | Qt::AlignVCenter,
                 QString::fromUtf8(clases[i]), 10);
        pg.LineaH(88, 473, c->y + c->cy + 2.5, kBanda);
    }
    if (const ControlPlantilla* total = p.ControlDeCasilla(casilla::TotalIngresar))
        pg.Marco(pg.R(*total).adjusted(-2, -2, 2, 2), kTinta, 1);

    Seccion(pg, 518, 546, "");
    pg.Texto(pg.R(66, 519, 150, 10), Qt::AlignLeft | Qt::AlignVCenter, "Instrucciones", 9, true);
    pg.Parrafo(pg.R(66, 528, 429, 17), Qt::AlignLeft | Qt::AlignTop,
               "Consigne por cada clase de documento el número de documentos negociados en el "
               "período, su base imponible y la cuota que resulta de la tarifa. El total a "
               "ingresar es la suma de las cuotas.",
               9);

    SeccionPresentadorYFirma(pg);
    Campos(pg);
    Pie(pg, 1);
    return pg.Terminar();
}

PaginaDibujada DibujarPagina2() {
    Pagina pg(PlantillaPagina2());
    const PlantillaDialogo& p = pg.Plantilla();
    Encabezado(pg, "Documento de ingreso");

    const QRect copia = pg.R(66, 124, 235, 84);
    pg.Texto(copia.adjusted(0, 0, 0, -copia.height() / 2), Qt::AlignLeft | Qt::AlignBottom,
             "Ejemplar para la", 20, true, kTinta, false);
    pg.Texto(copia.adjusted(0, copia.height() / 2, 0, 0), Qt::AlignLeft | Qt::AlignTop,
             "entidad colaboradora", 20, true, kTinta, false);
    Devengo(pg);

    SeccionSujeto(pg);

    Seccion(pg, 286, 470, "Entidad colaboradora");
    const QRect sello = pg.R(66, 296, 429, 164);
    pg.Campo(sello);
    pg.Parrafo(sello.adjusted(8, 6, -8, 0), Qt::AlignLeft | Qt::AlignTop,
               "Espacio reservado para la certificación mecánica o, en su defecto, firma "
               "autorizada y sello de la entidad colaboradora",
               9);

    Seccion(pg, 473, 519, "Ingreso");
    if (const ControlPlantilla* total = p.ControlDeCasilla(casilla::TotalIngresar)) {
        Etiquetas(pg, {{casilla::TotalIngresar, "Total a ingresar", Lado::Izquierda}});
        pg.Marco(pg.R(*total).adjusted(-2, -2, 2, 2), kTinta, 1);
        pg.Texto(pg.R(66, total->y, 180, total->cy), Qt::AlignLeft | Qt::AlignVCenter,
                 "Importe en euros", 9);
    }

    Seccion(pg, 522, 546, "");
    pg.Parrafo(pg.R(66, 526, 429, 18), Qt::AlignLeft | Qt::AlignTop,
               "Este ejemplar, con la certificación de la entidad colaboradora, acredita el "
               "ingreso de la autoliquidación. El ingreso no prejuzga la exactitud de los datos "
               "declarados.",
               9);

    SeccionPresentadorYFirma(pg);
    Campos(pg);
    Pie(pg, 2);
    return pg.Terminar();
}

Bmp BmpPagina(const QImage& rgb, const QVector<QRgb>& paleta) {
    // Nearest-colour mapping onto the fixed palette; no dithering, so the bytes are stable.
    const QImage indexada =
        rgb.convertToFormat(QImage::Format_Indexed8, paleta, Qt::ThresholdDither);
    Bmp bmp;
    bmp.ancho = indexada.width();
    bmp.alto = indexada.height();
    bmp.bits = 8;
    const QList<QRgb> tabla = indexada.colorTable();
    bmp.paleta.assign(tabla.begin(), tabla.end());
    bmp.indices.reserve(size_t(bmp.ancho) * bmp.alto);
    for (int y = 0; y < bmp.alto; ++y) {
        const uchar* fila = indexada.constScanLine(y);
        bmp.indices.insert(bmp.indices.end(), fila, fila + bmp.ancho);
    }
    return bmp;
}

// ---------------------------------------------------------------------------------------------
// Button images, drawn pixel by pixel: at 15 and 19 pixels a font would blur.

// The sixteen colours of a 4-bit bitmap.
const std::array<QRgb, 16> kPaleta16 = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
};
enum : uint8_t {
    Negro = 0,
    Marino = 4,
    Plata = 7,
    Gris = 8,
    Azul = 12,
    Amarillo = 11,
    Blanco = 15
};

enum class Estado { Normal, Pulsado, Foco, Deshabilitado };

// A glyph is rows of characters; each letter names a colour, '.' is transparent.
using Glifo = std::vector<const char*>;

uint8_t ColorGlifo(char c) {
    switch (c) {
    case 'K':
        return Negro;
    case 'B':
        return Marino;
    case 'b':
        return Azul;
    case 'Y':
        return Amarillo;
    case 'W':
        return Blanco;
    case 'G':
        return Gris;
    default:
        return Plata;
    }
}

// A classic raised push button with the glyph centred; pressed sinks it one pixel, focus adds
// the dotted rectangle, disabled etches the glyph in grey.
std::vector<uint8_t> Boton(int lado, const Glifo& glifo, Estado estado) {
    std::vector<uint8_t> px(size_t(lado) * lado, Plata);
    auto pon = [&](int x, int y, uint8_t c) {
        if (x >= 0 && y >= 0 && x < lado && y < lado)
            px[size_t(y) * lado + x] = c;
    };
    const int n = lado - 1;
    const bool hundido = estado == Estado::Pulsado;
    for (int i = 0; i <= n; ++i) {
        // Outer bevel.
        pon(i, 0, hundido ? Negro : Blanco);
        pon(0, i, hundido ? Negro : Blanco);
        pon(i, n, hundido ? Blanco : Negro);
        pon(n, i, hundido ? Blanco : Negro);
    }
    for (int i = 1; i < n; ++i) {
        // Inner bevel.
        pon(i, 1, hundido ? Gris : Plata);
        pon(1, i, hundido ? Gris : Plata);
        pon(i, n - 1, hundido ? Plata : Gris);
        pon(n - 1, i, hundido ? Plata : Gris);
    }
    // The focus rectangle goes under the glyph where the two meet.
    if (estado == Estado::Foco)
        for (int i = 3; i <= n - 3; i += 2) {
            pon(i, 3, Negro);
            pon(i, n - 3, Negro);
            pon(3, i, Negro);
            pon(n - 3, i, Negro);
        }
    const int alto = int(glifo.size());
    const int ancho = int(std::strlen(glifo[0]));
    const int x0 = (lado - ancho) / 2 + (hundido ? 1 : 0);
    const int y0 = (lado - alto) / 2 + (hundido ? 1 : 0);
    for (int y = 0; y < alto; ++y)
        for (int x = 0; x < ancho; ++x) {
            const char c = glifo[size_t(y)][x];
            if (c == '.')
                continue;
            if (estado == Estado::Deshabilitado) {
                pon(x0 + x + 1, y0 + y + 1, Blanco);
            } else {
                pon(x0 + x, y0 + y, ColorGlifo(c));
            }
        }
    if (estado == Estado::Deshabilitado)
        for (int y = 0; y < alto; ++y)
            for (int x = 0; x < ancho; ++x)
                if (glifo[size_t(y)][x] != '.')
                    pon(x0 + x, y0 + y, Gris);
    return px;
}

const Glifo kInterrogacion = {
    ".bbbb.", //
    "bb..bb", //
    "....bb", //
    "...bb.", //
    "..bb..", //
    "..bb..", //
    "......", //
    "..bb..", //
    "..bb..", //
};

// A person beside the lines of a list: the parties on file.
const Glifo kIntervinientes = {
    "..KKK.........", //
    ".KYYYK........", //
    ".KYYYK..KKKKKK", //
    ".KYYYK........", //
    "..KKK.........", //
    "..............", //
    ".KKKKK..KKKKKK", //
    "KbbbbbK.......", //
    "KbbbbbK.......", //
    "KbbbbbK.KKKKKK", //
    "KKKKKKK.......", //
};

// An open folder: choose a file.
const Glifo kCarpeta = {
    ".KKKK.......", //
    "KYWYYK......", //
    "KWYYYYKKKKK.", //
    "KYYYYYYYYYK.", //
    "KYYKKKKKKKKK", //
    "KYKYYYYYYYYK", //
    "KYKYYYYYYYK.", //
    "KKYYYYYYYYK.", //
    "KKKKKKKKKKK.", //
};

Bmp Bmp4(int lado, std::vector<uint8_t> indices) {
    Bmp bmp;
    bmp.ancho = bmp.alto = lado;
    bmp.bits = 4;
    bmp.paleta.assign(kPaleta16.begin(), kPaleta16.end());
    bmp.indices = std::move(indices);
    return bmp;
}

Bmp Bmp24(int lado, const std::vector<uint8_t>& indices) {
    Bmp bmp;
    bmp.ancho = bmp.alto = lado;
    bmp.bits = 24;
    for (uint8_t i : indices)
        bmp.pixeles.push_back(kPaleta16[i]);
    return bmp;
}

QImage Imagen(const Bmp& bmp, int zoom) {
    QImage img(bmp.ancho * zoom, bmp.alto * zoom, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const size_t p = size_t(y / zoom) * bmp.ancho + x / zoom;
            img.setPixel(x, y, bmp.bits == 24 ? bmp.pixeles[p] : bmp.paleta[bmp.indices[p]]);
        }
    return img;
}

bool CargarFuentes() {
    bool ok = true;
    for (const char* f : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf"}) {
        const QString ruta = QStringLiteral("/usr/share/fonts/truetype/dejavu/") + f;
        if (QFontDatabase::addApplicationFont(ruta) < 0) {
            std::fprintf(stderr, "pagegen: no se puede cargar la fuente %s\n", qPrintable(ruta));
            ok = false;
        }
    }
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "uso: pagegen CARPETA [--png]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt wants a private runtime folder and complains on build machines that have none.
    std::optional<QTemporaryDir> ejecucion;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        ejecucion.emplace();
        if (ejecucion->isValid())
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(ejecucion->path()));
    }
    QGuiApplication app(argc, argv);
    // Without the DejaVu files the pages would be drawn in whatever font the machine offers.
    if (!CargarFuentes())
        return 1;

    const std::string carpeta = argv[1];
    const bool png = argc > 2 && std::strcmp(argv[2], "--png") == 0;

    std::map<int, Bmp> bitmaps;
    const QVector<QRgb> paleta = PaletaPaginas();
    const PaginaDibujada paginas[] = {DibujarPagina1(), DibujarPagina2()};
    bitmaps[recurso::FondoPagina1] = BmpPagina(paginas[0].imagen, paleta);
    bitmaps[recurso::FondoPagina2] = BmpPagina(paginas[1].imagen, paleta);
    const std::pair<int, const QByteArray*> dibujos[] = {
        {recurso::DibujoPagina1, &paginas[0].dibujo}, {recurso::DibujoPagina2, &paginas[1].dibujo}};
    for (const auto& [id, dibujo] : dibujos) {
        const std::string ruta = carpeta + "/" + std::to_string(id - formulario::kIdBase) + ".pic";
        if (!Escribir(ruta, std::vector<uint8_t>(dibujo->begin(), dibujo->end()))) {
            std::fprintf(stderr, "pagegen: no se puede escribir %s\n", ruta.c_str());
            return 1;
        }
    }

    const std::pair<int, Estado> estados[] = {
        {0, Estado::Deshabilitado}, {1, Estado::Foco}, {2, Estado::Normal}, {3, Estado::Pulsado}};
    for (const auto& [i, estado] : estados) {
        bitmaps[boton::AyudaDeshabilitado + i] = Bmp24(15, Boton(15, kInterrogacion, estado));
        bitmaps[boton::IntervinientesDeshabilitado + i] =
            Bmp4(19, Boton(19, kIntervinientes, estado));
        bitmaps[boton::AbrirDeshabilitado + i] = Bmp4(19, Boton(19, kCarpeta, estado));
    }

    // A strip of the buttons, enlarged, to look at beside the pages.
    QImage tira(12 * 8 * 20, 8 * 20, QImage::Format_RGB32);
    tira.fill(Qt::white);
    QPainter pintor(&tira);
    int x = 0;
    for (const auto& [id, bmp] : bitmaps) {
        const std::string base = carpeta + "/" + std::to_string(id - formulario::kIdBase);
        if (!Escribir(base + ".bmp", CodificarBmp(bmp))) {
            std::fprintf(stderr, "pagegen: no se puede escribir %s.bmp\n", base.c_str());
            return 1;
        }
        if (!png)
            continue;
        if (bmp.ancho > 100) {
            Imagen(bmp, 1).save(QString::fromStdString(base + ".png"));
        } else {
            pintor.drawImage(x, 0, Imagen(bmp, 8));
            x += 8 * 20;
        }
    }
    pintor.end();
    if (png)
        tira.save(QString::fromStdString(carpeta + "/botones.png"));
    return 0;
}
