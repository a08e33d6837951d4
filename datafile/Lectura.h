// Reading a data file from disk.
#pragma once

#include "Modelo/CString.h"

#include <string>

// The whole file, or false when it cannot be opened as a file or read. The bytes after the
// first NUL are dropped.
bool LeerFichero(const CString& ruta, std::string& contenido);
// Whether the whole file can be read, without keeping it.
bool FicheroLegible(const CString& ruta);
