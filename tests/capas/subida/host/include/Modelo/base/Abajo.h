// A base header that reaches up to the windows: the check must name it.
#pragma once

#include "Modelo/windows/Ventanas.h"
