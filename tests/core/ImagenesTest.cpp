// Compiled once per form with forms/NNN on the include path and linked to that form's plug-in:
// the bitmaps drawn at build time are read back through the resource chain, byte by byte, as
// the host reads them.
#include "core/Imagenes.h"
#include "Formulario.h"
#include "Modelo/base/Recursos.h"
#include "core/IdsRecursos.h"
#include "core/Plantillas.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>

namespace {

// The header fields of a Windows BMP file that the host relies on.
struct CabeceraBmp {
    uint32_t tamanoFichero, inicioPixeles;
    int32_t ancho, alto;
    uint16_t bits;
    uint32_t compresion, colores;
};

uint32_t Leer32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t Leer16(const unsigned char* p) {
    return uint16_t(p[0] | p[1] << 8);
}

struct ColorBgr {
    unsigned char b, g, r;
    bool Blanco() const { return b == 255 && g == 255 && r == 255; }
};

CabeceraBmp Leer(const RecursoBitmap& b) {
    return {Leer32(b.datos + 2),           Leer32(b.datos + 10), int32_t(Leer32(b.datos + 18)),
            int32_t(Leer32(b.datos + 22)), Leer16(b.datos + 28), Leer32(b.datos + 30),
            Leer32(b.datos + 46)};
}

// Checks the file is a whole, uncompressed BMP of the given size and depth.
void EsperaBmp(int id, int ancho, int alto, int bits) {
    SCOPED_TRACE(id);
    const RecursoBitmap* b = AfxBuscarBitmap(id);
    ASSERT_NE(b, nullptr);
    ASSERT_GT(b->tamano, 54u);
    EXPECT_EQ(b->datos[0], 'B');
    EXPECT_EQ(b->datos[1], 'M');
    const CabeceraBmp h = Leer(*b);
    EXPECT_EQ(h.tamanoFichero, b->tamano);
    EXPECT_EQ(h.ancho, ancho);
    EXPECT_EQ(h.alto, alto);
    EXPECT_EQ(h.bits, bits);
    EXPECT_EQ(h.compresion, 0u);
    const size_t fila = ((size_t(ancho) * bits + 31) / 32) * 4;
    EXPECT_EQ(h.inicioPixeles + fila * alto, b->tamano);
    if (bits <= 8) {
        EXPECT_GE(h.colores, 2u);
        EXPECT_LE(h.colores, 1u << bits);
        EXPECT_EQ(h.inicioPixeles, 54 + 4 * h.colores);
    }
}

TEST(Imagenes, PageBackgroundsAre770By1125With8BitPalette) {
    EsperaBmp(recurso::FondoPagina1, 770, 1125, 8);
    EsperaBmp(recurso::FondoPagina2, 770, 1125, 8);
}

TEST(Imagenes, ButtonImagesHaveTheirSizesAndDepths) {
    for (int id = boton::AyudaDeshabilitado; id <= boton::AyudaPulsado; ++id)
        EsperaBmp(id, 15, 15, 24);
    for (int id = boton::IntervinientesDeshabilitado; id <= boton::AbrirPulsado; ++id)
        EsperaBmp(id, 19, 19, 4);
    // The four states of a button are four different images.
    const RecursoBitmap* normal = AfxBuscarBitmap(boton::IntervinientesNormal);
    const RecursoBitmap* pulsado = AfxBuscarBitmap(boton::IntervinientesPulsado);
    ASSERT_TRUE(normal && pulsado);
    EXPECT_NE(std::string(reinterpret_cast<const char*>(normal->datos), normal->tamano),
              std::string(reinterpret_cast<const char*>(pulsado->datos), pulsado->tamano));
}

// The colour of a page background at a point given in the template's dialog units, scaled the
// way the page is drawn.
ColorBgr ColorEn(const RecursoBitmap& b, const PlantillaDialogo& p, double x, double y) {
    const CabeceraBmp h = Leer(b);
    const int px = int(x * h.ancho / p.cx);
    const int py = int(y * h.alto / p.cy);
    const size_t fila = ((size_t(h.ancho) * 8 + 31) / 32) * 4;
    const unsigned char indice = b.datos[h.inicioPixeles + size_t(h.alto - 1 - py) * fila + px];
    const unsigned char* c = b.datos + 54 + 4 * indice;
    return {c[0], c[1], c[2]};
}

// Every control that shows a box sits over a white printed field, and the field starts where
// the control does: just above it the page is tinted or printed, never white.
TEST(Imagenes, EveryBoxOfAPageSitsOnAWhiteField) {
    const std::pair<int, int> paginas[] = {{recurso::FondoPagina1, recurso::PlantillaPagina1},
                                           {recurso::FondoPagina2, recurso::PlantillaPagina2}};
    for (const auto& [fondo, plantilla] : paginas) {
        const RecursoBitmap* b = AfxBuscarBitmap(fondo);
        const PlantillaDialogo* p = AfxBuscarPlantilla(plantilla);
        ASSERT_TRUE(b && p);
        for (const ControlPlantilla& c : p->controles) {
            if (c.casilla < 0)
                continue;
            const ColorBgr centro = ColorEn(*b, *p, c.x + c.cx / 2.0, c.y + c.cy / 2.0);
            EXPECT_TRUE(centro.Blanco()) << "control " << c.id;
            const ColorBgr encima = ColorEn(*b, *p, c.x + c.cx / 2.0, c.y - 3);
            EXPECT_FALSE(encima.Blanco()) << "control " << c.id;
        }
    }
}

} // namespace
