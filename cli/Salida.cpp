#include "Salida.h"

#include "Modelo/store/FicheroAtomico.h"

#include <cerrno>
#include <cstdio>

namespace {
// Why stdout first refused a write. The C library drops what it could not write, so a later
// flush no longer fails and the reason would be lost.
int errnoSalida = 0;
} // namespace

void AnotarFalloSalida() {
    if (errnoSalida == 0 && std::ferror(stdout))
        errnoSalida = errno;
}

void Imprimir(const CString& linea) {
    std::fwrite(linea.c_str(), 1, size_t(linea.GetLength()), stdout);
    std::fputc('\n', stdout);
    AnotarFalloSalida();
}

// A script trusts what a command printed: output that never reached its destination (a full
// disk, a closed pipe) is a failure, never a success.
CString SalidaPerdida() {
    errno = 0;
    const bool vaciada = std::fflush(stdout) == 0 && !std::ferror(stdout);
    const int error = errnoSalida ? errnoSalida : errno;
    errno = 0;
    // Some file systems only report at the close; a descriptor closed before anything was
    // printed has nothing to lose.
    const bool cerrada = std::fclose(stdout) == 0 || errno == EBADF;
    if (!vaciada)
        return error ? DescribirErrno(error) : CString("error de escritura");
    return cerrada ? CString() : DescribirErrno(errno);
}
