// Code tables and the two printed codes of a declaration: the PDF417 of its payload and the
// Code 128 bar code of its declaration code, rendered as plain images that a view shows and a
// printer prints.
#pragma once

#include "Modelo/base/CArray.h"
#include "Modelo/base/CString.h"

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

// The text in ISO-8859-1, the symbology's default character set, so any standard reader shows
// "Ñ" and "Á" as they are, whether the box texts came as UTF-8 or as Latin-1 (each character
// read as texto::LeerCaracter reads it). A text with a character Latin-1 cannot hold is encoded
// whole in UTF-8 behind the UTF-8 ECI (26), which readers that honour ECIs decode exactly;
// nothing is dropped or replaced. False, with the encoder's reason in `error` and an empty
// image, when the text does not fit in one symbol or there is none.
// `proporcion` is the width over the height of the field the code fills: the columns are then
// the count that gives the largest square module in it for this text (rows three modules
// high, quiet zones included). 0 keeps twelve columns.
MODELO_API bool GenerarImagenPDF417(const CString& datos, stImagenCodigo& imagen, CString& error,
                                    double proporcion = 0);
// The bar code alone, without the human-readable line: the views print the code under it.
MODELO_API bool GenerarImagenCode128(const CString& texto, stImagenCodigo& imagen, CString& error);
