// The host's database: tariffs, concepts, parties, code tables, the error catalogue, settings
// and the stored declarations. Either one SQLite file (the embedded default) or a database on a
// PostgreSQL server that an office shares between desks.
#pragma once

#include "Modelo/base/CArray.h"
#include "Modelo/base/CString.h"

#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
struct pg_result;

// What a database failure is, as a person has to hear it: a statement that cannot run is the
// caller's fault; the others are the file's or the machine's, and no retry of the same
// statement would help.
enum class FalloBD {
    Sentencia,     // the statement itself (syntax, constraint, ...)
    Ocupada,       // another program kept the database past the busy timeout
    SoloLectura,   // the file, its folder or its medium cannot be written
    DiscoLleno,    // no space left
    Danada,        // the file is damaged
    Ajena,         // not an SQLite database, or the database of another program
    NoSeAbre,      // the file cannot be opened at all
    EntradaSalida, // the system failed to read or write it
    // Another program removed or replaced the write-ahead log this connection had open: what
    // it wrote there nobody else would see, so the change was refused and the connection
    // opened again on the files as they are now; the same change may simply be retried.
    DiarioPerdido,
    // The server does not answer: not running, wrong host or port, or the network.
    ServidorInalcanzable,
    // The server answered but refused the user or the password.
    AutenticacionRechazada,
    // The connection to the server broke while working: whatever was not committed was undone.
    ConexionPerdida
};

// A database error: what failed, with the engine's message.
class MODELO_API CExcepcionBD : public std::runtime_error {
public:
    // `codigo` is the engine's (extended) result code, `errnoSistema` the system's error behind
    // it when there is one; together they tell what kind of failure this is.
    CExcepcionBD(const CString& mensaje, const CString& sql = "", int codigo = 0,
                 int errnoSistema = 0);
    CExcepcionBD(FalloBD fallo, const CString& mensaje, int codigo = 0);
    CString Mensaje() const { return mensaje_; }
    CString Sql() const { return sql_; }
    int Codigo() const { return codigo_; }
    FalloBD Fallo() const { return fallo_; }

private:
    CString mensaje_, sql_;
    int codigo_;
    FalloBD fallo_;
};

// Whether `destino` names a database on a PostgreSQL server (a postgresql:// or postgres://
// URI) rather than a file.
MODELO_API bool EsUriServidor(const CString& destino);
// `destino` as it may be shown to a person or written to a log: a server URI loses its password.
MODELO_API CString DestinoVisible(const CString& destino);

// The one line a person reads about a failure of the database at `ruta`, in Spanish; for
// every kind but Sentencia it also says that nothing was changed.
MODELO_API CString DescribirFalloBD(const CExcepcionBD& e, const CString& ruta);

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
    FilaSql(const pg_result* resultado, int fila) : resultado_(resultado), fila_(fila) {}
    int Columnas() const;
    CString Nombre(int columna) const;
    CString Texto(int columna) const;
    bool EsNulo(int columna) const;
    long long Entero(int columna) const;

private:
    sqlite3_stmt* stmt_ = nullptr;
    const pg_result* resultado_ = nullptr;
    int fila_ = 0;
};

class ServidorPostgres;

class MODELO_API CBaseDatos {
public:
    CBaseDatos();
    ~CBaseDatos();
    CBaseDatos(const CBaseDatos&) = delete;
    CBaseDatos& operator=(const CBaseDatos&) = delete;

    // How long a reader or a writer waits for another program's write before giving up.
    static constexpr int kEsperaMs = 5000;
    // The stamp of the schema and the error catalogue this build writes (PRAGMA user_version).
    static int VersionEsquema();

    // Opens `ruta`: a file (created if needed) or, for a server URI, the database on the server
    // (whose schema is created in an empty one). Only a new database or one stamped by another
    // version is written to: it gets the schema, the catalogue (and, when new, the seed) in one
    // transaction. A file that cannot be written is opened for reading. Throws CExcepcionBD
    // when the file is not a database of this program or cannot be read.
    void Abrir(const CString& ruta);
    void Cerrar();
    bool EstaAbierta() const { return db_ != nullptr || servidor_ != nullptr; }
    // The file or the server URI it was opened with (a URI may hold a password: show it with
    // DestinoVisible).
    CString Ruta() const { return ruta_; }
    // Whether the database is on a PostgreSQL server.
    bool EnServidor() const { return servidor_ != nullptr; }
    // The program's own tables, each after the tables it references (the order to fill them).
    std::vector<CString> Tablas();
    // A text that changes whenever another connection commits a change to the database: what a
    // window polls to show other programs' work. It reads nothing inside a transaction.
    CString MarcaCambios();
    // Whether changes will be refused (the file, its folder or its medium is read-only, or the
    // disk is too full to share it with writers).
    bool SoloLectura() const;
    // Why, in Spanish, as a person has to hear it ("la carpeta ... no se puede escribir"); ""
    // when the database can be written.
    CString MotivoSoloLectura() const;
    // Throws a FalloBD::Danada error unless the engine's full check of the file passes: before
    // an answer that a damaged file could give without an error ("there is no such row").
    // It reads the whole file, so it is for the path of such an answer only.
    void ExigirIntegra();

    // Opens a copy of a database only to read it, writing nothing to it nor beside it: throws
    // FalloBD::Ajena unless it is a database of this program (of any version) with something
    // in it, as Abrir tells one.
    void AbrirCopia(const CString& ruta);
    // Writes the database as it stands at one moment, while other programs go on writing, to
    // a new file beside `destino` that takes its name only once whole: a failure leaves what
    // was there. Throws CExcepcionFichero for the file, CExcepcionBD for the database.
    void CopiarEn(const CString& destino);
    // Replaces the whole database with an open copy (AbrirCopia), in one transaction that other
    // programs see all at once, then brings a copy of another version up to this one. A
    // failure leaves the database as it was.
    void RestaurarDesde(CBaseDatos& copia);

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

    // All or nothing: commits on Confirmar, rolls back when destroyed without it. The
    // outermost one of a writer takes the write lock at once (waiting for another writer), so
    // what it reads is what it changes and no other program's change slips in between; the
    // outermost one of a reader sees one snapshot. Inner ones are savepoints.
    class MODELO_API Transaccion {
    public:
        enum Modo { Escritura, Lectura };
        explicit Transaccion(CBaseDatos& db, Modo modo = Escritura);
        ~Transaccion();
        void Confirmar();
        Transaccion(const Transaccion&) = delete;
        Transaccion& operator=(const Transaccion&) = delete;

    private:
        CBaseDatos& db_;
        CString nombre_; // empty for the outermost
        Modo modo_;
        unsigned conexion_; // a transaction ends with the connection it began on
        bool abierta_ = true;
    };

    // The database the host application has open; the plug-ins' queries run on it.
    static CBaseDatos* Actual();
    static void FijarActual(CBaseDatos* db);

    // The SQLite connection; null on a server.
    sqlite3* Manejador() const { return db_; }
    // Whether a transaction of this connection is open (a dialog may wait in the middle of one).
    bool EnTransaccion() const { return profundidad_ > 0; }

private:
    sqlite3_stmt* Preparar(const CString& sql);
    [[noreturn]] void Fallar(const CString& sql, int rc);
    // How a connection reaches the file: to read and write; to read, sharing the log with
    // other programs; or to read the file alone, without locks, log or shared memory.
    enum class Acceso { Escritura, Lectura, Inmutable };
    void Conectar(const CString& ruta, Acceso acceso);
    void AbrirParaLeer(const CString& ruta);
    // Whether the write-ahead log this connection has open is still the file at its name.
    bool DiarioVigente();
    // Before a write: when the log is no longer the database's, drops the connection with
    // whatever transaction it has open, connects again and throws FalloBD::DiarioPerdido.
    void ExigirDiarioVigente();
    void Reconectar();
    // Connects to a server; `preparar` creates the schema in an empty database, or brings an
    // older one up to this version, where a copy only to read refuses anything but its own.
    void AbrirServidor(const CString& uri, bool preparar);
    void ActualizarServidor();
    bool Comprobar();
    enum class Contenido { Vacia, Propia, Ajena };
    Contenido QueContiene();
    void Actualizar();
    sqlite3* db_ = nullptr;
    CString ruta_;
    // Why a connection opened for writing cannot write, when the engine alone would say only
    // "read-only".
    FalloBD motivoSoloLectura_ = FalloBD::SoloLectura;
    CString porQueSoloLectura_;
    Acceso acceso_ = Acceso::Escritura;
    int profundidad_ = 0;   // open transactions
    unsigned conexion_ = 0; // counts the connections made, so a transaction knows its own
    struct Cache;
    std::unique_ptr<Cache> cache_;
    std::unique_ptr<ServidorPostgres> servidor_;
};

// A host setting from the settings table; "" when unset.
MODELO_API CString AfxAjuste(const CString& clave);
MODELO_API void AfxFijarAjuste(const CString& clave, const CString& valor);
