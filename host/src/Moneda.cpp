#include "Modelo/Funciones.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

// The rounding works on the shortest decimal text that reads back as the same double, so it
// rounds the number a person typed, not the binary neighbour the double happens to hold. Both
// conversions ignore the process locale (a desktop session may set one with a decimal comma).
static std::string DecimalCorto(double v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

CString Double2Currency(double valor, int decimales, bool agrupar, bool vacioSiCero) {
    if (!std::isfinite(valor))
        valor = 0;
    if (decimales < 0)
        decimales = 0;
    if (decimales > 10)
        decimales = 10;
    const bool negativo = valor < 0;
    std::string d = DecimalCorto(std::fabs(valor));

    // Expand an exponent into plain digits: "1.5e-07" or "1e+20".
    std::string mantisa = d;
    int exponente = 0;
    if (auto e = d.find_first_of("eE"); e != std::string::npos) {
        mantisa = d.substr(0, e);
        exponente = std::atoi(d.c_str() + e + 1);
    }
    std::string entera = mantisa, fraccion;
    if (auto p = mantisa.find('.'); p != std::string::npos) {
        entera = mantisa.substr(0, p);
        fraccion = mantisa.substr(p + 1);
    }
    std::string digitos = entera + fraccion;
    int puntoEn = int(entera.size()) + exponente; // digits before the decimal point
    if (puntoEn < 0) {
        digitos.insert(0, size_t(-puntoEn), '0');
        puntoEn = 0;
    }
    if (int(digitos.size()) < puntoEn + decimales + 1)
        digitos.append(size_t(puntoEn + decimales + 1 - int(digitos.size())), '0');

    // Keep puntoEn + decimales digits, rounding half away from zero on the next one.
    std::string kept = digitos.substr(0, size_t(puntoEn + decimales));
    if (digitos[size_t(puntoEn + decimales)] >= '5') {
        int i = int(kept.size()) - 1;
        for (; i >= 0; --i) {
            if (kept[size_t(i)] == '9') {
                kept[size_t(i)] = '0';
            } else {
                ++kept[size_t(i)];
                break;
            }
        }
        if (i < 0) {
            kept = "1" + kept;
            ++puntoEn;
        }
    }
    std::string ent = kept.substr(0, size_t(puntoEn));
    const std::string dec = kept.substr(size_t(puntoEn));
    const size_t primera = ent.find_first_not_of('0');
    ent = primera == std::string::npos ? "0" : ent.substr(primera);

    const bool cero = ent == "0" && dec.find_first_not_of('0') == std::string::npos;
    if (cero && vacioSiCero)
        return CString();

    std::string out;
    if (negativo && !cero)
        out += '-';
    if (agrupar) {
        for (size_t i = 0; i < ent.size(); ++i) {
            if (i > 0 && (ent.size() - i) % 3 == 0)
                out += '.';
            out += ent[i];
        }
    } else {
        out += ent;
    }
    if (decimales > 0)
        out += "," + dec;
    return CString(std::move(out));
}

double Currency2Double(const CString& texto) {
    std::string limpio;
    for (int i = 0; i < texto.GetLength(); ++i) {
        const char c = texto[i];
        if (c == '.' || texto::EsBlanco(c))
            continue;
        limpio += c == ',' ? '.' : c;
    }
    if (limpio.empty())
        return 0;
    return NumeroC(limpio);
}

double NumeroC(std::string_view texto) {
    size_t i = 0;
    while (i < texto.size() && texto::EsBlanco(texto[i]))
        ++i;
    if (i < texto.size() && texto[i] == '+')
        ++i;
    double v = 0;
    const auto r = std::from_chars(texto.data() + i, texto.data() + texto.size(), v);
    if (r.ec != std::errc() || !std::isfinite(v))
        return 0;
    return v;
}
