// Shared test support: temporary folders and files, and running the program.
#pragma once

#include <filesystem>
#include <string>

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

} // namespace apoyo
