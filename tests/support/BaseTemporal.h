// A real database for a test (a file, or a schema of its own on the test server), installed as
// the host's open database, with the user services recorded instead of shown.
#pragma once

#include "Modelo/store/BaseDatos.h"
#include "Modelo/windows/ServiciosGrabados.h"
#include "support/Apoyo.h"
#include "support/Motor.h"

struct BaseTemporal {
    apoyo::CarpetaTemporal tmp;
    CBaseDatos db;
    CServiciosGrabados ui;

    BaseTemporal() {
        db.Abrir(apoyo::BaseNueva(tmp.Ruta()).c_str());
        CBaseDatos::FijarActual(&db);
        AfxFijarServicios(&ui);
    }
    ~BaseTemporal() {
        CBaseDatos::FijarActual(nullptr);
        AfxFijarServicios(nullptr);
        Reloj::Fijar({});
    }
};
