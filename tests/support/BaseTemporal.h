// A real database file for a test, installed as the host's open database, with the user
// services recorded instead of shown.
#pragma once

#include "Modelo/store/BaseDatos.h"
#include "Modelo/windows/ServiciosGrabados.h"
#include "support/Apoyo.h"

struct BaseTemporal {
    apoyo::CarpetaTemporal tmp;
    CBaseDatos db;
    CServiciosGrabados ui;

    BaseTemporal() {
        db.Abrir(tmp / "prueba.db");
        CBaseDatos::FijarActual(&db);
        AfxFijarServicios(&ui);
    }
    ~BaseTemporal() {
        CBaseDatos::FijarActual(nullptr);
        AfxFijarServicios(nullptr);
        Reloj::Fijar({});
    }
};
