// Its own folder and nothing above: allowed.
#include "Modelo/base/Abajo.h"
#include "base/Privado.h"

#include <string>
