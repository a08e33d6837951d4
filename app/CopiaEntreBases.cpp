// A whole database copied into another one, of either engine.
#include "CopiaEntreBases.h"

#include "Modelo/base/Funciones.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <unistd.h>

namespace entrebases {

namespace {

namespace fs = std::filesystem;

// Both engines take a few hundred values in one statement; a row at a time would cost a
// server a round trip per row.
constexpr size_t kValoresPorSentencia = 900;

using Valor = std::optional<std::string>; // nullopt is NULL, which no text equals
using Fila = std::vector<Valor>;

CString Cita(const CString& destino) {
    return CitaBreve(DestinoVisible(destino), 200);
}

const char* const kNadaCambiado = "; no se ha copiado nada y el destino sigue como estaba";

// A failure of the destination while it is written, told apart from one of the origin while it
// is read, since both happen inside the same loop.
struct FalloDestino {
    CExcepcionBD error;
};

template <class F> auto EnDestino(F&& f) {
    try {
        return f();
    } catch (const CExcepcionBD& e) {
        throw FalloDestino{e};
    }
}

ErrorUsuario FalloDeTabla(const CString& tabla, const CExcepcionBD& e, const CBaseDatos& db,
                          const char* lado) {
    if (e.Fallo() == FalloBD::Sentencia)
        return ErrorUsuario(CString("La tabla ") + tabla + " no se ha podido copiar: " + lado +
                            " " + Cita(db.Ruta()) + " la rechaza (" + CitaBreve(e.Mensaje(), 300) +
                            ")" + kNadaCambiado);
    return ErrorUsuario(CString("La tabla ") + tabla +
                        " no se ha podido copiar: " + DescribirFalloBD(e, db.Ruta()));
}

// The columns whose values are numbers of the engine's floating point: their text may differ
// between engines ("1.0", "1") while the number is the same.
std::set<std::string> ColumnasReales(CBaseDatos& db, const CString& tabla) {
    std::set<std::string> reales;
    const auto anotar = [&](const FilaSql& f) {
        CString nombre = f.Texto(0);
        reales.insert(nombre.MakeUpper().str());
    };
    if (db.EnServidor())
        db.Consultar("SELECT column_name FROM information_schema.columns "
                     "WHERE table_schema = current_schema() AND upper(table_name) = upper(?) "
                     "AND data_type IN ('real', 'double precision', 'numeric')",
                     {tabla}, anotar);
    else
        db.Consultar("SELECT name FROM pragma_table_info(?) WHERE upper(type) LIKE '%REAL%' "
                     "OR upper(type) LIKE '%FLOA%' OR upper(type) LIKE '%DOUB%'",
                     {tabla}, anotar);
    return reales;
}

// A number as one text whatever engine wrote it; a value that is not a number stays as it is.
std::string Numero(const std::string& texto) {
    double d = 0;
    const char* fin = texto.data() + texto.size();
    const auto r = std::from_chars(texto.data(), fin, d);
    if (r.ec != std::errc() || r.ptr != fin)
        return texto;
    char buf[32];
    const auto e = std::to_chars(buf, buf + sizeof buf, d);
    return std::string(buf, e.ptr);
}

// Every row of the table, its reals as numbers, sorted by all its columns: two engines return
// rows in orders of their own, and a server may sort text by a language's collation, so the
// order is made here, by bytes.
std::vector<Fila> Filas(CBaseDatos& db, const CString& tabla, const std::set<std::string>& reales,
                        const std::vector<CString>& excepto = {}) {
    std::vector<Fila> filas;
    std::vector<bool> real, fuera;
    db.Consultar("SELECT * FROM " + tabla, {}, [&](const FilaSql& f) {
        const int n = f.Columnas();
        if (real.empty())
            for (int i = 0; i < n; ++i) {
                CString nombre = f.Nombre(i);
                nombre.MakeUpper();
                real.push_back(reales.count(nombre.str()) > 0);
                fuera.push_back(std::find(excepto.begin(), excepto.end(), nombre) != excepto.end());
            }
        Fila fila;
        for (int i = 0; i < n; ++i) {
            if (fuera[size_t(i)])
                continue;
            if (f.EsNulo(i))
                fila.emplace_back();
            else
                fila.emplace_back(real[size_t(i)] ? Numero(f.Texto(i).str()) : f.Texto(i).str());
        }
        filas.push_back(std::move(fila));
    });
    std::sort(filas.begin(), filas.end());
    return filas;
}

CString Insercion(const CString& tabla, const std::vector<CString>& columnas, size_t filas) {
    std::string sql = "INSERT INTO " + tabla.str() + " (";
    std::string valores = "(";
    for (size_t i = 0; i < columnas.size(); ++i) {
        sql += (i ? ", " : "") + columnas[i].str();
        valores += i ? ", ?" : "?";
    }
    valores += ")";
    sql += ") VALUES ";
    for (size_t f = 0; f < filas; ++f)
        sql += (f ? ", " : "") + valores;
    return CString(sql);
}

// Every row of the origin's table into the destination's, each value as its text (NULL as
// NULL): the destination's column types take the text back as the number or text it was.
void CopiarTabla(CBaseDatos& origen, CBaseDatos& destino, const CString& tabla) {
    std::vector<CString> columnas;
    std::vector<ValorSql> valores;
    size_t filas = 0, porSentencia = 1;
    const auto volcar = [&] {
        if (filas == 0)
            return;
        EnDestino([&] { destino.Ejecutar(Insercion(tabla, columnas, filas), valores); });
        valores.clear();
        filas = 0;
    };
    origen.Consultar("SELECT * FROM " + tabla, {}, [&](const FilaSql& f) {
        const int n = f.Columnas();
        if (columnas.empty()) {
            for (int i = 0; i < n; ++i)
                columnas.push_back(f.Nombre(i));
            porSentencia = std::max<size_t>(1, kValoresPorSentencia / size_t(n));
        }
        for (int i = 0; i < n; ++i)
            valores.push_back(f.EsNulo(i) ? ValorSql() : ValorSql(f.Texto(i)));
        if (++filas == porSentencia)
            volcar();
    });
    volcar();
}

// The parties a new database holds as its sample, without their numbers: a destination that
// has only those has no parties of its own. Read from a new database made for the purpose.
std::vector<Fila> PartesDeMuestra(const std::vector<CString>& sinNumero) {
    std::string plantilla = (fs::temp_directory_path() / "modelo-muestra-XXXXXX").string();
    if (!mkdtemp(plantilla.data()))
        throw ErrorUsuario("No se ha podido crear una carpeta temporal para comprobar el destino");
    struct Carpeta {
        fs::path ruta;
        ~Carpeta() {
            std::error_code ec;
            fs::remove_all(ruta, ec);
        }
    } carpeta{plantilla};
    const CString ruta((carpeta.ruta / "muestra.db").string());
    try {
        CBaseDatos muestra;
        muestra.Abrir(ruta);
        return Filas(muestra, "PAINTERVIN", {}, sinNumero);
    } catch (const CExcepcionBD& e) {
        throw ErrorUsuario("No se ha podido comprobar que el destino esté vacío: " +
                           DescribirFalloBD(e, ruta));
    }
}

// Refuses a destination that holds a declaration or a party that the copy would throw away.
void ExigirVacia(CBaseDatos& destino) {
    const CString declaraciones =
        EnDestino([&] { return destino.Valor("SELECT COUNT(*) FROM DECLARACIONES"); });
    const CString pie = "; la copia lo reemplazaría todo: si es lo que quiere, repita la orden "
                        "con --sobrescribir";
    if (declaraciones != "0")
        throw ErrorUsuario("La base de datos de destino " + Cita(destino.Ruta()) +
                           " no está vacía: tiene " + declaraciones +
                           (declaraciones == "1" ? " declaración" : " declaraciones") + pie);
    const std::vector<CString> sinNumero{"NUMORDEN"};
    const std::vector<Fila> partes =
        EnDestino([&] { return Filas(destino, "PAINTERVIN", {}, sinNumero); });
    if (partes.empty())
        return;
    const std::vector<Fila> muestra = PartesDeMuestra(sinNumero);
    std::vector<Fila> propias;
    std::set_difference(partes.begin(), partes.end(), muestra.begin(), muestra.end(),
                        std::back_inserter(propias));
    if (!propias.empty())
        throw ErrorUsuario(
            "La base de datos de destino " + Cita(destino.Ruta()) + " no está vacía: tiene " +
            (propias.size() == 1
                 ? CString("1 interviniente propio")
                 : CString::Formatted("%zu intervinientes propios", propias.size())) +
            pie);
}

// The table as the destination holds it now against the origin's: the same rows, as many
// times each.
long long Comprobar(CBaseDatos& origen, CBaseDatos& destino, const CString& tabla) {
    std::set<std::string> reales = ColumnasReales(origen, tabla);
    reales.merge(EnDestino([&] { return ColumnasReales(destino, tabla); }));
    const std::vector<Fila> antes = Filas(origen, tabla, reales);
    const std::vector<Fila> despues = EnDestino([&] { return Filas(destino, tabla, reales); });
    if (antes.size() != despues.size())
        throw ErrorUsuario(CString("La tabla ") + tabla +
                           CString::Formatted(" no ha quedado igual: %zu filas en el origen y "
                                              "%zu en el destino",
                                              antes.size(), despues.size()) +
                           kNadaCambiado);
    size_t distintas = 0;
    for (size_t i = 0; i < antes.size(); ++i)
        distintas += antes[i] != despues[i];
    if (distintas)
        throw ErrorUsuario(CString("La tabla ") + tabla +
                           CString::Formatted(" no ha quedado igual: %zu de sus %zu filas "
                                              "difieren entre el origen y el destino",
                                              distintas, antes.size()) +
                           kNadaCambiado);
    return static_cast<long long>(despues.size());
}

bool MismaBase(const CString& a, const CString& b) {
    if (EsUriServidor(a) || EsUriServidor(b))
        return a == b;
    std::error_code ec, ec2;
    if (fs::equivalent(a.str(), b.str(), ec))
        return true;
    return fs::weakly_canonical(a.str(), ec) == fs::weakly_canonical(b.str(), ec2);
}

void ExigirOtra(const CString& origen, const CString& destino) {
    if (MismaBase(origen, destino))
        throw ErrorUsuario("El origen y el destino de la copia son la misma base de datos: " +
                           Cita(destino));
}

} // namespace

std::vector<TablaCopiada> Copiar(CBaseDatos& origen, CBaseDatos& destino, bool sobrescribir) {
    const std::vector<CString> tablas = destino.Tablas();
    std::vector<TablaCopiada> copiadas;
    CString tabla; // the one at hand, for the message of a failure
    try {
        // The destination's write lock first: what is checked empty stays so until the end.
        std::optional<CBaseDatos::Transaccion> escritura;
        EnDestino([&] { escritura.emplace(destino); });
        // One moment of the origin, however long other programs go on writing it.
        CBaseDatos::Transaccion lectura(origen, CBaseDatos::Transaccion::Lectura);
        if (!sobrescribir)
            ExigirVacia(destino);
        // Children first, so that no row is left pointing at a removed one.
        for (auto t = tablas.rbegin(); t != tablas.rend(); ++t)
            EnDestino([&] { destino.Ejecutar("DELETE FROM " + (tabla = *t)); });
        for (const CString& t : tablas)
            CopiarTabla(origen, destino, tabla = t);
        // Checked only once every table is in: a trigger or a cascade of a later table could
        // still change an earlier one.
        for (const CString& t : tablas)
            copiadas.push_back({t, Comprobar(origen, destino, tabla = t)});
        tabla.Empty();
        EnDestino([&] { escritura->Confirmar(); });
    } catch (const FalloDestino& f) {
        if (tabla.IsEmpty())
            throw ErrorUsuario("No se ha copiado nada: " +
                               DescribirFalloBD(f.error, destino.Ruta()));
        throw FalloDeTabla(tabla, f.error, destino, "el destino");
    } catch (const CExcepcionBD& e) {
        if (tabla.IsEmpty())
            throw ErrorUsuario("No se ha copiado nada: " + DescribirFalloBD(e, origen.Ruta()));
        throw FalloDeTabla(tabla, e, origen, "el origen");
    }
    return copiadas;
}

std::vector<TablaCopiada> CopiarHacia(CHost& host, const CString& destino, bool sobrescribir) {
    if (destino.IsEmpty())
        throw ErrorUsuario("No se ha indicado la base de datos de destino");
    CBaseDatos& origen = host.BaseDatos();
    ExigirOtra(origen.Ruta(), destino);
    // A file the copy creates and fails to fill is taken away again; one that was empty is
    // left empty.
    enum class Antes { Otra, NoExistia, Vacio } antes = Antes::Otra;
    if (!EsUriServidor(destino)) {
        std::error_code ec;
        const auto estado = fs::status(destino.str(), ec);
        if (!fs::exists(estado))
            antes = Antes::NoExistia;
        else if (fs::is_regular_file(estado) && fs::file_size(destino.str(), ec) == 0 && !ec)
            antes = Antes::Vacio;
    }
    CBaseDatos db;
    struct Deshacer {
        CBaseDatos& db;
        const CString& ruta;
        Antes antes;
        bool hecho = false;
        ~Deshacer() {
            if (hecho || antes == Antes::Otra)
                return;
            db.Cerrar();
            std::error_code ec;
            for (const char* sufijo : {"-wal", "-shm", "-journal"})
                fs::remove(ruta.str() + sufijo, ec);
            if (antes == Antes::NoExistia)
                fs::remove(ruta.str(), ec);
            else
                fs::resize_file(ruta.str(), 0, ec);
        }
    } deshacer{db, destino, antes};
    try {
        db.Abrir(destino);
    } catch (const CExcepcionBD& e) {
        throw ErrorUsuario("No se ha copiado nada: " + DescribirFalloBD(e, destino));
    }
    auto copiadas = Copiar(origen, db, sobrescribir);
    deshacer.hecho = true;
    return copiadas;
}

std::vector<TablaCopiada> CopiarDesde(CHost& host, const CString& origen, bool sobrescribir) {
    if (origen.IsEmpty())
        throw ErrorUsuario("No se ha indicado la base de datos de origen");
    CBaseDatos& destino = host.BaseDatos();
    ExigirOtra(origen, destino.Ruta());
    // Opening a missing file would make a new database of it, and copy its sample.
    std::error_code ec;
    if (!EsUriServidor(origen) && !fs::is_regular_file(origen.str(), ec))
        throw ErrorUsuario("La base de datos de origen " + Cita(origen) + " no existe");
    CBaseDatos db;
    try {
        db.Abrir(origen);
    } catch (const CExcepcionBD& e) {
        throw ErrorUsuario("No se ha copiado nada: " + DescribirFalloBD(e, origen));
    }
    return Copiar(db, destino, sobrescribir);
}

} // namespace entrebases
