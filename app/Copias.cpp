// Backups of the database, as both faces offer them.
#include "Copias.h"

#include "Modelo/base/Funciones.h"

#include <filesystem>
#include <system_error>

namespace copias {

namespace {

namespace fs = std::filesystem;

fs::path Real(const CString& ruta) {
    std::error_code ec;
    const fs::path real = fs::weakly_canonical(fs::path(ruta.str()), ec);
    return ec ? fs::path(ruta.str()) : real;
}

// Whether `ruta` names the database or its log, shared memory or journal: a copy written over
// one of them would be taken for the database's own state by the next program to open it.
bool EsDeLaBaseDatos(const CString& ruta, const CString& base) {
    const fs::path r = Real(ruta), b = Real(base);
    for (const char* sufijo : {"", "-wal", "-shm", "-journal"}) {
        const fs::path f = b.string() + sufijo;
        std::error_code ec;
        if (r == f || fs::equivalent(r, f, ec))
            return true;
    }
    return false;
}

} // namespace

void Copiar(CHost& host, const CString& destino) {
    CBaseDatos& db = host.BaseDatos();
    if (destino.IsEmpty())
        throw ErrorUsuario("No se ha indicado el fichero de la copia");
    if (EsDeLaBaseDatos(destino, db.Ruta()))
        throw ErrorUsuario("La copia no puede escribirse sobre la propia base de datos " +
                           CitaBreve(destino, 200));
    std::error_code ec;
    const fs::file_status estado = fs::status(destino.str(), ec);
    if (fs::exists(estado) && !fs::is_regular_file(estado))
        throw ErrorUsuario("La copia ha de ser un fichero: " + CitaBreve(destino, 200) +
                           " no lo es");
    db.CopiarEn(destino);
}

bool Restaurar(CHost& host, const CString& origen, const std::function<bool()>& confirmar) {
    CBaseDatos& db = host.BaseDatos();
    if (origen.IsEmpty())
        throw ErrorUsuario("No se ha indicado el fichero de la copia");
    if (EsDeLaBaseDatos(origen, db.Ruta()))
        throw ErrorUsuario("La copia " + CitaBreve(origen, 200) +
                           " es la propia base de datos; no se ha cambiado nada");
    CBaseDatos copia;
    try {
        copia.AbrirCopia(origen);
        // A damaged copy would put its damage where the good data was.
        copia.ExigirIntegra();
    } catch (const CExcepcionBD& e) {
        throw ErrorUsuario("No se restaura la copia: " + DescribirFalloBD(e, origen));
    }
    if (!confirmar())
        return false;
    db.RestaurarDesde(copia);
    return true;
}

} // namespace copias
