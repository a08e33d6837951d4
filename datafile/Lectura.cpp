// Reading a data file from disk.
#include "datafile/Lectura.h"

#include <cstdio>
#include <memory>
#include <sys/stat.h>

namespace {
struct Cerrar {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Streams the whole file through `cada`; false when it cannot be opened as a file or a read
// fails.
template <class F> bool Recorrer(const CString& ruta, size_t& tamano, F&& cada) {
    struct stat st {};
    if (::stat(ruta.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    tamano = size_t(st.st_size);
    std::unique_ptr<std::FILE, Cerrar> f(std::fopen(ruta.c_str(), "rb"));
    if (!f)
        return false;
    char buf[1 << 16];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0)
        cada(buf, n);
    return !std::ferror(f.get());
}
} // namespace

bool LeerFichero(const CString& ruta, std::string& contenido) {
    contenido.clear();
    size_t tamano = 0;
    bool reservado = false;
    const bool ok = Recorrer(ruta, tamano, [&](const char* datos, size_t n) {
        if (!reservado) {
            contenido.reserve(tamano + 1);
            reservado = true;
        }
        contenido.append(datos, n);
    });
    if (!ok)
        return false;
    const size_t nul = contenido.find('\0');
    if (nul != std::string::npos)
        contenido.resize(nul);
    return true;
}

bool FicheroLegible(const CString& ruta) {
    size_t tamano = 0;
    return Recorrer(ruta, tamano, [](const char*, size_t) {});
}
