// Code tables and the two printed codes of a declaration: the PDF417 of its payload and the
// Code 128 bar code of its declaration code, rendered as plain images that a view shows and a
// printer prints.
#pragma once

#include "Modelo/CArray.h"
#include "Modelo/CString.h"

#include <cstdint>
#include <vector>

// The text paired with a code in a code table (a list of codes and the parallel list of their
// texts); "" for a code the table does not hold.
MODELO_API CString TraducirCodigo(const CString& codigo, const CStringArray& codigos,
                                  const CStringArray& textos);

// A rendered code: one byte per pixel, row after row, 0 black and 255 white. Quiet zones are
// included, so the image can be printed as it is.
struct MODELO_API stImagenCodigo {
    int Ancho = 0;
    int Alto = 0;
    std::vector<std::uint8_t> Pixeles;

    bool IsEmpty() const { return Pixeles.empty(); }
    bool Negro(int x, int y) const { return Pixeles[size_t(y) * size_t(Ancho) + size_t(x)] == 0; }
};

// Two pixels per module, enough for a 300 dpi printer and for a reader on screen.
inline constexpr int kPixelesModulo = 2;

// The bytes exactly as given (no character set conversion, no ECI), so a reader gives back the
// same bytes whatever encoding the box texts are in. False, with the encoder's reason in
// `error` and an empty image, when the bytes do not fit in one symbol or there are none.
MODELO_API bool GenerarImagenPDF417(const CString& datos, stImagenCodigo& imagen, CString& error);
// The bar code alone, without the human-readable line: the views print the code under it.
MODELO_API bool GenerarImagenCode128(const CString& texto, stImagenCodigo& imagen, CString& error);
