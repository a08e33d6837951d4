// One row of the liquidation data file.
#pragma once

#include "Modelo/CString.h"

struct stRegistroDeclarado {
    CString CodigoModelo;     // columns 1-3
    CString AnioDevengo;      // 4-7
    CString MesDevengo;       // 8-9
    CString NifDeclarante;    // 10-18
    CString NifTercero;       // 19-27
    CString NombreTercero;    // 28-76
    CString TipoDocumento;    // 77
    CString DescripcionOtros; // 78-97
    CString Referencia;       // 98-117
    CString Importe;          // 118-132: 13 digits of units and 2 of cents
    CString Resto;            // 133 on: must be empty
    int NumFila = 0;          // counting non-blank lines from 1
};
