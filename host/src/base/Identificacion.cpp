// Spanish identification numbers and their check characters.
#include "Modelo/base/Funciones.h"

#include <cstring>

namespace {

constexpr const char* kLetrasDni = "TRWAGMYFPDXBNJZSQVHLCKE";
constexpr const char* kLetrasCif = "JABCDEFGHI";

bool Digitos(const CString& t, int desde, int cuantos) {
    for (int i = desde; i < desde + cuantos; ++i)
        if (!texto::EsDigito(t[i]))
            return false;
    return true;
}

long Numero(const CString& t, int desde, int cuantos) {
    long n = 0;
    for (int i = desde; i < desde + cuantos; ++i)
        n = n * 10 + (t[i] - '0');
    return n;
}

// DNI: eight digits and the letter of the number; NIE: X, Y or Z standing for 0, 1 or 2 in
// front of seven digits; K, L and M numbers: seven digits with the letter computed the same way.
bool PersonaFisica(const CString& t) {
    const char c = t[0];
    long numero;
    if (texto::EsDigito(c)) {
        if (!Digitos(t, 0, 8))
            return false;
        numero = Numero(t, 0, 8);
    } else if (c == 'X' || c == 'Y' || c == 'Z') {
        if (!Digitos(t, 1, 7))
            return false;
        numero = (c - 'X') * 10000000L + Numero(t, 1, 7);
    } else if (c == 'K' || c == 'L' || c == 'M') {
        if (!Digitos(t, 1, 7))
            return false;
        numero = Numero(t, 1, 7);
    } else {
        return false;
    }
    return t[8] == kLetrasDni[numero % 23];
}

// CIF: the entity letter, seven digits and a control that is a digit or a letter as the entity
// letter requires.
bool Entidad(const CString& t) {
    const char c = t[0];
    if (c == '\0' || !std::strchr("ABCDEFGHJNPQRSUVW", c) || !Digitos(t, 1, 7))
        return false;
    int suma = 0;
    for (int i = 1; i <= 7; ++i) {
        const int d = t[i] - '0';
        if (i % 2 == 0) {
            suma += d;
        } else {
            const int doble = 2 * d;
            suma += doble / 10 + doble % 10;
        }
    }
    const int control = (10 - suma % 10) % 10;
    const char digito = char('0' + control);
    const char letra = kLetrasCif[control];
    if (std::strchr("PQRSWN", c))
        return t[8] == letra;
    if (std::strchr("ABEH", c))
        return t[8] == digito;
    return t[8] == digito || t[8] == letra;
}

} // namespace

bool DocumentoIdentificacionValido(const CString& nif, bool soloPersonasFisicas) {
    if (nif.GetLength() != 9)
        return false;
    if (PersonaFisica(nif))
        return true;
    return !soloPersonasFisicas && Entidad(nif);
}
