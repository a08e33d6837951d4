#include "support/Apoyo.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

extern char** environ;

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

pid_t Lanzar(const std::vector<std::string>& argumentos, const std::string& salida) {
    std::vector<char*> argv;
    for (const std::string& a : argumentos)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t acciones;
    posix_spawn_file_actions_init(&acciones);
    posix_spawn_file_actions_addopen(&acciones, 1, salida.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_adddup2(&acciones, 1, 2);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, argv[0], &acciones, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&acciones);
    if (rc != 0)
        throw std::runtime_error("posix_spawn failed: " + argumentos[0]);
    return pid;
}

int Esperar(pid_t pid) {
    int st = 0;
    while (waitpid(pid, &st, 0) < 0)
        if (errno != EINTR)
            throw std::runtime_error("waitpid failed");
    return WIFEXITED(st) ? WEXITSTATUS(st) : WIFSIGNALED(st) ? -WTERMSIG(st) : -1000;
}

bool HayEspacioDeMontaje() {
    static const bool hay = Ejecutar("unshare -rm true").estado == 0;
    return hay;
}

unsigned Semilla() {
    unsigned semilla = 0;
    if (const char* s = std::getenv("MODELO_SEMILLA"); s && *s)
        semilla = unsigned(std::strtoul(s, nullptr, 10));
    else
        semilla = std::random_device{}();
    std::printf("[ semilla  ] MODELO_SEMILLA=%u\n", semilla);
    std::fflush(stdout);
    return semilla;
}

} // namespace apoyo
