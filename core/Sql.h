// Values that end up inside the form's SQL texts.
#pragma once

#include "Modelo/base/CString.h"

// The value as it may stand between apostrophes: every apostrophe doubled, so a name such as
// O'BRIEN selects exactly that party and no value can change what a query selects.
inline CString LiteralSql(CString valor) {
    valor.Replace("'", "''");
    return valor;
}
