// Binding a copy of a party to a declaration in a role: the one way the store does it, for the
// default presenter of a new declaration and for the parties dialog alike.
#pragma once

#include "Modelo/parties/Intervinientes.h"
#include "Modelo/store/BaseDatos.h"

// Replaces the party the role had; the caller holds the transaction.
void VincularCopia(CBaseDatos& db, const CString& codDeclar, const CString& rol,
                   const stInterviniente& p);
