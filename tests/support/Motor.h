// Which engine the store tests run on. The same test binaries run twice: on SQLite files, and
// with MODELO_PRUEBA_SERVIDOR naming a throw-away PostgreSQL server, on that server.
#pragma once

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <libpq-fe.h>
#include <random>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace apoyo {

// The URI of the test server, "" when the tests run on files.
inline std::string Servidor() {
    const char* s = std::getenv("MODELO_PRUEBA_SERVIDOR");
    return s ? s : "";
}

inline bool EnServidor() {
    return !Servidor().empty();
}

// A new, empty database for one test: a file in `carpeta` on SQLite; on the server, a schema of
// its own in the test database, named by the URI's search path so that nothing the test does
// meets another test's tables. A server that cannot be reached fails the test: it is never a
// reason to skip it.
inline std::string BaseNueva(const std::filesystem::path& carpeta,
                             const std::string& nombre = "prueba.db") {
    if (!EnServidor())
        return (carpeta / nombre).string();
    static std::atomic<unsigned> cuenta{0};
    static const unsigned azar = std::random_device{}();
    const std::string esquema = "prueba_" + std::to_string(getpid()) + "_" +
                                std::to_string(azar % 100000) + "_" + std::to_string(++cuenta);
    PGconn* c = PQconnectdb(Servidor().c_str());
    const bool conectada = PQstatus(c) == CONNECTION_OK;
    std::string error = PQerrorMessage(c);
    if (conectada) {
        PGresult* r = PQexec(c, ("CREATE SCHEMA " + esquema).c_str());
        if (PQresultStatus(r) != PGRES_COMMAND_OK)
            error = PQresultErrorMessage(r);
        else
            error.clear();
        PQclear(r);
    }
    PQfinish(c);
    if (!error.empty())
        throw std::runtime_error("el servidor de pruebas " + Servidor() + " no responde: " + error);
    const std::string uri = Servidor();
    return uri + (uri.find('?') == std::string::npos ? "?" : "&") + "options=-csearch_path%3D" +
           esquema;
}

} // namespace apoyo

// A test about the database FILE itself (its mode, its log, its disk, its bytes, a copy of it):
// a database on a server has none of these.
#define SOLO_EN_FICHERO(motivo)                                                                    \
    if (apoyo::EnServidor())                                                                       \
    GTEST_SKIP() << "about the database file, which a server does not have: " << (motivo)
