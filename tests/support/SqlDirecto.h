// A statement run on a database directly, as another program would: what the tests use to look
// behind the program's back or to damage a database on purpose. A server URI goes to the
// server, anything else is a file.
#pragma once

#include <libpq-fe.h>
#include <sqlite3.h>
#include <string>

namespace apoyo {

// Every row of the result (of the last statement, on a server), its columns one a line (NULL as
// ""); "" when the database cannot be opened or the statement fails.
inline std::string Sql(const std::string& db, const std::string& sql) {
    std::string r;
    if (db.rfind("postgresql://", 0) == 0 || db.rfind("postgres://", 0) == 0) {
        PGconn* c = PQconnectdb(db.c_str());
        if (PQstatus(c) == CONNECTION_OK) {
            PGresult* res = PQexec(c, sql.c_str());
            if (PQresultStatus(res) == PGRES_TUPLES_OK)
                for (int f = 0; f < PQntuples(res); ++f)
                    for (int k = 0; k < PQnfields(res); ++k)
                        r += std::string(PQgetvalue(res, f, k)) + "\n";
            PQclear(res);
        }
        PQfinish(c);
        return r;
    }
    sqlite3* c = nullptr;
    if (sqlite3_open(db.c_str(), &c) == SQLITE_OK)
        sqlite3_exec(
            c, sql.c_str(),
            [](void* p, int n, char** v, char**) {
                for (int i = 0; i < n; ++i)
                    *static_cast<std::string*>(p) += std::string(v[i] ? v[i] : "") + "\n";
                return 0;
            },
            &r, nullptr);
    sqlite3_close(c);
    return r;
}

} // namespace apoyo
