// Reads a rendered code back with an independent decoder, as any reader of the printed page
// would: the bytes it carries, exactly.
#pragma once

#include <ZXing/ReadBarcode.h>
#include <cstdint>
#include <string>

namespace apoyo {

// The bytes of the one code of that format in a grayscale image; "" when none is found.
inline std::string LeerCodigo(const std::uint8_t* gris, int ancho, int alto, int bytesFila,
                              ZXing::BarcodeFormat formato) {
    ZXing::DecodeHints pistas;
    pistas.setFormats(formato);
    pistas.setTryHarder(true);
    const ZXing::Result r = ZXing::ReadBarcode(
        ZXing::ImageView(gris, ancho, alto, ZXing::ImageFormat::Lum, bytesFila), pistas);
    if (!r.isValid())
        return std::string();
    return std::string(r.bytes().begin(), r.bytes().end());
}

} // namespace apoyo
