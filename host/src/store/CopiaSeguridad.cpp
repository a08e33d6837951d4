// Backups of the database: a copy written while others go on working, and a copy put back.
#include "Modelo/store/BaseDatos.h"
#include "Modelo/store/FicheroAtomico.h"

#include <cerrno>
#include <sqlite3.h>

namespace {

// A failure writing the copy is the copy's file's: the disk that holds it, its folder.
int ErrnoDeLaCopia(int codigo, int errnoSistema) {
    switch (codigo & 0xFF) {
    case SQLITE_FULL:
        return ENOSPC;
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_IOERR:
        return errnoSistema != 0 ? errnoSistema : EIO;
    }
    return 0;
}

} // namespace

void CBaseDatos::AbrirCopia(const CString& ruta) {
    Cerrar();
    if (ruta.IsEmpty())
        throw CExcepcionBD(FalloBD::NoSeAbre, "no se ha indicado el fichero");
    ruta_ = ruta;
    if (EsUriServidor(ruta)) {
        AbrirServidor(ruta, false);
        return;
    }
    try {
        AbrirParaLeer(ruta);
        switch (QueContiene()) {
        case Contenido::Propia:
            return;
        case Contenido::Vacia:
            throw CExcepcionBD(FalloBD::Ajena, "está vacía");
        case Contenido::Ajena:
            throw CExcepcionBD(FalloBD::Ajena, "es la base de datos de otro programa");
        }
    } catch (const CExcepcionBD& e) {
        Cerrar();
        if ((e.Codigo() & 0xFF) == SQLITE_NOTADB)
            throw CExcepcionBD(FalloBD::Ajena, e.Mensaje(), e.Codigo());
        throw;
    }
}

namespace {
[[noreturn]] void SinCopiasEnServidor() {
    throw CExcepcionBD("Las copias de seguridad de una base de datos del servidor las hace el "
                       "servidor; para llevarla a un fichero use «modelo db copy --from»");
}
} // namespace

void CBaseDatos::CopiarEn(const CString& destino) {
    if (servidor_)
        SinCopiasEnServidor();
    if (!db_)
        throw CExcepcionBD("No hay ninguna base de datos abierta");
    // The engine would copy this connection's own changes not yet committed.
    if (profundidad_ != 0)
        throw CExcepcionBD("No se puede copiar la base de datos en medio de un cambio");
    CFicheroAtomico fichero(destino);
    // A database is written at random places: a pipe or a device cannot hold one.
    if (fichero.Temporal().IsEmpty())
        throw CExcepcionFichero(destino, ESPIPE, fichero.Habia());
    sqlite3* copia = nullptr;
    int rc = sqlite3_open_v2(fichero.Temporal().c_str(), &copia, SQLITE_OPEN_READWRITE, nullptr);
    struct Cierre {
        sqlite3*& db;
        ~Cierre() { sqlite3_close_v2(db); }
    } cierre{copia};
    // The copy is a new file until it takes its name: a journal would protect nothing.
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(copia, "PRAGMA journal_mode = OFF", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_backup* b = sqlite3_backup_init(copia, "main", db_, "main");
        if (!b) {
            rc = sqlite3_extended_errcode(copia);
        } else {
            // In one step: one read of the database, so one moment of it, whatever other
            // programs commit meanwhile.
            rc = sqlite3_backup_step(b, -1);
            const int fin = sqlite3_backup_finish(b);
            rc = rc == SQLITE_DONE ? fin : rc;
        }
    }
    if (rc != SQLITE_OK) {
        const int sistema = copia ? sqlite3_system_errno(copia) : 0;
        if (const int error = ErrnoDeLaCopia(rc, sistema))
            throw CExcepcionFichero(destino, error, fichero.Habia());
        throw CExcepcionBD(CString(copia ? sqlite3_errmsg(copia) : "sin memoria"), "", rc, sistema);
    }
    rc = sqlite3_close(copia);
    copia = nullptr;
    if (rc != SQLITE_OK)
        throw CExcepcionFichero(destino, EIO, fichero.Habia());
    fichero.Confirmar();
}

void CBaseDatos::RestaurarDesde(CBaseDatos& copia) {
    if (servidor_ || copia.servidor_)
        SinCopiasEnServidor();
    if (!db_ || !copia.db_)
        throw CExcepcionBD("No hay ninguna base de datos abierta");
    if (profundidad_ != 0)
        throw CExcepcionBD("No se puede restaurar la base de datos en medio de un cambio");
    ExigirDiarioVigente();
    // Readers share the log of this database, whose pages keep their size.
    const CString paginaCopia = copia.Valor("PRAGMA page_size");
    if (paginaCopia != Valor("PRAGMA page_size") && Valor("PRAGMA journal_mode") == "wal")
        throw CExcepcionBD("la copia tiene páginas de " + paginaCopia +
                           " bytes y esta base de datos de " + Valor("PRAGMA page_size") +
                           "; no se ha cambiado nada");
    sqlite3_backup* b = sqlite3_backup_init(db_, "main", copia.db_, "main");
    if (!b)
        Fallar("", sqlite3_extended_errcode(db_));
    // One step, one write transaction: other programs see the old database or the copy.
    const int rc = sqlite3_backup_step(b, -1);
    const int fin = sqlite3_backup_finish(b);
    if (rc != SQLITE_DONE)
        Fallar("", rc);
    if (fin != SQLITE_OK)
        Fallar("", fin);
    // Opened anew, as any file is: a copy of another version is brought up to this one.
    const CString ruta = ruta_;
    const bool eraActual = Actual() == this;
    Abrir(ruta);
    if (eraActual)
        FijarActual(this);
}
