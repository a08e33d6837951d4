// Reading the fields of a data-file row.
#pragma once

#include "Modelo/base/CString.h"

// The leading digits of a text as a number, as the C library reads an integer; 0 when there
// are none.
inline int EnteroInicial(const CString& t) {
    int n = 0;
    for (int i = 0; i < t.GetLength() && texto::EsDigito(t[i]) && n < 100000; ++i)
        n = n * 10 + (t[i] - '0');
    return n;
}
