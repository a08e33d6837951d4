#include "Modelo/base/Funciones.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// The rounding works on the shortest decimal text that reads back as the same double, so it
// rounds the number a person typed, not the binary neighbour the double happens to hold. The
// conversion ignores the process locale (a desktop session may set one with a decimal comma),
// and the digits are handled in fixed buffers: an import formats two amounts per document.
namespace {
CString Escribir(const char* digitos, int puntoEn, int guardados, int decimales, bool negativo,
                 bool agrupar, bool vacioSiCero);
} // namespace

CString Double2Currency(double valor, int decimales, bool agrupar, bool vacioSiCero) {
    if (!std::isfinite(valor))
        valor = 0;
    decimales = std::clamp(decimales, 0, 10);
    const bool negativo = valor < 0;

    char corto[64];
    const char* fin = std::to_chars(corto, corto + sizeof corto, std::fabs(valor)).ptr;
    const char* e = std::find(static_cast<const char*>(corto), fin, 'e');
    int exponente = 0;
    if (e != fin)
        std::from_chars(e + (e[1] == '+' ? 2 : 1), fin, exponente);

    // All the digits, with as many zeros in front as a small number needs: digitos[i] is the
    // digit at position i, and the decimal point stands before position puntoEn.
    constexpr int kMax = 720;
    char digitos[kMax];
    int n = 0, enteros = 0;
    bool punto = false;
    for (const char* q = corto; q != e; ++q) {
        if (*q == '.') {
            punto = true;
            continue;
        }
        digitos[n++] = *q;
        enteros += punto ? 0 : 1;
    }
    int puntoEn = enteros + exponente;
    if (puntoEn < 1) {
        const int ceros = 1 - puntoEn;
        std::memmove(digitos + ceros, digitos, size_t(n));
        std::memset(digitos, '0', size_t(ceros));
        n += ceros;
        puntoEn = 1;
    }
    const int necesarios = puntoEn + decimales + 1;
    if (n < necesarios) {
        std::memset(digitos + n, '0', size_t(necesarios - n));
        n = necesarios;
    }

    // Keep puntoEn + decimales digits, rounding half away from zero on the next one.
    int guardados = puntoEn + decimales;
    if (digitos[guardados] >= '5') {
        int i = guardados - 1;
        for (; i >= 0 && digitos[i] == '9'; --i)
            digitos[i] = '0';
        if (i >= 0) {
            ++digitos[i];
        } else {
            std::memmove(digitos + 1, digitos, size_t(guardados));
            digitos[0] = '1';
            ++puntoEn;
            ++guardados;
        }
    }
    return Escribir(digitos, puntoEn, guardados, decimales, negativo, agrupar, vacioSiCero);
}

namespace {
// The digits as currency text: `puntoEn` whole digits, then the decimals up to `guardados`.
CString Escribir(const char* digitos, int puntoEn, int guardados, int decimales, bool negativo,
                 bool agrupar, bool vacioSiCero) {
    constexpr int kMax = 720;
    int primera = 0;
    while (primera < puntoEn - 1 && digitos[primera] == '0')
        ++primera;
    bool cero = true;
    for (int i = primera; i < guardados && cero; ++i)
        cero = digitos[i] == '0';
    if (cero && vacioSiCero)
        return CString();

    char out[kMax + kMax / 3 + 16];
    int o = 0;
    if (negativo && !cero)
        out[o++] = '-';
    for (int i = primera; i < puntoEn; ++i) {
        if (agrupar && i > primera && (puntoEn - i) % 3 == 0)
            out[o++] = '.';
        out[o++] = digitos[i];
    }
    if (decimales > 0) {
        out[o++] = ',';
        for (int i = puntoEn; i < guardados; ++i)
            out[o++] = digitos[i];
    }
    return CString(out, o);
}

} // namespace

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

bool Currency2Centimos(const CString& texto, long long& centimos) {
    const std::string_view s = texto.view();
    long long unidades = 0;
    int enteros = 0, decimales = 0, fraccion = 0;
    bool coma = false;
    for (char c : s) {
        if (c == '.' && !coma)
            continue;
        if (c == ',' && !coma) {
            coma = true;
            continue;
        }
        if (!texto::EsDigito(c))
            return false;
        if (coma) {
            if (++decimales > 2)
                return false;
            fraccion = fraccion * 10 + (c - '0');
        } else {
            if (++enteros > 15)
                return false;
            unidades = unidades * 10 + (c - '0');
        }
    }
    if (enteros + decimales == 0)
        return false;
    centimos = unidades * 100 + (decimales == 1 ? fraccion * 10 : fraccion);
    return true;
}

CString Centimos2Currency(long long centimos) {
    const bool negativo = centimos < 0;
    // The magnitude as unsigned, so that the most negative value has one too.
    unsigned long long v = negativo ? 0ULL - static_cast<unsigned long long>(centimos)
                                    : static_cast<unsigned long long>(centimos);
    char out[48];
    int o = sizeof out;
    out[--o] = char('0' + v % 10);
    v /= 10;
    out[--o] = char('0' + v % 10);
    v /= 10;
    out[--o] = ',';
    int cifras = 0;
    do {
        if (cifras > 0 && cifras % 3 == 0)
            out[--o] = '.';
        out[--o] = char('0' + v % 10);
        v /= 10;
        ++cifras;
    } while (v > 0);
    if (negativo)
        out[--o] = '-';
    return CString(out + o, int(sizeof out) - o);
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
