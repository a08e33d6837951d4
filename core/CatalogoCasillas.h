// The box catalogue of page 1 the document hands the host: the boxes a person or a script may
// fill, with their meaning and format, and the boxes the program writes itself. The host checks
// every filled box by it, and the program prints it. It is page 1's table in box order.
#pragma once

#include "Modelo/document/CatalogoCasillas.h"
#include "TablaCasillas.h"

#include <algorithm>
#include <array>

namespace catalogo {

inline constexpr auto kPagina1 = [] {
    std::array<stCasillaCatalogo, std::count_if(tabla::kPagina1.begin(), tabla::kPagina1.end(),
                                                [](const tabla::Fila& f) { return f.EsCasilla(); })>
        t{};
    size_t n = 0;
    for (const tabla::Fila& f : tabla::kPagina1)
        if (f.EsCasilla())
            t[n++] = {f.Casilla(), f.formato, f.significado, f.relacionada, f.cuantas};
    // In box order, which is the order the program lists them in.
    std::sort(t.begin(), t.end(), [](const stCasillaCatalogo& a, const stCasillaCatalogo& b) {
        return a.Casilla < b.Casilla;
    });
    return t;
}();

} // namespace catalogo
