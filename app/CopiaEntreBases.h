// A whole database copied into another one, of either engine: an office moving its SQLite file
// onto its server, or taking the server's database home in a file.
#pragma once

#include "Host.h"

#include <vector>

namespace entrebases {

// A table as the copy left it: its rows, the same on both sides.
struct TablaCopiada {
    CString tabla;
    long long filas = 0;
};

// Replaces every row of every table of `destino` with those of `origen`, in one write
// transaction of `destino` that is committed only once each table reads back the same rows on
// both sides. A destination that holds declarations or parties of its own (the sample parties
// of a new database are not) is refused unless `sobrescribir`. Throws ErrorUsuario, naming the
// table at fault when there is one; `destino` is then as it was.
std::vector<TablaCopiada> Copiar(CBaseDatos& origen, CBaseDatos& destino, bool sobrescribir);

// The host's database into `destino` (a server URI or a file, created when missing). A new file
// that the copy fails to fill is removed again.
std::vector<TablaCopiada> CopiarHacia(CHost& host, const CString& destino, bool sobrescribir);
// `origen` (a server URI or a file of this program) into the host's database.
std::vector<TablaCopiada> CopiarDesde(CHost& host, const CString& origen, bool sobrescribir);

} // namespace entrebases
