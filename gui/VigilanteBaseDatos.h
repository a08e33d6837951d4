// Notices another program's change to the database the window shows.
#pragma once

// The code generator of Qt cannot read the C++20 of the host's headers; it needs none of
// them.
#ifndef Q_MOC_RUN
#include "Modelo/store/BaseDatos.h"
#endif

#include <QObject>
#include <QTimer>

// The engine's change counter of this connection moves on every commit of another connection
// and never on our own, whatever the log does meanwhile (a checkpoint, a log removed and made
// again): reading it on a timer costs a look at shared memory a tick, where a watch on the
// files would miss the commits a checkpoint folds away and fire on our own writes.
class VigilanteBaseDatos : public QObject {
    Q_OBJECT
public:
    VigilanteBaseDatos(CBaseDatos& db, int intervaloMs, QObject* parent = nullptr);

    // The database as it is now counts as seen: called right before reading it, so a commit
    // that lands during the read is seen at the next tick.
    void Visto();
    // Looks now (the timer does it on its own).
    void Comprobar();

signals:
    // Another program committed since the last look.
    void CambioAjeno();
    // The counter could not be read: why, as a person has to hear it.
    void Fallo(const QString& motivo);

private:
    struct Marca {
        CString version;
        bool operator==(const Marca&) const = default;
    };
    bool Leer(Marca& marca);

    CBaseDatos& db_;
    QTimer temporizador_;
    Marca vista_;
};
