// The host's own strings, in the resource chain for as long as the library is loaded.
#include "Modelo/base/Recursos.h"
#include "Modelo/services/Servicios.h"

namespace {
struct ModuloHost {
    CModuloRecursos recursos;
    ModuloHost() {
        recursos.nombre = "Modelo";
        recursos.cadenas = {
            {cadena_host::FicheroLeido, "Se han leído correctamente los datos del fichero %1."},
            {cadena_host::TooltipIntervinientes, "Seleccionar intervinientes"},
            {cadena_host::TooltipAyuda, "Ayuda sobre este apartado"},
            {cadena_host::MaximoCaracteres, "Escriba como máximo %1 caracteres en esta casilla."},
        };
        AfxAnadirModuloRecursos(&recursos);
    }
    ~ModuloHost() { AfxQuitarModuloRecursos(&recursos); }
};
const ModuloHost modulo;
} // namespace
