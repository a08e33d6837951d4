#include "Clientes.h"

#include "CasosDeUso.h"
#include "Modelo/base/Funciones.h"
#include "Traspaso.h"

#include <algorithm>
#include <cstdlib>
#include <map>

namespace casos {

namespace {

const CasillasSujeto& SujetoDelFormulario(CHost& host, const CString& formulario) {
    const CargadorPlugins::Plugin* plugin = host.Plugins().Buscar(formulario);
    if (!plugin)
        throw ErrorUsuario("Formulario desconocido: " + CitaBreve(formulario));
    return plugin->operaciones->sujeto;
}

// The declarations of the year with their taxpayer's boxes, then the free parties that may be
// clients. A free party known only in another role is the office itself or a client's
// representative, not a client. Ordered so that the newest declaration of a client comes last;
// a party's number is text here, as a code is, and ordered as a number by its length first.
constexpr const char* kConsulta =
    "SELECT * FROM ("
    "SELECT 0 AS CLASE, d.CODIGO AS CLAVE, d.ESTADO, d.MES, ifnull(n.VALOR, ''), ifnull(a.VALOR, "
    "''), "
    "       ifnull(b.VALOR, ''), ifnull(c.VALOR, '') "
    "FROM DECLARACIONES d "
    "LEFT JOIN CASILLAS n ON n.CODIGO = d.CODIGO AND n.PAGINA = 0 AND n.CASILLA = ?1 "
    "LEFT JOIN CASILLAS a ON a.CODIGO = d.CODIGO AND a.PAGINA = 0 AND a.CASILLA = ?2 "
    "LEFT JOIN CASILLAS b ON b.CODIGO = d.CODIGO AND b.PAGINA = 0 AND b.CASILLA = ?3 "
    "LEFT JOIN CASILLAS c ON c.CODIGO = d.CODIGO AND c.PAGINA = 0 AND c.CASILLA = ?4 "
    "WHERE substr(d.MODELO, 1, 3) = ?5 AND d.ANIO = ?6 "
    "UNION ALL "
    "SELECT 1, CAST(p.NUMORDEN AS TEXT), '', '', p.DENIF, p.DENOMBRE, '', '' FROM PAINTERVIN p "
    "WHERE p.CDDECLAR IS NULL AND ("
    "  p.DENIF IN (SELECT DENIF FROM PAINTERVIN WHERE CDROL = ?7) "
    "  OR p.DENIF IN (SELECT VALOR FROM CASILLAS WHERE PAGINA = 0 AND CASILLA = ?1) "
    "  OR (p.DENIF NOT IN (SELECT DENIF FROM PAINTERVIN WHERE CDROL IN (?8, ?9)) "
    "      AND p.DENIF NOT IN (SELECT VALOR FROM AJUSTES WHERE CLAVE = 'presentador_nif')))"
    ") u ORDER BY CLASE, length(CLAVE), CLAVE";

struct Visto {
    CString nombreAlmacen, nombreDeclaracion;
    std::array<MesCliente, 12> meses;
};

// A final declaration stands for its month over any draft; among equals, the newest.
void Anotar(MesCliente& mes, const CString& codigo, const CString& estado) {
    if (mes.Vacio() || estado == estado::Definitiva || mes.estado != estado::Definitiva)
        mes = {codigo, estado};
}

CString Unir(const CString& a, const CString& b, const CString& c) {
    CString nombre;
    for (const CString* parte : {&a, &b, &c})
        if (!parte->IsEmpty())
            nombre += (nombre.IsEmpty() ? "" : " ") + *parte;
    return nombre;
}

} // namespace

std::vector<Cliente> Clientes(CHost& host, const CString& formulario, const CString& anio) {
    const CasillasSujeto& cs = SujetoDelFormulario(host, formulario);
    std::map<CString, Visto> vistos;
    CBaseDatos::Transaccion t(host.BaseDatos(), CBaseDatos::Transaccion::Lectura);
    host.BaseDatos().Consultar(
        kConsulta,
        {cs.nif, cs.nombre[0], cs.nombre[1], cs.nombre[2], formulario, anio, rol::SujetoPasivo,
         rol::Representante, rol::Presentador},
        [&](const FilaSql& f) {
            Visto& v = vistos[f.Texto(4)];
            if (f.Entero(0) == 1) {
                if (v.nombreAlmacen.IsEmpty()) // the lowest order number, as a lookup finds it
                    v.nombreAlmacen = QuitarSep(f.Texto(5));
                return;
            }
            if (const CString nombre = Unir(f.Texto(5), f.Texto(6), f.Texto(7)); !nombre.IsEmpty())
                v.nombreDeclaracion = nombre;
            const CString mes = f.Texto(3);
            const int m = std::atoi(mes);
            if (mes.GetLength() == 2 && m >= 1 && m <= 12)
                Anotar(v.meses[size_t(m - 1)], f.Texto(1), f.Texto(2));
        });
    t.Confirmar();

    std::vector<Cliente> clientes;
    for (auto& [nif, v] : vistos)
        clientes.push_back(
            {nif, v.nombreAlmacen.IsEmpty() ? v.nombreDeclaracion : v.nombreAlmacen, v.meses});
    std::stable_sort(clientes.begin(), clientes.end(), [](const Cliente& a, const Cliente& b) {
        if (a.nif.IsEmpty() != b.nif.IsEmpty())
            return b.nif.IsEmpty();
        return a.nombre < b.nombre;
    });
    return clientes;
}

std::unique_ptr<CGuiaDoc> NuevaDeCliente(CHost& host, const CString& formulario, const CString& nif,
                                         const CString& mes, const CString& anio) {
    const CasillasSujeto& cs = SujetoDelFormulario(host, formulario);
    CBaseDatos& db = host.BaseDatos();
    CBaseDatos::Transaccion t(db);
    const CString ultima = db.Valor(
        "SELECT d.CODIGO FROM DECLARACIONES d JOIN CASILLAS n ON n.CODIGO = d.CODIGO "
        "AND n.PAGINA = 0 AND n.CASILLA = ? WHERE n.VALOR = ? AND substr(d.MODELO, 1, 3) = ? "
        "ORDER BY d.CODIGO DESC LIMIT 1",
        {cs.nif, nif, formulario});
    const CString libre = db.Valor("SELECT NUMORDEN FROM PAINTERVIN WHERE CDDECLAR IS NULL AND "
                                   "CDROL IS NULL AND DENIF = ? ORDER BY NUMORDEN LIMIT 1",
                                   {nif});
    if (nif.IsEmpty() || (ultima.IsEmpty() && libre.IsEmpty()))
        throw ErrorUsuario("No hay en el almacén ningún cliente con NIF " + CitaBreve(nif) +
                           " ni declaraciones suyas del modelo " + formulario);
    auto doc = host.Nueva(formulario, mes, anio);
    if (!ultima.IsEmpty())
        LlevarIntervinientes(host, *doc, ultima);
    // The store's party is the client as the office keeps it now.
    if (!libre.IsEmpty()) {
        VincularInterviniente(host, doc->GetCodDeclar(), rol::SujetoPasivo, libre);
        host.RellenarIntervinientes(*doc);
    }
    host.Guardar(*doc);
    t.Confirmar();
    return doc;
}

} // namespace casos
