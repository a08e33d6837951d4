// Rendering of the printed codes with zint.
#include "Modelo/codes/Codigos.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <zint.h>

namespace {

// Twelve columns hold the largest payload one symbol can carry (928 codewords) within its 90
// rows: the shape of a code drawn with no field to fill.
constexpr int kColumnasPDF417 = 12;
constexpr int kMaxColumnasPDF417 = 30;
constexpr int kEciUtf8 = 26;

using Simbolo = std::unique_ptr<zint_symbol, decltype(&ZBarcode_Delete)>;

Simbolo NuevoSimbolo(int simbologia) {
    Simbolo s(ZBarcode_Create(), &ZBarcode_Delete);
    if (!s)
        return s;
    s->symbology = simbologia;
    // Bytes in, bytes encoded: zint converts nothing; the caller chose the character set.
    s->input_mode = DATA_MODE;
    s->eci = 0;
    s->output_options |= BARCODE_QUIET_ZONES;
    s->show_hrt = 0;
    // zint draws two pixels per module at scale 1.
    s->scale = float(kPixelesModulo) / 2.0f;
    return s;
}

bool Renderizar(zint_symbol* s, const CString& datos, stImagenCodigo& imagen, CString& error) {
    imagen = stImagenCodigo();
    if (datos.IsEmpty()) {
        error = "No hay datos que codificar";
        return false;
    }
    const int rc = ZBarcode_Encode_and_Buffer(
        s, reinterpret_cast<const unsigned char*>(datos.c_str()), datos.GetLength(), 0);
    if (rc >= ZINT_ERROR) {
        // The encoder's own words stay in brackets for whoever has to look into it.
        error = rc == ZINT_ERROR_TOO_LONG ? "Los datos no caben en un solo código"
                                          : "El codificador ha rechazado los datos";
        error += CString(" (") + s->errtxt + ")";
        return false;
    }
    if (!s->bitmap || s->bitmap_width <= 0 || s->bitmap_height <= 0) {
        error = "El codificador no ha dibujado ninguna imagen";
        return false;
    }
    imagen.Ancho = s->bitmap_width;
    imagen.Alto = s->bitmap_height;
    const size_t pixeles = size_t(imagen.Ancho) * size_t(imagen.Alto);
    imagen.Pixeles.resize(pixeles);
    // The bitmap is RGB, foreground black on white.
    for (size_t i = 0; i < pixeles; ++i)
        imagen.Pixeles[i] = s->bitmap[3 * i] < 128 ? 0 : 255;
    error.Empty();
    return true;
}

// The symbol's size in modules with its quiet zones, without drawing it; {0, 0} when that
// many columns cannot hold the data.
struct Modulos {
    int ancho = 0, alto = 0;
};
Modulos MedirPDF417(const CString& bytes, int eci, int columnas) {
    Simbolo s = NuevoSimbolo(BARCODE_PDF417);
    if (!s)
        return {};
    s->option_1 = -1;
    s->option_2 = columnas;
    s->eci = eci;
    if (ZBarcode_Encode(s.get(), reinterpret_cast<const unsigned char*>(bytes.c_str()),
                        bytes.GetLength()) >= ZINT_ERROR ||
        s->rows <= 0)
        return {};
    // The rows are all as high; the quiet zones are two modules on every side.
    const int alto = int(std::lround(s->height)) > 0 ? int(std::lround(s->height)) : 3 * s->rows;
    return {s->width + 4, alto + 4};
}

// The column count whose symbol has the largest square module inside a field of that shape;
// of two that tie, the narrower symbol.
int ColumnasParaCampo(const CString& bytes, int eci, double proporcion) {
    int mejor = kColumnasPDF417;
    double modulo = 0;
    for (int c = 1; c <= kMaxColumnasPDF417; ++c) {
        const Modulos m = MedirPDF417(bytes, eci, c);
        if (m.ancho == 0)
            continue;
        // The module's size in field heights.
        const double lado = std::min(proporcion / m.ancho, 1.0 / m.alto);
        if (lado > modulo * (1 + 1e-9)) {
            modulo = lado;
            mejor = c;
        }
    }
    return mejor;
}

} // namespace

bool GenerarImagenPDF417(const CString& datos, stImagenCodigo& imagen, CString& error,
                         double proporcion) {
    CString bytes;
    int eci = 0;
    if (!texto::ALatin1(datos, bytes)) {
        bytes = texto::AUtf8(datos);
        eci = kEciUtf8;
    }
    const int columnas = proporcion > 0 && std::isfinite(proporcion) && !bytes.IsEmpty()
                             ? ColumnasParaCampo(bytes, eci, proporcion)
                             : kColumnasPDF417;
    Simbolo s = NuevoSimbolo(BARCODE_PDF417);
    if (!s) {
        imagen = stImagenCodigo();
        error = "Sin memoria para el código PDF417";
        return false;
    }
    s->option_1 = -1; // error correction level chosen by the amount of data
    s->option_2 = columnas;
    s->eci = eci;
    return Renderizar(s.get(), bytes, imagen, error);
}

bool GenerarImagenCode128(const CString& texto, stImagenCodigo& imagen, CString& error) {
    Simbolo s = NuevoSimbolo(BARCODE_CODE128);
    if (!s) {
        imagen = stImagenCodigo();
        error = "Sin memoria para el código de barras";
        return false;
    }
    return Renderizar(s.get(), texto, imagen, error);
}
