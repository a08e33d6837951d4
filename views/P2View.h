// The on-screen form of page 2, the payment copy: what replication copied from page 1, the bar
// code and the declaration code. Nothing on it can be edited.
#pragma once

#include "Formulario.h"
#include "VistaCasillas.h"

class MODELO_PLUGIN_API MOD_P2VIEW : public VistaCasillas {
    DECLARE_DYNCREATE(MOD_P2VIEW)

public:
    MOD_P2VIEW();
};
