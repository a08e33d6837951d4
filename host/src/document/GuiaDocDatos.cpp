// The document's access to the host's database: the plug-ins' queries, the concept lists and
// the default presenter.
#include "Modelo/base/Funciones.h"
#include "Modelo/document/GuiaDoc.h"
#include "Modelo/store/DialectoSql.h"

#include "Modelo/parties/Intervinientes.h"
#include "parties/Vinculos.h"

#include <sqlite3.h>

namespace {

// A statement that cannot run is the caller's failure; a database that cannot be read (or is
// busy, or cannot be written) is not, and a form must not take it for "no rows".
bool FalloDeLaBaseDatos(const CExcepcionBD& e) {
    return e.Fallo() != FalloBD::Sentencia || (e.Codigo() & 0xFF) == SQLITE_NOMEM;
}

bool Ejecuta(const CString& sql, CStringArray* listas[], int cuantas) {
    CBaseDatos* db = CBaseDatos::Actual();
    if (!db || !db->EstaAbierta())
        return false;
    const SentenciaSql s = TraducirSqlEscritorio(sql, true);
    // Rows go straight into the caller's lists; a failure takes them back out.
    int antes[3];
    for (int c = 0; c < cuantas; ++c)
        antes[c] = listas[c]->GetSize();
    try {
        db->Consultar(s.texto, s.parametros, [&](const FilaSql& f) {
            for (int c = 0; c < cuantas; ++c)
                listas[c]->Add(c < f.Columnas() ? f.Texto(c) : CString());
        });
    } catch (const CExcepcionBD& e) {
        for (int c = 0; c < cuantas; ++c)
            listas[c]->SetSize(antes[c]);
        if (FalloDeLaBaseDatos(e))
            throw;
        return false;
    }
    return true;
}

} // namespace

bool CGuiaDoc::EjecutaSQL(const CString& sql, CStringArray& lista1) {
    CStringArray* listas[] = {&lista1};
    return Ejecuta(sql, listas, 1);
}

bool CGuiaDoc::EjecutaSQL(const CString& sql, CStringArray& lista1, CStringArray& lista2,
                          CStringArray& lista3) {
    CStringArray* listas[] = {&lista1, &lista2, &lista3};
    return Ejecuta(sql, listas, 3);
}

bool CGuiaDoc::IniConceptosUsandoFiltro(CStringArray& codigos, CStringArray& textos,
                                        const CString& concepto, const CString& filtro,
                                        bool incluirVacio, bool ordenarPorTexto, bool vaciarAntes,
                                        const CString& columnaFiltro, bool filtroParcial) {
    if (vaciarAntes) {
        codigos.RemoveAll();
        textos.RemoveAll();
    }
    if (incluirVacio) {
        codigos.Add("");
        textos.Add("");
    }
    CBaseDatos* db = CBaseDatos::Actual();
    if (!db || !db->EstaAbierta())
        return false;
    // The filter column is a name, so it cannot be a parameter: only the known columns pass.
    const CString columna = columnaFiltro.IsEmpty() ? CString("CDFILTRO") : columnaFiltro;
    if (columna != "CDFILTRO" && columna != "CDCONCEP" && columna != "CDCODIGO")
        return false;
    const CString sql = "SELECT CDCODIGO, DESCRIPCION FROM PACONCOD WHERE CDCONCEP = ? AND " +
                        columna + (filtroParcial ? " LIKE ? || '%'" : " = ?") + " ORDER BY " +
                        (ordenarPorTexto ? "DESCRIPCION" : "NUMORDEN, CDCODIGO");
    db->Consultar(sql, {concepto, filtro}, [&](const FilaSql& f) {
        codigos.Add(f.Texto(0));
        textos.Add(f.Texto(1));
    });
    return true;
}

bool CGuiaDoc::VerPresentadorPorDefecto(CString& nif, CString& nombre) {
    nif = AfxAjuste("presentador_nif");
    nombre = AfxAjuste("presentador_nombre");
    return !nif.IsEmpty() && !nombre.IsEmpty();
}

bool CGuiaDoc::MeterPresentadorPorDefecto(const CString& codDeclar, const CString& rolTexto,
                                          CIntervSet& registro) {
    CBaseDatos* db = CBaseDatos::Actual();
    if (!db || registro.IsEOF() || codDeclar.IsEmpty())
        return false;
    CBaseDatos::Transaccion t(*db);
    VincularCopia(*db, codDeclar, rolTexto, registro.Actual());
    t.Confirmar();
    return true;
}

void CGuiaDoc::InicializarFecha(int casillaDia, int casillaMes, int casillaAnio, int pagina) {
    const COleDateTime hoy = COleDateTime::GetCurrentTime();
    SetCasilla(casillaDia, pagina, hoy.Format("%d"));
    SetCasilla(casillaMes, pagina, GetMesLetra(hoy.GetMonth()));
    SetCasilla(casillaAnio, pagina, hoy.Format("%Y"));
}
