// The host's local database: one SQLite file holding tariffs, concepts, parties, code tables,
// the error catalogue, settings and the stored declarations.
#pragma once

#include "Modelo/CArray.h"
#include "Modelo/CString.h"

#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// A database error: what failed, with the engine's message.
class MODELO_API CExcepcionBD : public std::runtime_error {
public:
    CExcepcionBD(const CString& mensaje, const CString& sql = "", int codigo = 0);
    CString Mensaje() const { return mensaje_; }
    CString Sql() const { return sql_; }
    int Codigo() const { return codigo_; }

private:
    CString mensaje_, sql_;
    int codigo_;
};

// A value bound to a statement parameter: text, integer, real or NULL.
struct MODELO_API ValorSql {
    enum Tipo { Nulo, Texto, Entero, Real } tipo = Nulo;
    CString texto;
    long long entero = 0;
    double real = 0;

    ValorSql() = default;
    ValorSql(const CString& t) : tipo(Texto), texto(t) {}
    ValorSql(const char* t) : tipo(Texto), texto(t) {}
    ValorSql(int i) : tipo(Entero), entero(i) {}
    ValorSql(long long i) : tipo(Entero), entero(i) {}
    ValorSql(double d) : tipo(Real), real(d) {}
};

// One row of a result: every column read back as text (NULL reads as "").
class MODELO_API FilaSql {
public:
    explicit FilaSql(sqlite3_stmt* stmt) : stmt_(stmt) {}
    int Columnas() const;
    CString Nombre(int columna) const;
    CString Texto(int columna) const;
    bool EsNulo(int columna) const;
    long long Entero(int columna) const;

private:
    sqlite3_stmt* stmt_;
};

class MODELO_API CBaseDatos {
public:
    CBaseDatos();
    ~CBaseDatos();
    CBaseDatos(const CBaseDatos&) = delete;
    CBaseDatos& operator=(const CBaseDatos&) = delete;

    // Opens (creating if needed) the file and brings its schema up to date; a new database is
    // seeded. Throws CExcepcionBD when the file is not a database of this program.
    void Abrir(const CString& ruta);
    void Cerrar();
    bool EstaAbierta() const { return db_ != nullptr; }
    CString Ruta() const { return ruta_; }

    // Runs a script of statements. Throws on the first failing statement, naming it.
    void EjecutarScript(const CString& sql);
    // A user's script, all or nothing: one transaction that the script may not end or leave.
    void CargarScript(const CString& sql);
    // Runs one statement with parameters; calls `fila` for every row it returns.
    void Consultar(const CString& sql, const std::vector<ValorSql>& parametros,
                   const std::function<void(const FilaSql&)>& fila = {});
    void Ejecutar(const CString& sql, const std::vector<ValorSql>& parametros = {}) {
        Consultar(sql, parametros);
    }
    // The first column of the first row, or `siNo` when there is no row.
    CString Valor(const CString& sql, const std::vector<ValorSql>& parametros = {},
                  const CString& siNo = "");

    // All or nothing: commits on Confirmar, rolls back when destroyed without it.
    class MODELO_API Transaccion {
    public:
        explicit Transaccion(CBaseDatos& db);
        ~Transaccion();
        void Confirmar();
        Transaccion(const Transaccion&) = delete;
        Transaccion& operator=(const Transaccion&) = delete;

    private:
        CBaseDatos& db_;
        CString nombre_;
        bool hecha_ = false;
    };

    // The database the host application has open; the plug-ins' queries run on it.
    static CBaseDatos* Actual();
    static void FijarActual(CBaseDatos* db);

    sqlite3* Manejador() const { return db_; }

private:
    sqlite3_stmt* Preparar(const CString& sql);
    void Crear();
    sqlite3* db_ = nullptr;
    CString ruta_;
    int profundidad_ = 0; // open transactions
    struct Cache;
    std::unique_ptr<Cache> cache_;
};

// A host setting from the settings table; "" when unset.
MODELO_API CString AfxAjuste(const CString& clave);
MODELO_API void AfxFijarAjuste(const CString& clave, const CString& valor);
