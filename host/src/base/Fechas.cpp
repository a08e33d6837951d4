#include "Modelo/base/Funciones.h"

#include <cstdlib>

namespace {
const char* const kMeses[] = {"ENERO",      "FEBRERO", "MARZO",     "ABRIL",
                              "MAYO",       "JUNIO",   "JULIO",     "AGOSTO",
                              "SEPTIEMBRE", "OCTUBRE", "NOVIEMBRE", "DICIEMBRE"};

// Reads 1 to `max` digits at `i`; false when there is none.
bool LeerNumero(const CString& t, int& i, int max, int& valor) {
    int n = 0;
    valor = 0;
    while (i < t.GetLength() && n < max && texto::EsDigito(t[i])) {
        valor = valor * 10 + (t[i] - '0');
        ++i;
        ++n;
    }
    return n > 0;
}
} // namespace

int AnioDeDosCifras(int yy) {
    const int actual = COleDateTime::GetCurrentTime().GetYear();
    int anio = actual - actual % 100 + yy;
    if (anio > actual + 49)
        anio -= 100;
    else if (anio < actual - 50)
        anio += 100;
    return anio;
}

COleDateTime Str2Time(const CString& entrada) {
    CString t(entrada);
    t.Trim();
    COleDateTime fecha;
    fecha.SetStatus(COleDateTime::invalid);
    int i = 0, dia, mes, anio;
    if (!LeerNumero(t, i, 2, dia) || i >= t.GetLength() || (t[i] != '/' && t[i] != '-'))
        return fecha;
    const char sep = t[i++];
    if (!LeerNumero(t, i, 2, mes) || i >= t.GetLength() || t[i] != sep)
        return fecha;
    ++i;
    const int inicioAnio = i;
    if (!LeerNumero(t, i, 4, anio))
        return fecha;
    const int cifras = i - inicioAnio;
    if (cifras == 2)
        anio = AnioDeDosCifras(anio);
    else if (cifras != 4)
        return fecha;
    int hora = 0, minuto = 0, segundo = 0;
    if (i < t.GetLength()) {
        // An optional time: " hh:mm" or " hh:mm:ss".
        if (!texto::EsBlanco(t[i]))
            return fecha;
        while (i < t.GetLength() && texto::EsBlanco(t[i]))
            ++i;
        if (!LeerNumero(t, i, 2, hora) || i >= t.GetLength() || t[i] != ':')
            return fecha;
        ++i;
        if (!LeerNumero(t, i, 2, minuto))
            return fecha;
        if (i < t.GetLength() && t[i] == ':') {
            ++i;
            if (!LeerNumero(t, i, 2, segundo))
                return fecha;
        }
        if (i != t.GetLength())
            return fecha;
    }
    fecha.SetDateTime(anio, mes, dia, hora, minuto, segundo);
    return fecha;
}

CString GetMesLetra(int mes) {
    if (mes < 1 || mes > 12)
        return CString();
    return kMeses[mes - 1];
}

CString MesNumero(const CString& entrada) {
    CString t(entrada);
    t.Trim();
    if (t.IsEmpty())
        return "00";
    bool digitos = t.GetLength() <= 2;
    for (int i = 0; i < t.GetLength(); ++i)
        digitos = digitos && texto::EsDigito(t[i]);
    if (digitos) {
        const int n = std::atoi(t);
        return n >= 1 && n <= 12 ? CString::Formatted("%02d", n) : CString("00");
    }
    t.MakeUpper();
    for (int m = 1; m <= 12; ++m)
        if (t == kMeses[m - 1])
            return CString::Formatted("%02d", m);
    return "00";
}

CString Padding(const CString& texto, int longitud, char relleno, bool izquierda) {
    if (texto.GetLength() >= longitud)
        return texto;
    const CString pad(relleno, longitud - texto.GetLength());
    return izquierda ? pad + texto : texto + pad;
}
