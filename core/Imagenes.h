// The bitmaps of the form (page backgrounds and button images), linked into the plug-in as
// Windows BMP files.
#pragma once

#include "Modelo/base/Recursos.h"

#include <map>

// Every bitmap of the form keyed by its full resource id.
std::map<int, RecursoBitmap> BitmapsDelFormulario();
