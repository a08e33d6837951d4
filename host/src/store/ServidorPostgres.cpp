#include "ServidorPostgres.h"

#include <libpq-fe.h>

struct ServidorPostgres::Impl {
    PGconn* conexion = nullptr;
};

ServidorPostgres::ServidorPostgres(const CString& uri) : d_(std::make_unique<Impl>()) {
    throw CExcepcionBD(FalloBD::NoSeAbre,
                       "el servidor " + DestinoVisible(uri) + " aún no se admite");
}

ServidorPostgres::~ServidorPostgres() {
    if (d_ && d_->conexion)
        PQfinish(d_->conexion);
}

CString ServidorPostgres::MarcaCambios() {
    return CString();
}
