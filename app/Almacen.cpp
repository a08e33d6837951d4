#include "Almacen.h"

#include <charconv>
#include <string_view>

namespace {
CString Ahora() {
    return COleDateTime::GetCurrentTime().Format("%Y-%m-%d %H:%M:%S");
}

bool Cifras(std::string_view texto, size_t desde, size_t cuantas, int& valor) {
    const char* inicio = texto.data() + desde;
    const auto [fin, ec] = std::from_chars(inicio, inicio + cuantas, valor);
    return ec == std::errc() && fin == inicio + cuantas;
}

// A save's stamp is how a window that read the declaration earlier tells that another desk
// saved it since, so no save may leave the stamp it found: not one in the same second, nor one
// from a desk whose clock is behind. Such a save keeps the time it found and counts on after
// it ("2024-06-10 09:00:00.2").
CString MarcaTras(const CString& anterior) {
    constexpr size_t kLargo = 19; // as Ahora() writes it
    const CString ahora = Ahora();
    const std::string_view a = anterior.view();
    if (a.size() < kLargo || ahora.view() > a.substr(0, kLargo))
        return ahora;
    int cuenta = 0;
    if (a.size() > kLargo + 1 && a[kLargo] == '.' &&
        !Cifras(a, kLargo + 1, a.size() - kLargo - 1, cuenta))
        cuenta = 0;
    return CString(std::string(a.substr(0, kLargo))) + CString::Formatted(".%d", cuenta + 1);
}

CAlmacenDeclaraciones::Resumen LeerResumen(const FilaSql& f) {
    return {f.Texto(0), f.Texto(1), f.Texto(2), f.Texto(3), f.Texto(4), f.Texto(5), f.Texto(6)};
}

constexpr const char* kSelectResumen =
    "SELECT CODIGO, MODELO, ESTADO, MES, ANIO, CREADA, MODIFICADA FROM DECLARACIONES ";
} // namespace

// A declaration code is the form code followed by a ten-digit serial of that form: 13 digits,
// the same shape as a receipt number, so a stored declaration can be named as the earlier one
// of a complementary declaration.
CString CAlmacenDeclaraciones::Registrar(CGuiaDoc& doc) {
    const CString formulario = doc.GetCodModelo().Left(3);
    CBaseDatos::Transaccion t(db_);
    db_.Ejecutar("INSERT INTO CONTADORES (FORMULARIO, ULTIMO) VALUES (?, 1) "
                 "ON CONFLICT (FORMULARIO) DO UPDATE SET ULTIMO = CONTADORES.ULTIMO + 1",
                 {formulario});
    const long long serie =
        std::atoll(db_.Valor("SELECT ULTIMO FROM CONTADORES WHERE FORMULARIO = ?", {formulario}));
    const CString codigo = formulario + CString::Formatted("%010lld", serie);
    const CString ahora = Ahora();
    db_.Ejecutar("INSERT INTO DECLARACIONES (CODIGO, MODELO, ESTADO, MES, ANIO, CREADA, "
                 "MODIFICADA) VALUES (?, ?, ?, ?, ?, ?, ?)",
                 {codigo, doc.GetCodModelo(), doc.GetEstado(), doc.GetMesPeriodo(),
                  doc.GetAnioPeriodo(), ahora, ahora});
    doc.SetCodDeclar(codigo);
    t.Confirmar();
    return codigo;
}

void CAlmacenDeclaraciones::Guardar(CGuiaDoc& doc) {
    const CString codigo = doc.GetCodDeclar();
    CBaseDatos::Transaccion t(db_);
    std::optional<CString> anterior;
    db_.Consultar("SELECT MODIFICADA FROM DECLARACIONES WHERE CODIGO = ?", {codigo},
                  [&](const FilaSql& f) { anterior = f.Texto(0); });
    if (!anterior)
        throw CExcepcionBD("La declaración " + codigo + " no existe");
    db_.Ejecutar("DELETE FROM CASILLAS WHERE CODIGO = ?", {codigo});
    for (const auto& [clave, valor] : doc.Casillas())
        db_.Ejecutar("INSERT INTO CASILLAS (CODIGO, PAGINA, CASILLA, VALOR) VALUES (?, ?, ?, ?)",
                     {codigo, clave.first, clave.second, valor});
    db_.Ejecutar("DELETE FROM REGISTROS_ADICIONALES WHERE CODIGO = ?", {codigo});
    int orden = 0;
    for (const auto& [clave, valor] : doc.Adicionales())
        db_.Ejecutar("INSERT INTO REGISTROS_ADICIONALES (CODIGO, ORDEN, CLAVE, VALOR) "
                     "VALUES (?, ?, ?, ?)",
                     {codigo, orden++, clave, valor});
    const CString marca = MarcaTras(*anterior);
    db_.Ejecutar("UPDATE DECLARACIONES SET ESTADO = ?, MES = ?, ANIO = ?, MODIFICADA = ? "
                 "WHERE CODIGO = ?",
                 {doc.GetEstado(), doc.GetMesPeriodo(), doc.GetAnioPeriodo(), marca, codigo});
    t.Confirmar();
    doc.SetMarcaAlmacen(marca);
}

bool CAlmacenDeclaraciones::Cargar(CGuiaDoc& doc, const CString& codigo) {
    // The summary, the boxes and the records of one moment, never half of another save.
    CBaseDatos::Transaccion t(db_, CBaseDatos::Transaccion::Lectura);
    const std::optional<Resumen> r = Buscar(codigo);
    if (!r)
        return false;
    doc.VaciarCasillas();
    db_.Consultar(
        "SELECT PAGINA, CASILLA, VALOR FROM CASILLAS WHERE CODIGO = ?", {codigo},
        [&](const FilaSql& f) { doc.SetCasilla(int(f.Entero(1)), int(f.Entero(0)), f.Texto(2)); });
    doc.Adicionales().clear();
    db_.Consultar(
        "SELECT CLAVE, VALOR FROM REGISTROS_ADICIONALES WHERE CODIGO = ? ORDER BY ORDEN", {codigo},
        [&](const FilaSql& f) { doc.Adicionales().emplace_back(f.Texto(0), f.Texto(1)); });
    doc.SetCodDeclar(r->codigo);
    doc.SetEstado(r->estado);
    doc.SetPeriodo(r->mes, r->anio);
    // Only a draft may change; a final declaration is kept as it was filed.
    doc.SetPermiteCambios(r->estado == estado::Borrador);
    doc.SetModoEdicion(r->estado == estado::Borrador);
    doc.SetMarcaAlmacen(r->modificada);
    doc.SetModifiedFlag(false);
    t.Confirmar();
    return true;
}

void CAlmacenDeclaraciones::CambiarEstado(const CString& codigo, const CString& estado) {
    db_.Ejecutar("UPDATE DECLARACIONES SET ESTADO = ?, MODIFICADA = ? WHERE CODIGO = ?",
                 {estado, Ahora(), codigo});
}

COleDateTime CAlmacenDeclaraciones::Dia(const CString& marca) {
    // As Ahora() writes it: YYYY-MM-DD, then the time of day.
    const std::string_view t = marca.view();
    int anio = 0, mes = 0, dia = 0;
    COleDateTime fecha;
    if (t.size() < 10 || t[4] != '-' || t[7] != '-' || !Cifras(t, 0, 4, anio) ||
        !Cifras(t, 5, 2, mes) || !Cifras(t, 8, 2, dia) || !fecha.SetDate(anio, mes, dia))
        fecha.SetStatus(COleDateTime::invalid);
    return fecha;
}

std::optional<CAlmacenDeclaraciones::Resumen> CAlmacenDeclaraciones::Buscar(const CString& codigo) {
    std::optional<Resumen> r;
    db_.Consultar(CString(kSelectResumen) + "WHERE CODIGO = ?", {codigo},
                  [&](const FilaSql& f) { r = LeerResumen(f); });
    return r;
}

std::vector<CAlmacenDeclaraciones::Resumen> CAlmacenDeclaraciones::Listar(const CString& formulario,
                                                                          const CString& anio) {
    std::vector<Resumen> lista;
    db_.Consultar(CString(kSelectResumen) +
                      "WHERE (? = '' OR substr(MODELO, 1, length(?)) = ?) AND (? = '' OR ANIO = ?) "
                      "ORDER BY CODIGO",
                  {formulario, formulario, formulario, anio, anio},
                  [&](const FilaSql& f) { lista.push_back(LeerResumen(f)); });
    return lista;
}

std::map<CString, std::map<int, CString>>
CAlmacenDeclaraciones::CasillasP1DelModelo(const CString& modelo,
                                           const std::vector<int>& casillas) {
    std::map<CString, std::map<int, CString>> valores;
    CString lista;
    std::vector<ValorSql> parametros = {modelo};
    for (int c : casillas) {
        lista += lista.IsEmpty() ? "?" : ", ?";
        parametros.push_back(c);
    }
    db_.Consultar("SELECT c.CODIGO, c.CASILLA, c.VALOR FROM CASILLAS c JOIN DECLARACIONES d ON "
                  "d.CODIGO = c.CODIGO WHERE d.MODELO = ? AND c.PAGINA = 0 AND c.CASILLA IN (" +
                      lista + ")",
                  parametros,
                  [&](const FilaSql& f) { valores[f.Texto(0)][int(f.Entero(1))] = f.Texto(2); });
    return valores;
}

std::map<int, CString> CAlmacenDeclaraciones::CasillasP1(const CString& codigo,
                                                         const std::vector<int>& casillas) {
    std::map<int, CString> valores;
    CString lista;
    std::vector<ValorSql> parametros = {codigo};
    for (int c : casillas) {
        valores[c] = "";
        lista += lista.IsEmpty() ? "?" : ", ?";
        parametros.push_back(c);
    }
    db_.Consultar("SELECT CASILLA, VALOR FROM CASILLAS WHERE CODIGO = ? AND PAGINA = 0 AND "
                  "CASILLA IN (" +
                      lista + ")",
                  parametros, [&](const FilaSql& f) { valores[int(f.Entero(0))] = f.Texto(1); });
    return valores;
}

CAlmacenDeclaraciones::Borrado CAlmacenDeclaraciones::Borrar(const CString& codigo) {
    CBaseDatos::Transaccion t(db_);
    const std::optional<Resumen> r = Buscar(codigo);
    if (!r)
        return Borrado::NoExiste;
    if (r->estado != estado::Borrador)
        return Borrado::Definitiva;
    for (const char* sql : {"DELETE FROM CASILLAS WHERE CODIGO = ?",
                            "DELETE FROM REGISTROS_ADICIONALES WHERE CODIGO = ?",
                            "DELETE FROM PAINTERVIN WHERE CDDECLAR = ?",
                            "DELETE FROM DECLARACIONES WHERE CODIGO = ?"})
        db_.Ejecutar(sql, {codigo});
    t.Confirmar();
    return Borrado::Hecho;
}

void CAlmacenDeclaraciones::Conectar(CGuiaDoc& doc) {
    CGuiaDoc::Almacen a;
    a.salvar = [this](CGuiaDoc& d) {
        Guardar(d);
        return true;
    };
    a.cargar = [this](CGuiaDoc& d, const CString& codigo) { return Cargar(d, codigo); };
    a.copiarAdicionales = [this](const CString& origen, const CString& destino) {
        CBaseDatos::Transaccion t(db_);
        db_.Ejecutar("DELETE FROM REGISTROS_ADICIONALES WHERE CODIGO = ?", {destino});
        db_.Ejecutar("INSERT INTO REGISTROS_ADICIONALES (CODIGO, ORDEN, CLAVE, VALOR) "
                     "SELECT ?, ORDEN, CLAVE, VALOR FROM REGISTROS_ADICIONALES WHERE CODIGO = ?",
                     {destino, origen});
        t.Confirmar();
        return true;
    };
    a.marca = [this](const CString& codigo) {
        const std::optional<Resumen> r = Buscar(codigo);
        return r ? r->modificada : CString();
    };
    doc.SetAlmacen(std::move(a));
}
