// The on-screen form of page 2, the payment copy.
#pragma once

#include "Formulario.h"
#include "Modelo/GuiaView.h"

class MODELO_PLUGIN_API MOD_P2VIEW : public CGuiaView {
    DECLARE_DYNCREATE(MOD_P2VIEW)

public:
    MOD_P2VIEW();
};
