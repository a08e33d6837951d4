// The documents data files the benchmarks read: valid rows of one declarant and period, of
// every type, with amounts across the brackets.
#pragma once

#include <cstddef>
#include <cstdio>
#include <fstream>
#include <string>

// Writes `filas` rows of declarant `nif` (which must not be one of the third parties below)
// for March 2024; the file's size in bytes.
inline size_t GenerarDocumentos(const std::string& ruta, long filas,
                                const char* nif = "B12345674") {
    std::ofstream f(ruta, std::ios::binary);
    const char* terceros[] = {"12345678Z", "X1234567L", "A58818501", "P1234567D"};
    char linea[160];
    size_t total = 0;
    for (long i = 0; i < filas; ++i) {
        const int tipo = int(i % 4) + 1;
        const long centimos = 100 + (i * 7919) % 6000000;
        char nombre[50], referencia[32];
        std::snprintf(nombre, sizeof nombre, "CLIENTE %ld", i);
        std::snprintf(referencia, sizeof referencia, "REF%ld", i);
        const int n = std::snprintf(linea, sizeof linea, "8632024%s%s%s%-49s%d%-20s%-20s%015ld\n",
                                    "03", nif, terceros[i % 4], nombre, tipo,
                                    tipo == 4 ? "LETRA DE CAMBIO" : "", referencia, centimos);
        f.write(linea, n);
        total += size_t(n);
    }
    return total;
}
