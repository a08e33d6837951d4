#include "Modelo/parties/Intervinientes.h"

#include "Modelo/base/Funciones.h"
#include "Modelo/services/Servicios.h"
#include "Modelo/store/DialectoSql.h"

namespace {
const stInterviniente kVacio{};

stInterviniente LeerInterviniente(const FilaSql& f) {
    stInterviniente p;
    for (int c = 0; c < f.Columnas(); ++c) {
        const CString nombre = f.Nombre(c);
        const CString v = f.Texto(c);
        if (nombre == "NUMORDEN")
            p.NumOrden = v;
        else if (nombre == "CDDECLAR")
            p.CodDeclar = v;
        else if (nombre == "CDROL")
            p.Rol = v;
        else if (nombre == "DENIF")
            p.Nif = v;
        else if (nombre == "DENOMBRE")
            p.Nombre = v;
        else if (nombre == "CDPROVIN")
            p.Provincia = v;
        else if (nombre == "CDMUNICI")
            p.Municipio = v;
        else if (nombre == "CDTIPVIA")
            p.TipoVia = v;
        else if (nombre == "DENOMVIA")
            p.NombreVia = v;
        else if (nombre == "NUMVIA")
            p.Numero = v;
        else if (nombre == "ESCALERA")
            p.Escalera = v;
        else if (nombre == "PISO")
            p.Piso = v;
        else if (nombre == "PUERTA")
            p.Puerta = v;
        else if (nombre == "CODPOSTAL")
            p.CodigoPostal = v;
        else if (nombre == "TELEFONO")
            p.Telefono = v;
    }
    return p;
}
} // namespace

CIntervSet::CIntervSet(CBaseDatos* db) : db_(db) {}
CIntervSet::~CIntervSet() = default;

void CIntervSet::Cargar(const CString& sql) {
    if (!db_ || !db_->EstaAbierta())
        throw CExcepcionBD("No hay ninguna base de datos abierta", sql);
    const SentenciaSql s = TraducirSqlEscritorio(sql, false);
    std::vector<stInterviniente> registros;
    db_->Consultar(s.texto, s.parametros,
                   [&](const FilaSql& f) { registros.push_back(LeerInterviniente(f)); });
    registros_ = std::move(registros);
    actual_ = 0;
}

void CIntervSet::Open(int, const CString& sql, int) {
    sql_ = sql;
    Cargar(sql_);
    abierto_ = true;
}

void CIntervSet::Requery() {
    if (!abierto_)
        throw CExcepcionBD("El conjunto de intervinientes no está abierto");
    CString sql = sql_;
    if (!CString(m_strFilter).Trim().IsEmpty())
        sql += " WHERE " + m_strFilter;
    if (!CString(m_strSort).Trim().IsEmpty())
        sql += " ORDER BY " + m_strSort;
    Cargar(sql);
}

void CIntervSet::Close() {
    abierto_ = false;
    registros_.clear();
    actual_ = 0;
}

void CIntervSet::MoveNext() {
    if (actual_ < registros_.size())
        ++actual_;
}

const stInterviniente& CIntervSet::Actual() const {
    return IsEOF() ? kVacio : registros_[actual_];
}

CString CExcepcionDao::Traducir(bool mostrar) {
    CString texto = "Error en la base de datos: " + error_.Mensaje();
    if (!error_.Sql().IsEmpty())
        texto += "\nSentencia: " + error_.Sql();
    if (mostrar)
        AfxServicios().MessageBox(texto, "Modelo", MB_OK | MB_ICONERROR);
    return texto;
}

CMtoIntervDlg::CMtoIntervDlg(const CString& codModelo, const CString& codDeclar,
                             const COleDateTime& fecha)
    : codModelo_(codModelo), codDeclar_(codDeclar), fecha_(fecha) {}

CMtoIntervDlg::CMtoIntervDlg(bool edicion, const CString& codModelo, const CString& codDeclar,
                             const COleDateTime& fecha)
    : edicion_(edicion), codModelo_(codModelo), codDeclar_(codDeclar), fecha_(fecha) {}

int CMtoIntervDlg::DoModal() {
    return AfxServicios().DialogoIntervinientes(edicion_, codModelo_, codDeclar_);
}

CString CMtoIntervDlg::LocalizarIntervinienteDecl(const CString& nif, const CString& nombre) {
    actual_ = stInterviniente();
    CBaseDatos* db = CBaseDatos::Actual();
    if (!db || !db->EstaAbierta())
        return CString();
    // The presenter box holds the name as one plain text, so both forms of the stored name
    // are accepted.
    bool hallado = false;
    try {
        db->Consultar("SELECT * FROM PAINTERVIN WHERE DENIF = ? AND "
                      "(CDDECLAR = ? OR CDDECLAR IS NULL) ORDER BY CDDECLAR IS NULL, NUMORDEN",
                      {nif, codDeclar_}, [&](const FilaSql& f) {
                          if (hallado)
                              return;
                          stInterviniente p = LeerInterviniente(f);
                          if (p.Nombre == nombre || QuitarSep(p.Nombre) == nombre) {
                              actual_ = p;
                              hallado = true;
                          }
                      });
    } catch (const CExcepcionBD& e) {
        // The lookup is the dialog's: it tells the user, and its caller gets no party rather
        // than half of one.
        actual_ = stInterviniente();
        CExcepcionDao(e).Traducir(true);
        return CString();
    }
    return hallado ? actual_.NumOrden : CString();
}
