// Standard output of the command line, and the check that what was printed got there.
#pragma once

#include "Modelo/base/CString.h"

// One line on standard output.
void Imprimir(const CString& linea);
// Remembers why standard output first refused a write (the parser writes its help itself).
void AnotarFalloSalida();
// Flushes and closes standard output: "" when everything printed got there, else why not.
CString SalidaPerdida();
