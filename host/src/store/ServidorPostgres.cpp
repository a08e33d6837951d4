#include "ServidorPostgres.h"

#include "Modelo/base/Funciones.h"
#include "Modelo/store/DialectoSql.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <libpq-fe.h>
#include <string>
#include <unordered_map>

namespace {

// The lock every writer takes: writers follow one another, as on SQLite, so that what a save
// reads (the time stamp, the counter) is still true when it writes. A server's locks of this
// kind are per database, so the key names the schema too: the program's tables in another
// schema of the same database are another store, whose writers need not wait for these.
constexpr const char* kBloqueoEscritores =
    "SELECT pg_advisory_xact_lock(863871, hashtext(current_schema()))";
// The channel the tables' triggers notify on every change.
constexpr const char* kCanal = "modelo_cambios";
// How many compiled statements a connection keeps; past it they are all dropped.
constexpr size_t kMaxSentencias = 256;

struct Resultado {
    PGresult* r = nullptr;
    Resultado() = default;
    explicit Resultado(PGresult* p) : r(p) {}
    Resultado(Resultado&& o) noexcept : r(o.r) { o.r = nullptr; }
    Resultado& operator=(Resultado&& o) noexcept {
        std::swap(r, o.r);
        return *this;
    }
    ~Resultado() { PQclear(r); }
    ExecStatusType Estado() const { return r ? PQresultStatus(r) : PGRES_FATAL_ERROR; }
    bool Bien() const {
        const ExecStatusType e = Estado();
        return e == PGRES_COMMAND_OK || e == PGRES_TUPLES_OK;
    }
};

// A failed statement's kind, from the class of its SQLSTATE.
FalloBD Clasificar(const char* estado) {
    const std::string_view e = estado ? estado : "";
    if (e.starts_with("08") || e == "57P01" || e == "57P02" || e == "57P03")
        return FalloBD::ConexionPerdida;
    if (e == "40001" || e == "40P01" || e == "55P03" || e == "57014")
        return FalloBD::Ocupada;
    if (e == "53100")
        return FalloBD::DiscoLleno;
    if (e == "25006" || e == "42501")
        return FalloBD::SoloLectura;
    if (e == "XX001" || e == "XX002")
        return FalloBD::Danada;
    if (e.starts_with("53") || e.starts_with("58"))
        return FalloBD::EntradaSalida;
    return FalloBD::Sentencia;
}

bool ConBytesAltos(const CString& t) {
    for (int i = 0; i < t.GetLength(); ++i)
        if (static_cast<unsigned char>(t[i]) >= 0x80)
            return true;
    return false;
}

CString SinSaltoFinal(const char* texto) {
    CString t(texto ? texto : "");
    t.TrimRight();
    t.Replace("\n\t", ". ");
    t.Replace("\n", " ");
    t.Replace("\t", " ");
    return t;
}

} // namespace

struct ServidorPostgres::Impl {
    PGconn* c = nullptr;
    CString uri;
    std::unordered_map<std::string, std::pair<std::string, int>> preparadas; // text -> name, $n
    unsigned siguiente = 0;
    unsigned long long cambiosAjenos = 0;
    unsigned conexiones = 0;
    int soloLectura = -1; // unknown until asked

    [[noreturn]] void Fallar(const Resultado& r, const CString& sql) {
        const char* estado = r.r ? PQresultErrorField(r.r, PG_DIAG_SQLSTATE) : nullptr;
        const CString mensaje = SinSaltoFinal(r.r ? PQresultErrorMessage(r.r) : PQerrorMessage(c));
        FalloBD fallo = Clasificar(estado);
        if (PQstatus(c) == CONNECTION_BAD)
            fallo = FalloBD::ConexionPerdida;
        if (fallo == FalloBD::Sentencia)
            throw CExcepcionBD(mensaje.IsEmpty() ? CString("error del servidor") : mensaje, sql);
        throw CExcepcionBD(fallo, mensaje);
    }

    Resultado Exec(const char* sql) {
        Resultado r(PQexec(c, sql));
        if (!r.Bien())
            Fallar(r, sql);
        return r;
    }

    // What the connection needs before its first statement, again after every reconnection.
    void Preparar() {
        // The server's notices (an index that did not exist, a rollback with nothing open)
        // are not for the person at the terminal.
        PQsetNoticeProcessor(
            c, [](void*, const char*) {}, nullptr);
        preparadas.clear();
        soloLectura = -1;
        ++conexiones;
        Exec("SET client_min_messages = warning; SET lock_timeout = '5s'; "
             "SET standard_conforming_strings = on; SET DateStyle = 'ISO'; "
             "SET extra_float_digits = 1; LISTEN modelo_cambios");
    }

    // A connection dropped between two transactions is made again, so a window left open
    // over a server restart works on; inside a transaction the loss is the caller's to hear.
    void Revivir(bool enTransaccion) {
        if (PQstatus(c) == CONNECTION_OK)
            return;
        if (enTransaccion)
            throw CExcepcionBD(FalloBD::ConexionPerdida,
                               "la conexión con el servidor se ha cortado: " +
                                   SinSaltoFinal(PQerrorMessage(c)));
        PQreset(c);
        if (PQstatus(c) != CONNECTION_OK)
            throw CExcepcionBD(FalloBD::ConexionPerdida, "no se ha podido volver a conectar: " +
                                                             SinSaltoFinal(PQerrorMessage(c)));
        Preparar();
    }
};

ServidorPostgres::ServidorPostgres(const CString& uri) : d_(std::make_unique<Impl>()) {
    d_->uri = uri;
    // Defaults before the URI, which may override them; the encoding after, which it may not.
    const char* claves[] = {"connect_timeout", "application_name", "dbname", "client_encoding",
                            nullptr};
    const char* valores[] = {"10", "modelo", uri.c_str(), "UTF8", nullptr};
    d_->c = PQconnectdbParams(claves, valores, 1);
    if (!d_->c)
        throw CExcepcionBD(FalloBD::NoSeAbre, "sin memoria");
    if (PQstatus(d_->c) != CONNECTION_OK) {
        const CString mensaje = SinSaltoFinal(PQerrorMessage(d_->c));
        const bool pideClave = PQconnectionNeedsPassword(d_->c);
        PQfinish(d_->c);
        d_->c = nullptr;
        // The messages may come in the server's language: whether the server answers at all
        // tells an unreachable server from one that refused this connection.
        if (pideClave)
            throw CExcepcionBD(FalloBD::AutenticacionRechazada, mensaje);
        switch (PQpingParams(claves, valores, 1)) {
        case PQPING_NO_RESPONSE:
        case PQPING_REJECT:
            throw CExcepcionBD(FalloBD::ServidorInalcanzable, mensaje);
        case PQPING_NO_ATTEMPT:
            throw CExcepcionBD(FalloBD::NoSeAbre, mensaje);
        case PQPING_OK:
            break;
        }
        if (mensaje.Find("does not exist") >= 0 && mensaje.Find("database") >= 0)
            throw CExcepcionBD(FalloBD::NoSeAbre, mensaje);
        if (mensaje.Find("too many") >= 0)
            throw CExcepcionBD(FalloBD::Ocupada, mensaje);
        throw CExcepcionBD(FalloBD::AutenticacionRechazada, mensaje);
    }
    // Texts are stored as the bytes given; a server database in another encoding would turn
    // them into something else, or refuse them.
    const char* codificacion = PQparameterStatus(d_->c, "server_encoding");
    if (codificacion && std::strcmp(codificacion, "UTF8") != 0 &&
        std::strcmp(codificacion, "SQL_ASCII") != 0) {
        const CString c(codificacion);
        PQfinish(d_->c);
        d_->c = nullptr;
        throw CExcepcionBD(FalloBD::NoSeAbre,
                           "la base de datos del servidor está en " + c + ", no en UTF-8");
    }
    d_->Preparar();
}

ServidorPostgres::~ServidorPostgres() {
    if (d_->c)
        PQfinish(d_->c);
}

bool ServidorPostgres::Viva() const {
    return d_->c && PQstatus(d_->c) == CONNECTION_OK;
}

void ServidorPostgres::EjecutarScript(const CString& sql, bool enTransaccion) {
    d_->Revivir(enTransaccion);
    for (const CString& sentencia : PartirScript(ConBytesAltos(sql) ? texto::AUtf8(sql) : sql))
        d_->Exec(TraducirParaPostgres(sentencia).texto.c_str());
}

void ServidorPostgres::EjecutarNativo(const CString& sql, bool enTransaccion) {
    d_->Revivir(enTransaccion);
    d_->Exec(sql.c_str());
}

void ServidorPostgres::Consultar(const CString& sql, const std::vector<ValorSql>& parametros,
                                 const std::function<void(const FilaSql&)>& fila,
                                 bool enTransaccion) {
    d_->Revivir(enTransaccion);
    // No types are given: the server reads each value as the place it takes asks, as SQLite
    // takes a number for a text column and a text for a number.
    const auto it = d_->preparadas.find(sql.str());
    const bool nueva = it == d_->preparadas.end();
    if (nueva && d_->preparadas.size() >= kMaxSentencias)
        OlvidarSentencias();
    SentenciaPostgres t;
    if (nueva)
        t = TraducirParaPostgres(sql);
    const std::string nombre = nueva ? "m" + std::to_string(++d_->siguiente) : it->second.first;
    const int esperados = nueva ? t.parametros : it->second.second;
    if (esperados != int(parametros.size()))
        throw CExcepcionBD(CString::Formatted("La sentencia espera %d valores y recibe %d",
                                              esperados, int(parametros.size())),
                           sql);
    std::vector<std::string> textos(parametros.size());
    std::vector<const char*> valores(parametros.size());
    for (size_t i = 0; i < parametros.size(); ++i) {
        const ValorSql& v = parametros[i];
        switch (v.tipo) {
        case ValorSql::Nulo:
            valores[i] = nullptr;
            continue;
        case ValorSql::Texto:
            if (!ConBytesAltos(v.texto)) {
                valores[i] = v.texto.c_str();
                continue;
            }
            // The server keeps text in UTF-8 and refuses any other bytes; a box of an older
            // data file may hold Latin-1, which the program reads as such anyway.
            textos[i] = texto::AUtf8(v.texto).str();
            break;
        case ValorSql::Entero:
            textos[i] = std::to_string(v.entero);
            break;
        case ValorSql::Real: {
            char buf[32];
            const auto r = std::to_chars(buf, buf + sizeof buf, v.real);
            textos[i].assign(buf, r.ptr);
            break;
        }
        }
        valores[i] = textos[i].c_str();
    }
    const int n = int(valores.size());
    Resultado r;
    if (!enTransaccion) {
        if (nueva) {
            Resultado p(PQprepare(d_->c, nombre.c_str(), t.texto.c_str(), 0, nullptr));
            if (!p.Bien())
                d_->Fallar(p, sql);
            d_->preparadas.emplace(sql.str(), std::make_pair(nombre, esperados));
        }
        r = Resultado(
            PQexecPrepared(d_->c, nombre.c_str(), n, valores.data(), nullptr, nullptr, 0));
    } else {
        // Inside a transaction a failed statement (or one the server cannot even compile)
        // aborts the whole of it on the server, where SQLite undoes the statement alone and
        // lets the caller go on: a savepoint around it keeps SQLite's way, sent with it in
        // one round trip.
        PQenterPipelineMode(d_->c);
        PQsendQueryParams(d_->c, "SAVEPOINT modelo_sentencia", 0, nullptr, nullptr, nullptr,
                          nullptr, 0);
        if (nueva)
            PQsendPrepare(d_->c, nombre.c_str(), t.texto.c_str(), 0, nullptr);
        PQsendQueryPrepared(d_->c, nombre.c_str(), n, valores.data(), nullptr, nullptr, 0);
        PQsendQueryParams(d_->c, "RELEASE SAVEPOINT modelo_sentencia", 0, nullptr, nullptr, nullptr,
                          nullptr, 0);
        PQpipelineSync(d_->c);
        Resultado partes[4];
        const int enviadas = nueva ? 4 : 3;
        for (int k = 0; k < enviadas; ++k) {
            partes[k] = Resultado(PQgetResult(d_->c));
            while (PGresult* resto = PQgetResult(d_->c)) // the NULL that ends each command
                PQclear(resto);
        }
        Resultado sincronia(PQgetResult(d_->c));
        PQexitPipelineMode(d_->c);
        if (nueva && partes[1].Bien())
            d_->preparadas.emplace(sql.str(), std::make_pair(nombre, esperados));
        for (int k = 0; k < enviadas; ++k) {
            if (partes[k].Bien())
                continue;
            if (k > 0 && PQstatus(d_->c) == CONNECTION_OK)
                Resultado(PQexec(d_->c, "ROLLBACK TO SAVEPOINT modelo_sentencia; "
                                        "RELEASE SAVEPOINT modelo_sentencia"));
            d_->Fallar(partes[k], sql);
        }
        r = std::move(partes[enviadas - 2]);
    }
    if (!r.Bien())
        d_->Fallar(r, sql);
    if (fila)
        for (int i = 0, filas = PQntuples(r.r); i < filas; ++i)
            fila(FilaSql(r.r, i));
}

void ServidorPostgres::Comenzar(bool escritura) {
    d_->Revivir(false);
    try {
        d_->Exec(escritura ? (std::string("BEGIN; ") + kBloqueoEscritores).c_str()
                           : "BEGIN ISOLATION LEVEL REPEATABLE READ");
    } catch (const CExcepcionBD&) {
        Deshacer(); // a writer that waited too long for the lock is still in its transaction
        throw;
    }
}

void ServidorPostgres::Confirmar() {
    Resultado r(PQexec(d_->c, "COMMIT"));
    if (!r.Bien())
        d_->Fallar(r, "COMMIT");
    // The server answers a commit of a transaction that failed on the way with a rollback.
    if (std::strcmp(PQcmdStatus(r.r), "COMMIT") != 0)
        throw CExcepcionBD(FalloBD::Sentencia,
                           "el servidor ha deshecho la transacción en lugar de confirmarla");
}

void ServidorPostgres::Deshacer() noexcept {
    if (Viva())
        PQclear(PQexec(d_->c, "ROLLBACK"));
}

void ServidorPostgres::Savepoint(const CString& nombre) {
    d_->Revivir(true);
    d_->Exec(("SAVEPOINT " + nombre).c_str());
}

void ServidorPostgres::LiberarSavepoint(const CString& nombre) {
    d_->Revivir(true);
    d_->Exec(("RELEASE SAVEPOINT " + nombre).c_str());
}

void ServidorPostgres::VolverASavepoint(const CString& nombre) noexcept {
    if (Viva())
        PQclear(PQexec(
            d_->c, ("ROLLBACK TO SAVEPOINT " + nombre + "; RELEASE SAVEPOINT " + nombre).c_str()));
}

void ServidorPostgres::OlvidarSentencias() {
    if (!d_->preparadas.empty() && Viva())
        PQclear(PQexec(d_->c, "DEALLOCATE ALL"));
    d_->preparadas.clear();
}

CString ServidorPostgres::MarcaCambios() {
    if (Viva() && PQconsumeInput(d_->c)) {
        const int propio = PQbackendPID(d_->c);
        while (PGnotify* aviso = PQnotifies(d_->c)) {
            if (aviso->be_pid != propio && std::strcmp(aviso->relname, kCanal) == 0)
                ++d_->cambiosAjenos;
            PQfreemem(aviso);
        }
    }
    return CString::Formatted("%u:%llu", d_->conexiones, d_->cambiosAjenos);
}

bool ServidorPostgres::SoloLectura() {
    if (d_->soloLectura < 0 && Viva()) {
        // A standby server, a read-only default, or a user without the right to change the
        // declarations: every change would be refused.
        Resultado r(PQexec(d_->c, "SELECT current_setting('transaction_read_only') = 'on' OR "
                                  "NOT has_table_privilege('declaraciones', 'INSERT')"));
        if (r.Estado() == PGRES_TUPLES_OK && PQntuples(r.r) == 1)
            d_->soloLectura = std::strcmp(PQgetvalue(r.r, 0, 0), "t") == 0;
    }
    return d_->soloLectura == 1;
}
