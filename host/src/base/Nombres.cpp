#include "Modelo/base/Funciones.h"

void ExtraerCadBD(const CString& nombre, CString& parte1, CString& parte2, CString& parte3) {
    CString* partes[] = {&parte1, &parte2, &parte3};
    for (CString* p : partes)
        p->Empty();
    int inicio = 0;
    for (int k = 0; k < 3; ++k) {
        const int sep = k < 2 ? nombre.Find(kSeparadorNombre, inicio) : -1;
        if (sep < 0) {
            *partes[k] = nombre.Mid(inicio);
            return;
        }
        *partes[k] = nombre.Mid(inicio, sep - inicio);
        inicio = sep + 1;
    }
}

CString QuitarSep(const CString& nombre) {
    CString a, b, c, out;
    ExtraerCadBD(nombre, a, b, c);
    for (CString* p : {&a, &b, &c}) {
        p->Trim();
        if (p->IsEmpty())
            continue;
        if (!out.IsEmpty())
            out += ' ';
        out += *p;
    }
    return out;
}

bool Tratar_como_NIF(const CString& nif) {
    CString t(nif);
    t.Trim();
    if (t.IsEmpty())
        return false;
    const char c = t[0];
    return texto::EsDigito(c) || c == 'X' || c == 'Y' || c == 'Z' || c == 'K' || c == 'L' ||
           c == 'M';
}
