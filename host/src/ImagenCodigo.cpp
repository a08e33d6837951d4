// Rendering of the printed codes with zint.
#include "Modelo/Codigos.h"

#include <memory>
#include <zint.h>

namespace {

// A wide, low symbol fits the code's place on the printed page; twelve columns also hold the
// largest payload one symbol can carry (928 codewords) within its 90 rows.
constexpr int kColumnasPDF417 = 12;

using Simbolo = std::unique_ptr<zint_symbol, decltype(&ZBarcode_Delete)>;

Simbolo NuevoSimbolo(int simbologia) {
    Simbolo s(ZBarcode_Create(), &ZBarcode_Delete);
    if (!s)
        return s;
    s->symbology = simbologia;
    // Bytes in, bytes encoded: no conversion from UTF-8 and no ECI.
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

} // namespace

bool GenerarImagenPDF417(const CString& datos, stImagenCodigo& imagen, CString& error) {
    Simbolo s = NuevoSimbolo(BARCODE_PDF417);
    if (!s) {
        imagen = stImagenCodigo();
        error = "Sin memoria para el código PDF417";
        return false;
    }
    s->option_1 = -1; // error correction level chosen by the amount of data
    s->option_2 = kColumnasPDF417;
    return Renderizar(s.get(), datos, imagen, error);
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
