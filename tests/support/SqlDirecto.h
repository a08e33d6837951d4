// A statement run on a database file directly, as another program would: what the tests use to
// look behind the program's back or to damage a file on purpose.
#pragma once

#include <sqlite3.h>
#include <string>

namespace apoyo {

// Every row of the result, its columns one a line (NULL as ""); "" when the file cannot be
// opened or the statement fails.
inline std::string Sql(const std::string& db, const std::string& sql) {
    sqlite3* c = nullptr;
    std::string r;
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
