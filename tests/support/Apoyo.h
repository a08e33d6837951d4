// Shared test support: temporary folders and files, and running the program.
#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

namespace apoyo {

// A fresh folder under the system's temporary folder, removed when the object goes.
class CarpetaTemporal {
public:
    CarpetaTemporal();
    ~CarpetaTemporal();
    const std::filesystem::path& Ruta() const { return ruta_; }
    std::string operator/(const std::string& nombre) const { return (ruta_ / nombre).string(); }

private:
    std::filesystem::path ruta_;
};

void Escribir(const std::string& ruta, const std::string& contenido);
std::string Leer(const std::string& ruta);

struct Salida {
    int estado;
    std::string out, err;
};
// Runs a command line through the shell, capturing both streams.
Salida Ejecutar(const std::string& comando);

// Starts a program without the shell and without waiting; both its streams go to `salida`.
pid_t Lanzar(const std::vector<std::string>& argumentos, const std::string& salida);
// Waits for it: its exit status, or minus the signal that killed it.
int Esperar(pid_t pid);

// Whether this machine lets a test run a command in mount and user namespaces of its own
// (`unshare -rm`), where it may mount a small or read-only file system that vanishes with it.
bool HayEspacioDeMontaje();

// The seed of a test that draws at random: MODELO_SEMILLA when set (to replay a failure), else
// a fresh one. Printed, so a failure in CI can be replayed.
unsigned Semilla();

} // namespace apoyo
