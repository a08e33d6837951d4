// The on-screen form of page 1.
#pragma once

#include "Formulario.h"
#include "Modelo/GuiaView.h"

class MODELO_PLUGIN_API MOD_P1VIEW : public CGuiaView {
    DECLARE_DYNCREATE(MOD_P1VIEW)

public:
    MOD_P1VIEW();
};
