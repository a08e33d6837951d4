// Rendering of the printed codes with zint.
#include "Modelo/Codigos.h"

#include <memory>
#include <zint.h>

namespace {

// A wide, low symbol fits the code's place on the printed page; twelve columns also hold the
// largest payload one symbol can carry (928 codewords) within its 90 rows.
constexpr int kColumnasPDF417 = 12;
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
    CString latin1;
    if (texto::ALatin1(datos, latin1))
        return Renderizar(s.get(), latin1, imagen, error);
    s->eci = kEciUtf8;
    return Renderizar(s.get(), texto::AUtf8(datos), imagen, error);
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

stImagenCodigo AmpliarImagenCodigo(const stImagenCodigo& imagen, int porModuloX, int porModuloY) {
    stImagenCodigo grande;
    if (imagen.IsEmpty() || porModuloX < 1 || porModuloY < 1)
        return grande;
    const int modulosX = imagen.Ancho / kPixelesModulo, modulosY = imagen.Alto / kPixelesModulo;
    grande.Ancho = modulosX * porModuloX;
    grande.Alto = modulosY * porModuloY;
    grande.Pixeles.resize(size_t(grande.Ancho) * size_t(grande.Alto));
    for (int y = 0; y < grande.Alto; ++y) {
        const std::uint8_t* origen =
            imagen.Pixeles.data() + size_t(y / porModuloY * kPixelesModulo) * size_t(imagen.Ancho);
        std::uint8_t* fila = grande.Pixeles.data() + size_t(y) * size_t(grande.Ancho);
        for (int x = 0; x < grande.Ancho; ++x)
            fila[x] = origen[x / porModuloX * kPixelesModulo];
    }
    return grande;
}
