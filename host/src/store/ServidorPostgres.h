// The store's engine on a PostgreSQL server, through libpq: one connection, the statements of
// the SQLite dialect translated for the server, compiled once per connection.
#pragma once

#include "Modelo/store/BaseDatos.h"

class ServidorPostgres {
public:
    // Connects to the database the URI names. Throws CExcepcionBD naming what failed: the
    // server unreachable, the authentication refused, the database missing.
    explicit ServidorPostgres(const CString& uri);
    ~ServidorPostgres();
    ServidorPostgres(const ServidorPostgres&) = delete;
    ServidorPostgres& operator=(const ServidorPostgres&) = delete;

    // Runs a script of statements without parameters, one after another, each translated.
    void EjecutarScript(const CString& sql, bool enTransaccion);
    // Runs the server's own SQL as it stands (what only the server has: functions, triggers).
    void EjecutarNativo(const CString& sql, bool enTransaccion);
    // Runs one statement; `fila` sees every row. Inside a transaction a failed statement undoes
    // only its own work, as it does on SQLite, so the transaction may go on.
    void Consultar(const CString& sql, const std::vector<ValorSql>& parametros,
                   const std::function<void(const FilaSql&)>& fila, bool enTransaccion);
    // The outermost transaction. A writer takes the database's write lock first, so that
    // writers follow one another as they do on SQLite: what one reads is what it changes.
    void Comenzar(bool escritura);
    void Confirmar();
    // Undoes the open transaction; quiet, for a destructor.
    void Deshacer() noexcept;
    void Savepoint(const CString& nombre);
    void LiberarSavepoint(const CString& nombre);
    void VolverASavepoint(const CString& nombre) noexcept;
    // Forgets the compiled statements (a loaded script may have changed the tables).
    void OlvidarSentencias();
    // Changes whenever another connection has committed a change since the last call.
    CString MarcaCambios();
    bool SoloLectura();
    // Whether the connection still works.
    bool Viva() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};
