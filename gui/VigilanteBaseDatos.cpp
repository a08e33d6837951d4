#include "VigilanteBaseDatos.h"

#include "render/Pagina.h"

VigilanteBaseDatos::VigilanteBaseDatos(CBaseDatos& db, int intervaloMs, QObject* parent)
    : QObject(parent), db_(db) {
    connect(&temporizador_, &QTimer::timeout, this, &VigilanteBaseDatos::Comprobar);
    temporizador_.start(intervaloMs);
    Visto();
}

bool VigilanteBaseDatos::Leer(Marca& marca) {
    // Inside our own open transaction (a dialog waiting in the middle of a save or an import)
    // the database is half way through a change of ours: the look waits for the next tick.
    if (!db_.EstaAbierta() || db_.EnTransaccion())
        return false;
    try {
        marca = {db_.MarcaCambios()};
        return true;
    } catch (const CExcepcionBD& e) {
        emit Fallo(TextoQt(DescribirFalloBD(e, db_.Ruta())));
        return false;
    }
}

void VigilanteBaseDatos::Visto() {
    Marca m;
    if (Leer(m))
        vista_ = m;
}

void VigilanteBaseDatos::Comprobar() {
    Marca m;
    if (!Leer(m) || m == vista_)
        return;
    vista_ = m;
    emit CambioAjeno();
}
