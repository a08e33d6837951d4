// The host's findings, as the checks of a declaration report them and the host's services show
// them to a person.
#pragma once

#include "Modelo/base/CArray.h"
#include "Modelo/base/CString.h"

#include <utility>

// The host's error record: the box a finding points at, its page index, its code and the two
// texts of the catalogue.
struct MODELO_API stError {
    int Casilla = 0;
    int Pagina = 0;
    CString Codigo;
    CString Descripcion;
    CString Detalle;

    stError() = default;
    stError(int casilla, int pagina, CString codigo, CString descripcion, CString detalle)
        : Casilla(casilla), Pagina(pagina), Codigo(std::move(codigo)),
          Descripcion(std::move(descripcion)), Detalle(std::move(detalle)) {}
    friend bool operator==(const stError&, const stError&) = default;
};
using CListaErrores = CArray<stError, stError>;
