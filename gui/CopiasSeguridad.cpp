// The window's backups of the database.
#include "CopiasSeguridad.h"

#include "Copias.h"
#include "DialogoFicheros.h"
#include "Modelo/services/Servicios.h"
#include "render/Pagina.h"

#include <QDate>

namespace {

const QString kFiltro = "Bases de datos de Modelo (*.db);;Todos los ficheros (*)";

// The line a person reads about a failure, whoever raised it.
CString Motivo(CHost& host, const std::exception& e) {
    if (const auto* bd = dynamic_cast<const CExcepcionBD*>(&e))
        return DescribirFalloBD(*bd, host.BaseDatos().Ruta());
    return CString(e.what());
}

} // namespace

void HacerCopiaSeguridad(QWidget* padre, CHost& host) {
    const QString ruta = PedirFicheroParaGuardar(
        padre, "Copia de seguridad",
        "modelo-copia-" + QDate::currentDate().toString("yyyy-MM-dd") + ".db", kFiltro);
    if (ruta.isEmpty())
        return;
    try {
        copias::Copiar(host, TextoModelo(ruta));
        AfxServicios().MessageBox("Copia de seguridad escrita en " + TextoModelo(ruta) + ".",
                                  "Copia de seguridad", MB_OK | MB_ICONINFORMATION);
    } catch (const std::exception& e) {
        AfxMessageBox("No se ha hecho la copia de seguridad: " + Motivo(host, e),
                      MB_OK | MB_ICONERROR);
    }
}

bool RestaurarCopiaSeguridad(QWidget* padre, CHost& host,
                             const std::function<bool()>& cerrarDeclaraciones) {
    const QString ruta = PedirFicheroParaAbrir(padre, "Restaurar copia", kFiltro);
    if (ruta.isEmpty())
        return false;
    try {
        return copias::Restaurar(host, TextoModelo(ruta), [&] {
            return AfxMessageBox("¿Sustituir todo el contenido de la base de datos por la copia " +
                                     TextoModelo(ruta) +
                                     "? Las declaraciones abiertas se cerrarán; lo que se haya "
                                     "hecho después de la copia se perderá.",
                                 MB_YESNO | MB_ICONQUESTION) == IDYES &&
                   cerrarDeclaraciones();
        });
    } catch (const std::exception& e) {
        AfxMessageBox("No se ha restaurado la copia: " + Motivo(host, e), MB_OK | MB_ICONERROR);
        return false;
    }
}
