// What a screen reader says of a control of a page: a name and a description. Both faces take
// them from here, so the window says what `view --json` lists and what tests read; a box's
// name comes from the form's box catalogue, never from a list of the program's own.
#pragma once

#include "Modelo/base/CString.h"

class CGuiaView;

struct stNombreAccesible {
    CString nombre;      // "Casilla 64. Base imponible de los recibos"; "" for an empty text
    CString descripcion; // what the box takes or what the button does
};

stNombreAccesible NombreAccesible(const CGuiaView& vista, int idControl);
