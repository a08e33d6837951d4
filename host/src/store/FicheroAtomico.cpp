#include "Modelo/store/FicheroAtomico.h"

#include "Modelo/base/Funciones.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

CString DescribirErrno(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return "no queda espacio en el disco";
    case EROFS:
        return "el disco es de sólo lectura";
    case EACCES:
    case EPERM:
        return "no hay permiso para escribir ahí";
    case ENOENT:
        return "la carpeta no existe";
    case ENOTDIR:
        return "una parte de la ruta no es una carpeta";
    case EISDIR:
        return "es una carpeta";
    case EIO:
        return "error de entrada o salida del disco";
    case ENAMETOOLONG:
        return "el nombre es demasiado largo";
    }
    return CString::Formatted("error del sistema %d, %s", error, std::strerror(error));
}

namespace {

CString Carpeta(const CString& ruta) {
    const int barra = ruta.ReverseFind('/');
    if (barra < 0)
        return ".";
    return barra == 0 ? CString("/") : ruta.Left(barra);
}

CString Nombre(const CString& ruta) {
    return ruta.Mid(ruta.ReverseFind('/') + 1);
}

// The whole buffer, through short writes and interruptions; false with errno set otherwise.
bool EscribirTodo(int fd, const char* p, size_t n) {
    while (n > 0) {
        const ssize_t hecho = ::write(fd, p, n);
        if (hecho < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (hecho == 0) {
            errno = EIO;
            return false;
        }
        p += hecho;
        n -= size_t(hecho);
    }
    return true;
}

// A symbolic link stays a link: what it points to is what gets replaced.
CString Destino(const CString& ruta) {
    struct stat st {};
    if (lstat(ruta.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return ruta;
    char* real = realpath(ruta.c_str(), nullptr);
    if (!real)
        return ruta; // a dangling link is replaced itself
    CString r(real);
    std::free(real);
    return r;
}

} // namespace

CExcepcionFichero::CExcepcionFichero(const CString& ruta, int errnoSistema, bool habia)
    : std::runtime_error(
          ("No se puede escribir el fichero " + CitaBreve(ruta, 200) + ": " +
           DescribirErrno(errnoSistema) +
           (habia ? "; el fichero que había sigue como estaba" : "; no se ha escrito nada"))
              .str()),
      ruta_(ruta), errno_(errnoSistema) {}

CFicheroAtomico::CFicheroAtomico(const CString& ruta) : ruta_(ruta) {
    if (ruta_.IsEmpty())
        Fallar(ENOENT);
    ruta_ = Destino(ruta_);
    struct stat st {};
    const bool existe = stat(ruta_.c_str(), &st) == 0;
    if (existe && S_ISDIR(st.st_mode))
        Fallar(EISDIR);
    habia_ = existe;
    if (existe && !S_ISREG(st.st_mode)) {
        fd_ = ::open(ruta_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (fd_ < 0)
            Fallar(errno);
        return;
    }
    // Hidden beside the target, in the same file system, so that the rename is one step.
    std::random_device azar;
    const CString base = Carpeta(ruta_) + "/." + Nombre(ruta_) + ".";
    for (int intento = 0; fd_ < 0 && intento < 100; ++intento) {
        temporal_ = base + CString::Formatted("%08x", unsigned(azar())) + ".tmp";
        // The mode asked for passes through the umask, as for any new file of the user.
        fd_ = ::open(temporal_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) {
            temporal_.Empty();
            Fallar(errno);
        }
    }
    if (fd_ < 0) {
        temporal_.Empty();
        Fallar(EEXIST);
    }
    if (existe && fchmod(fd_, st.st_mode & 07777) != 0)
        Fallar(errno);
}

CFicheroAtomico::~CFicheroAtomico() {
    if (fd_ >= 0)
        ::close(fd_);
    if (!temporal_.IsEmpty())
        ::unlink(temporal_.c_str());
}

void CFicheroAtomico::Fallar(int error) {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!temporal_.IsEmpty())
        ::unlink(temporal_.c_str());
    temporal_.Empty();
    throw CExcepcionFichero(ruta_, error, habia_);
}

void CFicheroAtomico::Escribir(const void* datos, size_t bytes) {
    if (fd_ < 0)
        Fallar(EBADF);
    if (!EscribirTodo(fd_, static_cast<const char*>(datos), bytes))
        Fallar(errno);
}

void CFicheroAtomico::Confirmar() {
    if (fd_ < 0)
        Fallar(EBADF);
    const bool enSuSitio = temporal_.IsEmpty();
    // A pipe or a terminal cannot be synced; a disk file must be, or a crash right after the
    // rename could leave an empty file under the target's name.
    if (!enSuSitio && fsync(fd_) != 0)
        Fallar(errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        Fallar(errno);
    if (enSuSitio)
        return;
    if (std::rename(temporal_.c_str(), ruta_.c_str()) != 0)
        Fallar(errno);
    temporal_.Empty();
    // The rename itself reaches the disk with the folder. The file is in place already, so a
    // folder that cannot be synced (some file systems refuse) is not a failure to write it.
    const int carpeta = ::open(Carpeta(ruta_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (carpeta >= 0) {
        fsync(carpeta);
        ::close(carpeta);
    }
}

void EscribirFicheroAtomico(const CString& ruta, std::string_view contenido) {
    CFicheroAtomico f(ruta);
    f.Escribir(contenido);
    f.Confirmar();
}
