// The plug-ins write their SQL in the desktop-database dialect: date literals between '#',
// month first (#03-01-23#). The host turns such a text into SQLite's.
#pragma once

#include "Modelo/store/BaseDatos.h"

struct MODELO_API SentenciaSql {
    CString texto;
    std::vector<ValorSql> parametros;
};

// Rewrites every #mm-dd-yy# (or #mm-dd-yyyy#, '/' allowed) date literal as an ISO date
// 'YYYY-MM-DD', reading a two-digit year in a window around the current year. Text inside
// quotes is left alone. With `levantarLiterales`, the literals of the statement (strings,
// numbers, dates) become parameters, so that statements differing only in their values share
// one compiled form; numbers after ORDER BY / GROUP BY (column positions) stay where they are.
MODELO_API SentenciaSql TraducirSqlEscritorio(const CString& sql, bool levantarLiterales);

// The statements of a script, cut at the semicolons that end them (not those inside quotes or
// comments), blank ones left out.
MODELO_API std::vector<CString> PartirScript(const CString& sql);

// A statement of the host's dialect (SQLite's) as a PostgreSQL server reads it: '?' parameters
// numbered ($1, $2...), SQLite's type and function names replaced by the server's, quoted names
// folded as the server folds bare ones, LIKE without regard to case. Text inside string literals
// and comments is left alone.
struct MODELO_API SentenciaPostgres {
    CString texto;
    int parametros = 0;
};
MODELO_API SentenciaPostgres TraducirParaPostgres(const CString& sql);
