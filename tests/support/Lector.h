// Reads a rendered code back with an independent decoder, as any reader of the printed page
// would: the bytes it carries, exactly.
#pragma once

#include <ZXing/ReadBarcode.h>
#include <cstdint>
#include <string>

namespace apoyo {

inline ZXing::Result Decodificar(const std::uint8_t* gris, int ancho, int alto, int bytesFila,
                                 ZXing::BarcodeFormat formato) {
    ZXing::DecodeHints pistas;
    pistas.setFormats(formato);
    pistas.setTryHarder(true);
    return ZXing::ReadBarcode(
        ZXing::ImageView(gris, ancho, alto, ZXing::ImageFormat::Lum, bytesFila), pistas);
}

// The bytes of the one code of that format in a grayscale image; "" when none is found.
inline std::string LeerCodigo(const std::uint8_t* gris, int ancho, int alto, int bytesFila,
                              ZXing::BarcodeFormat formato) {
    const ZXing::Result r = Decodificar(gris, ancho, alto, bytesFila, formato);
    if (!r.isValid())
        return std::string();
    return std::string(r.bytes().begin(), r.bytes().end());
}

// The text a reader shows for it, in UTF-8: the bytes read in the symbol's character set.
inline std::string LeerTextoCodigo(const std::uint8_t* gris, int ancho, int alto, int bytesFila,
                                   ZXing::BarcodeFormat formato) {
    const ZXing::Result r = Decodificar(gris, ancho, alto, bytesFila, formato);
    return r.isValid() ? r.text() : std::string();
}

} // namespace apoyo
