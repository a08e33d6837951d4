// The code tables of a document: street types, provinces, the municipalities of one province
// and the codes of box 0, read from the database's tables of the same names.
#include "Modelo/codes/Codigos.h"
#include "Modelo/document/GuiaDoc.h"
#include "Modelo/parties/Intervinientes.h"
#include "Modelo/store/BaseDatos.h"

namespace {

void Cargar(CBaseDatos& db, const char* sql, const std::vector<ValorSql>& parametros,
            CStringArray& codigos, CStringArray& textos) {
    CStringArray c, t;
    db.Consultar(sql, parametros, [&](const FilaSql& f) {
        c.Add(f.Texto(0));
        t.Add(f.Texto(1));
    });
    codigos = std::move(c);
    textos = std::move(t);
}

} // namespace

CString TraducirCodigo(const CString& codigo, const CStringArray& codigos,
                       const CStringArray& textos) {
    for (int i = 0; i < codigos.GetSize(); ++i)
        if (codigos[i] == codigo)
            return i < textos.GetSize() ? textos[i] : CString();
    return CString();
}

// Loaded whole or not at all: a table half read would translate some codes and not others.
bool CGuiaDoc::CargarTablasAuxiliares() {
    for (CStringArray* t : {&CodTiposVia, &TxtTiposVia, &CodProvincias, &TxtProvincias,
                            &CodMunicipios, &TxtMunicipios, &CodCasilla0, &TxtCasilla0})
        t->RemoveAll();
    CBaseDatos* db = CBaseDatos::Actual();
    if (!db || !db->EstaAbierta())
        return false;
    CStringArray tiposCod, tiposTxt, provCod, provTxt, c0Cod, c0Txt;
    Cargar(*db, "SELECT CODIGO, NOMBRE FROM TIPOS_VIA ORDER BY CODIGO", {}, tiposCod, tiposTxt);
    Cargar(*db, "SELECT CODIGO, NOMBRE FROM PROVINCIAS ORDER BY CODIGO", {}, provCod, provTxt);
    Cargar(*db, "SELECT CODIGO, DESCRIPCION FROM CODIGOS_CASILLA0 WHERE MODELO = ? ORDER BY CODIGO",
           {codModelo_}, c0Cod, c0Txt);
    CodTiposVia = std::move(tiposCod);
    TxtTiposVia = std::move(tiposTxt);
    CodProvincias = std::move(provCod);
    TxtProvincias = std::move(provTxt);
    CodCasilla0 = std::move(c0Cod);
    TxtCasilla0 = std::move(c0Txt);
    return true;
}

// The province comes as a box holds it (its code) or as the province table translates it (its
// name), so both are accepted. The table is emptied first: a municipality code must never be
// read against the previous province's municipalities.
bool CGuiaDoc::IniMunicipios(CString provincia, bool todos) {
    CodMunicipios.RemoveAll();
    TxtMunicipios.RemoveAll();
    CBaseDatos* db = CBaseDatos::Actual();
    if (!db || !db->EstaAbierta())
        return false;
    try {
        if (todos) {
            Cargar(*db,
                   "SELECT PROVINCIA || CODIGO, NOMBRE FROM MUNICIPIOS ORDER BY PROVINCIA, CODIGO",
                   {}, CodMunicipios, TxtMunicipios);
        } else {
            if (provincia.IsEmpty())
                return false;
            const CString codigo =
                db->Valor("SELECT CODIGO FROM PROVINCIAS WHERE NOMBRE = ? ORDER BY CODIGO LIMIT 1",
                          {provincia}, provincia);
            Cargar(*db, "SELECT CODIGO, NOMBRE FROM MUNICIPIOS WHERE PROVINCIA = ? ORDER BY CODIGO",
                   {codigo}, CodMunicipios, TxtMunicipios);
        }
    } catch (const CExcepcionBD& e) {
        CodMunicipios.RemoveAll();
        TxtMunicipios.RemoveAll();
        CExcepcionDao(e).Traducir(true);
        return false;
    }
    return !CodMunicipios.IsEmpty();
}
