#include "support/Apoyo.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace apoyo {

CarpetaTemporal::CarpetaTemporal() {
    std::random_device rd;
    for (int i = 0; i < 100; ++i) {
        ruta_ = fs::temp_directory_path() / ("modelo-test-" + std::to_string(rd()));
        if (fs::create_directory(ruta_))
            return;
    }
    throw std::runtime_error("no temporary folder");
}

CarpetaTemporal::~CarpetaTemporal() {
    std::error_code ec;
    fs::remove_all(ruta_, ec);
}

void Escribir(const std::string& ruta, const std::string& contenido) {
    std::ofstream f(ruta, std::ios::binary);
    f << contenido;
}

std::string Leer(const std::string& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

Salida Ejecutar(const std::string& comando) {
    CarpetaTemporal tmp;
    const std::string err = tmp / "err";
    FILE* p = popen((comando + " 2>" + err).c_str(), "r");
    if (!p)
        throw std::runtime_error("popen failed");
    Salida s{};
    std::array<char, 4096> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0)
        s.out.append(buf.data(), n);
    const int st = pclose(p);
    s.estado = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    s.err = Leer(err);
    return s;
}

} // namespace apoyo
