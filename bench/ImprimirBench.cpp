// Printing a filled two-page declaration of form 863 to PDF, as `modelo print` does, in memory.
//
//   bench_imprimir [TIMES]     (default: 30)
//
// Opens a host on a fresh database in a temporary folder with the plug-ins next to this
// program, fills every box of page 1 (with accented names), and prints the declaration to PDF
// TIMES times after one warm-up run (the first run loads the fonts). Prints the median, the
// fastest and the slowest time, and the size of the file.
#include "Host.h"
#include "Modelo/store/BaseDatos.h"
#include "render/Impresion.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    const int veces = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    const std::filesystem::path carpeta =
        std::filesystem::temp_directory_path() / ("bench_imprimir." + std::to_string(getpid()));
    std::filesystem::create_directories(carpeta);
    const std::filesystem::path plugins =
        std::filesystem::canonical("/proc/self/exe").parent_path();
    int estado = 0;
    try {
        CHost host(CString((carpeta / "modelo.db").string()), CString(plugins.string()));
        const CString codigo = host.Nueva("863", "03", "2024")->GetCodDeclar();
        {
            auto doc = host.Abrir(codigo);
            const std::pair<int, const char*> valores[] = {
                {10, "12345678Z"},
                {11, "MUÑOZ"},
                {12, "CÁCERES"},
                {13, "JOSÉ"},
                {14, "CL"},
                {15, "MAYOR"},
                {16, "1"},
                {17, "A"},
                {18, "2"},
                {19, "B"},
                {20, "910000000"},
                {21, "28"},
                {22, "079"},
                {23, "28013"},
                {30, "B12345674"},
                {31, "EJEMPLO S.L."},
                {34, "AV"},
                {35, "DIAGONAL"},
                {36, "10"},
                {40, "930000000"},
                {41, "08"},
                {42, "019"},
                {43, "08001"},
                {50, "S"},
                {52, "8630000000009"},
                {53, "15/02/2024"},
                {54, "2024"},
                {55, "000012"},
                {60, "3"},
                {61, "2"},
                {62, "1"},
                {63, "4"},
                {64, "1.500,00"},
                {65, "800,00"},
                {66, "200,00"},
                {67, "90,00"},
                {68, "15,00"},
                {69, "8,00"},
                {70, "2,00"},
                {71, "0,90"},
                {72, "25,90"},
                {140, "X1234567L"},
                {141, "GESTORÍA PÉREZ"},
                {142, "600000000"},
            };
            for (auto [c, v] : valores)
                doc->SetCasilla(c, 0, v);
            CBaseDatos::Transaccion t(host.BaseDatos());
            host.Guardar(*doc);
            t.Confirmar();
        }
        using Reloj = std::chrono::steady_clock;
        std::vector<double> ms;
        qsizetype tamano = 0;
        for (int i = 0; i <= veces; ++i) {
            const auto inicio = Reloj::now();
            CBaseDatos::Transaccion t(host.BaseDatos(), CBaseDatos::Transaccion::Lectura);
            auto doc = host.Abrir(codigo);
            CPrintInfo info;
            QByteArray pdf;
            if (!ImprimirPDF(*doc, info, pdf)) {
                std::fprintf(stderr, "bench_imprimir: %s\n", info.m_strError.c_str());
                estado = 1;
                break;
            }
            t.Confirmar();
            const double t_ms =
                std::chrono::duration<double, std::milli>(Reloj::now() - inicio).count();
            if (i > 0) // the first run loads the fonts
                ms.push_back(t_ms);
            tamano = pdf.size();
        }
        if (!ms.empty()) {
            std::sort(ms.begin(), ms.end());
            std::printf("impresion_pdf\tveces=%zu\tmediana_ms=%.1f\tmin_ms=%.1f\tmax_ms=%.1f\t"
                        "bytes=%lld\thojas=3\n",
                        ms.size(), ms[ms.size() / 2], ms.front(), ms.back(),
                        static_cast<long long>(tamano));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_imprimir: %s\n", e.what());
        estado = 1;
    }
    std::filesystem::remove_all(carpeta);
    return estado;
}
