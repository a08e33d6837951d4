#include "Modelo/BaseDatos.h"

#include "EsquemaSql.h"

#include <charconv>
#include <cstring>
#include <sqlite3.h>
#include <string>
#include <unordered_map>

CExcepcionBD::CExcepcionBD(const CString& mensaje, const CString& sql, int codigo)
    : std::runtime_error(mensaje.str()), mensaje_(mensaje), sql_(sql), codigo_(codigo) {}

// ----- rows -------------------------------------------------------------------------------------

int FilaSql::Columnas() const {
    return sqlite3_column_count(stmt_);
}

CString FilaSql::Nombre(int columna) const {
    const char* n = sqlite3_column_name(stmt_, columna);
    return CString(n ? n : "");
}

CString FilaSql::Texto(int columna) const {
    // A real is written as the shortest text that reads back as the same number ("1000.01",
    // "0"): exact, and far cheaper than the engine's own formatting.
    if (sqlite3_column_type(stmt_, columna) == SQLITE_FLOAT) {
        char buf[32];
        const auto r = std::to_chars(buf, buf + sizeof buf, sqlite3_column_double(stmt_, columna));
        return CString(buf, int(r.ptr - buf));
    }
    const unsigned char* t = sqlite3_column_text(stmt_, columna);
    if (!t)
        return CString();
    return CString(reinterpret_cast<const char*>(t), sqlite3_column_bytes(stmt_, columna));
}

bool FilaSql::EsNulo(int columna) const {
    return sqlite3_column_type(stmt_, columna) == SQLITE_NULL;
}

long long FilaSql::Entero(int columna) const {
    return sqlite3_column_int64(stmt_, columna);
}

// ----- database ---------------------------------------------------------------------------------

// Compiling a statement costs far more than running it, and the host runs the same texts over
// and over (a quota per imported document), so compiled statements are kept by their text.
struct CBaseDatos::Cache {
    std::unordered_map<std::string, sqlite3_stmt*> sentencias;
    // The last statement asked for: a loop asks for the same text again and again.
    const std::string* ultimoTexto = nullptr;
    sqlite3_stmt* ultima = nullptr;
    void Vaciar() {
        for (auto& [texto, stmt] : sentencias)
            sqlite3_finalize(stmt);
        sentencias.clear();
        ultimoTexto = nullptr;
        ultima = nullptr;
    }
};

namespace {
CBaseDatos* actual = nullptr;
constexpr size_t kMaxSentencias = 256;
} // namespace

CBaseDatos::CBaseDatos() : cache_(std::make_unique<Cache>()) {}

CBaseDatos::~CBaseDatos() {
    Cerrar();
}

CBaseDatos* CBaseDatos::Actual() {
    return actual;
}
void CBaseDatos::FijarActual(CBaseDatos* db) {
    actual = db;
}

void CBaseDatos::Abrir(const CString& ruta) {
    Cerrar();
    sqlite3* db = nullptr;
    const int rc =
        sqlite3_open_v2(ruta.c_str(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        CString msg = db ? CString(sqlite3_errmsg(db)) : CString("sin memoria");
        sqlite3_close(db);
        throw CExcepcionBD("No se puede abrir la base de datos " + ruta + ": " + msg, "", rc);
    }
    // One connection, used by the user-interface thread only: no engine mutexes needed.
    db_ = db;
    ruta_ = ruta;
    sqlite3_busy_timeout(db_, 2000);
    try {
        // A file that is not a database fails here, before anything is written to it.
        Valor("PRAGMA schema_version");
        EjecutarScript("PRAGMA foreign_keys = ON");
        Crear();
    } catch (const CExcepcionBD& e) {
        Cerrar();
        throw CExcepcionBD("El fichero " + ruta + " no es una base de datos válida de Modelo (" +
                               e.Mensaje() + ")",
                           e.Sql(), e.Codigo());
    }
}

void CBaseDatos::Cerrar() {
    if (!db_)
        return;
    cache_->Vaciar();
    sqlite3_close_v2(db_);
    db_ = nullptr;
    if (actual == this)
        actual = nullptr;
}

// The schema is idempotent and runs on every open, and so does the error catalogue (program
// text); the sample data goes into a new database only, so a user's own tariffs and parties
// are never overwritten.
void CBaseDatos::Crear() {
    Transaccion t(*this);
    const bool propia = Valor("SELECT count(*) FROM sqlite_master WHERE name = 'AJUSTES'") != "0";
    const bool vacia = Valor("SELECT count(*) FROM sqlite_master") == "0";
    if (!propia && !vacia)
        throw CExcepcionBD("es la base de datos de otro programa");
    const bool nueva = vacia;
    EjecutarScript(sql::kEsquema);
    if (nueva)
        EjecutarScript(sql::kSemilla);
    EjecutarScript(sql::kCatalogo);
    t.Confirmar();
}

void CBaseDatos::EjecutarScript(const CString& sql) {
    if (!db_)
        throw CExcepcionBD("No hay ninguna base de datos abierta", sql);
    // The engine reads a script up to its first NUL: whatever follows would be dropped unseen.
    if (const int nul = sql.Find('\0'); nul >= 0)
        throw CExcepcionBD(
            CString::Formatted("El texto SQL tiene un byte nulo en la posición %d", nul));
    const char* resto = sql.c_str();
    while (resto && *resto) {
        sqlite3_stmt* stmt = nullptr;
        const char* siguiente = nullptr;
        int rc = sqlite3_prepare_v2(db_, resto, -1, &stmt, &siguiente);
        if (rc != SQLITE_OK) {
            // The engine does not say where a statement it cannot read ends: name it up to
            // its semicolon.
            const char* fin = std::strchr(resto, ';');
            CString texto(resto, fin ? int(fin - resto) : int(std::strlen(resto)));
            throw CExcepcionBD(CString(sqlite3_errmsg(db_)), texto.Trim(), rc);
        }
        const CString texto(resto, int(siguiente - resto));
        if (stmt) {
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            }
            sqlite3_finalize(stmt);
            if (rc != SQLITE_DONE)
                throw CExcepcionBD(CString(sqlite3_errmsg(db_)), CString(texto).Trim(), rc);
        }
        resto = siguiente;
    }
}

namespace {
// A loaded script runs inside the host's own transaction: a statement that would end it or
// open another, or reach another database file, is refused before it runs.
int SoloDentroDeLaCarga(void*, int accion, const char*, const char*, const char*, const char*) {
    switch (accion) {
    case SQLITE_TRANSACTION:
    case SQLITE_SAVEPOINT:
    case SQLITE_ATTACH:
    case SQLITE_DETACH:
        return SQLITE_DENY;
    }
    return SQLITE_OK;
}
} // namespace

void CBaseDatos::CargarScript(const CString& sql) {
    Transaccion t(*this);
    cache_->Vaciar(); // statements compiled before the load could outlive a schema change
    {
        sqlite3_set_authorizer(db_, SoloDentroDeLaCarga, nullptr);
        struct Quitar {
            sqlite3* db;
            ~Quitar() { sqlite3_set_authorizer(db, nullptr, nullptr); }
        } quitar{db_};
        EjecutarScript(sql);
    }
    t.Confirmar();
}

sqlite3_stmt* CBaseDatos::Preparar(const CString& sql) {
    if (!db_)
        throw CExcepcionBD("No hay ninguna base de datos abierta", sql);
    if (cache_->ultimoTexto && *cache_->ultimoTexto == sql.str())
        return cache_->ultima;
    auto it = cache_->sentencias.find(sql.str());
    if (it != cache_->sentencias.end()) {
        cache_->ultimoTexto = &it->first;
        cache_->ultima = it->second;
        return it->second;
    }
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v2(db_, sql.c_str(), sql.GetLength() + 1, &stmt, nullptr);
    if (rc != SQLITE_OK || !stmt) {
        sqlite3_finalize(stmt);
        throw CExcepcionBD(CString(sqlite3_errmsg(db_)), sql, rc);
    }
    if (cache_->sentencias.size() >= kMaxSentencias)
        cache_->Vaciar();
    cache_->sentencias.emplace(sql.str(), stmt);
    return stmt;
}

void CBaseDatos::Consultar(const CString& sql, const std::vector<ValorSql>& parametros,
                           const std::function<void(const FilaSql&)>& fila) {
    sqlite3_stmt* stmt = Preparar(sql);
    struct Reinicio {
        sqlite3_stmt* s;
        ~Reinicio() {
            sqlite3_reset(s);
            sqlite3_clear_bindings(s);
        }
    } reinicio{stmt};
    if (sqlite3_bind_parameter_count(stmt) != int(parametros.size()))
        throw CExcepcionBD(CString::Formatted("La sentencia espera %d valores y recibe %d",
                                              sqlite3_bind_parameter_count(stmt),
                                              int(parametros.size())),
                           sql);
    // The values live until the statement is reset, so the engine need not copy them.
    for (size_t i = 0; i < parametros.size(); ++i) {
        const ValorSql& v = parametros[i];
        const int n = int(i + 1);
        switch (v.tipo) {
        case ValorSql::Nulo:
            sqlite3_bind_null(stmt, n);
            break;
        case ValorSql::Texto:
            sqlite3_bind_text(stmt, n, v.texto.c_str(), v.texto.GetLength(), SQLITE_STATIC);
            break;
        case ValorSql::Entero:
            sqlite3_bind_int64(stmt, n, v.entero);
            break;
        case ValorSql::Real:
            sqlite3_bind_double(stmt, n, v.real);
            break;
        }
    }
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        if (fila)
            fila(FilaSql(stmt));
    if (rc != SQLITE_DONE)
        throw CExcepcionBD(CString(sqlite3_errmsg(db_)), sql, rc);
}

CString CBaseDatos::Valor(const CString& sql, const std::vector<ValorSql>& parametros,
                          const CString& siNo) {
    CString out = siNo;
    bool primera = true;
    Consultar(sql, parametros, [&](const FilaSql& f) {
        if (primera)
            out = f.Texto(0);
        primera = false;
    });
    return out;
}

// Savepoints, so that a transaction may hold others: an inner one that fails undoes only its
// own work unless its caller lets the failure through.
CBaseDatos::Transaccion::Transaccion(CBaseDatos& db) : db_(db) {
    nombre_ = CString::Formatted("t%d", db_.profundidad_);
    db_.EjecutarScript("SAVEPOINT " + nombre_);
    ++db_.profundidad_;
}

CBaseDatos::Transaccion::~Transaccion() {
    if (hecha_ || !db_.db_)
        return;
    --db_.profundidad_;
    const CString sql = "ROLLBACK TO " + nombre_ + "; RELEASE " + nombre_;
    sqlite3_exec(db_.db_, sql.c_str(), nullptr, nullptr, nullptr);
}

void CBaseDatos::Transaccion::Confirmar() {
    db_.EjecutarScript("RELEASE " + nombre_);
    --db_.profundidad_;
    hecha_ = true;
}

// ----- settings ---------------------------------------------------------------------------------

CString AfxAjuste(const CString& clave) {
    CBaseDatos* db = CBaseDatos::Actual();
    if (!db)
        return CString();
    return db->Valor("SELECT VALOR FROM AJUSTES WHERE CLAVE = ?", {clave});
}

void AfxFijarAjuste(const CString& clave, const CString& valor) {
    CBaseDatos* db = CBaseDatos::Actual();
    if (!db)
        throw CExcepcionBD("No hay ninguna base de datos abierta");
    db->Ejecutar("INSERT INTO AJUSTES (CLAVE, VALOR) VALUES (?, ?) "
                 "ON CONFLICT (CLAVE) DO UPDATE SET VALOR = excluded.VALOR",
                 {clave, valor});
}
