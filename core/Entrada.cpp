// The library's face to the host: its place in the resource chain while it is loaded, and the
// two plain entry points.
#include "Formulario.h"
#include "IdsRecursos.h"
#include "Imagenes.h"
#include "ModDoc.h"
#include "Modelo/base/Recursos.h"
#include "Plantillas.h"

#include <new>

namespace {
struct ModuloDelFormulario {
    CModuloRecursos recursos;

    ModuloDelFormulario() {
        recursos.nombre = AFX_STRINGIZE(MOD_DOC);
        recursos.cadenas = {
            {recurso::CadenaCodigo, formulario::kCodigo},
            {recurso::CadenaVersion, formulario::kVersion},
            {recurso::CadenaTitulo, formulario::kTitulo},
            {recurso::CadenaPeriodo, "PERIODO"},
        };
        recursos.plantillas = {
            {recurso::PlantillaPagina1, &PlantillaPagina1()},
            {recurso::PlantillaPagina2, &PlantillaPagina2()},
        };
        recursos.bitmaps = BitmapsDelFormulario();
        AfxAnadirModuloRecursos(&recursos);
    }
    ~ModuloDelFormulario() { AfxQuitarModuloRecursos(&recursos); }
};

const ModuloDelFormulario modulo;
} // namespace

MODELO_PLUGIN_EXPORT CGuiaDoc* DllCrearModelo() {
    return new (std::nothrow) MOD_DOC;
}

MODELO_PLUGIN_EXPORT void DllModInfo(CString* codigo, CString* version, CString* titulo,
                                     CString* periodo) {
    if (codigo)
        AfxLoadString(recurso::CadenaCodigo, *codigo);
    if (version)
        AfxLoadString(recurso::CadenaVersion, *version);
    if (titulo)
        AfxLoadString(recurso::CadenaTitulo, *titulo);
    if (periodo)
        AfxLoadString(recurso::CadenaPeriodo, *periodo);
}
