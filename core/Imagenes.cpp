#include "core/Imagenes.h"

#include "Formulario.h"

#include <cstdint>

// One entry per bitmap, written by the build next to the bitmaps themselves (forms/Images.cmake).
struct EntradaBitmap {
    intptr_t offset;
    const unsigned char* inicio;
    const unsigned char* fin;
};

extern "C" {
__attribute__((visibility("hidden"))) extern const EntradaBitmap modelo_bmps[];
__attribute__((visibility("hidden"))) extern const int32_t modelo_bmps_total;
}

std::map<int, RecursoBitmap> BitmapsDelFormulario() {
    std::map<int, RecursoBitmap> bitmaps;
    for (int32_t i = 0; i < modelo_bmps_total; ++i) {
        const EntradaBitmap& e = modelo_bmps[i];
        bitmaps[formulario::kIdBase + int(e.offset)] = {e.inicio, size_t(e.fin - e.inicio)};
    }
    return bitmaps;
}
