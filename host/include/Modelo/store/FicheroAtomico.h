// Files the program writes for a person (images, PDF, exports): whole or not at all.
#pragma once

#include "Modelo/base/CString.h"

#include <cstddef>
#include <stdexcept>
#include <string_view>

// A file that could not be written. The message is one Spanish line that names the file, says
// why, and says that the file that was there is still as it was.
class MODELO_API CExcepcionFichero : public std::runtime_error {
public:
    CExcepcionFichero(const CString& ruta, int errnoSistema, bool habia);
    CString Ruta() const { return ruta_; }
    int Errno() const { return errno_; }

private:
    CString ruta_;
    int errno_;
};

// Writes a file so that it is replaced in one step or not at all: the bytes go to a temporary
// file in the same folder, every write and the close are checked, the data is synced, and only
// then does the temporary file take the target's name (a replaced file keeps its permissions).
// Destroyed without Confirmar, or after any failure, it removes the temporary file and the
// target is untouched.
//
// A target that is not a regular file (a terminal, a pipe, /dev/null, /dev/full) cannot be
// replaced: it is written in place, every write still checked.
class MODELO_API CFicheroAtomico {
public:
    explicit CFicheroAtomico(const CString& ruta);
    ~CFicheroAtomico();
    CFicheroAtomico(const CFicheroAtomico&) = delete;
    CFicheroAtomico& operator=(const CFicheroAtomico&) = delete;

    void Escribir(const void* datos, size_t bytes);
    void Escribir(std::string_view datos) { Escribir(datos.data(), datos.size()); }
    // Syncs, closes and renames: afterwards the target holds exactly what was written.
    void Confirmar();
    // The file being written, for a writer that opens it by name (the database engine); ""
    // when the target is written in place.
    CString Temporal() const { return temporal_; }
    // Whether there was a file at the target, which a failure leaves as it was.
    bool Habia() const { return habia_; }

private:
    [[noreturn]] void Fallar(int error);
    CString ruta_, temporal_; // temporal_ empty when writing in place
    int fd_ = -1;
    bool habia_ = false; // whether there was a file to keep
};

// Why the system refused a write, as a person reads it ("no queda espacio en el disco").
MODELO_API CString DescribirErrno(int error);

// The whole file in one call; throws CExcepcionFichero.
MODELO_API void EscribirFicheroAtomico(const CString& ruta, std::string_view contenido);
