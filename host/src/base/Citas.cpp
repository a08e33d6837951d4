#include "Modelo/base/Funciones.h"

CString CitaBreve(const CString& texto, int maximo) {
    int corte = texto.GetLength();
    if (corte > maximo) {
        corte = maximo < 0 ? 0 : maximo;
        // Never half a UTF-8 character: back up over its continuation bytes to its lead byte.
        while (corte > 0 && (static_cast<unsigned char>(texto[corte]) & 0xC0) == 0x80)
            --corte;
    }
    CString out;
    for (int i = 0; i < corte; ++i)
        out += texto::EsControl(texto[i]) ? '?' : texto[i];
    if (corte < texto.GetLength())
        out += "...";
    return out;
}
