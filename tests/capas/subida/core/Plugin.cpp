// A plug-in source that draws through the program's Qt layer: refused.
#include "Modelo/printing/Impresion.h"
#include "render/Pagina.h"
