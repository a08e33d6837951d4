// The defaults of a new declaration, as the settings of the store keep them: the same for the
// `config` command and the window's settings dialog.
#pragma once

#include "Host.h"

namespace casos {

struct AjustesNueva {
    // The default presenter: a free party of the store, its name as the store keeps it; both
    // empty for none.
    CString presentadorNif, presentadorNombre;
    // The form a new declaration is of unless another is chosen; "" for the first loaded.
    CString formulario;
    // A new declaration's period unless another is chosen: the month in course, or (as an
    // office files them) the month before.
    bool mesEnCurso = false;
};

AjustesNueva LeerAjustes(CHost& host);
// All of them in one transaction; refused (ErrorUsuario) for a form that is not loaded. False
// when the presenter is not a free party of the store: kept as given, as FijarPresentador does.
bool GuardarAjustes(CHost& host, const AjustesNueva& a);

// The form code a new declaration or the clients table starts from.
CString FormularioPorDefecto(CHost& host);
void FijarFormularioPorDefecto(CHost& host, const CString& formulario);
void FijarMesEnCurso(CHost& host, bool mesEnCurso);
// The default period of a new declaration on the day given.
void PeriodoPorDefecto(CHost& host, const COleDateTime& hoy, CString& mes, CString& anio);

} // namespace casos
